// ReportSourcesTest.cpp - the report's registry value listing against keys of
// the test prefix, and the driver log read from a real file.
#include "sheet/ReportSources.h"
#include "sheet/ReportText.h"
#include "tests/support/RegistryFixture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kRoot = "SOFTWARE\\CorvaneTest\\Listing";

// Sets a value with exactly the bytes given (a text without its zero, too).
void SetRaw(const std::string& path, const char* name, DWORD type, const std::string& bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegSetValueExA(key, name, 0, type, (const BYTE*)bytes.data(), (DWORD)bytes.size()));
    ::RegCloseKey(key);
}

class ListingTest : public ::testing::Test
{
protected:
    ListingTest() { reg.Own(HKEY_LOCAL_MACHINE, kRoot); }
    RegistryFixture reg;
    const std::string key = std::string(kRoot) + "\\Parameters";
};

TEST_F(ListingTest, ListsEveryKindOfValue)
{
    // Values come back in name order here; the names keep the order plain.
    SetRaw(key, "a_text", REG_SZ, std::string("Corvane", 8));
    SetRaw(key, "b_unterminated", REG_SZ, "lab");
    reg.SetDword(HKEY_LOCAL_MACHINE, key, "c_number", 1);
    reg.SetBinary(HKEY_LOCAL_MACHINE, key, "d_flag", {0x20, 0x00, 0x00, 0x00});
    SetRaw(key, "e_empty", REG_SZ, "");
    EXPECT_EQ("a_text: Corvane\r\n"
              "b_unterminated: lab\r\n"
              "c_number: 01000000\r\n"
              "d_flag: 20 00 00 00 \r\n"
              "e_empty: \r\n",
              ListRegistryValues(HKEY_LOCAL_MACHINE, key));
}

TEST_F(ListingTest, DataFillingTheWholeRoomIsListed)
{
    SetRaw(key, "full", REG_BINARY, std::string(REPORT_VALUE_DATA_SIZE, 'w'));
    std::string bytes;
    for (size_t i = 0; i < REPORT_VALUE_DATA_SIZE; ++i)
        bytes += "77 ";
    EXPECT_EQ("full: " + bytes + "\r\n", ListRegistryValues(HKEY_LOCAL_MACHINE, key));
}

TEST_F(ListingTest, AValueTooLargeForTheRoomEndsTheListing)
{
    SetRaw(key, "a_first", REG_SZ, std::string("one", 4));
    SetRaw(key, "b_too_large", REG_BINARY, std::string(REPORT_VALUE_DATA_SIZE + 1, '\x01'));
    SetRaw(key, "c_never", REG_SZ, std::string("two", 4));
    EXPECT_EQ("a_first: one\r\n", ListRegistryValues(HKEY_LOCAL_MACHINE, key));
}

TEST_F(ListingTest, AKeyThatCannotBeOpenedSaysSo)
{
    const std::string missing = std::string(kRoot) + "\\Missing";
    EXPECT_EQ("Query key: " + missing + " failed\r\n",
              ListRegistryValues(HKEY_LOCAL_MACHINE, missing));
}

TEST_F(ListingTest, AKeyWithoutValuesListsNothing)
{
    reg.CreateKey(HKEY_LOCAL_MACHINE, key);
    EXPECT_EQ("", ListRegistryValues(HKEY_LOCAL_MACHINE, key));
}

class DriverLogFileTest : public ::testing::Test
{
protected:
    DriverLogFileTest()
    {
        char dir[MAX_PATH];
        ::GetTempPathA(sizeof(dir), dir);
        path = std::string(dir) + "corvane-ndislog-test.txt";
    }
    ~DriverLogFileTest() override { ::DeleteFileA(path.c_str()); }
    void Write(const std::string& bytes)
    {
        FILE* f = fopen(path.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    std::string path;
};

const size_t kRoom = 65535;

TEST_F(DriverLogFileTest, MissingEmptyAndFullFiles)
{
    std::string report;
    EXPECT_EQ(DRIVER_LOG_NONE, AppendDriverLogFile(report, path, kRoom));
    Write("");
    EXPECT_EQ(DRIVER_LOG_NONE, AppendDriverLogFile(report, path, kRoom));
    EXPECT_EQ("", report);

    const std::string exact(DRIVER_LOG_PIECE, 'n');
    Write(exact);
    EXPECT_EQ(DRIVER_LOG_READ, AppendDriverLogFile(report, path, kRoom));
    EXPECT_EQ(exact, report);
}

// The driver keeps its log open for writing: it is read all the same. One
// that cannot be opened at all is said to be unreadable, never taken for
// the absent log of a healthy driver.
TEST_F(DriverLogFileTest, ALogHeldOpenIsReadAndOneHeldExclusivelyIsUnreadable)
{
    Write("NDIS: loaded\r\n");
    const struct
    {
        DWORD share;
        DriverLogResult result;
        const char* text;
    } cases[] = {
        {FILE_SHARE_READ | FILE_SHARE_WRITE, DRIVER_LOG_READ, "NDIS: loaded\r\n"},
        {0, DRIVER_LOG_UNREADABLE, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.share);
        HANDLE writer = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, c.share, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, writer);
        std::string report;
        EXPECT_EQ(c.result, AppendDriverLogFile(report, path, kRoom));
        ::CloseHandle(writer);
        EXPECT_EQ(c.text, report);
    }
}

// A log larger than the report can carry: only its last part is read, from
// the first whole line on.
TEST_F(DriverLogFileTest, AHugeLogGivesItsLastPart)
{
    std::string log;
    for (int line = 0; log.size() < 4 * kRoom; ++line)
        log += "NDIS event " + std::to_string(line) + "\r\n";
    Write(log);
    std::string report;
    EXPECT_EQ(DRIVER_LOG_CUT, AppendDriverLogFile(report, path, kRoom));
    EXPECT_LE(report.size(), kRoom);
    EXPECT_GT(report.size(), kRoom - 40);
    EXPECT_EQ(0u, report.find("NDIS event ")) << "starts at a whole line";
    EXPECT_EQ(log.substr(log.size() - report.size()), report) << "ends where the log ends";
}

} // namespace
