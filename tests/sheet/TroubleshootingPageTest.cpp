// TroubleshootingPageTest.cpp - the Troubleshooting page made from its
// template against the simulated card: the whole report against golden
// files (Windows NT, Windows 98 with the drivers' log), the report's
// conditional parts, a silent card, a driver key that cannot be opened, the
// copy to the clipboard and the support links.
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "res/resource.h"
#include "sheet/CHwConfig.h"
#include "sheet/ProgramIdentity.h"
#include "tests/sheet/PagesTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#ifndef SHEET_GOLDEN_DIR
#error SHEET_GOLDEN_DIR names the folder of the golden reports
#endif

namespace pages {
namespace {

// The system's version keys, each with a value of the test's own that names
// the key: the report lists the one of its platform (the other values are
// the test system's and left out of the comparisons).
const char* const kValueName = "CorvaneReportTest";
const struct
{
    const char* path;
    const char* value;
} kVersionKeys[] = {{"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "Windows NT"},
                    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Windows"}};

class TroubleshootingTest : public PageFixture
{
protected:
    TroubleshootingTest()
    {
        for (const auto& key : kVersionKeys) {
            reg.OwnValue(HKEY_LOCAL_MACHINE, key.path, kValueName);
            reg.SetString(HKEY_LOCAL_MACHINE, key.path, kValueName, key.value);
        }
        char dir[MAX_PATH];
        UINT n = ::GetWindowsDirectoryA(dir, sizeof(dir));
        logPath = std::string(dir, n) + "\\NDISLOG.TXT";
        ::DeleteFileA(logPath.c_str());
    }
    ~TroubleshootingTest() override { ::DeleteFileA(logPath.c_str()); }

    void Open()
    {
        page.reset(new CHwConfig);
        ASSERT_TRUE(page->Create(&host));
    }
    std::string Report() const { return ControlText(page->m_hWnd, IDC_REPORT); }
    // The report with the program's directory as "<dir>", plain line ends
    // and of the last section (the system's version key) the test's value alone.
    std::string Normalised() const
    {
        std::string text = Report();
        EXPECT_EQ(std::string::npos, ReplaceAll(text, "\r\n", "").find_first_of("\r\n"))
            << "every line ends in CR LF";
        text = ReplaceAll(text, "Path: " + ReadProgramIdentity().directory + "\r\n",
                          "Path: <dir>\r\n");
        text = ReplaceAll(text, "\r\n", "\n");
        const std::string section = "\n[Windows]\n";
        size_t at = text.find(section);
        if (at == std::string::npos)
            return text;
        std::string out = text.substr(0, at + section.size());
        for (size_t line = at + section.size(); line < text.size();) {
            size_t end = text.find('\n', line);
            end = end == std::string::npos ? text.size() : end + 1;
            if (text.compare(line, strlen(kValueName), kValueName) == 0)
                out += text.substr(line, end - line);
            line = end;
        }
        return out;
    }
    std::string Golden(const char* name) const
    {
        return ReadFileText(std::string(SHEET_GOLDEN_DIR) + "/" + name);
    }
    void WriteLog(const std::string& bytes)
    {
        FILE* f = fopen(logPath.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }

    HiddenHost host;
    std::unique_ptr<CHwConfig> page;
    std::string logPath;
};

// The card and the driver's key name the longest ESSID here (the Windows 98
// report has a short one).
TEST_F(TroubleshootingTest, WholeReportOnWindowsNT)
{
    const std::string longest = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    reg.SetString(HKEY_LOCAL_MACHINE, kDriverKey, "ESSID", longest.c_str());
    OpenCard(ReplaceAll(kThreeCells, " Corvane", " " + longest).c_str());
    WriteLog("never read on Windows NT\r\n");
    Open();
    EXPECT_EQ(Golden("report-nt.txt"), Normalised());
    EXPECT_TRUE(os->boxes.empty());
}

TEST_F(TroubleshootingTest, WholeReportOnWindows98WithTheDriversLog)
{
    OpenCard();
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    WriteLog(ReplaceAll(Golden("ndislog.txt"), "\n", "\r\n"));
    Open();
    EXPECT_EQ(Golden("report-98.txt"), Normalised());
}

TEST_F(TroubleshootingTest, Windows98WithoutOrWithAnEmptyLogSaysTheDriverWorks)
{
    const char* const expected = "[Driver Status]: 0, code: 0\r\nDriver is working properly.\r\n"
                                 "\r\n[Current Card Settings]\r\n";
    for (bool empty : {false, true}) {
        OpenCard();
        GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
        if (empty)
            WriteLog("");
        Open();
        EXPECT_NE(std::string::npos, Report().find(expected)) << (empty ? "empty" : "missing");
    }
}

TEST_F(TroubleshootingTest, LogOfExactlyOnePieceIsReadWhole)
{
    OpenCard();
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    std::string log(1021, 'L');
    log += "\r\n";
    WriteLog(log);
    Open();
    EXPECT_NE(std::string::npos, Report().find("code: 0\r\n" + log + "\r\n[Current Card"));
}

// A log the report cannot show whole says so in the report.
TEST_F(TroubleshootingTest, Windows98LogThatCannotBeReadOrIsCutSaysSo)
{
    std::string huge;
    while (huge.size() < 200000)
        huge += "NDIS event\r\n";
    const struct
    {
        const std::string log;
        DWORD share; // of a writer holding the log open
        const char* expected;
    } cases[] = {
        {"NDIS: loaded\r\n", 0,
         "code: 0\r\nThe driver's log NDISLOG.TXT could not be read.\r\n\r\n[Current"},
        {huge, FILE_SHARE_READ | FILE_SHARE_WRITE,
         "code: 0\r\nThe driver's log is longer than the report can hold; its last part "
         "follows.\r\nNDIS event\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        OpenCard();
        GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
        WriteLog(c.log);
        HANDLE writer = ::CreateFileA(logPath.c_str(), GENERIC_WRITE, c.share, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, writer);
        Open();
        ::CloseHandle(writer);
        std::string report = Report();
        EXPECT_NE(std::string::npos, report.find(c.expected));
        EXPECT_EQ(std::string::npos, report.find("Driver is working properly."));
        EXPECT_LT(report.size(), 2u * CHwConfig::COPY_LIMIT);
    }
}

TEST_F(TroubleshootingTest, OldFirmwareWithoutDebugInformation)
{
    OpenCard("firmware 1.05\ndebug none\ndrift 0\ncell 00:A0:C5:00:00:01 Corvane 1 66\n"
             "current 00:A0:C5:00:00:01\n");
    Open();
    std::string report = Report();
    EXPECT_NE(std::string::npos,
              report.find("\r\n[Default configuration data]\r\nThe current version of station "
                          "firmware does not provide debug information. Please update your "
                          "firmware.\r\n\r\n[Adapter Params]"));
    // No station counts from this firmware: the first card line is not available.
    EXPECT_NE(std::string::npos, report.find("[Current Card Settings]\r\nnot available\r\n"
                                             "Infrastructure\r\n"));
}

TEST_F(TroubleshootingTest, CardSilentOnTheDebugDump)
{
    OpenCard();
    card->SetFault(SIM_FAULT_NO_ANSWER);
    Open();
    AdapterState& state = GetAdapterState();
    EXPECT_TRUE(state.m_bAdapterFailed);
    EXPECT_EQ(ADAPTER_NO_RESPONSE, state.m_nAdapterStatus);
    ASSERT_EQ(1u, os->boxes.size());
    EXPECT_EQ("The Corvane adapter has no response.", os->boxes[0].text);
    EXPECT_EQ(1u, os->beeps.size());
    std::string report = Report();
    EXPECT_EQ(std::string::npos, report.find("[Default configuration data]"));
    EXPECT_NE(std::string::npos,
              report.find("\r\n[Driver Status]: 1, code: 5\r\nThe Corvane adapter has no "
                          "response.\r\n\r\n[Current Card Settings]\r\n-----------\r\n"
                          "PCMCIA\r\n0240 - 0247\r\n10\r\n\r\n[Windows]\r\n"));
}

// Beside another poll that holds the card the report asks it nothing; the
// next report reads it and lets it go.
TEST_F(TroubleshootingTest, CardHeldByAnotherPollIsNotAsked)
{
    OpenBesideAnotherPoll([this] { Open(); });
    EXPECT_NE(std::string::npos, Report().find("[Current Card Settings]\r\n-----------\r\n"));

    Open();
    EXPECT_EQ(std::string::npos, Report().find("[Current Card Settings]\r\n-----------\r\n"))
        << "the card's settings are listed";
    EXPECT_EQ(0, TryLockAdapter()) << "the page let the card go";
    UnlockAdapter();
}

TEST_F(TroubleshootingTest, CardItemsThatFailAreNotAvailable)
{
    // Table entries answer not available: the station count of entry 0 fails.
    OpenCard();
    card->SetFault(SIM_FAULT_UNAVAILABLE, true, 0);
    Open();
    EXPECT_NE(std::string::npos, Report().find("[Current Card Settings]\r\nnot available\r\n"
                                               "Infrastructure\r\n"));
    EXPECT_FALSE(GetAdapterState().m_bAdapterFailed);
}

TEST_F(TroubleshootingTest, DriverKeyThatCannotBeOpened)
{
    OpenCard();
    GetAdapterLink().DriverKeyPath = "SOFTWARE\\CorvaneTest\\SheetPages\\Gone";
    Open();
    EXPECT_NE(std::string::npos,
              Report().find("[Adapter Params]\r\nKey: SOFTWARE\\CorvaneTest\\SheetPages\\Gone\r\n"
                            "Query key: SOFTWARE\\CorvaneTest\\SheetPages\\Gone failed\r\n"
                            "\r\n[Driver Status]"));
}

TEST_F(TroubleshootingTest, CopyTakesTheFirst65535Characters)
{
    // Enough parameters of 256 bytes to make the report longer than the copy takes.
    for (int i = 0; i < 100; ++i) {
        char name[16];
        snprintf(name, sizeof(name), "Blob%03d", i);
        reg.SetBinary(HKEY_LOCAL_MACHINE, kDriverKey, name, std::vector<BYTE>(256, (BYTE)i));
    }
    OpenCard();
    Open();
    std::string report = Report();
    ASSERT_GT(report.size(), 65535u);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COPY_REPORT, BN_CLICKED),
                      (LPARAM)page->GetDlgItem(IDC_COPY_REPORT));
    EXPECT_EQ(report.substr(0, 65535), ClipboardText());
}

// The report is budgeted as a whole: a log too long for the copy gives the
// room the other sections leave to its newest lines, so that the copy ends
// with the report's last section and holds the log's last line.
TEST_F(TroubleshootingTest, ALongLogKeepsItsNewestLinesWithinTheCopy)
{
    std::string log;
    for (int i = 0; log.size() < 150000; ++i)
        log += "NDIS event " + std::to_string(i) + "\r\n";
    const std::string last = log.substr(log.rfind("NDIS event", log.size() - 3));
    OpenCard();
    GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
    WriteLog(log);
    Open();
    std::string report = Report();
    EXPECT_LE(report.size(), (size_t)CHwConfig::COPY_LIMIT);
    EXPECT_GT(report.size(), (size_t)CHwConfig::COPY_LIMIT - 200) << "the log uses the room";
    EXPECT_NE(std::string::npos, report.find("its last part follows.\r\nNDIS event "));
    EXPECT_NE(std::string::npos, report.find(last + "\r\n[Current Card Settings]"));
    EXPECT_NE(std::string::npos, report.find("\r\n[Windows]\r\n"));
    page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COPY_REPORT, BN_CLICKED),
                      (LPARAM)page->GetDlgItem(IDC_COPY_REPORT));
    EXPECT_EQ(report, ClipboardText()) << "the copy holds the whole report";
}

// The log's section counts its own lines too (the line saying it was cut,
// the one saying the driver works): when the other sections leave little
// room, the report still ends whole within the copy, the log keeping its
// newest lines or, with no room for its section, left out.
TEST_F(TroubleshootingTest, TheLogsSectionKeepsTheReportWithinTheCopy)
{
    std::string huge;
    for (int i = 0; huge.size() < 150000; ++i)
        huge += "NDIS event " + std::to_string(i) + "\r\n";
    const std::string last = huge.substr(huge.rfind("NDIS event", huge.size() - 3));
    const struct
    {
        const char* name;
        const std::string* log; // none: no log file
        size_t room;            // what the other sections leave of the copy
        bool logShown;
    } cases[] = {
        {"no log, no room for the working line", nullptr, 10, false},
        {"long log, no room for the cut line", &huge, 0, false},
        {"long log, room for a few lines", &huge, 200, true},
    };
    const size_t working = strlen("Driver is working properly.\r\n");
    // The Windows 95/98 version key: the system's values, then pads of ours.
    const char* const key = kVersionKeys[1].path;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The other sections' size, then [Windows] filled up to leave the room.
        ::DeleteFileA(logPath.c_str());
        OpenCard();
        GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
        Open();
        size_t fill = CHwConfig::COPY_LIMIT - c.room - (Report().size() - working);
        std::string lastPad;
        std::vector<std::string> pads;
        for (int i = 0; fill > 0; ++i) {
            size_t line = fill < 210 ? fill : 210; // "~PdNNN: " text "\r\n"
            if (fill - line > 0 && fill - line < 10)
                line -= 10;
            char name[8];
            snprintf(name, sizeof(name), "~Pd%03d", i); // after the system's values
            lastPad = std::string(name) + ": " + std::string(line - 10, 'p') + "\r\n";
            reg.OwnValue(HKEY_LOCAL_MACHINE, key, name);
            reg.SetString(HKEY_LOCAL_MACHINE, key, name, std::string(line - 10, 'p'));
            pads.push_back(name);
            fill -= line;
        }
        if (c.log)
            WriteLog(*c.log);
        OpenCard();
        GetAdapterLink().PlatformKind = PLATFORM_WIN9X;
        Open();
        const std::string report = Report();
        EXPECT_LE(report.size(), (size_t)CHwConfig::COPY_LIMIT);
        EXPECT_EQ(report.size() - lastPad.size(), report.rfind(lastPad)) << "[Windows] is whole";
        EXPECT_EQ(std::string::npos, report.find("Driver is working properly."));
        EXPECT_EQ(c.logShown,
                  report.find("its last part follows.\r\n") != std::string::npos &&
                      report.find(last + "\r\n[Current Card Settings]") != std::string::npos);
        if (!c.logShown)
            EXPECT_NE(std::string::npos, report.find("code: 0\r\n\r\n[Current Card Settings]"));
        for (const std::string& pad : pads)
            RegistryFixture::DeleteValue(HKEY_LOCAL_MACHINE, key, pad);
    }
}

TEST_F(TroubleshootingTest, CopyOfAShortReportTakesAllOfIt)
{
    OpenCard();
    Open();
    page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COPY_REPORT, BN_CLICKED),
                      (LPARAM)page->GetDlgItem(IDC_COPY_REPORT));
    EXPECT_EQ(Report(), ClipboardText());
}

TEST_F(TroubleshootingTest, SupportLinks)
{
    OpenCard();
    Open();
    EXPECT_EQ("mailto:ussupport@kvr.example", page->m_SupportLinkUs.GetTarget());
    EXPECT_EQ("mailto:support@kvr.example", page->m_SupportLink.GetTarget());
    EXPECT_EQ("ussupport@kvr.example    (US only)", ControlText(page->m_hWnd, IDC_SUPPORT_LINK_US));
    EXPECT_EQ("support@kvr.example", ControlText(page->m_hWnd, IDC_SUPPORT_LINK));
    for (CLinkStatic* link : {&page->m_SupportLinkUs, &page->m_SupportLink}) {
        EXPECT_EQ(link->GetLinkColor(), link->GetVisitedColor());
        EXPECT_EQ((COLORREF)::GetSysColor(COLOR_BTNHIGHLIGHT), link->GetHoverColor());
        EXPECT_NE(nullptr, link->GetHandCursor());
    }
}

TEST(TroubleshootingKeys, WindowsVersionKeyByPlatform)
{
    EXPECT_STREQ("SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                 CHwConfig::WindowsKeyPath(PLATFORM_WIN9X));
    for (int nt : {PLATFORM_NT_SERVER, PLATFORM_NT_WORKSTATION})
        EXPECT_STREQ("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                     CHwConfig::WindowsKeyPath(nt));
}

} // namespace
} // namespace pages
