// MessageFilter.cpp - the PreTranslateMessage walk and the message-filter hook.
#include "framework/MessageFilter.h"

#include "framework/CWnd.h"

namespace {

HHOOK s_hook = nullptr;

// The message being offered now. IsDialogMessage calls the filter hook again
// with a copy of the same message; that nested call must not offer it twice.
thread_local const MSG* t_offering = nullptr;

bool SameMessage(const MSG& a, const MSG& b)
{
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam &&
           a.lParam == b.lParam && a.time == b.time;
}

HWND ParentOrOwner(HWND hWnd)
{
    if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

LRESULT CALLBACK FilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    // Menus run their own keyboard; only the dialog manager's loops are ours.
    if (code == MSGF_DIALOGBOX && PreTranslateThreadMessage(reinterpret_cast<MSG*>(lParam)))
        return 1;
    return ::CallNextHookEx(s_hook, code, wParam, lParam);
}

} // namespace

BOOL PreTranslateThreadMessage(MSG* msg)
{
    if (!msg || !msg->hwnd)
        return FALSE;
    if (t_offering && SameMessage(*t_offering, *msg))
        return FALSE;
    const MSG* saved = t_offering;
    t_offering = msg;
    BOOL handled = FALSE;
    for (HWND hWnd = msg->hwnd; hWnd && !handled; hWnd = ParentOrOwner(hWnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd))
            handled = wnd->PreTranslateMessage(msg);
        if (!::IsWindow(hWnd))
            break;
    }
    t_offering = saved;
    return handled;
}

void InstallMessageFilter()
{
    if (!s_hook)
        s_hook = ::SetWindowsHookExA(WH_MSGFILTER, FilterHook, nullptr, ::GetCurrentThreadId());
}

void RemoveMessageFilter()
{
    if (s_hook)
        ::UnhookWindowsHookEx(s_hook);
    s_hook = nullptr;
}

bool IsMessageFilterInstalled()
{
    return s_hook != nullptr;
}
