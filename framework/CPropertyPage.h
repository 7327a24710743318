// CPropertyPage.h - one page of a property sheet, a child dialog from a
// template bound to its object from its very first message. The sheet's
// notifications arrive as virtual calls with their classic meanings.
#pragma once

#include <windows.h>

#include <prsht.h>

#include <string>

#include "framework/CDialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog
{
public:
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);

    // TRUE: the page may be shown.
    virtual BOOL OnSetActive();
    // TRUE: the page may be left. The default validates the page's data.
    virtual BOOL OnKillActive();
    // TRUE: the sheet may be cancelled.
    virtual BOOL OnQueryCancel();
    // The sheet's Apply or OK: the default runs OnOK and accepts.
    virtual BOOL OnApply();
    // Neither ends anything: the sheet owns the ending.
    void OnOK() override;
    void OnCancel() override;
    // The sheet's Help button, for the page shown. The default does nothing.
    virtual void OnHelp();

    // Lights (or greys) the sheet's Apply button for this page.
    void SetModified(BOOL changed = TRUE);
    CPropertySheet* GetSheet() const { return m_pSheet; }
    PROPSHEETPAGEA& GetPSP() { return m_psp; }
    const std::string& GetTitle() const { return m_title; }

    // The page's own accelerator table (LoadAccelTable) first; the sheet
    // runs the rest of the keyboard.
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CPropertySheet;
    static UINT CALLBACK PageCallback(HWND hWnd, UINT msg, LPPROPSHEETPAGEA psp);
    // The answer to one of the sheet's PSN_ notifications.
    bool HandleSheetNotify(const NMHDR* hdr, LRESULT* result);

    PROPSHEETPAGEA m_psp;
    std::string m_title;
    CPropertySheet* m_pSheet;
};
