// CardConfig.h - the card's settings as the Configuration page and the
// Advanced Configuration dialog edit them, and how they are read: from the
// driver's parameters, and from the card for what only the card holds.
#pragma once

#include <windows.h>

#include <string>

// The advanced settings, as the Advanced Configuration dialog edits them.
struct AdvancedSettings
{
    int dataRate = 0;                   // 0 "1, 2 Mbit/s Auto", 1 "1 Mbit/s"
    int retryLimit = 7;                 // 0 to 64
    int roamingThreshold = 40;          // 0 to 80
    int powerSaving = 0;                // 1 on
    std::string bssid = "000000000000"; // twelve hexadecimal digits

    bool operator==(const AdvancedSettings& other) const;
};

struct CardConfig
{
    int networkType = 1; // 0 Ad-Hoc, 1 Infrastructure; -1 a value no list offers
    int carrierSet = 0;  // 0 USA ... 5 France; -1 likewise
    std::string essid;
    // Windows 95/98: the driver's parameter; Windows NT: the card's, read only.
    std::string stationName;
    bool roaming = true;
    bool security = false;
    std::string securityId;
    AdvancedSettings advanced;
};

// What decides which advanced settings apply.
struct CardTraits
{
    bool highRate = false; // the card offers a choice of data rate
    bool pcmcia = false;   // a PC Card: power saving applies
};

// The settings in force, as the Configuration page shows them when it opens.
// The card is asked (for the station name on Windows NT, and for the retry
// limit and roaming threshold where the registry holds none) only when
// askCard is set; the caller holds the adapter then.
CardConfig ReadCardConfig(HWND owner, bool askCard, CardTraits& traits);

// The settings the driver's parameters hold, as the card takes them at its
// start: read as the page reads them, but without a card command, and the
// data rate as stored whatever the card offers. traits.pcmcia is the bus
// type's; traits.highRate is not asked (false). rateStored tells whether the
// parameters hold a data rate (the value or its description's default).
CardConfig ReadStoredCardConfig(HWND owner, CardTraits& traits, bool* rateStored = nullptr);

// A digit setting's value: the stored text's first character, or otherwise
// when the text does not begin with a digit.
int DigitOr(const std::string& text, int otherwise);
