// CWnd.h - one C++ object per window. The HWND-to-object map lives here; every
// window we create, every dialog and every subclassed control is routed
// through StdWndProc (or CDialog's dialog procedure) to virtual handlers.
#pragma once

#include "framework/CWindow.h"

class CDataExchange;

class CWnd : public CWindow
{
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object attached to a window, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creates a window of our own class (or of the given class) bound to this object.
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int cx,
                  int cy, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    BOOL DestroyWindow();

    // Routes an existing control's messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    // Runs once a control has been bound by subclassing (also after CreateEx
    // of a system class), for a class that wants to set the control up.
    virtual void PreSubclassWindow() {}

    // Message plumbing.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Calls the default processing for the message being handled now.
    LRESULT Default();
    // A child's chance to handle what its parent received about it
    // (WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, WM_NOTIFY, WM_COMMAND).
    virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called once the window is gone and its last message has returned.
    virtual void PostNcDestroy() {}
    // A look at a message before it is dispatched (the message filter walks
    // from the message's window up through its parents and owners); TRUE when
    // the message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Dialog data exchange: FALSE when a field failed validation (the user was
    // told and the field has the focus; the members keep their values).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX) {}

    // Loads an accelerator table resource into m_hAccel (resource tables
    // belong to the module and are never destroyed).
    BOOL LoadAccelTable(UINT id);
    HACCEL m_hAccel;

    // Handlers. Each default passes the message on.
    virtual int OnCreate(LPCREATESTRUCTA cs);
    virtual void OnDestroy();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(HDC hdc);
    virtual void OnTimer(UINT_PTR id);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void OnDrawItem(int id, LPDRAWITEMSTRUCT dis);
    virtual void OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis);
    // A popup menu of this window is about to show; the menu object of ours
    // that holds it hears of it first.
    virtual void OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu);
    virtual HBRUSH OnCtlColor(HDC hdc, HWND hCtl, UINT ctlType);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMouseMove(UINT flags, POINT pt);
    virtual void OnLButtonDown(UINT flags, POINT pt);
    virtual void OnLButtonUp(UINT flags, POINT pt);
    virtual BOOL OnSetCursor(HWND hWnd, UINT hitTest, UINT message);
    virtual void OnClose();
    virtual void OnSysCommand(UINT id, LPARAM lParam);

    // The class name registered for CreateEx when none is given.
    static const char* DefaultClassName();

protected:
    static LRESULT CALLBACK StdWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Binds this object to hWnd in the map; used by creation hooks.
    void Attach(HWND hWnd);
    void Detach();

    // Dispatches one message with the current-message bookkeeping around it.
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    // Calls PostNcDestroy when the window is gone and no message of it is
    // still being handled. The object must not be touched after it.
    void FinishNcDestroy();

    // Sets the object that the next created window belongs to (per thread).
    static void HookCreation(CWnd* wnd);
    static CWnd* TakeCreationHook(HWND hWnd);

    // Reflects a message about a child to the child's object.
    BOOL ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    WNDPROC m_oldWndProc; // set while subclassed

    struct CurrentMsg
    {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMsg m_current;
    int m_nestLevel;       // messages being dispatched to this object now
    bool m_destroyPending; // WM_NCDESTROY seen while nested

    friend class CDialog;
};
