// CPropDlg.h - the "Advanced Information" page: the adapter's manufacturer,
// firmware version, bus type, I/O range, IRQ and station address, and a
// status text naming the access point the station is connected to. Read
// once when the page's window is made; nothing is written.
#pragma once

#include "framework/CEdit.h"
#include "framework/CPropertyPage.h"

class CPropDlg : public CPropertyPage
{
public:
    CPropDlg();
    ~CPropDlg() override;

    CEdit m_StatusEdit; // control 356

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The page help: keyword "Advanced Information".
    void OnHelp() override;

protected:
    // Fills the fields in their order; stops early when the card is silent.
    void ReadAdapter();
    void AppendStatusText();
};
