// MonitorTest.cpp - the link monitor's ticks against the simulated card:
// tips and icons by the thresholds, the alert rule, scans, the ad-hoc
// quality, a card that stops answering and a link idle from the start.
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/CardItem.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "adapter/QualityScale.h"
#include "res/resource.h"
#include "tests/support/ToolScenarios.h"
#include "tests/support/ToolTestSupport.h"
#include "tools/CSignalDlg.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const char kNoResponse[] = "The Corvane adapter has no response.";
const char kAlertInfra[] =
    "The RF signal quality becomes poor. You can find a better AP by the 'Network Watcher'. ";
const char kAlertAdHoc[] =
    "The RF signal quality becomes poor. The stations(s) may disconnect with this node. Please "
    "refresh the network by the 'Network Watcher'.";

class Monitor : public ToolWindowFixture
{
protected:
    void Signal(int value) { ASSERT_TRUE(card->card.SetSignal(0, (uint16_t)value)); }
    // One tick after the given time has passed on the card.
    void TickAfter(uint32_t ms)
    {
        card->card.Advance(ms);
        tool->Tick();
    }
    // The card answers the ad-hoc quality record with this one.
    void AnswerRecord(const AdHocQualityRecord& r)
    {
        card->card.ChooseAnswer(CMD_GET_STATUS, SUB_ADHOC_QUALITY, &r, sizeof(r));
    }
    // How often the program asked the card for a parameter or a status.
    uint32_t ParamReads(uint16_t code) { return card->card.Commands(CMD_GET_PARAM, code); }
    uint32_t StatusReads(uint16_t sub) { return card->card.Commands(CMD_GET_STATUS, sub); }
};

TEST_F(Monitor, InfrastructureTipAndIconFollowTheReading)
{
    GetAdapterState().AlertBeep = 1;
    GetAdapterState().AlertMessage = 1;
    Start();
    struct Case
    {
        int signal;
        const char* tip;
        UINT icon;
        size_t beeps;
    };
    const Case cases[] = {
        {45, "Quality: 45%", IDI_QUALITY_FAIR, 0},   {60, "Quality: 60%", IDI_QUALITY_GOOD, 0},
        {100, "Quality: 100%", IDI_QUALITY_GOOD, 0}, {30, "Quality: 30%", IDI_QUALITY_FAIR, 0},
        {29, "Quality: 29%", IDI_QUALITY_POOR, 1},   {59, "Quality: 59%", IDI_QUALITY_FAIR, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signal);
        os.beeps.clear();
        Signal(c.signal);
        TickAfter(2000);
        EXPECT_FLOAT_EQ((float)c.signal, tool->GetLinkQuality());
        EXPECT_EQ(c.tip, LastTip(os));
        EXPECT_EQ(SmallIcon(c.icon), LastIcon(os));
        EXPECT_EQ(c.beeps, os.beeps.size());
        if (c.beeps) {
            EXPECT_EQ((UINT)MB_ICONHAND, os.beeps[0]);
        }
    }
    EXPECT_TRUE(os.boxes.empty()) << "below 30 but not 0: no box in an infrastructure network";

    // The same reading again: nothing new for the shell.
    size_t shellCalls = os.shell.size();
    TickAfter(2000);
    EXPECT_EQ(shellCalls, os.shell.size());
    Signal(58); // new tip, same icon
    TickAfter(2000);
    ASSERT_EQ(shellCalls + 1, os.shell.size());
    EXPECT_EQ((UINT)NIF_TIP, os.shell.back().flags);
}

TEST_F(Monitor, ZeroReadingRaisesTheBoxUnlessAssociated)
{
    GetAdapterState().AlertMessage = 1;
    for (DWORD trayIcon : {1u, 0u}) {
        SCOPED_TRACE(trayIcon ? "with the icon" : "without the icon");
        app.EnableTrayIcon = trayIcon;
        os.boxes.clear();
        Start();
        // The cell is lost: "00" while rejoining.
        Signal(0);
        TickAfter(2000);
        EXPECT_FLOAT_EQ(0.0f, tool->GetLinkQuality());
        if (trayIcon) {
            EXPECT_EQ("Quality: 0%, Rejoining...", LastTip(os));
            EXPECT_EQ(SmallIcon(IDI_QUALITY_POOR), LastIcon(os));
        }
        ASSERT_EQ(1u, os.boxes.size());
        EXPECT_EQ(kAlertInfra, os.boxes[0].text);
        EXPECT_EQ("Alert Message", os.boxes[0].caption);
        EXPECT_EQ((UINT)(MB_ICONSTOP | MB_SYSTEMMODAL), os.boxes[0].style);
        EXPECT_EQ(tool->m_hWnd, os.boxes[0].owner);

        // Back, and then a firmware that reports 0 while still associated.
        Signal(72);
        TickAfter(2000);
        EXPECT_FALSE(tool->IsAlerted());
        const uint8_t zero[2] = {0, 0};
        card->card.ChooseAnswer(CMD_GET_STATUS, SUB_QUALITY, zero, sizeof(zero));
        card->card.ResetCounts();
        TickAfter(2000);
        if (trayIcon) {
            EXPECT_EQ("Quality: 0%, Associated", LastTip(os));
        }
        EXPECT_TRUE(tool->IsAlerted());
        EXPECT_EQ(1u, os.boxes.size()) << "associated: no box";
        EXPECT_EQ(1u, ParamReads(PARAM_LINK_STATE)) << "the link state is read once per tick";
        card->card.ClearAnswerRules();
    }
}

TEST_F(Monitor, AlertComesOnceAndAgainOnlyAfterThirtyToOneHundred)
{
    GetAdapterState().AlertBeep = 1;
    Start();
    Signal(20);
    for (int i = 0; i < 6; ++i)
        TickAfter(2000);
    EXPECT_EQ(1u, os.beeps.size());
    Signal(25);
    TickAfter(2000);
    EXPECT_EQ(1u, os.beeps.size()) << "still below 30";
    Signal(30);
    TickAfter(2000);
    EXPECT_FALSE(tool->IsAlerted());
    Signal(20);
    TickAfter(2000);
    TickAfter(2000);
    EXPECT_EQ(2u, os.beeps.size());
}

TEST_F(Monitor, RunningScanShowsScanningAndLeavesTheAlert)
{
    GetAdapterState().AlertBeep = 1;
    Start();
    Signal(20);
    TickAfter(2000);
    ASSERT_TRUE(tool->IsAlerted());
    GetAdapterState().ScanInProgress = TRUE;
    card->card.ResetCounts();
    Signal(50);
    TickAfter(2000);
    EXPECT_FLOAT_EQ(103.0f, tool->GetLinkQuality());
    EXPECT_EQ("Scanning", LastTip(os));
    EXPECT_EQ(SmallIcon(IDI_QUALITY_NONE), LastIcon(os));
    EXPECT_TRUE(tool->IsAlerted()) << "not cleared by a scan";
    EXPECT_EQ(0u, StatusReads(SUB_QUALITY)) << "the card is not asked while it scans";

    GetAdapterState().ScanInProgress = FALSE;
    TickAfter(2000);
    EXPECT_FALSE(tool->IsAlerted());
    Signal(20);
    GetAdapterState().ScanInProgress = TRUE;
    TickAfter(2000);
    EXPECT_FALSE(tool->IsAlerted()) << "not raised by a scan";
    EXPECT_EQ(1u, os.beeps.size());
}

TEST_F(Monitor, AdHocQualityFromTheCardsRecords)
{
    Start(kAdHoc);
    EXPECT_TRUE(tool->IsAdHoc());
    EXPECT_EQ(1u, card->card.Commands(CMD_GET_PARAM, PARAM_NETWORK_TYPE));
    EXPECT_EQ(4000u, tool->GetMonitorPeriod());
    EXPECT_EQ(100, tool->GetPeriodDivisor());
    EXPECT_FLOAT_EQ(100.0f, tool->GetLinkQuality());
    EXPECT_NE(nullptr, tool->GetStationWatcher());
    EXPECT_EQ(nullptr, tool->GetBssWatcher());

    // The cell is heard at 80: the smoothed value falls towards it.
    TickAfter(4000);
    EXPECT_NEAR(90.0, tool->GetLinkQuality(), 1.5);
    EXPECT_EQ("Quality: " + std::to_string((int)tool->GetLinkQuality()) + "%", LastTip(os));
    for (int i = 0; i < 8; ++i) {
        TickAfter(4000);
        ASSERT_LE(tool->GetLinkQuality(), 100.0f);
    }
    EXPECT_NEAR(80.0, tool->GetLinkQuality(), 1.5);
    EXPECT_EQ(SmallIcon(IDI_QUALITY_GOOD), LastIcon(os));

    // A station falls silent: the count of others changes.
    ASSERT_TRUE(card->card.Apply("station 00:A0:C5:AA:00:04 silent\n")) << card->card.LastError();
    TickAfter(4000);
    EXPECT_FLOAT_EQ(102.0f, tool->GetLinkQuality());
    EXPECT_EQ("No Connection!", LastTip(os));
    EXPECT_EQ(SmallIcon(IDI_QUALITY_NONE), LastIcon(os));
    // The next tick starts again from 100.
    TickAfter(4000);
    EXPECT_NEAR(90.0, tool->GetLinkQuality(), 1.5);
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(Monitor, AdHocQualityNeverExceedsOneHundred)
{
    Start(kAdHoc);
    AdHocQualityRecord r = {};
    r.otherStations = 2;
    AnswerRecord(r);
    tool->Tick(); // two stations instead of the card's three: "No Connection!", then from 100
    for (int i = 1; i <= 10; ++i) {
        r.timeCounter += 4000000; // 4 s: 40 * 2 / 3 expected
        r.runningCounter += 5000;
        AnswerRecord(r);
        tool->Tick();
        ASSERT_LE(tool->GetLinkQuality(), 100.0f) << i;
    }
    EXPECT_FLOAT_EQ(100.0f, tool->GetLinkQuality());
    EXPECT_EQ("Quality: 100%", LastTip(os));
}

TEST_F(Monitor, AdHocQualityDownToZeroTipsTheLinkState)
{
    Start(kAdHoc);
    AdHocQualityRecord r = {};
    r.otherStations = 2;
    AnswerRecord(r);
    tool->Tick(); // a new station count: "No Connection!", then from 100
    for (int i = 0; i < 12; ++i) {
        r.timeCounter += 4000000; // time passes, nothing is heard
        AnswerRecord(r);
        tool->Tick();
    }
    ASSERT_LT(tool->GetLinkQuality(), 1.0f);
    char state[32] = "";
    ASSERT_EQ(ITEM_OK, QueryCardItem(CI_LINK_STATE, state));
    ASSERT_STRNE("", state);
    EXPECT_EQ(std::string("Quality: 0%, ") + state, LastTip(os));
    EXPECT_EQ(SmallIcon(IDI_QUALITY_POOR), LastIcon(os));
}

TEST_F(Monitor, AdHocAlertBoxIsAlwaysShownAndOnlyOnce)
{
    GetAdapterState().AlertMessage = 1;
    Start(kAdHoc);
    Signal(10);
    // A tick that runs while the box is open raises no second alert.
    os.whileBoxOpen = [&] { TickAfter(4000); };
    for (int i = 0; i < 6; ++i)
        TickAfter(4000);
    EXPECT_LT(tool->GetLinkQuality(), 30.0f);
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ(kAlertAdHoc, os.boxes[0].text);
    EXPECT_EQ("Alert Message", os.boxes[0].caption);
    EXPECT_EQ((UINT)(MB_ICONSTOP | MB_SYSTEMMODAL), os.boxes[0].style);
}

TEST_F(Monitor, AdHocWithoutAPeriodDivisorHoldsTheQualityUntilTheCardTellsIt)
{
    card.reset(new OpenedCard(kAdHoc));
    for (bool failing : {true, false}) {
        SCOPED_TRACE(failing ? "item 5 does not answer" : "item 5 reads 0");
        tool.reset();
        card->card.ClearAnswerRules();
        card->card.ResetCounts();
        if (failing) {
            card->card.Silence(CMD_GET_PARAM, PARAM_BEACON_WORD);
        } else {
            const uint8_t zero[2] = {0, 0};
            card->card.ChooseAnswer(CMD_GET_PARAM, PARAM_BEACON_WORD, zero, sizeof(zero));
        }
        tool.reset(new TestToolDlg);
        ASSERT_TRUE(tool->Open());
        EXPECT_EQ(0, tool->GetPeriodDivisor());
        TickAfter(4000);
        EXPECT_FLOAT_EQ(100.0f, tool->GetLinkQuality()) << "no sample without a divisor";
        EXPECT_EQ(2u, ParamReads(PARAM_BEACON_WORD)) << "asked again for the sample";
        EXPECT_TRUE(tool->IsMonitoring());
        EXPECT_FALSE(GetAdapterState().m_bAdapterFailed);
        card->card.ClearAnswerRules();
        TickAfter(4000);
        EXPECT_EQ(100, tool->GetPeriodDivisor());
        EXPECT_NEAR(90.0, tool->GetLinkQuality(), 1.5);
        TickAfter(4000);
        EXPECT_EQ(3u, ParamReads(PARAM_BEACON_WORD)) << "not asked once known";
    }
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(Monitor, SilentCardStopsTheMonitorForGood)
{
    GetAdapterState().AlertBeep = 1;
    Start();
    TickAfter(2000);
    card->card.SetFault(SIM_FAULT_NO_ANSWER);
    TickAfter(2000);
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ(kNoResponse, os.boxes[0].text);
    EXPECT_EQ("Error", os.boxes[0].caption);
    EXPECT_EQ((UINT)(MB_ICONSTOP | MB_SYSTEMMODAL), os.boxes[0].style);
    EXPECT_EQ(tool->m_hWnd, os.boxes[0].owner);
    EXPECT_EQ(std::vector<UINT>{MB_ICONHAND}, os.beeps);
    EXPECT_EQ(kNoResponse, LastTip(os));
    EXPECT_EQ(SmallIcon(IDI_QUALITY_POOR), LastIcon(os));
    EXPECT_TRUE(GetAdapterState().m_bAdapterFailed);
    EXPECT_EQ(5, GetAdapterState().m_nAdapterStatus);
    EXPECT_FALSE(tool->IsMonitoring());
    EXPECT_FALSE(::KillTimer(*tool, CMainToolDlg::MONITOR_TIMER)) << "the timer is gone";

    // Further ticks (already queued ones) and the card's return change nothing.
    card->card.SetFault(SIM_FAULT_NO_ANSWER, false);
    size_t shellCalls = os.shell.size();
    TickAfter(2000);
    EXPECT_EQ(1u, os.boxes.size());
    EXPECT_EQ(shellCalls, os.shell.size());

    // The tools that need the card no longer open; the property sheet does.
    tool->FailCreate({TOOL_PROPERTIES});
    for (int t = TOOL_PROPERTIES; t <= TOOL_THROUGHPUT; ++t)
        tool->OpenTool((CMainToolDlg::Tool)t);
    EXPECT_EQ(std::vector<CMainToolDlg::Tool>{TOOL_PROPERTIES}, tool->Asked());
}

TEST_F(Monitor, FailureFoundElsewhereStopsTheNextTickQuietly)
{
    Start();
    GetAdapterState().m_bAdapterFailed = TRUE;
    card->card.ResetCounts();
    TickAfter(2000);
    EXPECT_FALSE(tool->IsMonitoring());
    EXPECT_EQ(0u, StatusReads(SUB_QUALITY));
    EXPECT_TRUE(os.boxes.empty());
}

TEST_F(Monitor, TickWhileAnotherCardPollWaitsIsSkipped)
{
    Start();
    Signal(20);
    ASSERT_EQ(0, TryLockAdapter()); // a poll of another window holds the card
    card->card.ResetCounts();
    TickAfter(2000);
    EXPECT_EQ(0u, StatusReads(SUB_QUALITY));
    EXPECT_FLOAT_EQ(100.0f, tool->GetLinkQuality()) << "nothing read, nothing changed";
    EXPECT_TRUE(tool->IsMonitoring());
    EXPECT_TRUE(GetAdapterLink().AdapterBusy) << "the other poll keeps its lock";
    UnlockAdapter();
    TickAfter(2000);
    EXPECT_FLOAT_EQ(20.0f, tool->GetLinkQuality());
    EXPECT_FALSE(GetAdapterLink().AdapterBusy) << "the tick gives the lock back";
}

TEST_F(Monitor, IdleLinkAtStartCountsAsNoAnswer)
{
    std::string scenario = std::string(kInfrastructure) + "link-state idle\n";
    Start(scenario.c_str());
    EXPECT_EQ(1, os.CountBoxes(kNoResponse));
    EXPECT_EQ(7, GetAdapterState().m_nAdapterStatus);
    EXPECT_TRUE(GetAdapterState().m_bAdapterFailed);
    EXPECT_FALSE(tool->IsMonitoring());
    EXPECT_EQ("Idle", LastTip(os));
    EXPECT_EQ(SmallIcon(IDI_QUALITY_POOR), LastIcon(os));
}

TEST_F(Monitor, SignalWindowGetsEachReadingAsANumber)
{
    Start();
    tool->OpenTool(TOOL_SIGNAL);
    CSignalDlg* signal = tool->GetSignalWindow();
    ASSERT_TRUE(signal && signal->m_hWnd);
    EXPECT_EQ(QUALITY_NO_CONNECTION, signal->GetQuality()) << "no reading yet, no made-up 100";
    Signal(45);
    TickAfter(2000);
    EXPECT_EQ(45, signal->GetQuality());
    Signal(0);
    TickAfter(2000);
    EXPECT_EQ(0, signal->GetQuality());
    KeepShownWindowsToTheEnd(std::move(tool));
}

TEST_F(Monitor, SignalWindowOpenedLaterStartsFromTheLastReading)
{
    Start();
    Signal(45);
    TickAfter(2000);
    tool->OpenTool(TOOL_SIGNAL);
    CSignalDlg* signal = tool->GetSignalWindow();
    ASSERT_TRUE(signal && signal->m_hWnd);
    EXPECT_EQ(45, signal->GetQuality());
    KeepShownWindowsToTheEnd(std::move(tool));
}

TEST_F(Monitor, SilentCardLeavesTheSignalWindowEmpty)
{
    Start();
    tool->OpenTool(TOOL_SIGNAL);
    CSignalDlg* signal = tool->GetSignalWindow();
    ASSERT_TRUE(signal && signal->m_hWnd);
    Signal(45);
    TickAfter(2000);
    ASSERT_EQ(45, signal->GetQuality());
    card->card.SetFault(SIM_FAULT_NO_ANSWER);
    TickAfter(2000);
    EXPECT_FALSE(tool->IsMonitoring());
    EXPECT_EQ(QUALITY_NO_CONNECTION, signal->GetQuality());
    EXPECT_EQ("Current Signal Quality:  No Connection!", signal->GetWindowText())
        << "shown at once, not at the next repaint";
    KeepShownWindowsToTheEnd(std::move(tool));
}

TEST_F(Monitor, AdapterFailedElsewhereShowsInTheTray)
{
    Start();
    Signal(70);
    TickAfter(2000);
    ASSERT_EQ("Quality: 70%", LastTip(os));
    // The signal window (or a watcher) found the card silent.
    ReportAdapterSilent(nullptr);
    size_t boxes = os.boxes.size();
    TickAfter(2000);
    EXPECT_FALSE(tool->IsMonitoring());
    EXPECT_EQ(boxes, os.boxes.size()) << "the monitor stops quietly";
    EXPECT_EQ(kNoResponse, LastTip(os));
    EXPECT_EQ(SmallIcon(IDI_QUALITY_POOR), LastIcon(os));
}

// A tool that closes on a silent card without a word of its own leaves the
// message to the tool window: said at its next tick, once, and no window
// asks the card again in between.
TEST_F(Monitor, SilenceFoundByAToolIsSaidOnceAtTheNextTick)
{
    Start();
    Signal(70);
    TickAfter(2000);
    size_t boxes = os.boxes.size();
    NoteFailedRead(ITEM_UNKNOWN);
    EXPECT_FALSE(GetAdapterState().m_bAdapterFailed) << "only silence fails the adapter";
    NoteFailedRead(ITEM_NO_RESPONSE);
    EXPECT_TRUE(GetAdapterState().m_bAdapterFailed);
    TickAfter(2000);
    TickAfter(2000);
    EXPECT_FALSE(tool->IsMonitoring());
    ASSERT_EQ(boxes + 1, os.boxes.size());
    EXPECT_EQ(kNoResponse, os.boxes.back().text);
    EXPECT_EQ(kNoResponse, LastTip(os));
}

TEST_F(Monitor, FailedAdapterAtStartUpIsNamedInTheTip)
{
    struct Case
    {
        BYTE status;
        const char* tip;
    };
    const Case cases[] = {
        {ADAPTER_NOT_FOUND, "Cannot find the Corvane adapter."},
        {ADAPTER_BAD_INSTALL, "The Corvane driver has not been installed properly."},
        {ADAPTER_NOT_WORKING, "The Corvane adapter is not working properly."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tip);
        ClearAdapterState();
        GetAdapterState().m_nAdapterStatus = c.status;
        GetAdapterState().m_bAdapterFailed = TRUE;
        os.shell.clear();
        Start();
        EXPECT_EQ(c.tip, LastTip(os));
        EXPECT_EQ(SmallIcon(IDI_QUALITY_POOR), LastIcon(os));
        TickAfter(2000);
        EXPECT_EQ(c.tip, LastTip(os)) << "and stays after the first tick";
    }
}

} // namespace
