// CPropertyTab.cpp - the "Corvane Properties" sheet.
#include "sheet/CPropertyTab.h"

#include "res/resource.h"

CPropertyTab::CPropertyTab(UINT captionId, CWnd* parent, UINT selectPage, DWORD flags)
    : CPropertySheet(captionId, parent, selectPage, flags), m_hIcon(nullptr)
{
    AddPage(&m_ConfigurationPage);
    AddPage(&m_AdvancedInfoPage);
    AddPage(&m_TroubleshootingPage);
    // Every page answers Help, so the control keeps the button enabled on
    // every tab, however the tab was chosen.
    if (flags & PSH_HASHELP) {
        for (CPropertyPage* page :
             {(CPropertyPage*)&m_ConfigurationPage, (CPropertyPage*)&m_AdvancedInfoPage,
              (CPropertyPage*)&m_TroubleshootingPage})
            page->GetPSP().dwFlags |= PSP_HASHELP;
    }
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_SHEET_ICON));
    LoadAccelTable(IDR_ACCELERATORS);
    KeepStandardButtons(TRUE);
}

// The icon and the accelerator table are resources of the module: nothing to free.
CPropertyTab::~CPropertyTab() = default;

BOOL CPropertyTab::OnInitDialog()
{
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);
    BOOL result = CPropertySheet::OnInitDialog();
    EnableHelpButton();
    PlaceOnScreen();
    return result;
}

// The control puts a modeless sheet at its owner's client corner; with the
// tool window at the right edge of the screen that leaves most of the sheet
// off screen. The sheet opens in the middle of the work area instead.
void CPropertyTab::PlaceOnScreen()
{
    CenterInWorkArea();
}

void CPropertyTab::EnableHelpButton()
{
    if (CWindow help = GetDlgItem(IDHELP))
        help.EnableWindow(TRUE);
}

BOOL CPropertyTab::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    EnableHelpButton();
    return CPropertySheet::OnNotify(wParam, lParam, result);
}

BOOL CPropertyTab::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        OnSheetOK();
        return TRUE;
    case IDCANCEL:
        EndSheet(IDCANCEL);
        return TRUE;
    case IDM_ADVANCED_CONFIG:
        if (m_ConfigurationPage.m_hWnd)
            m_ConfigurationPage.SendMessage(WM_COMMAND, IDM_ADVANCED_CONFIG, 0);
        return TRUE;
    }
    return CPropertySheet::OnCommand(wParam, lParam);
}

BOOL CPropertyTab::OnSheetOK()
{
    // Every page made answers, even after one has refused.
    bool accepted = true;
    CPropertyPage* order[] = {&m_AdvancedInfoPage, &m_ConfigurationPage, &m_TroubleshootingPage};
    for (CPropertyPage* page : order) {
        if (page->m_hWnd && !page->OnApply())
            accepted = false;
    }
    if (!accepted)
        return FALSE;
    EndSheet(IDOK);
    return TRUE;
}

void CPropertyTab::OnClose()
{
    EndSheet(IDCANCEL);
}

// The close box: the property sheet control would only cancel its pages and
// leave a modeless window behind, so the sheet ends itself.
void CPropertyTab::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == SC_CLOSE) {
        EndSheet(IDCANCEL);
        return;
    }
    CPropertySheet::OnSysCommand(id, lParam);
}
