// CardConfig.cpp - reading the card's settings.
#include "sheet/CardConfig.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/CardSettings.h"
#include "adapter/Mailbox.h"
#include "framework/CWinApp.h"
#include "framework/IntegerText.h"
#include "res/resource.h"

namespace {

std::string ReadSetting(HWND owner, int item)
{
    char text[CONFIG_TEXT_SIZE];
    ReadConfigValue(owner, item, text);
    return text;
}

// A card text item, empty when the card did not give it.
std::string QueryText(int item)
{
    char text[CARD_ITEM_BUFFER_SIZE];
    if (QueryCardItem(item, text) != ITEM_OK)
        return std::string();
    return text;
}

// A number setting's text; one that is no whole number counts as not set.
bool NumberOf(const std::string& text, int& value)
{
    long number = 0;
    if (!ParseInteger(text.c_str(), number))
        return false;
    value = static_cast<int>(number);
    return true;
}

// A number the card also holds: the registry's, else the card's (when it may
// be asked), else otherwise.
int CardNumberSetting(HWND owner, int item, int otherwise, bool askCard)
{
    int value = otherwise;
    if (!NumberOf(ReadSetting(owner, item), value) && askCard)
        NumberOf(QueryText(item), value);
    return value;
}

} // namespace

bool AdvancedSettings::operator==(const AdvancedSettings& other) const
{
    return dataRate == other.dataRate && retryLimit == other.retryLimit &&
           roamingThreshold == other.roamingThreshold && powerSaving == other.powerSaving &&
           bssid == other.bssid;
}

int DigitOr(const std::string& text, int otherwise)
{
    return !text.empty() && text[0] >= '0' && text[0] <= '9' ? text[0] - '0' : otherwise;
}

CardConfig ReadCardConfig(HWND owner, bool askCard, CardTraits& traits)
{
    CardConfig config;
    config.networkType = DigitOr(ReadSetting(owner, CI_NETWORK_TYPE), config.networkType);
    config.carrierSet = DigitOr(ReadSetting(owner, CI_CARRIER_SET), config.carrierSet);
    config.essid = ReadSetting(owner, CI_ESSID);
    if (GetAdapterLink().PlatformKind == PLATFORM_WIN9X)
        config.stationName = ReadSetting(owner, CI_STATION_NAME);
    else if (askCard)
        config.stationName = QueryText(CI_STATION_NAME);

    std::string roaming = ReadSetting(owner, CI_ROAMING);
    if (!roaming.empty())
        config.roaming = roaming[0] == '1';
    std::string security = ReadSetting(owner, CI_SECURITY);
    if (!security.empty())
        config.security = security[0] == '1';
    config.securityId = ReadSetting(owner, CI_SECURITY_ID);

    AdvancedSettings& adv = config.advanced;
    adv.retryLimit = CardNumberSetting(owner, CI_TX_RETRY, adv.retryLimit, askCard);
    std::string bssid = ReadSetting(owner, CI_PREFER_BSSID);
    if (bssid.empty())
        bssid = "000000000000";
    for (char& c : bssid)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    adv.bssid = bssid;
    adv.roamingThreshold =
        CardNumberSetting(owner, CI_ROAMING_THRESHOLD, adv.roamingThreshold, askCard);

    traits.pcmcia = ReadSetting(owner, CI_CARD_TYPE) == LoadStr(IDS_PCMCIA);
    if (traits.pcmcia)
        adv.powerSaving = DigitOr(ReadSetting(owner, CI_PS_MODE), adv.powerSaving);
    traits.highRate = askCard && CardHasHighRate() == 1;
    adv.dataRate = traits.highRate ? DigitOr(ReadSetting(owner, CI_DATA_RATE), 0) : 0;
    return config;
}

CardConfig ReadStoredCardConfig(HWND owner, CardTraits& traits, bool* rateStored)
{
    CardConfig config = ReadCardConfig(owner, false, traits);
    config.advanced.dataRate = DigitOr(ReadSetting(owner, CI_DATA_RATE), 0);
    if (rateStored) {
        std::string rate;
        *rateStored = GetAdapterLink().AdapterReady &&
                      ReadDriverSetting(ConfigValueName(CI_DATA_RATE), rate) == REG_FOUND;
    }
    return config;
}
