// CPropertyTab.cpp - the property sheet's stand-in window.
#include "sheet/CPropertyTab.h"

#include "framework/CWinApp.h"
#include "res/resource.h"

CPropertyTab::CPropertyTab(UINT captionId, CWnd* parent, UINT selectPage)
    : CDialog(IDD_SHEET_PLACEHOLDER, parent), m_psh(), m_caption(LoadStr(captionId))
{
    m_psh.dwSize = sizeof(m_psh);
    m_psh.nStartPage = selectPage;
}

BOOL CPropertyTab::OnInitDialog()
{
    SetWindowText(m_caption.c_str());
    return TRUE;
}
