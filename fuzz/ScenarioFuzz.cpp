// ScenarioFuzz.cpp - the scenario text of the simulated machine.
#include "sim/ScenarioParser.h"

#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::unique_ptr<Scenario> scenario(new Scenario);
    *scenario = Scenario();
    SimTextResult result;
    bool ok = ScenarioParser::Parse(reinterpret_cast<const char*>(data),
                                    static_cast<uint32_t>(size), *scenario, result);
    if (ok != (result.ok == 1))
        std::abort();
    // The message is a terminated text within its field.
    if (!std::memchr(result.message, '\0', sizeof result.message))
        std::abort();
    if (ok && (scenario->cellCount > Scenario::kMaxCells ||
               scenario->stationSlots > Scenario::kMaxStations))
        std::abort();
    return 0;
}
