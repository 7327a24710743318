// Seeded random registry data and driver logs against the troubleshooting
// report's readers: with the sanitizers, any read past the bytes given ends
// the run; the checks catch text taken from beyond them.
#include "sheet/ReportText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(ReportTextRandom, ValueLinesStayInsideTheData)
{
    std::mt19937 rng(12);
    for (int i = 0; i < 20000; ++i) {
        size_t size = rng() % (REPORT_VALUE_DATA_SIZE + 1);
        std::unique_ptr<uint8_t[]> data(new uint8_t[size ? size : 1]);
        for (size_t j = 0; j < size; ++j)
            data[j] = (rng() % 4 == 0) ? 0 : (uint8_t)rng();
        uint32_t type = rng() % 6;
        std::string line = RegistryValueLine("n", type, data.get(), size);
        ASSERT_GE(line.size(), 5u);
        ASSERT_EQ("\r\n", line.substr(line.size() - 2));
        // The text or the byte listing never holds more than the data.
        ASSERT_LE(line.size(), 3 + 3 * size + 2);
    }
}

TEST(ReportTextRandom, DriverLogPiecesStayInsideWhatWasRead)
{
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) {
        std::vector<uint8_t> file(rng() % (4 * DRIVER_LOG_PIECE));
        for (uint8_t& b : file)
            b = (rng() % 50 == 0) ? 0 : (uint8_t)('a' + rng() % 26);
        size_t at = 0;
        std::string report;
        size_t total = AppendDriverLog(report, [&](uint8_t* buffer, size_t room) -> long {
            // Reads may come short of a full piece only at the end of the file.
            size_t n = std::min(room, file.size() - at);
            memcpy(buffer, file.data() + at, n);
            at += n;
            return (long)n;
        });
        ASSERT_EQ(file.size(), total);
        std::string expected;
        for (size_t p = 0; p < file.size(); p += DRIVER_LOG_PIECE) {
            size_t end = std::min(file.size(), p + DRIVER_LOG_PIECE);
            size_t stop = p;
            while (stop < end && file[stop] != 0)
                ++stop;
            expected.append(reinterpret_cast<const char*>(file.data() + p), stop - p);
        }
        ASSERT_EQ(expected, report);
    }
}

} // namespace
