// The message filter: a modeless window's accelerators and dialog keyboard
// while another window runs a modal loop.
#include "framework/MessageFilter.h"
#include "framework/CDialog.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

namespace {

const UINT WM_FT_END = WM_APP + 1;

class ToolDlg : public CDialog
{
public:
    explicit ToolDlg(CWnd* owner) : CDialog(IDD_FT_FIELDS, owner) { LoadAccelTable(IDR_FT_ACCEL); }
    int commands = 0;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == IDM_FT_ACCEL) {
            ++commands;
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
};

// A modal dialog that opens a modeless tool, sends it keys from inside its
// own modal loop, then ends.
class ModalOwner : public CDialog
{
public:
    ModalOwner() : CDialog(IDD_FT_OWNER), tool(this) {}
    ToolDlg tool;
    BOOL OnInitDialog() override
    {
        tool.Create(this);
        tool.ShowWindow(SW_SHOW);
        PostKey(tool.GetDlgItem(IDC_FT_COUNT), 'K', true);
        PostMessage(WM_FT_END);
        return TRUE;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_FT_END) {
            EndDialog(IDOK);
            return 0;
        }
        return CDialog::WindowProc(msg, wParam, lParam);
    }
};

TEST(MessageFilter, ModelessAcceleratorsWorkInsideAModalLoop)
{
    HeldKeys keys(true, true);
    {
        InstallMessageFilter();
        InstallMessageFilter(); // once is once
        ModalOwner owner;
        EXPECT_EQ(IDOK, owner.DoModal());
        EXPECT_EQ(1, owner.tool.commands) << "Ctrl+Alt+K reached the tool window";
        RemoveMessageFilter();
        EXPECT_FALSE(IsMessageFilterInstalled());
    }
    {
        ModalOwner owner; // the same without the hook
        EXPECT_EQ(IDOK, owner.DoModal());
        EXPECT_EQ(0, owner.tool.commands);
    }
}

TEST(MessageFilter, ModalDialogKeepsItsOwnKeyboard)
{
    // A modal dialog's messages are its loop's: the filter leaves them alone.
    class Probe : public CDialog
    {
    public:
        Probe() : CDialog(IDD_FT_FIELDS) {}
        BOOL answer = FALSE;
        BOOL OnInitDialog() override
        {
            MSG key = {};
            key.hwnd = GetDlgItem(IDC_FT_COUNT);
            key.message = WM_KEYDOWN;
            key.wParam = VK_TAB;
            answer = PreTranslateThreadMessage(&key);
            PostMessage(WM_COMMAND, IDCANCEL);
            return TRUE;
        }
    } probe;
    EXPECT_EQ(IDCANCEL, probe.DoModal());
    EXPECT_FALSE(probe.answer);
}

TEST(MessageFilter, ModelessDialogTakesItsTabKey)
{
    ToolDlg dlg(nullptr);
    ASSERT_TRUE(dlg.Create((CWnd*)nullptr));
    dlg.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(dlg);
    ::SetFocus(dlg.GetDlgItem(IDC_FT_COUNT));
    PostKey(dlg.GetDlgItem(IDC_FT_COUNT), VK_TAB, false);
    PumpMessages();
    EXPECT_EQ(dlg.GetDlgItem(IDC_FT_NAME), ::GetFocus());
}

} // namespace
