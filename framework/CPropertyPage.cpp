// CPropertyPage.cpp - a page of a property sheet.
#include "framework/CPropertyPage.h"

#include "framework/CPropertySheet.h"
#include "framework/CWinApp.h"

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId)
    : CDialog(templateId), m_psp(), m_pSheet(nullptr)
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_USECALLBACK;
    m_psp.hInstance = ::GetModuleHandleA(nullptr);
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = DialogProc;
    m_psp.pfnCallback = PageCallback;
    m_psp.lParam = (LPARAM)this;
    if (captionId) {
        m_caption = LoadStr(captionId);
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_caption.c_str();
    }
}

CPropertyPage::~CPropertyPage() = default;

UINT CALLBACK CPropertyPage::PageCallback(HWND, UINT msg, LPPROPSHEETPAGEA psp)
{
    // The page's dialog is made right after this: its first message binds it.
    if (msg == PSPCB_CREATE && psp)
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
    HWND sheet = GetParent();
    if (sheet)
        ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

BOOL CPropertyPage::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    switch (hdr->code) {
    case PSN_SETACTIVE:
        *result = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_QUERYCANCEL:
        *result = OnQueryCancel() ? FALSE : TRUE;
        return TRUE;
    case PSN_APPLY:
        *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    case PSN_RESET:
        OnCancel();
        *result = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, result);
}
