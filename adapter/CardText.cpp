// CardText.cpp - decoding of firmware answers into display texts.
#include "adapter/CardText.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

uint16_t LeWord(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t LeDword(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void PutLeWord(uint8_t* bytes, uint16_t value)
{
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
}

void PutLeDword(uint8_t* bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

const char* LinkStateName(unsigned code)
{
    static const char* const kNames[] = {
        "Idle",   "Scanning...", "Rejoining...", "Adopted",    "Started",    "Joined",
        "Failed", "Joining...",  "Joining...",   "Joining...", "Roaming...", "Associated",
    };
    return code < sizeof(kNames) / sizeof(kNames[0]) ? kNames[code] : "";
}

std::string MacText(const uint8_t* six)
{
    char text[20];
    snprintf(text, sizeof(text), "%02X:%02X:%02X:%02X:%02X:%02X", six[0], six[1], six[2], six[3],
             six[4], six[5]);
    return text;
}

std::string BoundedText(const uint8_t* bytes, size_t size)
{
    const void* zero = memchr(bytes, 0, size);
    size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : size;
    return std::string(reinterpret_cast<const char*>(bytes), length);
}

std::string RatesText(const uint8_t* list, size_t size)
{
    std::string text;
    for (size_t i = 0; i < size && list[i] != 0; ++i) {
        if (!text.empty())
            text += ", ";
        text += std::to_string((list[i] >> 1) & 0x7F);
    }
    return text + " Mbit/s";
}

uint8_t LargestRate(const uint8_t* list, size_t size)
{
    uint8_t largest = 0;
    for (size_t i = 0; i < size && list[i] != 0; ++i)
        if (list[i] > largest)
            largest = list[i];
    return largest;
}

std::string FirmwareVersionText(uint16_t word)
{
    char text[16];
    snprintf(text, sizeof(text), "%d.%02d", word / 100, word % 100);
    return text;
}

std::string QualityText(uint16_t word)
{
    return word == 0 || word == 101 ? "00" : std::to_string(word);
}

AdapterText CarrierSetText(uint8_t code)
{
    switch (code) {
    case 0x10:
        return AdapterText::CarrierUsa;
    case 0x20:
        return AdapterText::CarrierCanada;
    case 0x30:
        return AdapterText::CarrierEurope;
    case 0x31:
        return AdapterText::CarrierSpain;
    case 0x32:
        return AdapterText::CarrierFrance;
    case 0x40:
        return AdapterText::CarrierJapan;
    default:
        return AdapterText::CarrierUnknown;
    }
}

std::string DebugDumpText(const uint8_t* value, size_t size)
{
    if (size == 0 || value[0] == 0xFF)
        return std::string();
    size_t count = static_cast<size_t>(value[0]) + 1;
    if (count > size)
        count = size;
    std::string text;
    char piece[8];
    for (size_t i = 0; i < count; ++i) {
        if (i % 8 == 0) {
            if (i != 0)
                text += "\r\n";
            snprintf(piece, sizeof(piece), "%04d  ", static_cast<int>(i));
            text += piece;
        }
        snprintf(piece, sizeof(piece), "%02X ", value[i]);
        text += piece;
    }
    return text;
}

bool ParseColonBssid(const char* text, uint8_t six[6])
{
    unsigned parts[6] = {};
    int parsed = sscanf(text, "%x:%x:%x:%x:%x:%x\n", &parts[0], &parts[1], &parts[2], &parts[3],
                        &parts[4], &parts[5]);
    for (int i = 0; i < 6; ++i)
        six[i] = static_cast<uint8_t>(parts[i]);
    return parsed == 6;
}

bool ParseHexBssid(const char* text, uint8_t six[6])
{
    if (strlen(text) != 12)
        return false;
    for (int i = 0; i < 12; ++i)
        if (!isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    for (int i = 0; i < 6; ++i) {
        unsigned part = 0;
        sscanf(text + 2 * i, "%2x", &part);
        six[i] = static_cast<uint8_t>(part);
    }
    return true;
}
