// CPropertySheet.cpp - the property sheet control around our pages.
#include "framework/CPropertySheet.h"

#include "framework/CWinApp.h"

#include <commctrl.h>

namespace {
// The sheet being made on this thread, for the control's callback.
thread_local CPropertySheet* t_making = nullptr;
}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage, DWORD flags)
    : m_psh(), m_caption(LoadStr(captionId)), m_hParent(parent ? parent->m_hWnd : nullptr),
      m_nStartPage(selectPage), m_bKeepButtons(FALSE), m_bModal(false), m_nResult(0)
{
    m_psh.dwFlags = flags;
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd && !m_bModal) {
        HWND hWnd = m_hWnd;
        ::DestroyWindow(hWnd);
    }
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    page->m_pSheet = this;
    m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < (int)m_pages.size() ? m_pages[index] : nullptr;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return (int)m_nStartPage;
    HWND page = (HWND)SendMessage(PSM_GETCURRENTPAGEHWND);
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i]->m_hWnd && m_pages[i]->m_hWnd == page)
            return (int)i;
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int index)
{
    if (!m_hWnd)
        return FALSE;
    return (BOOL)SendMessage(PSM_SETCURSEL, (WPARAM)index, 0);
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT msg, LPARAM)
{
    if (msg == PSCB_INITIALIZED && t_making && !t_making->m_hWnd)
        t_making->SubclassWindow(hWnd);
    return 0;
}

HWND CPropertySheet::Make(CWnd* parent, bool modeless)
{
    ::InitCommonControls();
    if (parent)
        m_hParent = parent->m_hWnd;
    std::vector<PROPSHEETPAGEA> psp;
    for (CPropertyPage* page : m_pages)
        psp.push_back(page->GetPSP());
    PROPSHEETHEADERA psh = {};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = m_psh.dwFlags | PSH_PROPSHEETPAGE | PSH_USECALLBACK | (modeless ? PSH_MODELESS : 0);
    psh.hwndParent = m_hParent;
    psh.hInstance = ::GetModuleHandleA(nullptr);
    psh.pszCaption = m_caption.c_str();
    psh.nPages = (UINT)psp.size();
    psh.nStartPage = m_nStartPage;
    psh.ppsp = psp.data();
    psh.pfnCallback = SheetCallback;
    CPropertySheet* saved = t_making;
    t_making = this;
    INT_PTR result = ::PropertySheetA(&psh);
    t_making = saved;
    if (modeless)
        return (HWND)result;
    m_nResult = result;
    return nullptr;
}

BOOL CPropertySheet::Create(CWnd* parent)
{
    if (m_hWnd)
        return FALSE;
    m_bModal = false;
    HWND hWnd = Make(parent, true);
    if (!hWnd || hWnd == (HWND)-1)
        return FALSE;
    if (!m_hWnd)
        SubclassWindow(hWnd);
    OnInitDialog();
    return TRUE;
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_hWnd)
        return -1;
    m_bModal = true;
    Make(nullptr, false);
    m_bModal = false;
    return m_nResult;
}

void CPropertySheet::EndSheet(INT_PTR result)
{
    m_nResult = result;
    if (!m_hWnd)
        return;
    if (m_bModal)
        ::PostMessageA(m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    else
        ::DestroyWindow(m_hWnd);
}

BOOL CPropertySheet::PreTranslateMessage(MSG* msg)
{
    return m_hWnd && (BOOL)SendMessage(PSM_ISDIALOGMESSAGE, 0, (LPARAM)msg);
}

BOOL CPropertySheet::OnInitDialog()
{
    return TRUE;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    return FALSE;
}

LRESULT CPropertySheet::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CWnd::WindowProc(msg, wParam, lParam);
}
