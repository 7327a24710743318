// CDialog.cpp - the dialog procedure and its return-value rules, and the
// focus kept on a control the user can work.
#include "framework/CDialog.h"

#include <commctrl.h>

namespace {

bool IsKeyMessage(UINT msg)
{
    return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

// Shown (with its parents) and enabled: a control the user can work.
bool Usable(HWND hWnd)
{
    return ::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd);
}

// The control the Tab key would go to from `from` (a control of `dialog`, or
// null for the start): the next one in the template's order, round to the
// first, that is a tab stop the user can work; null when there is none.
HWND NextTabStop(HWND dialog, HWND from)
{
    while (from && ::GetParent(from) != dialog)
        from = ::GetParent(from); // a part of a control (a combo box's edit)
    HWND first = ::GetWindow(dialog, GW_CHILD);
    HWND control = from ? ::GetWindow(from, GW_HWNDNEXT) : first;
    for (int guard = 0; guard < 1000; ++guard) {
        if (!control)
            control = first;
        if (!control || control == from)
            return nullptr;
        if ((::GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) && Usable(control))
            return control;
        if (!from && ::GetWindow(control, GW_HWNDNEXT) == nullptr)
            return nullptr; // once round from the start
        control = ::GetWindow(control, GW_HWNDNEXT);
    }
    return nullptr;
}

} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_templateId(templateId), m_hParent(parent ? parent->m_hWnd : nullptr), m_bModal(false),
      m_bCommonControls(true), m_bDefaulted(false)
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
    if (m_bCommonControls)
        ::InitCommonControls();
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
    if (m_bCommonControls)
        ::InitCommonControls();
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
    if (msg != WM_COMMAND && msg != WM_TIMER)
        return CWnd::WindowProc(msg, wParam, lParam);
    // A command (a click, an accelerator) or a timer may grey or hide the
    // control that has the focus.
    HWND before = ::GetFocus();
    LRESULT result = CWnd::WindowProc(msg, wParam, lParam);
    KeepFocusUsable(before);
    return result;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // A child dialog leaves this to its parent.
    if (!m_hWnd || (GetStyle() & WS_CHILD))
        return FALSE;
    // A key for a control the user can no longer see or use, or for no
    // control at all, goes nowhere: the dialog manager's search for a
    // mnemonic never ends from a hidden control under Wine, and a grey one
    // takes no key. The focus moves on to one the user can work.
    if (IsKeyMessage(msg->message) && KeepFocusUsable(msg->hwnd))
        return TRUE;
    // A modal dialog's own loop does the rest.
    if (m_bModal)
        return FALSE;
    HWND before = ::GetFocus();
    BOOL handled = m_hAccel && ::TranslateAcceleratorA(m_hWnd, m_hAccel, msg);
    if (!handled)
        handled = ::IsDialogMessageA(m_hWnd, msg);
    if (m_hWnd)
        KeepFocusUsable(before);
    return handled;
}

bool CDialog::FocusLost(HWND from) const
{
    if (!m_hWnd || (GetStyle() & WS_CHILD))
        return false;
    HWND focus = ::GetFocus();
    if (focus && focus != m_hWnd)
        return ::IsChild(m_hWnd, focus) && !Usable(focus);
    // Nowhere, or on the dialog itself, after it was on one of our controls
    // (or a key came for us) while we are the active window.
    return ::GetActiveWindow() == m_hWnd && from &&
           (from == m_hWnd || (::IsWindow(from) && ::IsChild(m_hWnd, from)));
}

bool CDialog::KeepFocusUsable(HWND from)
{
    if (!FocusLost(from))
        return false;
    HWND focus = ::GetFocus();
    HWND start = focus && focus != m_hWnd ? focus : (from != m_hWnd ? from : nullptr);
    // The control after the lost one in the tab order (the first one when
    // nothing tells where the focus was).
    HWND next = NextTabStop(m_hWnd, start);
    if (!next)
        return false;
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)next, TRUE);
    return true;
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
