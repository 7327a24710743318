// Network profiles apart from the registry: which names a profile may have,
// which stored values it may hold (and which make it damaged), the order of
// the list, and what applying a profile over the settings in force changes,
// which also decides whether a profile is in force.
#include "app/ProfileRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const ProfileField& Field(const std::string& valueName)
{
    for (const ProfileField& field : ProfileFields())
        if (valueName == field.valueName)
            return field;
    ADD_FAILURE() << "no setting stored as " << valueName;
    return ProfileFields().front();
}

struct NameCase
{
    const char* typed;
    NameProblem problem;
    const char* name;
};

TEST(ProfileRules, NamesLoseTheirBlanksAndMustFit)
{
    const std::string longest(31, 'x');
    const std::string padded = " " + longest + " ";
    const std::string tooLong(32, 'x');
    const NameCase cases[] = {
        {"Office", NameProblem::NONE, "Office"},
        {"  Home  ", NameProblem::NONE, "Home"},
        {"At a customer's", NameProblem::NONE, "At a customer's"},
        {"R&D 5%2", NameProblem::NONE, "R&D 5%2"},
        {"", NameProblem::EMPTY, ""},
        {"    ", NameProblem::EMPTY, ""},
        {longest.c_str(), NameProblem::NONE, longest.c_str()},
        {padded.c_str(), NameProblem::NONE, longest.c_str()},
        {tooLong.c_str(), NameProblem::INVALID, tooLong.c_str()},
        {"Office\\Lab", NameProblem::INVALID, "Office\\Lab"},
        {"\\", NameProblem::INVALID, "\\"},
    };
    for (const NameCase& c : cases) {
        std::string name = "untouched";
        EXPECT_EQ(c.problem, CheckProfileName(c.typed, name)) << '"' << c.typed << '"';
        EXPECT_EQ(c.name, name) << '"' << c.typed << '"';
    }
}

TEST(ProfileRules, NamesThatDifferOnlyInCaseSortTogether)
{
    std::vector<std::string> names = {
        "home", "Previous settings", "Office", "annex", "Zeta", "HOME2", "Home"};
    SortProfileNames(names);
    EXPECT_EQ((std::vector<std::string>{"annex", "Home", "home", "HOME2", "Office",
                                        "Previous settings", "Zeta"}),
              names);
}

struct ValueCase
{
    const char* valueName;
    StoredValue::Type type;
    const char* text;
    ValueProblem problem;
    const char* read; // the setting afterwards, as stored
};

TEST(ProfileRules, StoredValuesAreReadStrictlyWithinTheirRanges)
{
    const std::string essid32(32, 'e'), essid33(33, 'e');
    const ValueCase cases[] = {
        // Numbers, either form.
        {"NetworkType", StoredValue::NUMBER, "0", ValueProblem::NONE, "0"},
        {"NetworkType", StoredValue::TEXT, "1", ValueProblem::NONE, "1"},
        {"NetworkType", StoredValue::NUMBER, "2", ValueProblem::INVALID, "1"},
        {"CarrierSet", StoredValue::TEXT, "5", ValueProblem::NONE, "5"},
        {"CarrierSet", StoredValue::NUMBER, "9", ValueProblem::INVALID, "0"},
        {"CarrierSet", StoredValue::NUMBER, "-1", ValueProblem::INVALID, "0"},
        {"CarrierSet", StoredValue::TEXT, "2abc", ValueProblem::INVALID, "0"},
        {"CarrierSet", StoredValue::TEXT, "", ValueProblem::INVALID, "0"},
        {"CarrierSet", StoredValue::TEXT, "two", ValueProblem::INVALID, "0"},
        {"CarrierSet", StoredValue::TEXT, "99999999999", ValueProblem::INVALID, "0"},
        {"CarrierSet", StoredValue::ABSENT, "", ValueProblem::MISSING, "0"},
        {"CarrierSet", StoredValue::OTHER, "2", ValueProblem::INVALID, "0"},
        {"Roaming", StoredValue::NUMBER, "0", ValueProblem::NONE, "0"},
        {"Roaming", StoredValue::TEXT, "1", ValueProblem::NONE, "1"},
        {"Roaming", StoredValue::TEXT, "2", ValueProblem::INVALID, "1"},
        {"Security", StoredValue::NUMBER, "1", ValueProblem::NONE, "1"},
        {"DataRate", StoredValue::NUMBER, "1", ValueProblem::NONE, "1"},
        {"DataRate", StoredValue::NUMBER, "2", ValueProblem::INVALID, "0"},
        {"PSmode", StoredValue::TEXT, "1", ValueProblem::NONE, "1"},
        {"TxRetry", StoredValue::NUMBER, "64", ValueProblem::NONE, "64"},
        {"TxRetry", StoredValue::NUMBER, "65", ValueProblem::INVALID, "7"},
        {"TxRetry", StoredValue::TEXT, "0", ValueProblem::NONE, "0"},
        {"RoamingThreshold", StoredValue::NUMBER, "80", ValueProblem::NONE, "80"},
        {"RoamingThreshold", StoredValue::NUMBER, "81", ValueProblem::INVALID, "40"},
        // Texts, only as texts.
        {"ESSID", StoredValue::TEXT, "Office", ValueProblem::NONE, "Office"},
        {"ESSID", StoredValue::TEXT, essid32.c_str(), ValueProblem::NONE, essid32.c_str()},
        {"ESSID", StoredValue::TEXT, essid33.c_str(), ValueProblem::INVALID, ""},
        {"ESSID", StoredValue::TEXT, "", ValueProblem::INVALID, ""},
        {"ESSID", StoredValue::TEXT, "   ", ValueProblem::INVALID, ""},
        {"ESSID", StoredValue::NUMBER, "5", ValueProblem::INVALID, ""},
        {"ESSID", StoredValue::ABSENT, "", ValueProblem::MISSING, ""},
        {"SecurityID", StoredValue::TEXT, "", ValueProblem::NONE, ""},
        {"SecurityID", StoredValue::TEXT, "12345678", ValueProblem::NONE, "12345678"},
        {"SecurityID", StoredValue::TEXT, "123456789", ValueProblem::INVALID, ""},
        // The preferred access point: none, or an address one station can have.
        {"PreferBSSID", StoredValue::TEXT, "000000000000", ValueProblem::NONE, "000000000000"},
        {"PreferBSSID", StoredValue::TEXT, "00a0c5123456", ValueProblem::NONE, "00A0C5123456"},
        {"PreferBSSID", StoredValue::TEXT, "01A0C5123456", ValueProblem::INVALID, "000000000000"},
        {"PreferBSSID", StoredValue::TEXT, "FFFFFFFFFFFF", ValueProblem::INVALID, "000000000000"},
        {"PreferBSSID", StoredValue::TEXT, "00:A0:C5:12:34:56", ValueProblem::INVALID,
         "000000000000"},
        {"PreferBSSID", StoredValue::TEXT, "", ValueProblem::INVALID, "000000000000"},
        {"PreferBSSID", StoredValue::TEXT, "00A0C512345G", ValueProblem::INVALID, "000000000000"},
    };
    for (const ValueCase& c : cases) {
        const ProfileField& field = Field(c.valueName);
        StoredValue value;
        value.type = c.type;
        value.text = c.text;
        ProfileSettings settings;
        EXPECT_EQ(c.problem, ReadProfileValue(field, value, settings))
            << c.valueName << " \"" << c.text << '"';
        EXPECT_EQ(c.read, ProfileValueText(field, settings))
            << c.valueName << " \"" << c.text << '"';
    }
}

// Every setting a profile holds is stored under the driver's value name and
// reads back as it was written.
TEST(ProfileRules, EverySettingReadsBackAsItWasStored)
{
    std::vector<std::string> names;
    for (const ProfileField& field : ProfileFields())
        names.push_back(field.valueName);
    EXPECT_EQ((std::vector<std::string>{"NetworkType", "ESSID", "CarrierSet", "Roaming", "Security",
                                        "SecurityID", "DataRate", "PSmode", "PreferBSSID",
                                        "TxRetry", "RoamingThreshold"}),
              names);

    ProfileSettings office;
    office.networkType = 0;
    office.essid = "Office net";
    office.carrierSet = 3;
    office.roaming = false;
    office.security = true;
    office.securityId = "s3cret";
    office.dataRate = 1;
    office.powerSaving = 1;
    office.bssid = "00A0C5000004";
    office.retryLimit = 12;
    office.roamingThreshold = 64;
    ProfileSettings read;
    for (const ProfileField& field : ProfileFields()) {
        StoredValue value;
        value.type = field.kind == ProfileField::NUMBER ? StoredValue::NUMBER : StoredValue::TEXT;
        value.text = ProfileValueText(field, office);
        EXPECT_EQ(ValueProblem::NONE, ReadProfileValue(field, value, read)) << field.valueName;
    }
    EXPECT_TRUE(read == office);
}

struct ReachCase
{
    const char* what;
    bool powerSaving, dataRate;
    int expectedPowerSaving, expectedDataRate;
};

TEST(ProfileRules, ApplyingTakesPowerSavingAndDataRateOnlyWhereTheyApply)
{
    ProfileSettings was;
    was.essid = "Office";
    was.powerSaving = 0;
    was.dataRate = 0;
    ProfileSettings home;
    home.networkType = 0;
    home.essid = "Home";
    home.roaming = false;
    home.retryLimit = 3;
    home.powerSaving = 1;
    home.dataRate = 1;
    const ReachCase cases[] = {
        {"a PC Card offering a choice of rate", true, true, 1, 1},
        {"an ISA card offering a choice of rate", false, true, 0, 1},
        {"a PC Card offering one rate", true, false, 1, 0},
        {"an ISA card offering one rate", false, false, 0, 0},
    };
    for (const ReachCase& c : cases) {
        ProfileReach reach;
        reach.powerSaving = c.powerSaving;
        reach.dataRate = c.dataRate;
        ProfileSettings now = ApplyProfileSettings(was, home, reach);
        EXPECT_EQ(c.expectedPowerSaving, now.powerSaving) << c.what;
        EXPECT_EQ(c.expectedDataRate, now.dataRate) << c.what;
        EXPECT_EQ("Home", now.essid) << c.what;
        EXPECT_EQ(0, now.networkType) << c.what;
        EXPECT_FALSE(now.roaming) << c.what;
        EXPECT_EQ(3, now.retryLimit) << c.what;
        // Afterwards the profile is in force; before, it was not.
        EXPECT_TRUE(ProfileInForce(now, home, reach)) << c.what;
        EXPECT_FALSE(ProfileInForce(was, home, reach)) << c.what;
        // A setting that does not reach the card does not keep it from being in force.
        ProfileSettings other = home;
        other.powerSaving = 1 - home.powerSaving;
        other.dataRate = 1 - home.dataRate;
        EXPECT_EQ(!c.powerSaving && !c.dataRate, ProfileInForce(now, other, reach)) << c.what;
    }
}

} // namespace
