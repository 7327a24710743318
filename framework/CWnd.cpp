// CWnd.cpp - the window map, window creation and subclassing, and the default
// dispatch of messages to the virtual handlers.
#include "framework/CWnd.h"

#include "framework/CWinApp.h"

#include "framework/CMenu.h"
#include "framework/DataExchange.h"

#include <map>

namespace {

std::map<HWND, CWnd*>& WindowMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}

thread_local CWnd* t_creating = nullptr;

// The signed client coordinates packed in a mouse message.
POINT PointFromLParam(LPARAM lParam)
{
    return POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)};
}

const char kClassName[] = "CorvaneWnd";

} // namespace

CWnd::CWnd()
    : m_hAccel(nullptr), m_oldWndProc(nullptr), m_current{0, 0, 0}, m_nestLevel(0),
      m_destroyPending(false)
{}

CWnd::~CWnd()
{
    // An object that dies before its window takes the window down with it,
    // so no message ever reaches freed memory.
    if (m_hWnd) {
        HWND hWnd = m_hWnd;
        if (m_oldWndProc) {
            UnsubclassWindow();
        } else {
            Detach();
            ::DestroyWindow(hWnd);
        }
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto& map = WindowMap();
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

const char* CWnd::DefaultClassName()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = StdWndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        registered = ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    return kClassName;
}

void CWnd::HookCreation(CWnd* wnd)
{
    t_creating = wnd;
}

CWnd* CWnd::TakeCreationHook(HWND hWnd)
{
    CWnd* wnd = t_creating;
    t_creating = nullptr;
    return wnd;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    m_destroyPending = false;
    WindowMap()[hWnd] = this;
}

void CWnd::Detach()
{
    if (m_hWnd) {
        auto& map = WindowMap();
        auto it = map.find(m_hWnd);
        if (it != map.end() && it->second == this)
            map.erase(it);
    }
    m_hWnd = nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y,
                    int cx, int cy, HWND parent, HMENU idOrMenu, LPVOID param)
{
    bool ours = className == nullptr || lstrcmpiA(className, kClassName) == 0;
    if (ours) {
        className = DefaultClassName();
        HookCreation(this);
    }
    HWND hWnd = ::CreateWindowExA(exStyle, className, title, style, x, y, cx, cy, parent, idOrMenu,
                                  ::GetModuleHandleA(nullptr), param);
    if (ours) {
        t_creating = nullptr;
        return hWnd != nullptr;
    }
    if (!hWnd)
        return FALSE;
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    Attach(hWnd);
    m_oldWndProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)StdWndProc);
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent && SubclassWindow(::GetDlgItem(parent->m_hWnd, id));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd && m_oldWndProc)
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)m_oldWndProc);
    m_oldWndProc = nullptr;
    Detach();
    return hWnd;
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (!wnd) {
        wnd = TakeCreationHook(hWnd);
        if (!wnd)
            return ::DefWindowProcA(hWnd, msg, wParam, lParam);
        wnd->Attach(hWnd);
    }
    LRESULT result = wnd->Dispatch(msg, wParam, lParam);
    wnd->FinishNcDestroy();
    return result;
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam)
{
    CurrentMsg saved = m_current;
    m_current = {msg, wParam, lParam};
    ++m_nestLevel;
    LRESULT result = WindowProc(msg, wParam, lParam);
    --m_nestLevel;
    m_current = saved;
    if (msg == WM_NCDESTROY) {
        // The window is gone: forget it now, so a reused handle can never
        // reach this object, but let the object go only when the outermost
        // message has returned.
        if (m_oldWndProc)
            UnsubclassWindow();
        else
            Detach();
        m_destroyPending = true;
        // The end of the main window is the end of the program.
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
    }
    return result;
}

void CWnd::FinishNcDestroy()
{
    // Only the outermost message of a destroyed window lets the object go.
    if (!m_destroyPending || m_nestLevel != 0)
        return;
    m_destroyPending = false;
    PostNcDestroy(); // may delete this
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_oldWndProc)
        return ::CallWindowProcA(m_oldWndProc, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.msg, m_current.wParam, m_current.lParam);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL CWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND child = nullptr;
    switch (msg) {
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (dis->CtlType != ODT_MENU)
            child = dis->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        if (mis->CtlType != ODT_MENU)
            child = ::GetDlgItem(m_hWnd, mis->CtlID);
        break;
    }
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
    case WM_HSCROLL:
    case WM_VSCROLL:
        child = reinterpret_cast<HWND>(lParam);
        break;
    }
    if (!child || child == m_hWnd)
        return FALSE;
    CWnd* wnd = FromHandlePermanent(child);
    return wnd && wnd->OnChildNotify(msg, wParam, lParam, result);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (msg) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_COMMAND:
        if (ReflectToChild(msg, wParam, lParam, &result))
            return result;
        if (OnCommand(wParam, lParam))
            return 0;
        return Default();
    case WM_NOTIFY:
        if (ReflectToChild(msg, wParam, lParam, &result))
            return result;
        if (OnNotify(wParam, lParam, &result))
            return result;
        return Default();
    case WM_DRAWITEM:
        if (ReflectToChild(msg, wParam, lParam, &result))
            return result;
        OnDrawItem((int)wParam, reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        if (ReflectToChild(msg, wParam, lParam, &result))
            return result;
        OnMeasureItem((int)wParam, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
        if (ReflectToChild(msg, wParam, lParam, &result))
            return result;
        return (LRESULT)OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                   msg - WM_CTLCOLORMSGBOX);
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (ReflectToChild(msg, wParam, lParam, &result))
            return result;
        return Default();
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SIZE:
        OnSize((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove((UINT)wParam, PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown((UINT)wParam, PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp((UINT)wParam, PointFromLParam(lParam));
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SYSCOMMAND:
        OnSysCommand((UINT)wParam, lParam);
        return 0;
    default:
        return Default();
    }
}

int CWnd::OnCreate(LPCREATESTRUCTA)
{
    return (int)Default();
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(HDC)
{
    return (BOOL)Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
BOOL CWnd::OnCommand(WPARAM, LPARAM)
{
    return FALSE;
}
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}
// Owner-drawn menu items go to the menu object that holds them.
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT dis)
{
    if (!CMenu::RouteDrawItem(dis))
        Default();
}
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT mis)
{
    if (!CMenu::RouteMeasureItem(mis))
        Default();
}
void CWnd::OnInitMenuPopup(HMENU popup, UINT, BOOL)
{
    CMenu::RouteInitMenuPopup(popup);
    Default();
}
HBRUSH CWnd::OnCtlColor(HDC, HWND, UINT)
{
    return (HBRUSH)Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnMouseMove(UINT, POINT)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, POINT)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, POINT)
{
    Default();
}
BOOL CWnd::OnSetCursor(HWND, UINT, UINT)
{
    return (BOOL)Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    if (!m_hWnd)
        return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

BOOL CWnd::LoadAccelTable(UINT id)
{
    m_hAccel = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    return m_hAccel != nullptr;
}
