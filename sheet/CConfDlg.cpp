// CConfDlg.cpp - the Configuration page.
#include "sheet/CConfDlg.h"

#include "res/resource.h"

CConfDlg::CConfDlg()
    : CPropertyPage(IDD_CONFIGURATION), m_bMayClose(TRUE), m_bAdvancedShown(FALSE),
      m_nAdvancedResult(0),
      m_hAccelTable(::LoadAcceleratorsA(::GetModuleHandleA(nullptr),
                                        MAKEINTRESOURCEA(IDR_ACCELERATORS)))
{
}

CConfDlg::~CConfDlg() = default;

BOOL CConfDlg::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bMayClose = TRUE;
    m_nAdvancedResult = 0;
    return TRUE;
}

void CConfDlg::OnOK()
{
    m_bMayClose = TRUE;
    CPropertyPage::OnOK();
}

void CConfDlg::OnCancel()
{
    CPropertyPage::OnCancel();
}

void CConfDlg::ToggleAdvancedButton()
{
    m_bAdvancedShown = !m_bAdvancedShown;
    if (m_hWnd)
        ::ShowWindow(GetDlgItem(IDC_CONF_ADVANCED), m_bAdvancedShown ? SW_SHOW : SW_HIDE);
}

BOOL CConfDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDM_ADVANCED_CONFIG)
    {
        ToggleAdvancedButton();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

BOOL CConfDlg::PreTranslateMessage(MSG* msg)
{
    if (m_hAccelTable && m_hWnd && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg))
        return TRUE;
    return CPropertyPage::PreTranslateMessage(msg);
}
