// CDialog.cpp - the dialog procedure and its return-value rules.
#include "framework/CDialog.h"

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_templateId(templateId), m_hParent(parent ? parent->m_hWnd : nullptr), m_bModal(false),
      m_bDefaulted(false)
{}

CDialog::~CDialog()
{
    // A modeless dialog that outlives its object is destroyed with it.
    if (m_hWnd && !m_bModal) {
        HWND hWnd = m_hWnd;
        Detach();
        ::DestroyWindow(hWnd);
    }
}

INT_PTR CDialog::DoModal()
{
    m_bModal = true;
    HookCreation(this);
    INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId),
                                       m_hParent, DialogProc, 0);
    HookCreation(nullptr);
    m_bModal = false;
    return result;
}

BOOL CDialog::Create(CWnd* parent)
{
    if (parent)
        m_hParent = parent->m_hWnd;
    return Create(m_hParent);
}

BOOL CDialog::Create(HWND parent)
{
    if (m_hWnd)
        return FALSE;
    m_hParent = parent;
    m_bModal = false;
    HookCreation(this);
    HWND hWnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId),
                                     parent, DialogProc, 0);
    HookCreation(nullptr);
    return hWnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (!m_hWnd)
        return;
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
    else
        ::DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (!wnd) {
        wnd = TakeCreationHook(hWnd);
        if (!wnd)
            return FALSE;
        wnd->Attach(hWnd);
    }
    // Only dialogs come here; any other object on this window is not ours to run.
    CDialog* dlg = dynamic_cast<CDialog*>(wnd);
    if (!dlg)
        return FALSE;
    bool savedDefaulted = dlg->m_bDefaulted;
    dlg->m_bDefaulted = false;
    LRESULT result = dlg->Dispatch(msg, wParam, lParam);
    bool defaulted = dlg->m_bDefaulted;
    dlg->m_bDefaulted = savedDefaulted;
    dlg->FinishNcDestroy(); // the object may be gone from here on
    if (defaulted || msg == WM_NCDESTROY)
        return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return (INT_PTR)result;
    default:
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM)
{
    // The dialog manager does the default processing when we return FALSE.
    m_bDefaulted = true;
    return 0;
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(msg, wParam, lParam);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // A modal dialog's own loop does this; a child dialog leaves it to its parent.
    if (m_bModal || !m_hWnd || (GetStyle() & WS_CHILD))
        return FALSE;
    if (m_hAccel && ::TranslateAcceleratorA(m_hWnd, m_hAccel, msg))
        return TRUE;
    return ::IsDialogMessageA(m_hWnd, msg);
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    }
    return FALSE;
}
