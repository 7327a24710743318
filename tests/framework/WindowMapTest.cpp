// The framework's window map, dispatch, reflection, destruction and profile.
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "tests/framework/FrameworkTestIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A window that logs what reaches its handlers.
class LoggingWnd : public CWnd
{
public:
    std::vector<std::string>* log = nullptr;
    bool deleteOnNcDestroy = false;
    static int deleted;

    int OnCreate(LPCREATESTRUCTA cs) override
    {
        log->push_back("create");
        return CWnd::OnCreate(cs);
    }
    void OnTimer(UINT_PTR id) override { log->push_back("timer " + std::to_string(id)); }
    void OnDestroy() override
    {
        log->push_back(std::string("destroy mapped=") +
                       (FromHandlePermanent(m_hWnd) == this ? "yes" : "no"));
    }
    void PostNcDestroy() override
    {
        log->push_back(std::string("postncdestroy hwnd=") + (m_hWnd ? "set" : "null"));
        if (deleteOnNcDestroy) {
            ++deleted;
            delete this;
        }
    }
};
int LoggingWnd::deleted = 0;

TEST(WindowMap, ObjectIsBoundFromTheFirstMessageUntilNcDestroy)
{
    std::vector<std::string> log;
    auto* wnd = new LoggingWnd;
    wnd->log = &log;
    wnd->deleteOnNcDestroy = true;
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, "test", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    HWND hWnd = wnd->m_hWnd;
    EXPECT_EQ(wnd, CWnd::FromHandlePermanent(hWnd));
    SendMessageA(hWnd, WM_TIMER, 7, 0);
    LoggingWnd::deleted = 0;
    DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(1, LoggingWnd::deleted);
    EXPECT_EQ((std::vector<std::string>{"create", "timer 7", "destroy mapped=yes",
                                        "postncdestroy hwnd=null"}),
              log);
}

// Destroys itself from inside a handler: the object must survive until the
// outermost message returns.
class SelfDestroyingWnd : public CWnd
{
public:
    std::vector<std::string> log;
    void OnTimer(UINT_PTR) override
    {
        DestroyWindow();
        log.push_back(std::string("after destroy, hwnd ") + (m_hWnd ? "set" : "null"));
    }
    void PostNcDestroy() override { log.push_back("postncdestroy"); }
};

TEST(WindowMap, PostNcDestroyWaitsForTheOutermostMessage)
{
    SelfDestroyingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    SendMessageA(wnd.m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ((std::vector<std::string>{"after destroy, hwnd null", "postncdestroy"}), wnd.log);
}

TEST(WindowMap, ObjectDestroyedFirstTakesItsWindowDown)
{
    HWND hWnd;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

// A subclassed control that answers its parent's reflected messages.
class ReflectingStatic : public CWnd
{
public:
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    int commands = 0;
    ~ReflectingStatic() override { DeleteObject(brush); }
    BOOL OnChildNotify(UINT msg, WPARAM, LPARAM, LRESULT* result) override
    {
        if (msg == WM_CTLCOLORSTATIC) {
            *result = (LRESULT)brush;
            return TRUE;
        }
        if (msg == WM_COMMAND) {
            ++commands;
            *result = 0;
            return TRUE;
        }
        return FALSE;
    }
};

class ParentDlg : public CDialog
{
public:
    ParentDlg() : CDialog(IDD_ABOUTBOX) {}
    ReflectingStatic child;
    int parentCommands = 0;
    BOOL OnInitDialog() override
    {
        EXPECT_TRUE(child.SubclassDlgItem(IDC_ABOUT_VERSION, this));
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        ++parentCommands;
        return CDialog::OnCommand(wParam, lParam);
    }
};

TEST(Dialog, ReflectsControlMessagesToTheSubclassedChild)
{
    ParentDlg dlg;
    ASSERT_TRUE(dlg.Create((HWND) nullptr));
    HWND control = dlg.GetDlgItem(IDC_ABOUT_VERSION);
    EXPECT_EQ(&dlg.child, CWnd::FromHandlePermanent(control));
    HDC dc = GetDC(control);
    LRESULT brush = SendMessageA(dlg, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)control);
    ReleaseDC(control, dc);
    EXPECT_EQ((LRESULT)dlg.child.brush, brush) << "WM_CTLCOLOR* returns the brush directly";
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_VERSION, STN_CLICKED), (LPARAM)control);
    EXPECT_EQ(1, dlg.child.commands);
    EXPECT_EQ(0, dlg.parentCommands);
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(control));
    EXPECT_EQ(nullptr, dlg.child.m_hWnd) << "unsubclassed with its window";
}

class ModalDlg : public CDialog
{
public:
    ModalDlg() : CDialog(IDD_ABOUTBOX) {}
    bool initSeen = false;
    BOOL OnInitDialog() override
    {
        initSeen = IsWindow();
        PostMessage(WM_COMMAND, IDOK);
        return TRUE;
    }
};

TEST(Dialog, ModalRunsUntilOkAndReturnsItsResult)
{
    ModalDlg dlg;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(dlg.initSeen);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(Dialog, MissingTemplateFails)
{
    CDialog dlg(9999);
    EXPECT_FALSE(dlg.Create((HWND) nullptr));
    EXPECT_EQ(-1, dlg.DoModal());
}

TEST(Dialog, CentredDialogStaysOnScreen)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, -300, -300, 200, 100,
                               nullptr, nullptr));
    CDialog dlg(IDD_ABOUTBOX);
    ASSERT_TRUE(dlg.Create(owner.m_hWnd));
    dlg.CenterWindow();
    RECT rc, work;
    dlg.GetWindowRect(&rc);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(rc.left, work.left);
    EXPECT_GE(rc.top, work.top);
}

// A dialog whose button greys itself when it is clicked, or at a tick of
// its timer.
class GreyingDlg : public CDialog
{
public:
    GreyingDlg() : CDialog(IDD_FT_FIELDS) {}
    static const UINT_PTR kTimer = 7;
    void Grey() { ::EnableWindow(GetDlgItem(IDCANCEL), FALSE); }
    void OnCancel() override { Grey(); }
    void OnTimer(UINT_PTR id) override
    {
        if (id == kTimer)
            Grey();
    }
};

// A handler that greys the control with the focus leaves the keyboard
// nowhere (Wine takes the focus away, Windows leaves it on the grey
// control): the dialog hands it on to the next control in the tab order.
TEST(Dialog, ControlGreyedUnderTheFocusHandsItOn)
{
    for (bool byTimer : {false, true}) {
        SCOPED_TRACE(byTimer ? "a timer tick" : "a click");
        GreyingDlg dlg;
        ASSERT_TRUE(dlg.Create((HWND) nullptr));
        dlg.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(dlg);
        HWND cancel = dlg.GetDlgItem(IDCANCEL);
        dlg.SendMessage(WM_NEXTDLGCTL, (WPARAM)cancel, TRUE);
        ASSERT_EQ(cancel, ::GetFocus());
        if (byTimer)
            dlg.SendMessage(WM_TIMER, GreyingDlg::kTimer);
        else
            ::SendMessageA(cancel, BM_CLICK, 0, 0);
        ASSERT_FALSE(::IsWindowEnabled(cancel));
        EXPECT_EQ(dlg.GetDlgItem(IDC_FT_COUNT), ::GetFocus())
            << "after the last control, the first";
        dlg.DestroyWindow();
    }
}

TEST(Profile, IntegersAndStringsLiveUnderCompanyAndApplication)
{
    CWinApp app("FrameworkTest");
    EXPECT_EQ(42u, app.GetProfileInt("Section", "Missing", 42)) << "no key yet";
    app.SetRegistryKey("KVRTest");
    EXPECT_EQ("Software\\KVRTest\\FrameworkTest", app.GetProfileKeyPath());
    EXPECT_TRUE(app.WriteProfileInt("Section", "Number", -5));
    EXPECT_EQ((UINT)-5, app.GetProfileInt("Section", "Number", 0));
    EXPECT_TRUE(app.WriteProfileString("Section", "Text", "hello"));
    EXPECT_EQ("hello", app.GetProfileString("Section", "Text"));
    EXPECT_EQ(7u, app.GetProfileInt("Section", "Text", 7)) << "a string is not a number";

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\KVRTest\\FrameworkTest\\Section", 0,
                            KEY_READ, &key));
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KVRTest\\FrameworkTest\\Section");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KVRTest\\FrameworkTest");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KVRTest");
}

TEST(Strings, LoadedFromTheStringTable)
{
    EXPECT_EQ("Corvane Utility", LoadStr(IDS_MAIN_TITLE));
    EXPECT_EQ("The Corvane adapter is not working properly.\n\nDo you want to continue running "
              "this program ?",
              LoadStr(IDS_NOT_WORKING));
    EXPECT_EQ("", LoadStr(65000));
}

TEST(Gdi, OwnersReleaseAndSelectionsRestore)
{
    HBRUSH raw;
    {
        CBrush brush(RGB(10, 20, 30));
        raw = brush;
        ASSERT_NE(0u, GetObjectType(raw));
        CClientDC dc(nullptr);
        CMemoryDC mem(dc);
        HGDIOBJ before = GetCurrentObject(mem, OBJ_BRUSH);
        {
            CSelectObject select(mem, brush);
            EXPECT_EQ((HGDIOBJ)raw, GetCurrentObject(mem, OBJ_BRUSH));
        }
        EXPECT_EQ(before, GetCurrentObject(mem, OBJ_BRUSH));
    }
    EXPECT_EQ(0u, GetObjectType(raw)) << "deleted with its owner";
}

} // namespace
