// BssidInput.h - the preferred access point (BSSID) as the Advanced
// Configuration dialog shows and takes it: the stored twelve hexadecimal
// digits turned into the colon form for the edit field, and what the user
// typed checked and turned back into twelve digits. No Windows header, so
// this builds natively for the sanitizer run.
#pragma once

#include <string>

// What is stored when no access point is preferred.
extern const char* const NO_PREFERRED_BSSID_TEXT;

// The colon form "%02X:%02X:%02X:%02X:%02X:%02X" of the stored text, read as
// six two-digit hexadecimal numbers (a pair that does not read counts as
// 00); empty when that gives 00:00:00:00:00:00, which means none.
std::string BssidDisplayText(const std::string& stored);

// Checks the edit field's text: empty (no preference), twelve hexadecimal
// digits, or the colon form of seventeen characters. A group address (the
// lowest bit of the first octet set), which the broadcast address is, is
// refused. On success `stored` is the twelve digits as typed
// (letters keep their case) or NO_PREFERRED_BSSID_TEXT for an empty field;
// on failure it is left alone.
bool ParseBssidInput(const std::string& input, std::string& stored);
