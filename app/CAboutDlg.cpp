// CAboutDlg.cpp - version and copyright lines, and the product title drawn
// embossed in large italic Arial across the top.
#include "app/CAboutDlg.h"

#include "app/CUtilityApp.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CAboutDlg::OnInitDialog()
{
    CenterWindow();
    CUtilityApp* app = CUtilityApp::Get();
    std::string version =
        LoadStr(IDS_ABOUT_VERSION) + (app ? app->m_strFileVersion : std::string());
    SetDlgItemText(IDC_ABOUT_VERSION, version.c_str());
    std::string company = app ? app->m_strCompanyName + " " + app->m_strCopyright : " ";
    SetDlgItemText(IDC_ABOUT_COPYRIGHT, company.c_str());
    m_title = LoadStr(IDS_MAIN_TITLE);

    LOGFONTA lf = {};
    lf.lfHeight = -26;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = TRUE;
    lstrcpyA(lf.lfFaceName, "Arial");
    m_titleFont.CreateFontIndirect(lf);
    return TRUE;
}

void CAboutDlg::OnPaint()
{
    CPaintDC dc(m_hWnd);
    CSelectObject font(dc, m_titleFont);
    RECT client;
    GetClientRect(&client);
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, m_title.c_str(), (int)m_title.size(), &extent);
    int x = (client.right - extent.cx) / 2;
    ::DrawStateA(dc, nullptr, nullptr, (LPARAM)m_title.c_str(), (WPARAM)m_title.size(), x, 10,
                 extent.cx, extent.cy, DST_PREFIXTEXT | DSS_DISABLED);
}
