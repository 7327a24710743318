// BssidInput.cpp - the preferred access point's text forms.
#include "sheet/BssidInput.h"

#include <stdio.h>

const char* const NO_PREFERRED_BSSID_TEXT = "000000000000";

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string BssidDisplayText(const std::string& stored)
{
    unsigned octets[6] = {0, 0, 0, 0, 0, 0};
    bool any = false;
    for (size_t i = 0; i < 6 && 2 * i + 1 < stored.size(); ++i) {
        int high = HexValue(stored[2 * i]);
        int low = HexValue(stored[2 * i + 1]);
        if (high < 0 || low < 0)
            break; // the rest is not read
        octets[i] = static_cast<unsigned>(high * 16 + low);
        any = any || octets[i] != 0;
    }
    if (!any)
        return std::string();
    char text[18];
    snprintf(text, sizeof(text), "%02X:%02X:%02X:%02X:%02X:%02X", octets[0], octets[1], octets[2],
             octets[3], octets[4], octets[5]);
    return text;
}

bool ParseBssidInput(const std::string& input, std::string& stored)
{
    if (input.empty()) {
        stored = NO_PREFERRED_BSSID_TEXT;
        return true;
    }
    std::string digits;
    if (input.size() == 17) {
        for (size_t i = 0; i < input.size(); ++i) {
            bool separator = i % 3 == 2;
            if (separator != (input[i] == ':'))
                return false;
            if (!separator)
                digits += input[i];
        }
    } else if (input.size() == 12)
        digits = input;
    else
        return false;

    for (char c : digits)
        if (HexValue(c) < 0)
            return false;
    // A group address, the broadcast address ffffffffffff among them.
    if (HexValue(digits[1]) & 1)
        return false;
    stored = digits;
    return true;
}
