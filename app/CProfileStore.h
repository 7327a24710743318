// CProfileStore.h - where network profiles are kept: one key per profile,
// named by the profile, under "Profiles" of the application profile's key
// in HKEY_CURRENT_USER, so that each user of the machine has their own.
// Each setting is a value in the form the driver's parameter takes on the
// system; every write goes through the Os seam.
#pragma once

#include "app/ProfileRules.h"

#include <windows.h>

#include <string>
#include <vector>

// A profile as it was read.
struct StoredProfile
{
    std::string name;         // as the registry spells it
    ProfileSettings settings; // meaningful only when not damaged
    bool damaged = false;
    std::string reason; // why it is damaged: "Carrier Set is not valid"
};

class CProfileStore
{
public:
    // The profiles of the running program's application profile.
    CProfileStore();
    // The profiles under HKEY_CURRENT_USER\keyPath.
    explicit CProfileStore(std::string keyPath);

    // Every profile's name, sorted as the menu shows them; none when the key
    // cannot be read.
    std::vector<std::string> List() const;
    // Reads a profile; one with a missing or unreadable value is damaged,
    // with the first such setting's reason.
    StoredProfile Load(const std::string& name) const;
    // Whether a profile of this name exists (the registry compares names
    // without regard to case).
    bool Exists(const std::string& name) const;

    // Each returns false with the system's reason when the registry refused
    // a change. Save makes a profile under a name no profile has yet (one
    // that exists is never overwritten), and leaves nothing of it behind
    // when a write fails.
    bool Save(const std::string& name, const ProfileSettings& settings, std::string& reason) const;
    // Stores the profile under its new name, then deletes the old key: a
    // failure leaves the old profile as it was. A change of letter case
    // alone goes through a key of a passing name.
    bool Rename(const std::string& from, const std::string& to, std::string& reason) const;
    bool Delete(const std::string& name, std::string& reason) const;

    const std::string& KeyPath() const { return m_keyPath; }

    // The system's text for a registry error.
    static std::string ReasonOf(LONG code);

private:
    std::string ProfileKey(const std::string& name) const { return m_keyPath + "\\" + name; }
    // Writes every value into an open key; the first refusal's code, else 0.
    LONG WriteValues(HKEY key, const ProfileSettings& settings) const;

    std::string m_keyPath;
};
