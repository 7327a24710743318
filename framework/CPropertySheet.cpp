// CPropertySheet.cpp - building the sheet header, binding the sheet window,
// ending it, and the modal loop.
#include "framework/CPropertySheet.h"

#include <commctrl.h>

#include <cstring>

#include "framework/CPropertyPage.h"
#include "framework/CWinApp.h"
#include "framework/MessageFilter.h"

namespace {

// The sheet whose window the control is making now (the sheet callback has
// no parameter of its own).
thread_local CPropertySheet* t_creatingSheet = nullptr;

const int kApplyButton = 0x3021; // the control's Apply Now button

bool IsKeyMessage(UINT msg)
{
    return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

// Shown (with its parents) and enabled: a control the user can work.
bool Usable(HWND hWnd)
{
    return ::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd);
}

} // namespace

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage, DWORD flags)
    : m_caption(LoadStr(captionId)), m_hParent(parent ? parent->m_hWnd : nullptr),
      m_startPage(selectPage), m_flags(flags), m_bModal(false), m_bKeepButtons(false), m_result(0)
{}

CPropertySheet::~CPropertySheet()
{
    // A modeless sheet that outlives its object goes with it.
    if (m_hWnd) {
        HWND hWnd = UnsubclassWindow();
        ::DestroyWindow(hWnd);
    }
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    if (!page)
        return;
    page->m_pSheet = this;
    m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < (int)m_pages.size() ? m_pages[index] : nullptr;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT msg, LPARAM)
{
    if (msg != PSCB_INITIALIZED)
        return 0;
    CPropertySheet* sheet = t_creatingSheet;
    t_creatingSheet = nullptr;
    if (sheet)
        sheet->SubclassWindow(hWnd);
    return 0;
}

bool CPropertySheet::Open(HWND parent)
{
    if (m_hWnd)
        return false;
    ::InitCommonControls();
    // The control steps from page to page by each page's dwSize, the first
    // version's: the pages lie packed at that size.
    const size_t pageSize = PROPSHEETPAGEA_V1_SIZE;
    std::vector<BYTE> pages(m_pages.size() * pageSize);
    for (size_t i = 0; i < m_pages.size(); ++i)
        std::memcpy(&pages[i * pageSize], &m_pages[i]->GetPSP(), pageSize);

    PROPSHEETHEADERA psh = {};
    // The original common controls of Windows 95 and NT 4.0 refuse a header
    // of any other size than the first version's (Microsoft KB Q197631).
    psh.dwSize = PROPSHEETHEADERA_V1_SIZE;
    psh.dwFlags = m_flags | PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_MODELESS;
    psh.hwndParent = parent;
    psh.hInstance = ::GetModuleHandleA(nullptr);
    psh.pszCaption = m_caption.c_str();
    psh.nPages = (UINT)m_pages.size();
    psh.nStartPage = m_startPage < m_pages.size() ? m_startPage : 0;
    psh.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages.data());
    psh.pfnCallback = SheetCallback;

    m_result = IDCANCEL;
    t_creatingSheet = this;
    HWND hWnd = (HWND)::PropertySheetA(&psh);
    t_creatingSheet = nullptr;
    if (!hWnd || hWnd == (HWND)(INT_PTR)-1)
        return false;
    if (!m_hWnd)
        SubclassWindow(hWnd); // a control that never called back
    if (m_hWnd != hWnd)
        return false;
    // The control has made the sheet and its first page by now.
    OnInitDialog();
    return true;
}

BOOL CPropertySheet::Create(CWnd* parent)
{
    if (parent)
        m_hParent = parent->m_hWnd;
    m_bModal = false;
    return Open(m_hParent) ? TRUE : FALSE;
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_hWnd)
        return -1;
    // The sheet is made modeless and run here, so that its end is always the
    // end of its window and every message passes the message filter.
    HWND owner = m_hParent;
    bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    m_bModal = true;
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    if (!Open(owner)) {
        if (ownerWasEnabled)
            ::EnableWindow(owner, TRUE);
        m_bModal = false;
        return -1;
    }
    MSG msg;
    while (m_hWnd) {
        int got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                ::PostQuitMessage((int)msg.wParam);
            if (m_hWnd)
                EndSheet(IDCANCEL);
            break;
        }
        if (!PreTranslateThreadMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (ownerWasEnabled) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    m_bModal = false;
    return m_result;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return -1;
    HWND tab = PropSheet_GetTabControl(m_hWnd);
    return tab ? TabCtrl_GetCurSel(tab) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int index)
{
    if (!m_hWnd || !GetPage(index))
        return FALSE;
    return (BOOL)::SendMessageA(m_hWnd, PSM_SETCURSEL, (WPARAM)index, 0);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* page)
{
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == page)
            return SetActivePage((int)i);
    return FALSE;
}

void CPropertySheet::EndSheet(INT_PTR result)
{
    m_result = result;
    if (m_hWnd)
        DestroyWindow();
}

BOOL CPropertySheet::PreTranslateMessage(MSG* msg)
{
    if (!m_hWnd)
        return FALSE;
    if (m_hAccel && ::TranslateAcceleratorA(m_hWnd, m_hAccel, msg))
        return TRUE;
    // A key for a control the user can no longer see or use goes nowhere:
    // the dialog manager's search for a mnemonic never ends from a hidden
    // control under Wine, and the control would act on a page not shown.
    if (IsKeyMessage(msg->message) && ::IsChild(m_hWnd, msg->hwnd) && !Usable(msg->hwnd)) {
        KeepFocusOnShownPage();
        return TRUE;
    }
    BOOL handled = (BOOL)::SendMessageA(m_hWnd, PSM_ISDIALOGMESSAGE, 0, (LPARAM)msg);
    KeepFocusOnShownPage();
    return handled;
}

void CPropertySheet::KeepFocusOnShownPage()
{
    HWND focus = ::GetFocus();
    if (!m_hWnd || !focus || !::IsChild(m_hWnd, focus) || Usable(focus))
        return;
    // Where a click on a tab leaves it.
    HWND tab = PropSheet_GetTabControl(m_hWnd);
    if (tab && Usable(tab))
        ::SetFocus(tab);
}

BOOL CPropertySheet::OnInitDialog()
{
    if (!m_bModal && !m_bKeepButtons) {
        for (int id : {IDOK, IDCANCEL, IDHELP, kApplyButton}) {
            if (HWND button = GetDlgItem(id))
                ::ShowWindow(button, SW_HIDE);
        }
    }
    return TRUE;
}

void CPropertySheet::EndIfControlFinished(INT_PTR result)
{
    // After OK or Cancel the control has no current page any more.
    if (m_hWnd && !::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0))
        EndSheet(result);
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM)
{
    WORD id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL)
        return FALSE;
    Default(); // the control asks its pages
    EndIfControlFinished(id);
    return TRUE;
}

LRESULT CPropertySheet::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CWnd::WindowProc(msg, wParam, lParam);
    // The close box, the system menu's Close and a page's press of a button
    // end the sheet through the control.
    if ((msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) || msg == WM_CLOSE)
        EndIfControlFinished(IDCANCEL);
    else if (msg == PSM_PRESSBUTTON)
        EndIfControlFinished(wParam == PSBTN_OK || wParam == PSBTN_FINISH ? IDOK : IDCANCEL);
    return result;
}
