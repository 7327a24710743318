// CardText.h - turns firmware answers into the texts and numbers the windows
// show: link state names, MAC addresses, rate lists, firmware versions, the
// debug dump, and the BSSID text forms of the settings. Every reader takes
// the size of what the card gave and never looks past it. No Windows header,
// so this builds natively for sanitizers and fuzzers.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

#include "adapter/AdapterText.h"

uint16_t LeWord(const uint8_t* bytes);
uint32_t LeDword(const uint8_t* bytes);
void PutLeWord(uint8_t* bytes, uint16_t value);
void PutLeDword(uint8_t* bytes, uint32_t value);

// "Idle" ... "Associated"; empty for codes outside 0 to 11.
const char* LinkStateName(unsigned code);

// "%02X:%02X:%02X:%02X:%02X:%02X" of six bytes.
std::string MacText(const uint8_t* six);

// The text of at most `size` bytes up to the first zero byte.
std::string BoundedText(const uint8_t* bytes, size_t size);

// The supported rates list (zero-terminated, at most `size` bytes, in
// 500 kbit/s steps) as "1, 2 Mbit/s".
std::string RatesText(const uint8_t* list, size_t size);
// The largest byte of the list before its terminating zero.
uint8_t LargestRate(const uint8_t* list, size_t size);

// "%d.%02d": the firmware version word is major * 100 + minor.
std::string FirmwareVersionText(uint16_t word);

// The link quality text: "00" for 0 and 101, else "%d".
std::string QualityText(uint16_t word);

// The name of a carrier set (regulatory domain) code.
AdapterText CarrierSetText(uint8_t code);

// Hexadecimal dump of the debug bytes: the length byte at value[0] and the
// bytes after it, at most `size`, eight to a line: "0000  09 01 ...".
// A length byte of 0xFF gives an empty text.
std::string DebugDumpText(const uint8_t* value, size_t size);

// "%x:%x:%x:%x:%x:%x" into six bytes; parts that do not parse stay 0.
// True when all six parsed.
bool ParseColonBssid(const char* text, uint8_t six[6]);
// Exactly twelve hexadecimal digits into six bytes.
bool ParseHexBssid(const char* text, uint8_t six[6]);
