// The Advanced Configuration dialog on its own: what it shows for the
// values it is given, what its OK takes back, and every refusal that keeps
// it open. Made hidden and modeless from the real template.
#include "tests/sheet/ConfTestSupport.h"

#include "res/resource.h"
#include "sheet/CAdvConfigDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace conftest;

namespace {

class AdvConfig : public ::testing::Test
{
protected:
    void Open(BOOL highRate, BOOL pcmcia, int networkType, const AdvancedSettings& values)
    {
        dlg.reset(new CAdvConfigDlg);
        dlg->SetNetworkType(networkType);
        dlg->SetValues(highRate, pcmcia, values);
        ASSERT_TRUE(dlg->Create((HWND) nullptr));
    }
    HWND Item(int id) const { return ::GetDlgItem(dlg->m_hWnd, id); }
    std::string Text(int id) const
    {
        char text[64] = "";
        ::GetWindowTextA(Item(id), text, sizeof(text));
        return text;
    }
    void Type(int id, const char* text) { ::SetWindowTextA(Item(id), text); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    LRESULT Ask(int id, UINT msg, WPARAM w = 0, LPARAM l = 0) const
    {
        return ::SendMessageA(Item(id), msg, w, l);
    }

    // Named after the program's file, and titled, as the program is.
    CWinApp app{"corvane", LoadStr(IDS_PRODUCT).c_str()};
    FakeOs os;
    std::unique_ptr<CAdvConfigDlg> dlg;
};

AdvancedSettings Values(int dataRate, int retry, int threshold, int power, const char* bssid)
{
    AdvancedSettings v;
    v.dataRate = dataRate;
    v.retryLimit = retry;
    v.roamingThreshold = threshold;
    v.powerSaving = power;
    v.bssid = bssid;
    return v;
}

TEST_F(AdvConfig, ShowsTheValuesItIsGiven)
{
    Open(TRUE, TRUE, 1, Values(1, 12, 56, 1, "00A0C5123456"));
    EXPECT_EQ("1 Mbit/s", Text(IDC_ADV_DATA_RATE));
    EXPECT_EQ(2, (int)Ask(IDC_ADV_DATA_RATE, CB_GETCOUNT));
    EXPECT_TRUE(Enabled(IDC_ADV_DATA_RATE));
    EXPECT_EQ("00:A0:C5:12:34:56", Text(IDC_ADV_BSSID));
    EXPECT_EQ(17, (int)Ask(IDC_ADV_BSSID, EM_GETLIMITTEXT));
    EXPECT_EQ("12", Text(IDC_ADV_RETRY));
    EXPECT_EQ(MAKELONG(64, 0), (LONG)Ask(IDC_ADV_RETRY_SPIN, UDM_GETRANGE));
    EXPECT_EQ(12, LOWORD(Ask(IDC_ADV_RETRY_SPIN, UDM_GETPOS)));
    EXPECT_EQ(10, (int)Ask(IDC_ADV_RETRY_SPIN, UDM_GETBASE));
    EXPECT_EQ(0, (int)Ask(IDC_ADV_SENSITIVITY, TBM_GETRANGEMIN));
    EXPECT_EQ(80, (int)Ask(IDC_ADV_SENSITIVITY, TBM_GETRANGEMAX));
    EXPECT_EQ(56, (int)Ask(IDC_ADV_SENSITIVITY, TBM_GETPOS));
    EXPECT_EQ(11, (int)Ask(IDC_ADV_SENSITIVITY, TBM_GETNUMTICS)) << "a tick every 8 from 0 to 80";
    EXPECT_EQ(BST_CHECKED, (int)Ask(IDC_ADV_POWER_SAVING, BM_GETCHECK));
    EXPECT_TRUE(Enabled(IDC_ADV_POWER_SAVING));
}

TEST_F(AdvConfig, DisablesWhatTheCardOrNetworkCannotUse)
{
    const struct
    {
        const char* name;
        BOOL highRate, pcmcia;
        int networkType;
        bool rateEnabled, powerEnabled;
    } cases[] = {
        {"PCMCIA, infrastructure", TRUE, TRUE, 1, true, true},
        {"ad-hoc chosen on the page", TRUE, TRUE, 0, false, true},
        {"a 1 Mbit/s card", FALSE, TRUE, 1, false, true},
        {"ISA card", TRUE, FALSE, 1, true, false},
        {"a stored network type the page does not offer", TRUE, TRUE, -1, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.highRate, c.pcmcia, c.networkType, Values(0, 7, 40, 0, "000000000000"));
        EXPECT_EQ(c.rateEnabled, Enabled(IDC_ADV_DATA_RATE));
        EXPECT_EQ(c.powerEnabled, Enabled(IDC_ADV_POWER_SAVING));
        EXPECT_EQ("", Text(IDC_ADV_BSSID)) << "no preferred access point shows as empty";
    }
}

TEST_F(AdvConfig, OkTakesBackWhatTheCardCanUseAndKeepsTheRest)
{
    const struct
    {
        const char* name;
        BOOL highRate, pcmcia;
        int networkType;
        int dataRateAfter, powerAfter;
    } cases[] = {
        // The user picks "1 Mbit/s" and unticks power saving in each case.
        {"PCMCIA with high rate", TRUE, TRUE, 1, 1, 0},
        {"ad-hoc: list disabled, still read", TRUE, TRUE, 0, 1, 0},
        {"1 Mbit/s card: the list is not read", FALSE, TRUE, 1, 0, 0},
        {"ISA: power saving keeps the page's value", TRUE, FALSE, 1, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.highRate, c.pcmcia, c.networkType, Values(0, 7, 40, 1, "000000000000"));
        Ask(IDC_ADV_DATA_RATE, CB_SETCURSEL, 1);
        Ask(IDC_ADV_POWER_SAVING, BM_SETCHECK, BST_UNCHECKED);
        Type(IDC_ADV_RETRY, "30");
        Ask(IDC_ADV_SENSITIVITY, TBM_SETPOS, TRUE, 72);
        ASSERT_EQ(IDOK, PressOk(*dlg));
        AdvancedSettings v = dlg->GetValues();
        EXPECT_EQ(c.dataRateAfter, v.dataRate);
        EXPECT_EQ(c.powerAfter, v.powerSaving);
        EXPECT_EQ(30, v.retryLimit);
        EXPECT_EQ(72, v.roamingThreshold);
        EXPECT_EQ("000000000000", v.bssid);
        EXPECT_TRUE(os.boxes.empty());
    }
}

TEST_F(AdvConfig, PreferredAccessPointIsTakenAsTypedOrRefused)
{
    const struct
    {
        const char* typed;
        const char* stored; // nullptr: refused
    } cases[] = {
        // The whole table of forms is the native BssidInput test's; here
        // what the dialog does with an accepted and a refused text.
        {"00:A0:C5:12:34:56", "00A0C5123456"},
        {"00a0c5123456", "00a0c5123456"},
        {"", "000000000000"},
        {"01A0C5123456", nullptr},
        {"ffffffffffff", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        os.boxes.clear();
        Open(TRUE, TRUE, 1, Values(0, 7, 40, 0, "00A0C5000001"));
        Type(IDC_ADV_BSSID, c.typed);
        INT_PTR result = PressOk(*dlg);
        if (c.stored) {
            EXPECT_EQ(IDOK, result);
            EXPECT_EQ(c.stored, dlg->GetValues().bssid);
            EXPECT_TRUE(os.boxes.empty());
            continue;
        }
        EXPECT_EQ(0, result) << "stays open";
        EXPECT_EQ("00A0C5000001", dlg->m_strBssid);
        EXPECT_EQ("", Text(IDC_ADV_BSSID));
        EXPECT_EQ(Item(IDC_ADV_BSSID), ::GetFocus());
        ASSERT_EQ(1u, os.boxes.size());
        EXPECT_EQ("Invalid BSS ID Format!", os.boxes[0].text);
        EXPECT_EQ("Warning", os.boxes[0].caption);
        EXPECT_EQ((UINT)MB_ICONSTOP, os.boxes[0].style & MB_ICONMASK);
    }
}

TEST_F(AdvConfig, RetryLimitMustBeAnIntegerFromZeroTo64)
{
    const struct
    {
        const char* typed;
        const char* message; // nullptr: accepted
        int value;
    } cases[] = {
        {"0", nullptr, 0},
        {"64", nullptr, 64},
        {"65", "Please enter an integer between 0 and 64.", 0},
        {"-1", "Please enter an integer between 0 and 64.", 0},
        {"12abc", "Please enter an integer.", 0},
        {"", "Please enter an integer.", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        os.boxes.clear();
        Open(TRUE, TRUE, 1, Values(0, 7, 40, 0, "000000000000"));
        Type(IDC_ADV_RETRY, c.typed);
        INT_PTR result = PressOk(*dlg);
        if (!c.message) {
            EXPECT_EQ(IDOK, result);
            EXPECT_EQ(c.value, dlg->GetValues().retryLimit);
            EXPECT_TRUE(os.boxes.empty());
            continue;
        }
        EXPECT_EQ(0, result) << "stays open";
        ASSERT_EQ(1u, os.boxes.size());
        EXPECT_EQ(c.message, os.boxes[0].text);
        EXPECT_EQ("Corvane", os.boxes[0].caption) << "the program's title, not its file's";
        EXPECT_EQ(Item(IDC_ADV_RETRY), ::GetFocus());
    }
}

TEST_F(AdvConfig, StoredRetryLimitOutsideTheRangeIsKeptUntilTheUserChangesIt)
{
    for (int stored : {100, -5, 65}) {
        SCOPED_TRACE(stored);
        os.boxes.clear();
        Open(TRUE, TRUE, 1, Values(0, stored, 40, 0, "000000000000"));
        EXPECT_EQ(std::to_string(stored), Text(IDC_ADV_RETRY)) << "shown as stored";
        EXPECT_EQ(IDOK, PressOk(*dlg));
        EXPECT_TRUE(os.boxes.empty());
        EXPECT_EQ(stored, dlg->GetValues().retryLimit);
    }
    Open(TRUE, TRUE, 1, Values(0, 100, 40, 0, "000000000000"));
    Type(IDC_ADV_RETRY, "99");
    EXPECT_EQ(0, PressOk(*dlg)) << "a value the user gives is checked";
    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("Please enter an integer between 0 and 64.", os.boxes[0].text);
}

// A refused OK changes no value: whichever field refused it, the next OK
// that passes hands back what the fields then hold, never a refused value.
TEST_F(AdvConfig, ARefusedOkChangesNothingAndTheRetypedValueIsTaken)
{
    const struct
    {
        const char* name;
        int field;        // the field that refuses the first OK
        const char* bad;  // what is typed there first
        const char* good; // and then
    } cases[] = {
        {"retry limit out of range, then the stored one again", IDC_ADV_RETRY, "99", "7"},
        {"retry limit no number, then the stored one again", IDC_ADV_RETRY, "9x", "7"},
        {"preferred AP refused", IDC_ADV_BSSID, "01A0C5123456", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        os.boxes.clear();
        Open(TRUE, TRUE, 1, Values(0, 7, 40, 1, "000000000000"));
        Ask(IDC_ADV_SENSITIVITY, TBM_SETPOS, TRUE, 72);
        Ask(IDC_ADV_DATA_RATE, CB_SETCURSEL, 1);
        Ask(IDC_ADV_POWER_SAVING, BM_SETCHECK, BST_UNCHECKED);
        Type(c.field, c.bad);
        ASSERT_EQ(0, PressOk(*dlg)) << "refused";
        EXPECT_EQ(7, dlg->m_nRetryLimit);
        EXPECT_EQ(40, dlg->m_nRoamingThreshold);
        EXPECT_EQ(0, dlg->m_nDataRate);
        EXPECT_EQ(1, dlg->m_nPowerSaving);
        EXPECT_EQ("000000000000", dlg->m_strBssid);

        Type(c.field, c.good);
        ASSERT_EQ(IDOK, PressOk(*dlg));
        AdvancedSettings v = dlg->GetValues();
        EXPECT_EQ(7, v.retryLimit);
        EXPECT_EQ(72, v.roamingThreshold);
        EXPECT_EQ(1, v.dataRate);
        EXPECT_EQ(0, v.powerSaving);
    }
}

TEST_F(AdvConfig, CancelEndsWithoutOk)
{
    Open(TRUE, TRUE, 1, Values(0, 7, 40, 0, "000000000000"));
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADV_CANCEL, BN_CLICKED));
    EXPECT_EQ(nullptr, dlg->m_hWnd);
    EXPECT_TRUE(os.boxes.empty());
}

} // namespace
