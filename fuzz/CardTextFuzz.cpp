// CardTextFuzz.cpp - the decoders of the card's answers and of the BSSID
// texts, on bytes exactly as long as the input.
#include "adapter/CardText.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text = BoundedText(data, size);
    if (text.size() > size || text.find('\0') != std::string::npos)
        std::abort();
    RatesText(data, size);
    uint8_t largest = LargestRate(data, size);
    for (size_t i = 0; i < size && data[i]; ++i)
        if (data[i] > largest)
            std::abort();
    DebugDumpText(data, size);
    if (size >= 6)
        MacText(data);
    if (size >= 2) {
        uint16_t word = LeWord(data);
        FirmwareVersionText(word);
        QualityText(word);
        LinkStateName(word);
        CarrierSetText(data[0]);
    }
    // The BSSID forms read a zero-terminated text.
    std::vector<char> zeroEnded(data, data + size);
    zeroEnded.push_back('\0');
    uint8_t six[6];
    ParseColonBssid(zeroEnded.data(), six);
    if (ParseHexBssid(zeroEnded.data(), six) && std::strlen(zeroEnded.data()) != 12)
        std::abort();
    return 0;
}
