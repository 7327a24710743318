// ReportTextTest.cpp - the troubleshooting report's plain-text pieces: value
// lines by type, never reading past the bytes given, and the driver log read
// in pieces with its stopping rules.
#include "sheet/ReportText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct ValueCase
{
    const char* what;
    uint32_t type;
    std::vector<uint8_t> data;
    const char* expected;
};

TEST(ReportValueLine, FormatsEachTypeFromTheBytesGiven)
{
    const ValueCase cases[] = {
        {"text with its zero", REPORT_REG_SZ, {'a', 'b', 'c', 0}, "v: abc\r\n"},
        {"text without a zero", REPORT_REG_SZ, {'a', 'b', 'c'}, "v: abc\r\n"},
        {"text ends at its first zero", REPORT_REG_SZ, {'a', 0, 'b', 0}, "v: a\r\n"},
        {"empty text", REPORT_REG_SZ, {}, "v: \r\n"},
        {"number 1 in stored order", REPORT_REG_DWORD, {1, 0, 0, 0}, "v: 01000000\r\n"},
        {"number 0x12345678", REPORT_REG_DWORD, {0x78, 0x56, 0x34, 0x12}, "v: 78563412\r\n"},
        {"short number listed by bytes", REPORT_REG_DWORD, {1, 0}, "v: 01 00 \r\n"},
        {"binary", 3, {0x20, 0, 0, 0}, "v: 20 00 00 00 \r\n"},
        {"expandable text as bytes", 2, {'%', 0}, "v: 25 00 \r\n"},
        {"no data", 3, {}, "v: \r\n"},
    };
    for (const ValueCase& c : cases) {
        // Garbage right behind the data: a reader that runs on shows it.
        std::vector<uint8_t> buffer = c.data;
        buffer.insert(buffer.end(), {'X', 'Y', 'Z'});
        EXPECT_EQ(c.expected, RegistryValueLine("v", c.type, buffer.data(), c.data.size()))
            << c.what;
    }
}

TEST(ReportValueLine, TextFillingTheWholeRoomStopsAtItsLength)
{
    std::vector<uint8_t> buffer(REPORT_VALUE_DATA_SIZE + 8, 'Q');
    std::memset(buffer.data(), 'k', REPORT_VALUE_DATA_SIZE);
    std::string line =
        RegistryValueLine("Long", REPORT_REG_SZ, buffer.data(), REPORT_VALUE_DATA_SIZE);
    EXPECT_EQ("Long: " + std::string(REPORT_VALUE_DATA_SIZE, 'k') + "\r\n", line);
}

TEST(ReportSections, FixedTextsAndTheirConditions)
{
    EXPECT_EQ("[Diagnostic message]\r\nPath: C:\\Corvane\r\nInfo: Corvane Utility\r\n"
              "Ver : 1.00\r\nLogo: KVR\r\n",
              DiagnosticSection("C:\\Corvane", "Corvane Utility", "1.00", "KVR"));
    EXPECT_EQ("", DumpSection(""));
    EXPECT_EQ("\r\n[Default configuration data]\r\n0000  01 02 \r\n", DumpSection("0000  01 02 "));
    EXPECT_EQ("\r\n[Adapter Params]\r\nKey: a\\b\r\n", AdapterParamsHead("a\\b"));
    EXPECT_EQ("Query key: a\\b failed\r\n", QueryKeyFailedLine("a\\b"));
    EXPECT_EQ("\r\n[Driver Status]: 0, code: 0\r\n", DriverStatusSection(0, 0, "silent"));
    EXPECT_EQ("\r\n[Driver Status]: 1, code: 7\r\n", DriverStatusSection(1, 7, "silent"));
    EXPECT_EQ("\r\n[Driver Status]: 1, code: 5\r\nsilent\r\n", DriverStatusSection(1, 5, "silent"));
}

TEST(ReportSections, DirectoryOfAModulePath)
{
    EXPECT_EQ("C:\\Program Files\\Corvane", DirectoryOfPath("C:\\Program Files\\Corvane\\x.exe"));
    EXPECT_EQ("C:", DirectoryOfPath("C:\\x.exe"));
    EXPECT_EQ("", DirectoryOfPath("x.exe"));
}

// A file as the reader sees it: its bytes, optionally a read error at the
// n-th read (counted from 0).
struct FakeLog
{
    std::string bytes;
    int failAtRead = -1;
    int reads = 0;
    size_t at = 0;
    long Read(uint8_t* buffer, size_t size)
    {
        if (reads++ == failAtRead)
            return -1;
        size_t n = std::min(size, bytes.size() - at);
        std::memcpy(buffer, bytes.data() + at, n);
        at += n;
        return (long)n;
    }
};

struct LogCase
{
    const char* what;
    std::string bytes;
    int failAtRead;
    std::string text;
    size_t total;
    int reads;
};

TEST(ReportDriverLog, ReadsInPiecesUntilAShortOneOrAnError)
{
    const std::string full(DRIVER_LOG_PIECE, 'a');
    const std::string withZero =
        std::string("first") + '\0' + std::string(DRIVER_LOG_PIECE - 6, 'z');
    const LogCase cases[] = {
        {"no bytes", "", -1, "", 0, 1},
        {"short log", "NDIS: loaded\r\n", -1, "NDIS: loaded\r\n", 14, 1},
        {"exactly one piece, then an empty read", full, -1, full, DRIVER_LOG_PIECE, 2},
        {"one piece and a bit", full + "tail", -1, full + "tail", DRIVER_LOG_PIECE + 4, 2},
        {"a piece ends at its zero byte, the next goes on", withZero + "next", -1, "firstnext",
         DRIVER_LOG_PIECE + 4, 2},
        {"error at the first read", "anything", 0, "", 0, 1},
        {"error after a full piece keeps it", full + "lost", 1, full, DRIVER_LOG_PIECE, 2},
    };
    for (const LogCase& c : cases) {
        FakeLog log{c.bytes, c.failAtRead};
        std::string report = "head|";
        size_t total =
            AppendDriverLog(report, [&](uint8_t* b, size_t n) { return log.Read(b, n); });
        EXPECT_EQ("head|" + c.text, report) << c.what;
        EXPECT_EQ(c.total, total) << c.what;
        EXPECT_EQ(c.reads, log.reads) << c.what;
    }
}

TEST(ReportDriverLog, AReaderClaimingMoreThanItWasGivenIsCut)
{
    std::string report;
    int reads = 0;
    size_t total = AppendDriverLog(report, [&](uint8_t* b, size_t n) -> long {
        if (reads++ > 0)
            return 0;
        std::memset(b, 'm', n);
        return (long)(n + 100);
    });
    EXPECT_EQ(std::string(DRIVER_LOG_PIECE, 'm'), report);
    EXPECT_EQ(DRIVER_LOG_PIECE, total);
}

} // namespace
