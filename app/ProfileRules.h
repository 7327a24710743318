// ProfileRules.h - what a network profile is, apart from where it is kept:
// the settings it holds and the registry value of each, the rules its names
// and its stored values keep, the order profiles are listed in, and what
// applying one over the settings in force changes. No Windows header, so
// the sanitizer run builds it natively.
#pragma once

#include <string>
#include <vector>

// The most profiles there may be, and the longest name.
const size_t MAX_PROFILES = 16;
const size_t MAX_PROFILE_NAME = 31;

// The card's settings a profile holds: those the Configuration page and the
// Advanced Configuration dialog edit, but the computer name.
struct ProfileSettings
{
    int networkType = 1; // 0 Ad-Hoc, 1 Infrastructure
    std::string essid;
    int carrierSet = 0; // 0 USA ... 5 France
    bool roaming = true;
    bool security = false;
    std::string securityId;
    int dataRate = 0;                   // 0 "1, 2 Mbit/s Auto", 1 "1 Mbit/s"
    int powerSaving = 0;                // 1 on
    std::string bssid = "000000000000"; // twelve hexadecimal digits, capitals
    int retryLimit = 7;
    int roamingThreshold = 40;

    bool operator==(const ProfileSettings& other) const;
    bool operator!=(const ProfileSettings& other) const { return !(*this == other); }
};

// One setting of a profile: the registry value that holds it (named as the
// driver's parameter), the card item it is, and the string naming it.
struct ProfileField
{
    enum Kind
    {
        NUMBER,  // a whole number from low to high
        TEXT,    // low to high characters
        ADDRESS, // twelve hexadecimal digits: none, or an individual address
    };
    const char* valueName;
    int item;
    unsigned nameId;
    Kind kind;
    int low, high;
};

// Every setting, in the order a profile is checked and shown.
const std::vector<ProfileField>& ProfileFields();

// How a stored value reads.
enum class ValueProblem
{
    NONE,
    MISSING, // no such value
    INVALID, // of another type, no whole number where one belongs, or out of range
};

// What the registry gave for one value: whether it is there, whether it is
// a number (REG_DWORD, given as "%d"), a text (REG_SZ) or of another type.
struct StoredValue
{
    enum Type
    {
        ABSENT,
        NUMBER,
        TEXT,
        OTHER,
    };
    Type type = ABSENT;
    std::string text;
};

// Reads one stored value into its setting of `into`. A number may be stored
// either way; a text only as one.
ValueProblem ReadProfileValue(const ProfileField& field, const StoredValue& value,
                              ProfileSettings& into);
// The text a setting is stored as (a number as "%d").
std::string ProfileValueText(const ProfileField& field, const ProfileSettings& settings);

// The name typed for a profile, checked.
enum class NameProblem
{
    NONE,
    EMPTY,   // nothing but blanks
    INVALID, // longer than MAX_PROFILE_NAME, or holds a "\"
};
// Takes the blanks off either end of `typed` into `name` and checks it.
NameProblem CheckProfileName(const std::string& typed, std::string& name);

// Sorts names as the menu and the list show them: without regard to case.
void SortProfileNames(std::vector<std::string>& names);

// What decides which of a profile's settings reach the card.
struct ProfileReach
{
    bool powerSaving = false; // a PC Card: power saving applies
    bool dataRate = false;    // the data rate applies
};
// The settings after applying `profile` over `was`: each setting of the
// profile, but power saving and the data rate only where they apply.
ProfileSettings ApplyProfileSettings(const ProfileSettings& was, const ProfileSettings& profile,
                                     const ProfileReach& reach);
// A profile is in force when applying it would change nothing.
bool ProfileInForce(const ProfileSettings& inForce, const ProfileSettings& profile,
                    const ProfileReach& reach);
