// SharedCardRaceTest.cpp - a card in the shared section written over by
// another program while a request is being served on it. The machine clock
// that the firmware reads in the middle of its work does the writing here,
// at exactly the moment a racing program could; under the sanitizers an
// index, count or divisor read back from the section after its check ends
// the run.
#include "sim/SharedCard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Race
{
    SharedCard* card = nullptr;
    void (*write)(Scenario& world) = nullptr;
    uint32_t now = 1000;
    int writes = 0;
};
Race g_race;

uint32_t RacingClock(void*)
{
    if (g_race.write && g_race.card) {
        g_race.write(const_cast<Scenario&>(g_race.card->Device().Fw().World()));
        ++g_race.writes;
    }
    return g_race.now += 250;
}

bool Alive(uint32_t, void*)
{
    return true;
}

TEST(SharedCardRace, WritesDuringARequestReachNoIndexCountOrDivisor)
{
    const std::string cells = "name race\ndrift 0\n"
                              "cell 00:A0:C5:00:00:01 Corvane 1 72\n"
                              "cell 00:A0:C5:00:00:02 Corvane 6 48\n"
                              "cell 00:A0:C5:00:00:03 Corvane 11 20\n"
                              "current 00:A0:C5:00:00:01\n";
    const struct
    {
        const char* what;
        uint32_t code; // SIM_IOCTL_GET_STATE or SIM_IOCTL_LOAD_SCENARIO
        void (*write)(Scenario& world);
    } cases[] = {
        {"beacon period zeroed while the clock moves", SIM_IOCTL_GET_STATE,
         [](Scenario& w) { w.beaconPeriod = 0; }},
        {"frame size zeroed while traffic is counted", SIM_IOCTL_GET_STATE,
         [](Scenario& w) { w.frameSize = 0; }},
        {"station slots beyond the table", SIM_IOCTL_GET_STATE,
         [](Scenario& w) { w.stationSlots = 0xFFFF; }},
        {"cell count beyond the cells while the table is filled", SIM_IOCTL_LOAD_SCENARIO,
         [](Scenario& w) {
             w.cellCount = 0x7FFF;
             for (SimCell& c : w.cells)
                 c.signal = 50;
         }},
        {"settings beyond their table while they are applied", SIM_IOCTL_LOAD_SCENARIO,
         [](Scenario& w) { w.settingCount = 0xFFFF; }},
    };
    Firmware::SetMachineClock(&RacingClock, nullptr);
    uint32_t held = 0;
    const SharedLock::Side side = {7, &Alive, nullptr, nullptr, nullptr, &held, 8};
    for (const auto& c : cases) {
        auto card = std::make_unique<SharedCard>();
        g_race = Race();
        g_race.card = card.get();
        ASSERT_TRUE(card->PowerOn(side));
        uint32_t information = 0, status = 0xFFFFFFFF;
        SimTextResult result = {};
        ASSERT_EQ(SharedCard::SERVED, card->Control(side, SIM_IOCTL_LOAD_SCENARIO, cells.data(),
                                                    static_cast<uint32_t>(cells.size()), &result,
                                                    sizeof result, &information, &status))
            << c.what;
        ASSERT_EQ(1, result.ok) << c.what;

        g_race.write = c.write;
        SimState state = {};
        SharedCard::Outcome outcome =
            c.code == SIM_IOCTL_GET_STATE
                ? card->Control(side, c.code, nullptr, 0, &state, sizeof state, &information,
                                &status)
                : card->Control(side, c.code, cells.data(), static_cast<uint32_t>(cells.size()),
                                &result, sizeof result, &information, &status);
        g_race.write = nullptr;
        EXPECT_GT(g_race.writes, 0) << c.what << ": the section was written during the request";
        EXPECT_EQ(SharedCard::SERVED, outcome) << c.what;
        EXPECT_EQ(SIM_STATUS_SUCCESS, status) << c.what;

        // The request's work went back whole: the card passes its checks
        // and holds the three cells it was given.
        ASSERT_EQ(SharedCard::SERVED, card->Control(side, SIM_IOCTL_GET_STATE, nullptr, 0, &state,
                                                    sizeof state, &information, &status))
            << c.what;
        EXPECT_EQ(3, state.cellCount) << c.what;
        EXPECT_EQ(3, state.bssTableSize) << c.what;
        EXPECT_EQ(0u, held) << c.what;
    }
    Firmware::SetMachineClock(nullptr, nullptr);
}

} // namespace
