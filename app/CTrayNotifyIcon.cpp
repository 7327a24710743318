// CTrayNotifyIcon.cpp - the notification icon, its hidden window and its menu.
#include "app/CTrayNotifyIcon.h"

#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "widgets/COwnerDrawMenu.h"

#include <cstring>

CTrayNotifyIcon::CTrayNotifyIcon()
    : m_nid{}, m_bEnabled(false), m_bHidden(false), m_pNotificationWnd(nullptr)
{}

CTrayNotifyIcon::~CTrayNotifyIcon()
{
    RemoveIcon();
    DestroyWindow();
}

bool CTrayNotifyIcon::Notify(DWORD message)
{
    return g_os.Shell_NotifyIconA(message, reinterpret_cast<PNOTIFYICONDATAA>(&m_nid)) != FALSE;
}

void CTrayNotifyIcon::CopyTip(LPCSTR tip)
{
    std::memset(m_nid.szTip, 0, sizeof(m_nid.szTip));
    if (tip)
        std::strncpy(m_nid.szTip, tip, sizeof(m_nid.szTip) - 1);
}

bool CTrayNotifyIcon::Create(CWnd* notifyWnd, UINT id, LPCSTR tip, HICON icon, UINT callbackMessage)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!g_os.GetVersionExA(&version) || version.dwMajorVersion < 4)
        return false;
    // A second creation replaces the first icon.
    RemoveIcon();
    m_bHidden = false;
    m_pNotificationWnd = notifyWnd;
    if (!m_hWnd && !CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
        return false;

    m_nid = TrayIconData{};
    m_nid.cbSize = sizeof(m_nid);
    m_nid.hWnd = notifyWnd ? notifyWnd->m_hWnd : m_hWnd;
    m_nid.uID = id;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icon;
    CopyTip(tip);
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_bEnabled = Notify(NIM_ADD);
    return m_bEnabled;
}

bool CTrayNotifyIcon::SetTooltipText(LPCSTR tip)
{
    if (!m_bEnabled)
        return false;
    m_nid.uFlags = NIF_TIP;
    CopyTip(tip);
    return Notify(NIM_MODIFY);
}

bool CTrayNotifyIcon::SetTooltipText(UINT stringId)
{
    if (!m_bEnabled)
        return false;
    return SetTooltipText(LoadStr(stringId).c_str());
}

bool CTrayNotifyIcon::SetIcon(HICON icon)
{
    if (!m_bEnabled)
        return false;
    m_nid.uFlags = NIF_ICON;
    m_nid.hIcon = icon;
    return Notify(NIM_MODIFY);
}

bool CTrayNotifyIcon::SetIcon(LPCSTR resourceName)
{
    if (!m_bEnabled)
        return false;
    // The taskbar shows small icons; shared, so nothing to free.
    HICON icon = (HICON)::LoadImageA(::GetModuleHandleA(nullptr), resourceName, IMAGE_ICON,
                                     ::GetSystemMetrics(SM_CXSMICON),
                                     ::GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    return icon && SetIcon(icon);
}

bool CTrayNotifyIcon::SetIcon(UINT resourceId)
{
    return SetIcon(MAKEINTRESOURCEA(resourceId));
}

bool CTrayNotifyIcon::SetStandardIcon(LPCSTR iconName)
{
    if (!m_bEnabled)
        return false;
    HICON icon = ::LoadIconA(nullptr, iconName);
    return icon && SetIcon(icon);
}

bool CTrayNotifyIcon::SetStandardIcon(UINT iconId)
{
    return SetStandardIcon(MAKEINTRESOURCEA(iconId));
}

bool CTrayNotifyIcon::SetNotificationWnd(CWnd* notifyWnd)
{
    if (!m_bEnabled)
        return false;
    m_pNotificationWnd = notifyWnd;
    m_nid.hWnd = notifyWnd ? notifyWnd->m_hWnd : m_hWnd;
    m_nid.uFlags = 0;
    return Notify(NIM_MODIFY);
}

std::string CTrayNotifyIcon::GetTooltipText() const
{
    return m_bEnabled ? std::string(m_nid.szTip) : std::string();
}

HICON CTrayNotifyIcon::GetIcon() const
{
    return m_bEnabled ? m_nid.hIcon : nullptr;
}

void CTrayNotifyIcon::HideIcon()
{
    if (!m_bEnabled || m_bHidden)
        return;
    m_nid.uFlags = NIF_ICON;
    Notify(NIM_DELETE);
    m_bHidden = true;
}

bool CTrayNotifyIcon::ShowIcon()
{
    if (!m_bEnabled || !m_bHidden)
        return false;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    if (!Notify(NIM_ADD))
        return false;
    m_bHidden = false;
    return true;
}

void CTrayNotifyIcon::RemoveIcon()
{
    if (!m_bEnabled)
        return;
    m_nid.uFlags = 0;
    Notify(NIM_DELETE);
    m_bEnabled = false;
}

LRESULT CTrayNotifyIcon::OnTrayNotification(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_nid.uID)
        return 0;
    HWND target = m_nid.hWnd ? m_nid.hWnd : m_hWnd;
    switch (LOWORD(lParam)) {
    case WM_RBUTTONUP: {
        COwnerDrawMenu menu;
        if (!menu.LoadFromResource(m_nid.uID))
            return 0;
        menu.LoadToolbarImages(kMenuToolbarId);
        HMENU popup = menu.GetSubMenu(0);
        if (!popup)
            return 0;
        POINT pt = {0, 0};
        ::GetCursorPos(&pt);
        ::SetForegroundWindow(m_hWnd);
        ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, target, nullptr);
        menu.DestroyItems();
        // Lets the menu close properly when the user clicks elsewhere.
        ::PostMessageA(target, WM_NULL, 0, 0);
        break;
    }
    case WM_LBUTTONDBLCLK:
        ::SetForegroundWindow(target);
        break;
    }
    return 1;
}

LRESULT CTrayNotifyIcon::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_nid.uCallbackMessage != 0 && msg == m_nid.uCallbackMessage)
        return OnTrayNotification(wParam, lParam);
    return CWnd::WindowProc(msg, wParam, lParam);
}
