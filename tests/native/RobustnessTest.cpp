// Seeded random input against the parts that decode what others hand them:
// the card's answers, scenario texts, driver requests, layout tables and the
// ad-hoc quality records. Built with the sanitizers, so a read or write
// outside a buffer ends the run; the checks below catch wrong results.
#include "adapter/AdHocQualityRecord.h"
#include "adapter/CardText.h"
#include "app/LinkQuality.h"
#include "framework/IntegerText.h"
#include "sim/ScenarioParser.h"
#include "sim/SimDevice.h"
#include "widgets/LayoutSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(std::mt19937& rng, size_t size)
{
    Bytes bytes(size);
    for (uint8_t& b : bytes)
        b = (uint8_t)rng();
    return bytes;
}

// Exactly as long as it claims, on the heap, so the sanitizer sees any
// read past its end.
std::unique_ptr<uint8_t[]> Exact(const Bytes& bytes)
{
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty())
        memcpy(copy.get(), bytes.data(), bytes.size());
    return copy;
}

TEST(CardAnswers, DecodersStayInsideTheAnswer)
{
    std::mt19937 rng(1);
    for (int i = 0; i < 20000; ++i) {
        size_t size = rng() % 40;
        Bytes bytes = RandomBytes(rng, size);
        auto exact = Exact(bytes);
        std::string text = BoundedText(exact.get(), size);
        EXPECT_LE(text.size(), size);
        EXPECT_EQ(std::string::npos, text.find('\0'));
        RatesText(exact.get(), size);
        uint8_t largest = LargestRate(exact.get(), size);
        for (size_t k = 0; k < size && bytes[k]; ++k)
            ASSERT_GE(largest, bytes[k]);
        DebugDumpText(exact.get(), size);
        if (size >= 6)
            EXPECT_EQ(17u, MacText(exact.get()).size());
    }
}

TEST(CardAnswers, BssidTextsParseOnlyWellFormedInput)
{
    std::mt19937 rng(2);
    const char alphabet[] = "0123456789abcdefABCDEFxyz: \n-";
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (size_t n = rng() % 24; n > 0; --n)
            text += alphabet[rng() % (sizeof(alphabet) - 1)];
        uint8_t six[6];
        if (ParseHexBssid(text.c_str(), six)) {
            // Whatever it accepts, it reads back the same way.
            char again[13];
            snprintf(again, sizeof(again), "%02x%02x%02x%02x%02x%02x", six[0], six[1], six[2],
                     six[3], six[4], six[5]);
            uint8_t back[6];
            ASSERT_TRUE(ParseHexBssid(again, back)) << text;
            ASSERT_EQ(0, memcmp(six, back, 6)) << text;
        }
        ParseColonBssid(text.c_str(), six);
    }
}

std::string ReadScenario(const char* name)
{
    std::ifstream in(std::string(SCENARIO_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Scenarios, MutatedTextsAreParsedOrRefusedWithALine)
{
    std::mt19937 rng(3);
    const char* names[] = {"default.txt", "adhoc.txt", "counter-wrap.txt", "many-cells.txt"};
    auto scenario = std::make_unique<Scenario>();
    for (const char* name : names) {
        std::string original = ReadScenario(name);
        ASSERT_FALSE(original.empty()) << name;
        SimTextResult result = {};
        ASSERT_TRUE(
            ScenarioParser::Parse(original.data(), (uint32_t)original.size(), *scenario, result))
            << name << ": " << result.message;
        for (int i = 0; i < 3000; ++i) {
            std::string text = original;
            for (int m = 1 + rng() % 8; m > 0; --m) {
                size_t at = rng() % (text.size() + 1);
                switch (rng() % 4) {
                case 0:
                    text.insert(at, 1, (char)rng());
                    break;
                case 1:
                    if (at < text.size())
                        text.erase(at, 1 + rng() % 20);
                    break;
                case 2:
                    if (at < text.size())
                        text[at] = (char)rng();
                    break;
                case 3:
                    text.insert(at, std::string(300, 'x'));
                    break;
                }
            }
            Bytes exactText(text.begin(), text.end());
            auto exact = Exact(exactText);
            *scenario = Scenario();
            result = SimTextResult();
            bool ok = ScenarioParser::Parse(reinterpret_cast<const char*>(exact.get()),
                                            (uint32_t)text.size(), *scenario, result);
            if (!ok) {
                ASSERT_GT(result.line, 0) << "a refusal names its line";
                ASSERT_NE(nullptr, memchr(result.message, '\0', sizeof(result.message)));
            }
        }
    }
}

uint32_t FakeClock(void* context)
{
    return (*static_cast<uint32_t*>(context) += 7);
}

uint32_t ControlCode(uint32_t function, uint32_t access)
{
    return (0x9C40u << 16) | (access << 14) | (function << 2);
}

TEST(DriverRequests, NoRequestWritesMoreThanItsOutputBuffer)
{
    std::mt19937 rng(4);
    uint32_t now = 0;
    auto device = std::make_unique<SimDevice>();
    device->Init(FakeClock, &now);
    device->SetDriverBase(Scenario().ioBase); // the built-in card sits at the default base
    const uint32_t product[] = {0x9C406400, 0x9C406404, 0x9C40A440,
                                0x9C40A444, 0x9C402480, 0x9C40A484};
    int served = 0;
    for (int i = 0; i < 30000; ++i) {
        uint32_t code =
            rng() % 2 ? product[rng() % 6] : ControlCode(0xA00 + rng() % 0x30, rng() % 4);
        Bytes in = RandomBytes(rng, rng() % 64);
        if (code == 0x9C402480 || code == 0x9C40A484) {
            // Mostly well-formed block headers, so the card is really reached.
            in.resize(std::max<size_t>(in.size(), 10));
            uint16_t header[5] = {0, 2, 4, (uint16_t)(rng() % 0x10000), (uint16_t)(rng() % 80)};
            if (rng() % 4)
                memcpy(in.data(), header, sizeof(header));
        }
        size_t outSize = rng() % 80;
        auto input = Exact(in);
        std::unique_ptr<uint8_t[]> out(new uint8_t[outSize ? outSize : 1]);
        uint32_t information = 0xFFFFFFFF;
        uint32_t status =
            device->Control(code, input.get(), (uint32_t)in.size(), outSize ? out.get() : nullptr,
                            (uint32_t)outSize, &information);
        ASSERT_LE(information, outSize) << std::hex << code;
        served += status == SIM_STATUS_SUCCESS;
    }
    EXPECT_GT(served, 1000) << "enough requests reach the card to mean something";
}

class CountingHost : public LayoutHost
{
public:
    int reports = 0;
    void Report(unsigned) override { ++reports; }
    int OffsetToPixels(int dialogUnits, bool vertical) override
    {
        return vertical ? dialogUnits * 2 : dialogUnits;
    }
};

TEST(LayoutTables, RandomTablesAreSolvedOrReportedAndLeftAlone)
{
    std::mt19937 rng(5);
    for (int i = 0; i < 5000; ++i) {
        std::vector<LayoutChild> list;
        int children = 1 + rng() % 6;
        for (int c = -1; c < children; ++c) {
            LayoutChild child = {};
            child.id = c < 0 ? LAYOUT_PARENT_ID : 100 + c;
            child.left = rng() % 200;
            child.top = rng() % 200;
            child.right = child.left + rng() % 100;
            child.bottom = child.top + rng() % 100;
            child.untouched = c >= 0;
            for (int k = 0; k < 4; ++k)
                child.known[k] = 1;
            DeriveLayoutMetrics(child);
            list.push_back(child);
        }
        LayoutChild end = {};
        end.id = LAYOUT_LIST_END;
        list.push_back(end);
        const std::vector<LayoutChild> before = list;

        auto anyId = [&]() {
            int pick = rng() % (children + 2);
            return pick == children ? LAYOUT_PARENT_ID : pick == children + 1 ? 999 : 100 + pick;
        };
        std::vector<LayoutRule> rules;
        for (int r = rng() % 8; r > 0; --r)
            rules.push_back(LayoutRule{(int)(rng() % 5), (int)(rng() % 8) - 1, anyId(), anyId(),
                                       (int)(rng() % 8) - 1, anyId(), (int)(rng() % 120),
                                       (int)(rng() % 41) - 20, 0, 0});
        rules.push_back(LayoutRule{LAYOUT_END, 0, 0, 0, 0, 0, 0, 0, 0, 0});

        CountingHost host;
        if (!ValidateLayoutRules(rules.data(), list.data(), host)) {
            ASSERT_GT(host.reports, 0) << "a faulty table is reported";
            continue;
        }
        SolveLayout(rules.data(), list.data(), host);
        ASSERT_EQ(LAYOUT_LIST_END, list.back().id) << "the list keeps its end";
        ASSERT_EQ(before.size(), list.size());
    }
}

TEST(AdHocQuality, StaysAPercentOrNoConnection)
{
    std::mt19937 rng(6);
    float quality = 100.0f;
    AdHocQualityRecord previous = {};
    for (int i = 0; i < 200000; ++i) {
        AdHocQualityRecord next;
        Bytes raw = RandomBytes(rng, sizeof(next));
        memcpy(&next, raw.data(), sizeof(next));
        if (rng() % 4) {
            // Mostly a plausible successor: same stations, time and count moving on.
            next.otherStations = previous.otherStations;
            next.timeCounter = previous.timeCounter + rng() % 5000000;
            next.runningCounter = previous.runningCounter + rng() % 200;
        }
        int divisor = (int)(rng() % 300) - 20;
        quality = NextAdHocQuality(quality, previous, next, divisor);
        ASSERT_FALSE(std::isnan(quality));
        ASSERT_TRUE((quality >= 0.0f && quality <= 100.0f) || quality == QUALITY_NO_CONNECTION)
            << quality;
        previous = next;
    }
}

// Typed field texts: digits, signs, blanks and stray characters in any order.
TEST(IntegerFields, RandomTextsParseExactlyWhenTheyAreAWholeNumber)
{
    std::mt19937 rng(1133);
    const char alphabet[] = "0123456789 \t-+x.9";
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        size_t length = rng() % 14;
        for (size_t i = 0; i < length; ++i)
            text += alphabet[rng() % (sizeof(alphabet) - 1)];
        // Exactly the characters of the text on the heap, then its terminator.
        std::unique_ptr<char[]> exact(new char[text.size() + 1]);
        memcpy(exact.get(), text.c_str(), text.size() + 1);

        size_t start = text.find_first_not_of(" \t");
        std::string rest = start == std::string::npos ? "" : text.substr(start);
        size_t digits = rest.empty() ? 0 : (rest[0] == '-' || rest[0] == '+');
        bool wellFormed = rest.size() > digits &&
                          rest.find_first_not_of("0123456789", digits) == std::string::npos;
        long long expected = wellFormed ? std::stoll(rest.substr(0, 19)) : 0;
        bool inRange = wellFormed && rest.size() - digits <= 18 && expected >= -2147483648LL &&
                       expected <= 2147483647LL;

        long value = -99;
        bool ok = ParseInteger(exact.get(), value);
        ASSERT_EQ(inRange, ok) << '"' << text << '"';
        if (ok)
            ASSERT_EQ(expected, value) << '"' << text << '"';
        else
            ASSERT_EQ(-99, value) << '"' << text << '"';
    }
}

} // namespace
