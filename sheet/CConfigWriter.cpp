// CConfigWriter.cpp - writing the card's settings, telling what was not
// saved, and the restart.
#include "sheet/CConfigWriter.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/CardSettings.h"
#include "adapter/HistoryEvents.h"
#include "adapter/RegKey.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"

#include <stdio.h>
#include <string.h>

namespace {

// Where Windows 95/98 keep the computer's name.
const char* const COMPUTER_NAME_KEY =
    "System\\CurrentControlSet\\control\\ComputerName\\ComputerName";
const char* const VNETSUP_KEY = "System\\CurrentControlSet\\Services\\VxD\\VNETSUP";
const char* const COMPUTER_NAME_VALUE = "ComputerName";

std::string Number(int value)
{
    char text[16];
    snprintf(text, sizeof(text), "%d", value);
    return text;
}

const char* Flag(bool on)
{
    return on ? "1" : "0";
}

bool OnWin9x()
{
    return GetAdapterLink().PlatformKind == PLATFORM_WIN9X;
}

// The link history names the saved settings, never their values: one bit a
// setting, its string's distance from the first.
static_assert(IDS_SETTING_PREFERRED_AP - IDS_SETTING_NETWORK_TYPE < 32, "a bit each");
void RecordSaved(const std::vector<UINT>& saved)
{
    if (saved.empty())
        return;
    int settings = 0;
    for (UINT id : saved)
        settings |= 1 << (id - IDS_SETTING_NETWORK_TYPE);
    RecordHistoryEvent(HISTORY_SETTINGS, "", "", settings);
}

} // namespace

std::string CConfigWriter::Names(const std::vector<UINT>& names)
{
    std::string text;
    for (UINT id : names) {
        if (!text.empty())
            text += ", ";
        text += LoadStr(id);
    }
    return text;
}

bool CConfigWriter::Store(UINT name, int item, const std::string& text)
{
    if (WriteConfigValue(m_hOwner, item, text.c_str()) == ITEM_OK) {
        m_result.saved.push_back(name);
        return true;
    }
    m_result.unsaved.push_back(name);
    return false;
}

void CConfigWriter::GiveCard(UINT name, int item, const std::string& text)
{
    if (GetAdapterState().m_bAdapterFailed)
        return;
    // Held for this one command only: no box of ours comes while it is held.
    AdapterLock lock;
    if (lock.IsHeld()) {
        SetCardItem(m_hOwner, item, text.c_str());
        return;
    }
    m_result.cardMissed.push_back(name);
}

bool CConfigWriter::WriteComputerNameKeys(const std::string& name)
{
    // Through the writer of the driver settings, and only while it may write.
    if (!GetAdapterLink().DriverKeyValid)
        return false;
    // A machine without the first key (Windows 95/98 without networking)
    // has no name of its own to change: nothing is written, nothing failed.
    if (RegKey().Open(HKEY_LOCAL_MACHINE, COMPUTER_NAME_KEY, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return true;
    if (WriteNamedValue(HKEY_LOCAL_MACHINE, COMPUTER_NAME_KEY, nullptr, COMPUTER_NAME_VALUE,
                        name.c_str(), 0, REG_SZ, m_hOwner) != REG_FOUND)
        return false;
    return WriteNamedValue(HKEY_LOCAL_MACHINE, VNETSUP_KEY, nullptr, COMPUTER_NAME_VALUE,
                           name.c_str(), 0, REG_SZ, m_hOwner) == REG_FOUND;
}

ConfigWriteResult CConfigWriter::Write(CardConfig& was, const CardConfig& now, bool withAdvanced)
{
    m_result = ConfigWriteResult();
    bool& restart = m_result.restartNeeded;

    if (now.essid != was.essid && Store(IDS_SETTING_ESSID, CI_ESSID, now.essid)) {
        was.essid = now.essid;
        restart = true;
    }
    if (now.roaming != was.roaming) {
        if (Store(IDS_SETTING_ROAMING, CI_ROAMING, Flag(now.roaming)))
            was.roaming = now.roaming;
        GiveCard(IDS_SETTING_ROAMING, CI_ROAMING, Flag(now.roaming));
    }
    // A stored value that the list does not offer leaves it without a
    // selection (-1); nothing is written for it unless the user picks one.
    if (now.networkType >= 0 && now.networkType != was.networkType &&
        Store(IDS_SETTING_NETWORK_TYPE, CI_NETWORK_TYPE, Number(now.networkType))) {
        was.networkType = now.networkType;
        restart = true;
    }
    if (now.security != was.security &&
        Store(IDS_SETTING_SECURITY, CI_SECURITY, Flag(now.security))) {
        was.security = now.security;
        restart = true;
    }
    if (now.securityId != was.securityId &&
        Store(IDS_SETTING_SECURITY_ID, CI_SECURITY_ID, now.securityId)) {
        was.securityId = now.securityId;
        restart = true;
    }
    if (OnWin9x() && now.stationName != was.stationName) {
        // Windows' own name follows only a name the driver took; when it
        // cannot, the setting is not saved (the next OK writes it again),
        // though the driver's value asks for the restart.
        if (Store(IDS_SETTING_COMPUTER_NAME, CI_STATION_NAME, now.stationName)) {
            restart = true;
            if (WriteComputerNameKeys(now.stationName)) {
                was.stationName = now.stationName;
            } else {
                m_result.saved.pop_back();
                m_result.unsaved.push_back(IDS_SETTING_COMPUTER_NAME);
            }
        }
    }
    if (now.carrierSet >= 0 && now.carrierSet != was.carrierSet &&
        Store(IDS_SETTING_CARRIER_SET, CI_CARRIER_SET, Number(now.carrierSet))) {
        was.carrierSet = now.carrierSet;
        restart = true;
    }

    if (withAdvanced) {
        const AdvancedSettings& a = now.advanced;
        AdvancedSettings& w = was.advanced;
        if (a.retryLimit != w.retryLimit) {
            GiveCard(IDS_SETTING_RETRY_LIMIT, CI_TX_RETRY, Number(a.retryLimit));
            if (Store(IDS_SETTING_RETRY_LIMIT, CI_TX_RETRY, Number(a.retryLimit)))
                w.retryLimit = a.retryLimit;
        }
        if (a.roamingThreshold != w.roamingThreshold) {
            GiveCard(IDS_SETTING_SENSITIVITY, CI_ROAMING_THRESHOLD, Number(a.roamingThreshold));
            if (Store(IDS_SETTING_SENSITIVITY, CI_ROAMING_THRESHOLD, Number(a.roamingThreshold)))
                w.roamingThreshold = a.roamingThreshold;
        }
        if (a.dataRate != w.dataRate &&
            Store(IDS_SETTING_DATA_RATE, CI_DATA_RATE, Number(a.dataRate))) {
            w.dataRate = a.dataRate;
            restart = true;
        }
        if (a.powerSaving != w.powerSaving) {
            if (Store(IDS_SETTING_POWER_SAVING, CI_PS_MODE, Number(a.powerSaving)))
                w.powerSaving = a.powerSaving;
            GiveCard(IDS_SETTING_POWER_SAVING, CI_PS_MODE, Number(a.powerSaving));
        }
        if (a.bssid.compare(0, 12, w.bssid, 0, 12) != 0) {
            std::string text = a.bssid.substr(0, 12);
            GiveCard(IDS_SETTING_PREFERRED_AP, CI_PREFER_BSSID, text);
            if (Store(IDS_SETTING_PREFERRED_AP, CI_PREFER_BSSID, text)) {
                w.bssid = text;
                restart = true;
            }
        }
    }

    // A setting the card could not be given now reaches it when it starts
    // again, as the others do: the restart road, when the registry took it.
    std::vector<UINT> missed;
    for (UINT name : m_result.cardMissed)
        for (UINT saved : m_result.saved)
            if (saved == name) {
                missed.push_back(name);
                restart = true;
            }
    m_result.cardMissed = missed;
    RecordSaved(m_result.saved);
    return m_result;
}

void CConfigWriter::Conclude(const ConfigWriteResult& result)
{
    // What could not be written is never passed off as saved.
    if (!result.unsaved.empty()) {
        std::string text =
            result.saved.empty()
                ? LoadStr(IDS_CONF_NOT_SAVED)
                : LoadStr(IDS_CONF_PART_SAVED, Names(result.unsaved), Names(result.saved));
        g_os.MessageBoxA(m_hOwner, text.c_str(), LoadStr(IDS_ERROR).c_str(), MB_OK | MB_ICONSTOP);
    }
    if (result.restartNeeded &&
        g_os.MessageBoxA(m_hOwner, LoadStr(IDS_CONF_RESTART).c_str(), LoadStr(IDS_PRODUCT).c_str(),
                         MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
        Restart();
}

void CConfigWriter::Restart()
{
    if (!OnWin9x()) {
        const std::string title = LoadStr(IDS_PRODUCT);
        HANDLE token = nullptr;
        if (!g_os.OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                                   &token)) {
            g_os.MessageBoxA(m_hOwner, LoadStr(IDS_CONF_ERR_TOKEN).c_str(), title.c_str(), MB_OK);
        } else {
            TOKEN_PRIVILEGES privileges;
            memset(&privileges, 0, sizeof(privileges));
            g_os.LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            ::SetLastError(ERROR_SUCCESS);
            g_os.AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
            if (::GetLastError() != ERROR_SUCCESS)
                g_os.MessageBoxA(m_hOwner, LoadStr(IDS_CONF_ERR_PRIVILEGE).c_str(), title.c_str(),
                                 MB_OK);
            g_os.CloseHandle(token);
        }
    }
    g_os.ExitWindowsEx(EWX_REBOOT, 0);
}
