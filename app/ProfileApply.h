// ProfileApply.h - network profiles and the card's settings: the settings
// in force, a profile's Apply through the Configuration page's settings
// writer, and the settings in force kept as a profile.
#pragma once

#include "app/CProfileStore.h"
#include "app/ProfileRules.h"

#include <windows.h>

#include <string>

// The settings in force: the driver's parameters as stored, which the card
// takes at its start, read without asking the card.
struct SettingsInForce
{
    bool known = false; // the driver's parameters can be read (an adapter was found)
    ProfileSettings settings;
    // What of a profile counts: power saving on a PC Card, the data rate
    // where the parameters hold one.
    ProfileReach reach;
};
SettingsInForce ReadSettingsInForce(HWND owner);

// Keeps the settings in force as a new profile; false with the system's
// reason when the registry refused it.
bool SaveSettingsInForce(HWND owner, const CProfileStore& store, const std::string& name,
                         std::string& reason);

// Applies a stored profile as the Configuration page's OK writes a change:
// a damaged profile is refused whole; the settings in force are first kept
// as "Previous settings" (unless a profile of that name exists); then the
// settings writer stores what differs, tells what it could not and asks to
// restart where a setting needs it. The caller makes sure that no other
// writer is at work. True when every setting of the profile was saved.
bool ApplyProfile(HWND owner, const CProfileStore& store, const std::string& name);
