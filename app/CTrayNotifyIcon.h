// CTrayNotifyIcon.h - one icon with a tip in the taskbar notification area.
// It changes tip and picture on request and turns mouse events on the icon
// into actions: right-button release opens the program's pop-up menu (menu
// resource with the icon's identifier, pictures from toolbar 1309) at the
// cursor; a double click brings the notification window to the front.
#pragma once

#include "framework/CWnd.h"

#include <string>

// The notification data of the Windows 95 / NT 4.0 shell (shell32 4.00): 88
// bytes, a tip of at most 63 characters; NOTIFYICONDATA_V1_SIZE in
// Microsoft's NOTIFYICONDATA documentation. mingw-w64's NOTIFYICONDATAA is
// larger whatever _WIN32_IE says.
struct TrayIconData
{
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[64];
};
static_assert(sizeof(TrayIconData) == 88, "the shell's first notification data layout");

class CTrayNotifyIcon : public CWnd
{
public:
    CTrayNotifyIcon();
    ~CTrayNotifyIcon() override;

    // Adds the icon. Callbacks (callbackMessage, wParam = id, lParam = mouse
    // message) go to notifyWnd, or to this object's hidden window when it is
    // null. False on a system older than 4.0 or when the shell refuses.
    bool Create(CWnd* notifyWnd, UINT id, LPCSTR tip, HICON icon, UINT callbackMessage);

    // Each returns the shell's answer; false with no shell call when the
    // icon is not enabled. Tips longer than 63 characters are cut.
    bool SetTooltipText(LPCSTR tip);
    bool SetTooltipText(UINT stringId);
    bool SetIcon(HICON icon);
    bool SetIcon(LPCSTR resourceName);
    bool SetIcon(UINT resourceId);
    bool SetStandardIcon(LPCSTR iconName);
    bool SetStandardIcon(UINT iconId);
    bool SetNotificationWnd(CWnd* notifyWnd);

    std::string GetTooltipText() const;
    HICON GetIcon() const;
    CWnd* GetNotificationWnd() const { return m_pNotificationWnd; }

    // Takes the icon out of the taskbar for a while / puts it back. Showing
    // is true when the icon went back: a hidden icon the shell refuses stays
    // hidden, and one that is not hidden makes no shell call.
    void HideIcon();
    bool ShowIcon();
    // Removes the icon for good; the object then makes no shell calls.
    void RemoveIcon();

    bool IsEnabled() const { return m_bEnabled; }
    bool IsHidden() const { return m_bHidden; }
    UINT GetId() const { return m_nid.uID; }
    UINT GetCallbackMessage() const { return m_nid.uCallbackMessage; }

    // The icon's callback: wParam the icon identifier, lParam the mouse
    // message. 0 when the identifier is not this icon's, else 1.
    virtual LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The menu shown at a right-button release.
    static const UINT kMenuToolbarId = 1309;

private:
    bool Notify(DWORD message);
    void CopyTip(LPCSTR tip);

    TrayIconData m_nid;
    bool m_bEnabled;
    bool m_bHidden;
    CWnd* m_pNotificationWnd;
};
