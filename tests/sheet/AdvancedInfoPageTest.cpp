// AdvancedInfoPageTest.cpp - the Advanced Information page made from its
// template against the simulated card: manufacturer rule, resources, the
// status text with the connected access point, and a card that is silent.
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/MailboxBlock.h"
#include "res/resource.h"
#include "sheet/CPropDlg.h"
#include "tests/sheet/PagesTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pages {
namespace {

const char* const kWorking = "The Corvane adapter is working properly.";

class AdvancedInfoTest : public PageFixture
{
protected:
    // Makes the page (its initialisation reads the card).
    void Open()
    {
        page.reset(new CPropDlg);
        ASSERT_TRUE(page->Create(&host));
    }
    std::string Field(int id) const { return ControlText(page->m_hWnd, id); }
    std::string Status() const { return ControlText(page->m_hWnd, IDC_INFO_STATUS); }

    HiddenHost host;
    std::unique_ptr<CPropDlg> page;
};

TEST_F(AdvancedInfoTest, HealthyCardInItsSecondOfThreeCells)
{
    OpenCard();
    Open();
    EXPECT_EQ("KVR", Field(IDC_INFO_MANUFACTURER)) << "\"WIRELESS LAN\" names the company";
    EXPECT_EQ("3.01", Field(IDC_INFO_FIRMWARE));
    EXPECT_EQ("PCMCIA", Field(IDC_INFO_BUS_TYPE));
    EXPECT_EQ("0240 - 0247", Field(IDC_INFO_IO_RANGE));
    EXPECT_EQ("10", Field(IDC_INFO_IRQ));
    EXPECT_EQ("00:A0:C5:12:34:56", Field(IDC_INFO_STATION_ADDRESS));
    EXPECT_EQ(std::string(kWorking) + "\r\nCurrent connected AP: Lab (00:A0:C5:00:00:02)\r\n",
              Status());
    EXPECT_TRUE(os->boxes.empty());
}

// A card that claims a table of 65,535 entries is read as far as the
// Network Watcher reads one, three commands an entry.
TEST_F(AdvancedInfoTest, BssTableIsReadNoFurtherThanTheWatcherReadsIt)
{
    // In no cell: no entry ends the search early.
    OpenCard("network infrastructure\nessid Corvane\ndrift 0\n"
             "cell 00:A0:C5:00:00:01 Other 1 40 name=Far\ncurrent none\n");
    const uint8_t claimed[2] = {0xFF, 0xFF};
    card->ChooseAnswer(CMD_GET_STATUS, SUB_BSS_COUNT, claimed, sizeof(claimed));
    card->ResetCounts();
    Open();
    EXPECT_EQ(30u, card->Commands(CMD_GET_STATUS, SUB_BSS_AP_NAME));
    EXPECT_EQ(30u, card->Commands(CMD_GET_STATUS, SUB_BSS_BSSID));
    EXPECT_EQ(30u, card->Commands(CMD_GET_STATUS, SUB_BSS_STATE));
}

TEST_F(AdvancedInfoTest, ManufacturerRule)
{
    const struct
    {
        const char* line;
        const char* shown;
    } cases[] = {
        {"manufacturer \"WIRELESS LAN\"", "KVR"},
        {"manufacturer \"\"", ""},
        {"manufacturer \"Wireless LAN\"", "Wireless LAN"},
        {"manufacturer \"Other Radio Co\"", "Other Radio Co"},
    };
    for (const auto& c : cases) {
        OpenCard((std::string(kThreeCells) + c.line + "\n").c_str());
        Open();
        EXPECT_EQ(c.shown, Field(IDC_INFO_MANUFACTURER)) << c.line;
    }
}

TEST_F(AdvancedInfoTest, ResourcesOfTheDiscoveredCard)
{
    const struct
    {
        BYTE type;
        WORD base;
        WORD irq;
        const char* bus;
        const char* range;
        const char* irqText;
    } cases[] = {
        {1, 0x240, 10, "PCMCIA", "0240 - 0247", "10"},
        {2, 0x300, 5, "ISA", "0300 - 030F", "5"},
        {0, 0x300, 0xFFFF, "Not available", "Not available", "Not available"},
    };
    for (const auto& c : cases) {
        OpenCard();
        GetAdapterLink().AdapterCardType = c.type;
        GetAdapterLink().AdapterIoBase = c.base;
        GetAdapterLink().AdapterIrq = c.irq;
        Open();
        EXPECT_EQ(c.bus, Field(IDC_INFO_BUS_TYPE)) << c.range;
        EXPECT_EQ(c.range, Field(IDC_INFO_IO_RANGE));
        EXPECT_EQ(c.irqText, Field(IDC_INFO_IRQ)) << c.range;
    }
}

TEST_F(AdvancedInfoTest, StatusNamesTheConnectedAccessPointIfAny)
{
    const std::string connected =
        std::string(kWorking) + "\r\nCurrent connected AP: Long (00:A0:C5:00:00:07)\r\n";
    const struct
    {
        const char* what;
        const char* scenario;
        std::string status;
    } cases[] = {
        {"ad-hoc network",
         "network adhoc\nessid Party\ndrift 0\n"
         "cell 02:5E:10:20:30:40 Party 9 80 adhoc\n"
         "current 02:5E:10:20:30:40\n",
         kWorking},
        {"infrastructure, in no cell",
         "network infrastructure\nessid Corvane\ndrift 0\n"
         "cell 00:A0:C5:00:00:01 Other 1 40 name=Far\n"
         "current none\n",
         kWorking},
        {"infrastructure, in a cell of the longest ESSID",
         "network infrastructure\nessid ABCDEFGHIJKLMNOPQRSTUVWXYZ012345\ndrift 0\n"
         "cell 00:A0:C5:00:00:07 ABCDEFGHIJKLMNOPQRSTUVWXYZ012345 1 40 name=Long\n"
         "current 00:A0:C5:00:00:07\n",
         connected},
    };
    for (const auto& c : cases) {
        OpenCard(c.scenario);
        Open();
        EXPECT_EQ(c.status, Status()) << c.what;
    }
}

TEST_F(AdvancedInfoTest, AdapterMarkedFailedReadsNothingFromTheCard)
{
    OpenCard();
    GetAdapterState().m_bAdapterFailed = TRUE;
    GetAdapterState().m_nAdapterStatus = ADAPTER_NO_RESPONSE;
    card->ResetCounts();
    Open();
    EXPECT_EQ(0u, card->DriverRequests());
    EXPECT_EQ("KVR", Field(IDC_INFO_MANUFACTURER));
    EXPECT_EQ("", Field(IDC_INFO_FIRMWARE));
    EXPECT_EQ("0240 - 0247", Field(IDC_INFO_IO_RANGE)) << "discovery results still shown";
    EXPECT_EQ("", Field(IDC_INFO_STATION_ADDRESS));
    EXPECT_EQ("The adapter is disabled. (Code 5)", Status());
    EXPECT_TRUE(os->boxes.empty());
}

// Opened while another poll holds the card (waiting behind one of its boxes),
// the page does not break into that poll's command; opened again later it
// reads the card and lets it go.
TEST_F(AdvancedInfoTest, CardHeldByAnotherPollIsNotAsked)
{
    OpenBesideAnotherPoll([this] { Open(); });
    EXPECT_EQ("0240 - 0247", Field(IDC_INFO_IO_RANGE)) << "the registry's values still shown";
    EXPECT_EQ("", Field(IDC_INFO_FIRMWARE));
    EXPECT_EQ("", Status());

    Open();
    EXPECT_EQ("3.01", Field(IDC_INFO_FIRMWARE));
    EXPECT_EQ(0, TryLockAdapter()) << "the page let the card go";
    UnlockAdapter();
}

TEST_F(AdvancedInfoTest, SilentCardIsReportedByThePreferences)
{
    const struct
    {
        DWORD beep, message;
        size_t beeps, boxes;
    } cases[] = {
        {1, 1, 1, 1},
        {0, 1, 0, 1},
        {1, 0, 1, 0},
        {0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        OpenCard();
        card->SetFault(SIM_FAULT_NO_ANSWER);
        AdapterState& state = GetAdapterState();
        state.m_bAdapterFailed = FALSE;
        state.m_nAdapterStatus = 0;
        state.AlertBeep = c.beep;
        state.AlertMessage = c.message;
        state.m_bSilenceToTell = false;
        state.m_bSilenceReported = false;
        Open();
        EXPECT_TRUE(state.m_bAdapterFailed);
        EXPECT_EQ(c.message == 0, state.m_bSilenceToTell)
            << "what the page does not say, the tool window says at its next tick";
        EXPECT_EQ(ADAPTER_NO_RESPONSE, state.m_nAdapterStatus);
        ASSERT_EQ(c.beeps, os->beeps.size()) << "beep " << c.beep;
        if (c.beeps) {
            EXPECT_EQ((UINT)MB_ICONSTOP, os->beeps[0]);
        }
        ASSERT_EQ(c.boxes, os->boxes.size()) << "message " << c.message;
        if (c.boxes) {
            EXPECT_EQ("The Corvane adapter has no response.", os->boxes[0].text);
            EXPECT_EQ("Error", os->boxes[0].caption);
            EXPECT_EQ((UINT)(MB_ICONSTOP | MB_SYSTEMMODAL),
                      os->boxes[0].style & (MB_ICONMASK | MB_MODEMASK));
            EXPECT_EQ(page->m_hWnd, os->boxes[0].owner);
        }
        // Initialisation stopped at the firmware version.
        EXPECT_EQ("", Field(IDC_INFO_FIRMWARE));
        EXPECT_EQ("", Field(IDC_INFO_BUS_TYPE));
        EXPECT_EQ("", Status());
    }
}

TEST_F(AdvancedInfoTest, HelpByKeywordAndItsFailure)
{
    OpenCard();
    Open();
    NMHDR hdr = {::GetParent(page->m_hWnd), 0, (UINT)PSN_HELP};
    page->SendMessage(WM_NOTIFY, 0, (LPARAM)&hdr);
    ASSERT_EQ(1u, os->helpKeys.size());
    EXPECT_EQ("Advanced Information", os->helpKeys[0]);
    EXPECT_TRUE(os->boxes.empty());

    os->helpAnswer = FALSE;
    page->SendMessage(WM_COMMAND, IDM_CONF_HELP);
    ASSERT_EQ(1u, os->boxes.size());
    EXPECT_EQ("Cannot open help file.", os->boxes[0].text);
    EXPECT_EQ("Corvane", os->boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONSTOP, os->boxes[0].style & MB_ICONMASK);
}

} // namespace
} // namespace pages
