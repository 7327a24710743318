// ProfileRules.cpp - the settings of a profile, its names and its values.
#include "app/ProfileRules.h"

#include "adapter/CardItem.h"
#include "framework/IntegerText.h"
#include "res/resource.h"
#include "sheet/BssidInput.h"

#include <algorithm>

namespace {

char Folded(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string FoldedText(const std::string& text)
{
    std::string folded = text;
    for (char& c : folded)
        c = Folded(c);
    return folded;
}

// The setting of `s` a number field holds (const or not, as `s` is).
template <class Settings>
auto NumberOf(const ProfileField& field, Settings& s) -> decltype(&s.networkType)
{
    switch (field.item) {
    case CI_NETWORK_TYPE:
        return &s.networkType;
    case CI_CARRIER_SET:
        return &s.carrierSet;
    case CI_DATA_RATE:
        return &s.dataRate;
    case CI_PS_MODE:
        return &s.powerSaving;
    case CI_TX_RETRY:
        return &s.retryLimit;
    case CI_ROAMING_THRESHOLD:
        return &s.roamingThreshold;
    }
    return nullptr;
}

template <class Settings>
auto FlagOf(const ProfileField& field, Settings& s) -> decltype(&s.roaming)
{
    switch (field.item) {
    case CI_ROAMING:
        return &s.roaming;
    case CI_SECURITY:
        return &s.security;
    }
    return nullptr;
}

template <class Settings> auto TextOf(const ProfileField& field, Settings& s) -> decltype(&s.essid)
{
    switch (field.item) {
    case CI_ESSID:
        return &s.essid;
    case CI_SECURITY_ID:
        return &s.securityId;
    case CI_PREFER_BSSID:
        return &s.bssid;
    }
    return nullptr;
}

bool AllBlanks(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

} // namespace

bool ProfileSettings::operator==(const ProfileSettings& o) const
{
    return networkType == o.networkType && essid == o.essid && carrierSet == o.carrierSet &&
           roaming == o.roaming && security == o.security && securityId == o.securityId &&
           dataRate == o.dataRate && powerSaving == o.powerSaving && bssid == o.bssid &&
           retryLimit == o.retryLimit && roamingThreshold == o.roamingThreshold;
}

const std::vector<ProfileField>& ProfileFields()
{
    static const std::vector<ProfileField> fields = {
        {"NetworkType", CI_NETWORK_TYPE, IDS_SETTING_NETWORK_TYPE, ProfileField::NUMBER, 0, 1},
        {"ESSID", CI_ESSID, IDS_SETTING_ESSID, ProfileField::TEXT, 1, 32},
        {"CarrierSet", CI_CARRIER_SET, IDS_SETTING_CARRIER_SET, ProfileField::NUMBER, 0, 5},
        {"Roaming", CI_ROAMING, IDS_SETTING_ROAMING, ProfileField::NUMBER, 0, 1},
        {"Security", CI_SECURITY, IDS_SETTING_SECURITY, ProfileField::NUMBER, 0, 1},
        {"SecurityID", CI_SECURITY_ID, IDS_SETTING_SECURITY_ID, ProfileField::TEXT, 0, 8},
        {"DataRate", CI_DATA_RATE, IDS_SETTING_DATA_RATE, ProfileField::NUMBER, 0, 1},
        {"PSmode", CI_PS_MODE, IDS_SETTING_POWER_SAVING, ProfileField::NUMBER, 0, 1},
        {"PreferBSSID", CI_PREFER_BSSID, IDS_SETTING_PREFERRED_AP, ProfileField::ADDRESS, 12, 12},
        {"TxRetry", CI_TX_RETRY, IDS_SETTING_RETRY_LIMIT, ProfileField::NUMBER, 0, 64},
        {"RoamingThreshold", CI_ROAMING_THRESHOLD, IDS_SETTING_SENSITIVITY, ProfileField::NUMBER, 0,
         80},
    };
    return fields;
}

ValueProblem ReadProfileValue(const ProfileField& field, const StoredValue& value,
                              ProfileSettings& into)
{
    if (value.type == StoredValue::ABSENT)
        return ValueProblem::MISSING;
    if (field.kind == ProfileField::NUMBER) {
        long number = 0;
        if ((value.type != StoredValue::NUMBER && value.type != StoredValue::TEXT) ||
            !ParseInteger(value.text.c_str(), number) || number < field.low || number > field.high)
            return ValueProblem::INVALID;
        if (int* setting = NumberOf(field, into))
            *setting = static_cast<int>(number);
        else if (bool* flag = FlagOf(field, into))
            *flag = number != 0;
        return ValueProblem::NONE;
    }
    if (value.type != StoredValue::TEXT)
        return ValueProblem::INVALID;
    const std::string& text = value.text;
    if (text.size() < static_cast<size_t>(field.low) ||
        text.size() > static_cast<size_t>(field.high))
        return ValueProblem::INVALID;
    std::string stored = text;
    if (field.kind == ProfileField::ADDRESS) {
        // No preference, or an address one station can have.
        if (!ParseBssidInput(text, stored))
            return ValueProblem::INVALID;
        stored = FoldedText(stored);
    } else if (field.low > 0 && AllBlanks(text)) {
        return ValueProblem::INVALID; // a name the network needs, of blanks only
    }
    if (std::string* setting = TextOf(field, into))
        *setting = stored;
    return ValueProblem::NONE;
}

std::string ProfileValueText(const ProfileField& field, const ProfileSettings& settings)
{
    if (const int* number = NumberOf(field, settings))
        return std::to_string(*number);
    if (const bool* flag = FlagOf(field, settings))
        return *flag ? "1" : "0";
    if (const std::string* text = TextOf(field, settings))
        return *text;
    return std::string();
}

NameProblem CheckProfileName(const std::string& typed, std::string& name)
{
    size_t first = typed.find_first_not_of(' ');
    if (first == std::string::npos) {
        name.clear();
        return NameProblem::EMPTY;
    }
    name = typed.substr(first, typed.find_last_not_of(' ') - first + 1);
    if (name.size() > MAX_PROFILE_NAME || name.find('\\') != std::string::npos)
        return NameProblem::INVALID;
    return NameProblem::NONE;
}

void SortProfileNames(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        std::string fa = FoldedText(a), fb = FoldedText(b);
        return fa != fb ? fa < fb : a < b;
    });
}

ProfileSettings ApplyProfileSettings(const ProfileSettings& was, const ProfileSettings& profile,
                                     const ProfileReach& reach)
{
    ProfileSettings now = profile;
    if (!reach.powerSaving)
        now.powerSaving = was.powerSaving;
    if (!reach.dataRate)
        now.dataRate = was.dataRate;
    return now;
}

bool ProfileInForce(const ProfileSettings& inForce, const ProfileSettings& profile,
                    const ProfileReach& reach)
{
    return ApplyProfileSettings(inForce, profile, reach) == inForce;
}
