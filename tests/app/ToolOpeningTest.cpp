// ToolOpeningTest.cpp - how the tool window opens the tools it owns: from
// its buttons, the notification icon's menu and a second start's request;
// an open one gets the focus; a failed creation is reported; the tools that
// need the card stay shut while the adapter has failed.
#include "adapter/AdapterState.h"
#include "adapter/CardItem.h"
#include "adapter/Mailbox.h"
#include "res/resource.h"
#include "sheet/CPropertyTab.h"
#include "tests/support/TestThread.h"
#include "tests/support/ToolScenarios.h"
#include "tests/support/ToolTestSupport.h"
#include "tools/CBssWatchDlg.h"
#include "tools/CSignalDlg.h"
#include "tools/CStationWatchDlg.h"
#include "tools/CThroughputDlg.h"

#include <gtest/gtest.h>

namespace {

using T = CMainToolDlg;
const T::Tool kAll[] = {TOOL_PROPERTIES, TOOL_WATCHER, TOOL_SIGNAL, TOOL_THROUGHPUT};

class ToolOpening : public ToolWindowFixture
{
protected:
    void Click(int id)
    {
        tool->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)tool->GetDlgItem(id));
    }
    bool HasFocus(HWND wnd) const
    {
        HWND focus = ::GetFocus();
        return focus && (focus == wnd || ::IsChild(wnd, focus));
    }
};

TEST_F(ToolOpening, EachToolOpensOnceThenGetsTheFocus)
{
    Start();
    const int buttons[4] = {IDC_BTN_PROPERTIES, IDC_BTN_WATCHER, IDC_BTN_SIGNAL,
                            IDC_BTN_THROUGHPUT};
    const char* captions[4] = {
        "Corvane Properties", "Network Watcher (Infrastructure)",
        "Current Signal Quality: ", "Station Throughput Monitor: CORVANE-PC (00:A0:C5:12:34:56)"};
    HWND windows[4];
    for (int i = 0; i < 4; ++i) {
        Click(buttons[i]);
        windows[i] = tool->GetToolWindow(kAll[i]);
        ASSERT_TRUE(windows[i]) << buttons[i];
        EXPECT_EQ(captions[i], CWnd::GetWindowText(windows[i]));
        EXPECT_EQ(tool->m_hWnd, ::GetWindow(windows[i], GW_OWNER)) << "owned by the tool window";
        EXPECT_TRUE(::IsWindowVisible(windows[i]));
    }
    EXPECT_EQ(windows[1], tool->GetBssWatcher()->m_hWnd);
    // The signal window sits below the tool window, flush with its right edge.
    RECT toolRect, signalRect;
    ::GetWindowRect(*tool, &toolRect);
    ::GetWindowRect(windows[2], &signalRect);
    EXPECT_EQ(toolRect.bottom, signalRect.top);
    EXPECT_EQ(toolRect.right, signalRect.right);
    EXPECT_EQ((DWORD)(PSH_HASHELP | PSH_NOAPPLYNOW),
              tool->GetPropertySheet()->GetFlags() & (PSH_HASHELP | PSH_NOAPPLYNOW));

    // The menu's commands and a second start's requests reach the same windows.
    const UINT menu[4] = {IDM_ADAPTER_PROPERTIES, IDM_NETWORK_WATCHER, IDM_SIGNAL_QUALITY,
                          IDM_THROUGHPUT_MONITOR};
    for (int i = 0; i < 4; ++i) {
        tool->SendMessage(WM_COMMAND, menu[i]);
        EXPECT_TRUE(HasFocus(windows[i])) << menu[i];
        tool->SendMessage(WM_COMMAND, buttons[(i + 1) % 4]); // focus elsewhere
        EXPECT_EQ(0, tool->SendMessage(WM_OPEN_TOOL, kAll[i]));
        EXPECT_TRUE(HasFocus(windows[i])) << "request " << kAll[i];
        EXPECT_EQ(windows[i], tool->GetToolWindow(kAll[i]));
    }
    for (WPARAM other : {0u, 6u})
        EXPECT_EQ(0, tool->SendMessage(WM_OPEN_TOOL, other));
    // Link History: request 5 makes it, the menu's item finds it again.
    EXPECT_EQ(0, tool->SendMessage(WM_OPEN_TOOL, TOOL_HISTORY));
    HWND history = tool->GetToolWindow(TOOL_HISTORY);
    ASSERT_TRUE(history);
    EXPECT_TRUE(HasFocus(history));
    tool->SendMessage(WM_COMMAND, buttons[0]); // focus elsewhere
    tool->SendMessage(WM_COMMAND, IDM_LINK_HISTORY);
    EXPECT_TRUE(HasFocus(history));
    EXPECT_EQ(history, tool->GetToolWindow(TOOL_HISTORY)) << "the same window";

    // A closed tool is made again on the next request.
    ::SendMessageA(windows[2], WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(windows[2]));
    EXPECT_EQ(nullptr, tool->GetToolWindow(TOOL_SIGNAL));
    Click(IDC_BTN_SIGNAL);
    EXPECT_TRUE(tool->GetToolWindow(TOOL_SIGNAL));
    EXPECT_EQ(tool->Asked().size(), 6u) << "five creations and one again";
    EXPECT_TRUE(os.boxes.empty());
    KeepShownWindowsToTheEnd(std::move(tool));
}

// A window of another thread in front, as another program's is when a
// second start is typed; it takes the front again on request.
class OtherProgramWindow
{
public:
    OtherProgramWindow()
        : m_front(::CreateEventA(nullptr, FALSE, FALSE, nullptr)),
          m_request(::CreateEventA(nullptr, FALSE, FALSE, nullptr)),
          m_thread(&OtherProgramWindow::Run, this)
    {
        ::WaitForSingleObject(m_front, INFINITE);
    }
    ~OtherProgramWindow()
    {
        m_quit = true;
        ::SetEvent(m_request);
        m_thread.join();
        ::CloseHandle(m_front);
        ::CloseHandle(m_request);
    }
    void ComeToTheFront()
    {
        ::SetEvent(m_request);
        ::WaitForSingleObject(m_front, INFINITE);
    }
    HWND m_hWnd = nullptr;

private:
    void Run()
    {
        m_hWnd = ::CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 600, 0, 100,
                                   50, nullptr, nullptr, nullptr, nullptr);
        for (;;) {
            ::SetForegroundWindow(m_hWnd);
            ::SetEvent(m_front);
            MSG msg;
            while (::MsgWaitForMultipleObjects(1, &m_request, FALSE, INFINITE, QS_ALLINPUT) !=
                   WAIT_OBJECT_0)
                while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                    ::DispatchMessageA(&msg);
            if (m_quit)
                break;
        }
        ::DestroyWindow(m_hWnd);
    }

    HANDLE m_front, m_request;
    volatile bool m_quit = false;
    TestThread m_thread;
};

TEST_F(ToolOpening, ASecondStartsRequestBringsItsWindowToTheFrontWithTheFocus)
{
    Start();
    tool->ShowWindow(SW_SHOWNA);
    OtherProgramWindow other;
    // Each tool once made by the request and once already open.
    for (int round = 0; round < 2; ++round) {
        for (T::Tool t : kAll) {
            SCOPED_TRACE(testing::Message() << "tool " << t << ", round " << round);
            other.ComeToTheFront();
            ASSERT_EQ(other.m_hWnd, ::GetForegroundWindow());
            EXPECT_EQ(0, tool->SendMessage(WM_OPEN_TOOL, t));
            HWND window = tool->GetToolWindow(t);
            ASSERT_TRUE(window);
            EXPECT_EQ(window, ::GetForegroundWindow());
            EXPECT_TRUE(HasFocus(window));
        }
    }
    EXPECT_TRUE(os.boxes.empty());
    KeepShownWindowsToTheEnd(std::move(tool));
}

TEST_F(ToolOpening, FailedCreationSaysUnableToDisplayExceptForTheSignalWindow)
{
    Start();
    tool->FailCreate({std::begin(kAll), std::end(kAll)});
    for (T::Tool t : kAll) {
        SCOPED_TRACE(t);
        os.boxes.clear();
        tool->OpenTool(t);
        if (t == TOOL_SIGNAL) {
            EXPECT_TRUE(os.boxes.empty());
            continue;
        }
        ASSERT_EQ(1u, os.boxes.size());
        EXPECT_EQ("Unable to display dialog", os.boxes[0].text);
        EXPECT_EQ("Error", os.boxes[0].caption);
        EXPECT_EQ((UINT)(MB_ICONSTOP | MB_SYSTEMMODAL), os.boxes[0].style);
    }
    EXPECT_EQ(4u, tool->Asked().size());
}

TEST_F(ToolOpening, AfterAFailedStartOnlyThePropertySheetOpens)
{
    GetAdapterState().m_bAdapterFailed = TRUE;
    GetAdapterState().m_nAdapterStatus = 3;
    Start();
    EXPECT_EQ(0u, card->card.Commands(CMD_GET_PARAM, PARAM_NETWORK_TYPE))
        << "the card is not asked";
    EXPECT_NE(nullptr, tool->GetStationWatcher()) << "no infrastructure reported";
    tool->FailCreate({std::begin(kAll), std::end(kAll)});
    for (T::Tool t : kAll)
        tool->OpenTool(t);
    EXPECT_EQ(std::vector<T::Tool>{TOOL_PROPERTIES}, tool->Asked());
}

TEST_F(ToolOpening, WatcherFollowsTheNetworkTypeReadWhenItOpens)
{
    Start();
    tool->FailCreate({TOOL_WATCHER});
    ASSERT_NE(nullptr, tool->GetBssWatcher());
    const uint8_t adHoc[2] = {0, 0}; // any type but 1 is ad-hoc
    card->card.ChooseAnswer(CMD_GET_PARAM, PARAM_NETWORK_TYPE, adHoc, sizeof(adHoc));
    tool->OpenTool(TOOL_WATCHER);
    EXPECT_NE(nullptr, tool->GetStationWatcher()) << "made when the card first asks for it";
    EXPECT_EQ(1u, tool->Asked().size());

    // The card does not answer the question: it has stopped answering.
    card->card.ClearAnswerRules();
    card->card.Silence(CMD_GET_PARAM, PARAM_NETWORK_TYPE);
    os.boxes.clear();
    tool->OpenTool(TOOL_WATCHER);
    EXPECT_EQ(1u, tool->Asked().size()) << "nothing made";
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("The Corvane adapter has no response.", os.boxes[0].text);
    EXPECT_TRUE(GetAdapterState().m_bAdapterFailed);
    EXPECT_EQ(5, GetAdapterState().m_nAdapterStatus);
    EXPECT_FALSE(tool->IsMonitoring());
}

TEST_F(ToolOpening, WatcherOpensWithoutAskingACardAnotherPollHolds)
{
    Start();
    tool->FailCreate({TOOL_WATCHER});
    card->card.ResetCounts();
    ASSERT_EQ(0, TryLockAdapter()); // a watcher's scan waits behind its box
    tool->OpenTool(TOOL_WATCHER);
    UnlockAdapter();
    EXPECT_EQ(0u, card->card.Commands(CMD_GET_PARAM, PARAM_NETWORK_TYPE))
        << "the mailbox is the other poll's";
    EXPECT_EQ(std::vector<T::Tool>{TOOL_WATCHER}, tool->Asked()) << "the kind known last";
    EXPECT_EQ(0, os.CountBoxes("The Corvane adapter has no response."));
    EXPECT_FALSE(GetAdapterState().m_bAdapterFailed);
}

} // namespace
