// CPropertyPage.cpp - the page's creation hook and its notifications.
#include "framework/CPropertyPage.h"

#include "framework/CPropertySheet.h"
#include "framework/CWinApp.h"

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId)
    : CDialog(templateId, nullptr), m_psp(), m_title(captionId ? LoadStr(captionId) : ""),
      m_pSheet(nullptr)
{
    // The first version's size: the original common controls of Windows 95
    // and NT 4.0 refuse any other (Microsoft KB Q197631).
    m_psp.dwSize = PROPSHEETPAGEA_V1_SIZE;
    m_psp.dwFlags = PSP_USECALLBACK;
    m_psp.hInstance = ::GetModuleHandleA(nullptr);
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = DialogProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    m_psp.pfnCallback = PageCallback;
    if (!m_title.empty()) {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_title.c_str();
    }
}

UINT CALLBACK CPropertyPage::PageCallback(HWND, UINT msg, LPPROPSHEETPAGEA psp)
{
    // The page's dialog is made right after this: its first message, long
    // before WM_INITDIALOG, must find the object. psp is the control's copy
    // of our page: lParam lies within the first version's fields.
    if (msg == PSPCB_CREATE && psp && psp->lParam)
        HookCreation(reinterpret_cast<CPropertyPage*>(psp->lParam));
    return 1;
}

BOOL CPropertyPage::OnSetActive()
{
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

void CPropertyPage::SetModified(BOOL changed)
{
    HWND sheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (sheet)
        ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

void CPropertyPage::OnHelp() {}

BOOL CPropertyPage::PreTranslateMessage(MSG* msg)
{
    return m_hAccel && m_hWnd && ::TranslateAcceleratorA(m_hWnd, m_hAccel, msg);
}

bool CPropertyPage::HandleSheetNotify(const NMHDR* hdr, LRESULT* result)
{
    switch (hdr->code) {
    case PSN_SETACTIVE:
        *result = OnSetActive() ? 0 : -1;
        return true;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        return true;
    case PSN_QUERYCANCEL:
        *result = OnQueryCancel() ? FALSE : TRUE;
        return true;
    case PSN_APPLY:
        *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return true;
    case PSN_RESET:
        OnCancel();
        *result = 0;
        return true;
    case PSN_HELP:
        OnHelp();
        *result = 0;
        return true;
    }
    return false;
}

LRESULT CPropertyPage::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        LRESULT result = 0;
        if (hdr && hdr->hwndFrom == ::GetParent(m_hWnd) && HandleSheetNotify(hdr, &result))
            return result;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}
