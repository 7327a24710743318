// ProfileApply.cpp - the settings in force, and applying a profile.
#include "app/ProfileApply.h"

#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "sheet/CConfigWriter.h"
#include "sheet/CardConfig.h"

namespace {

ProfileSettings ProfileOf(const CardConfig& c)
{
    ProfileSettings s;
    s.networkType = c.networkType;
    s.essid = c.essid;
    s.carrierSet = c.carrierSet;
    s.roaming = c.roaming;
    s.security = c.security;
    s.securityId = c.securityId;
    s.dataRate = c.advanced.dataRate;
    s.powerSaving = c.advanced.powerSaving;
    s.bssid = c.advanced.bssid;
    s.retryLimit = c.advanced.retryLimit;
    s.roamingThreshold = c.advanced.roamingThreshold;
    return s;
}

// The card's settings `base` with a profile's settings put in (the computer
// name is the machine's and stays).
CardConfig ConfigOf(CardConfig base, const ProfileSettings& s)
{
    base.networkType = s.networkType;
    base.essid = s.essid;
    base.carrierSet = s.carrierSet;
    base.roaming = s.roaming;
    base.security = s.security;
    base.securityId = s.securityId;
    base.advanced.dataRate = s.dataRate;
    base.advanced.powerSaving = s.powerSaving;
    base.advanced.bssid = s.bssid;
    base.advanced.retryLimit = s.retryLimit;
    base.advanced.roamingThreshold = s.roamingThreshold;
    return base;
}

bool ParametersReadable()
{
    const AdapterLink& link = GetAdapterLink();
    return link.AdapterReady && link.DriverKeyValid;
}

// Whether the card offers a choice of data rate, asked as the Configuration
// page asks it: not of a failed adapter, nor beside another poll.
bool CardOffersRateChoice()
{
    if (GetAdapterState().m_bAdapterFailed)
        return false;
    AdapterLock lock;
    return lock.IsHeld() && CardHasHighRate() == 1;
}

void Tell(HWND owner, const std::string& text, UINT icon)
{
    g_os.MessageBoxA(owner, text.c_str(), LoadStr(IDS_PROFILES_CAPTION).c_str(), MB_OK | icon);
}

} // namespace

SettingsInForce ReadSettingsInForce(HWND owner)
{
    SettingsInForce inForce;
    inForce.known = ParametersReadable();
    if (!inForce.known)
        return inForce;
    CardTraits traits;
    bool rateStored = false;
    inForce.settings = ProfileOf(ReadStoredCardConfig(owner, traits, &rateStored));
    inForce.reach.powerSaving = traits.pcmcia;
    inForce.reach.dataRate = rateStored;
    return inForce;
}

bool SaveSettingsInForce(HWND owner, const CProfileStore& store, const std::string& name,
                         std::string& reason)
{
    CardTraits traits;
    return store.Save(name, ProfileOf(ReadStoredCardConfig(owner, traits)), reason);
}

bool ApplyProfile(HWND owner, const CProfileStore& store, const std::string& name)
{
    StoredProfile profile = store.Load(name);
    if (profile.damaged) {
        Tell(owner, LoadStr(IDS_PROFILE_DAMAGED_REFUSED, name, profile.reason), MB_ICONSTOP);
        return false;
    }

    CardTraits traits;
    CardConfig was = ReadStoredCardConfig(owner, traits);
    // The way back, kept before the first Apply. Without the driver's
    // parameters there is nothing to keep (and the writer says why nothing
    // is written). One kept that no longer reads back whole is no way back:
    // it gives its place to the settings in force, where the registry lets
    // it go (one it holds on to stays, shown damaged, and stops no Apply).
    const std::string previous = LoadStr(IDS_PROFILE_PREVIOUS);
    std::string reason;
    bool keep = false;
    if (ParametersReadable()) {
        keep = !store.Exists(previous);
        if (!keep && store.Load(previous).damaged)
            keep = store.Delete(previous, reason);
    }
    if (keep) {
        if (store.List().size() >= MAX_PROFILES) {
            Tell(owner, LoadStr(IDS_PROFILES_FULL_PREVIOUS), MB_ICONEXCLAMATION);
            return false;
        }
        if (!store.Save(previous, ProfileOf(was), reason)) {
            Tell(owner, LoadStr(IDS_PROFILE_NOT_STORED, reason), MB_ICONSTOP);
            return false;
        }
    }

    ProfileReach reach;
    reach.powerSaving = traits.pcmcia;
    reach.dataRate = CardOffersRateChoice();
    const CardConfig now =
        ConfigOf(was, ApplyProfileSettings(ProfileOf(was), profile.settings, reach));
    CConfigWriter writer(owner);
    ConfigWriteResult result = writer.Write(was, now, true);
    writer.Conclude(result);
    return result.AllSaved();
}
