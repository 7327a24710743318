// CAboutDlg.h - the About box with its embossed title.
#pragma once

#include "framework/CDialog.h"
#include "framework/Gdi.h"

#include <string>

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnPaint() override;

    const std::string& GetTitle() const { return m_title; }
    HFONT GetTitleFont() const { return m_titleFont; }

private:
    std::string m_title;
    CFont m_titleFont;
};
