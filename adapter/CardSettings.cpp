// CardSettings.cpp - the card's settings in the driver's registry
// parameters and in the running firmware.
#include "adapter/CardSettings.h"

#include "adapter/RegKey.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterReporter.h"
#include "adapter/CardItems.h"
#include "adapter/CardText.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "framework/Os.h"

namespace {

struct Setting
{
    int item;
    const char* valueName;
    bool textOnNt4; // stored as REG_SZ on Windows NT 4.0 too
};

const Setting kSettings[] = {
    {CI_NETWORK_TYPE, "NetworkType", false},
    {CI_CARRIER_SET, "CarrierSet", false},
    {CI_PS_MODE, "PSmode", false},
    {CI_ROAMING, "Roaming", false},
    {CI_ESSID, "ESSID", true},
    {CI_SENSITIVITY, "sensitivity", false},
    {CI_ROAMING_THRESHOLD, "RoamingThreshold", false},
    {CI_DATA_RATE, "DataRate", false},
    {CI_TX_RETRY, "TxRetry", false},
    {CI_PREFER_BSSID, "PreferBSSID", true},
    {CI_STATION_NAME, "StationName", true},
    {CI_SECURITY, "Security", false},
    {CI_SECURITY_ID, "SecurityID", true},
};

const Setting* FindSetting(int item)
{
    for (const Setting& setting : kSettings)
        if (setting.item == item)
            return &setting;
    return nullptr;
}

const char* const NO_PREFERRED_BSSID = "000000000000";

std::string KeyPath(const std::string& keyPath, const char* subKey)
{
    if (!subKey || !*subKey)
        return keyPath;
    return keyPath + "\\" + subKey;
}

std::string DescriptionKey(const char* valueName)
{
    return std::string("ndi\\params\\") + valueName;
}

// The stored length counts the terminating zero, as RegSetValueEx requires
// of REG_SZ data: a reader may take the bytes as they are.
LONG SetText(HKEY key, const char* name, const char* text)
{
    return g_os.RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                               static_cast<DWORD>(strlen(text) + 1));
}

void PutText(char* text, size_t size, const std::string& value)
{
    if (size == 0)
        return;
    size_t length = value.size() < size - 1 ? value.size() : size - 1;
    memcpy(text, value.data(), length);
    text[length] = '\0';
}

long NumberOf(const char* text)
{
    long number = 0;
    sscanf(text, "%ld", &number);
    return number;
}

BYTE CardResult(WORD status)
{
    return status == STATUS_NO_RESPONSE || status == STATUS_NOT_OPEN || status == STATUS_BAD_MAILBOX
               ? ITEM_NO_RESPONSE
               : ITEM_OK;
}

} // namespace

const char* ConfigValueName(int item)
{
    const Setting* setting = FindSetting(item);
    return setting ? setting->valueName : nullptr;
}

DWORD ConfigValueType(int item, int platform)
{
    const Setting* setting = FindSetting(item);
    bool nt4 = platform != PLATFORM_WIN9X && platform != PLATFORM_NT5;
    return !setting || setting->textOnNt4 || !nt4 ? REG_SZ : REG_DWORD;
}

BYTE ReadConfigValue(HWND owner, int item, char* text, size_t textSize)
{
    if (!text)
        textSize = 0;
    const AdapterLink& link = GetAdapterLink();
    if (!link.AdapterReady) {
        PutText(text, textSize, "");
        return ITEM_NO_ADAPTER;
    }
    PutText(text, textSize, "");
    char formatted[32];
    switch (item) {
    // A card type that could not be read (0) names no bus and no range
    // width: both are not available rather than guessed.
    case CI_CARD_TYPE:
        PutText(text, textSize,
                AdapterTextOf(link.AdapterCardType == 0   ? AdapterText::NotAvailable
                              : link.AdapterCardType == 1 ? AdapterText::Pcmcia
                                                          : AdapterText::Isa));
        return ITEM_OK;
    case CI_IO_RANGE:
        if (link.AdapterCardType == 0) {
            PutText(text, textSize, AdapterTextOf(AdapterText::NotAvailable));
            return ITEM_OK;
        }
        snprintf(formatted, sizeof(formatted), "0%X - 0%X", link.AdapterIoBase,
                 link.AdapterIoBase + (link.AdapterCardType == 1 ? 7 : 15));
        PutText(text, textSize, formatted);
        return ITEM_OK;
    case CI_IRQ:
        if (link.AdapterIrq == 0xFFFF)
            PutText(text, textSize, AdapterTextOf(AdapterText::NotAvailable));
        else {
            snprintf(formatted, sizeof(formatted), "%d", link.AdapterIrq);
            PutText(text, textSize, formatted);
        }
        return ITEM_OK;
    }

    const char* name = ConfigValueName(item);
    if (!name)
        return ITEM_UNKNOWN;
    std::string value;
    if (ReadDriverSetting(name, value) != REG_FOUND)
        value = item == CI_DATA_RATE ? "0" : "";
    value.resize(strnlen(value.c_str(), value.size())); // stored with or without its zero
    if (item == CI_PREFER_BSSID) {
        for (char& c : value)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        if (value == NO_PREFERRED_BSSID)
            value.clear();
    }
    PutText(text, textSize, value);
    return ITEM_OK;
}

BYTE WriteNamedValue(HKEY root, const std::string& keyPath, const char* subKey,
                     const char* valueName, const char* text, DWORD number, DWORD type, HWND owner)
{
    RegKey key;
    LONG rc = ::RegOpenKeyExA(root, KeyPath(keyPath, subKey).c_str(), 0,
                              KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, key.Receive());
    if (rc != ERROR_SUCCESS) {
        if (GetAdapterLink().PlatformKind != PLATFORM_WIN9X)
            ShowRegistryError(owner, rc);
        return REG_ERROR;
    }
    if (type == REG_DWORD)
        rc = g_os.RegSetValueExA(key, valueName, 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&number), sizeof(number));
    else
        rc = SetText(key, valueName, text);
    if (rc != ERROR_SUCCESS) {
        ShowRegistryError(owner, rc);
        return REG_ERROR;
    }
    return REG_FOUND;
}

void EnsureDataRateDescription()
{
    const AdapterLink& link = GetAdapterLink();
    if (!link.DriverKeyValid)
        return;
    std::string path = KeyPath(link.DriverKeyPath, DescriptionKey("DataRate").c_str());
    {
        RegKey existing;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE,
                            existing.Receive()) == ERROR_SUCCESS)
            return;
    }
    RegKey key;
    char keyClass[] = "unknown";
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, key.Receive(), &disposition) != ERROR_SUCCESS)
        return;
    if (SetText(key, "default", "0") != ERROR_SUCCESS)
        return;
    const BYTE flag[4] = {0x20, 0, 0, 0};
    g_os.RegSetValueExA(key, "flag", 0, REG_BINARY, flag, sizeof(flag));
    SetText(key, "ParamDesc", "Datarate");
    SetText(key, "type", "enum");
    RegKey choices;
    if (::RegCreateKeyExA(key, "enum", 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, choices.Receive(), &disposition) != ERROR_SUCCESS)
        return;
    SetText(choices, "0", "1, 2 Mbit/s Auto");
    SetText(choices, "1", "1 Mbit/s");
}

BYTE WriteConfigValue(HWND owner, int item, const char* text)
{
    const AdapterLink& link = GetAdapterLink();
    if (!link.AdapterReady || !link.DriverKeyValid)
        return ITEM_NO_ADAPTER;
    if (!text)
        text = "";
    const char* name = ConfigValueName(item);
    if (!name)
        return ITEM_UNKNOWN;
    if (item == CI_DATA_RATE && link.PlatformKind == PLATFORM_WIN9X)
        EnsureDataRateDescription();

    if (ConfigValueType(item, link.PlatformKind) == REG_DWORD) {
        DWORD number = static_cast<DWORD>(NumberOf(text));
        return WriteNamedValue(HKEY_LOCAL_MACHINE, link.DriverKeyPath, nullptr, name, nullptr,
                               number, REG_DWORD, owner) == REG_FOUND
                   ? ITEM_OK
                   : ITEM_NO_ADAPTER;
    }
    if (WriteNamedValue(HKEY_LOCAL_MACHINE, link.DriverKeyPath, nullptr, name, text, 0, REG_SZ,
                        owner) != REG_FOUND)
        return ITEM_NO_ADAPTER;
    // The value's own write decides; its description is kept in step where
    // the driver has one (the key is opened, never created, and on Windows
    // 95/98 a missing one is silent).
    if (link.PlatformKind == PLATFORM_WIN9X)
        WriteNamedValue(HKEY_LOCAL_MACHINE, link.DriverKeyPath, DescriptionKey(name).c_str(), "",
                        text, 0, REG_SZ, owner);
    return ITEM_OK;
}

BYTE SetCardItem(HWND owner, int item, const char* text)
{
    if (!GetAdapterLink().AdapterReady)
        return ITEM_NO_ADAPTER;
    if (!text)
        text = "";
    MailboxData data;
    memset(&data, 0, sizeof(data));
    switch (item) {
    case CI_PS_MODE:
        data.code = PARAM_PS_MODE;
        PutLeWord(data.value, text[0] == '0' ? 0 : 1);
        return CardResult(SetParam(data));
    case CI_ROAMING:
        data.code = PARAM_ROAMING;
        data.value[0] = text[0] == '0' ? 0 : 1;
        return CardResult(SetParam(data));
    case CI_ROAMING_THRESHOLD:
        data.code = PARAM_ROAMING_THRESHOLD;
        PutLeDword(data.value, static_cast<DWORD>(NumberOf(text)));
        return CardResult(SetParam(data));
    case CI_PREFER_BSSID:
        // An empty text means no preferred BSSID, as the reading side shows
        // "000000000000"; anything but twelve hexadecimal digits is refused.
        data.code = PARAM_PREFER_BSSID;
        if (text[0] != '\0' && !ParseHexBssid(text, data.value))
            return ITEM_UNKNOWN;
        return CardResult(SetParam(data));
    case CI_TX_RETRY: {
        data.code = PARAM_TX_RETRY;
        PutLeDword(data.value, static_cast<DWORD>(NumberOf(text)));
        BYTE result = CardResult(SetParam(data));
        if (result != ITEM_OK)
            return result;
        data.code = PARAM_TX_RETRY_COPY;
        return CardResult(SetParam(data));
    }
    case CI_STATISTICS:
        return CardResult(ResetStatistics());
    case CI_START_BSS_SCAN:
        return StartBssScan(); // ITEM_OK, ITEM_SCAN_REFUSED or ITEM_NO_RESPONSE
    case CI_START_STATION_SCAN:
        return StartStationScan() == ITEM_NO_RESPONSE ? ITEM_NO_RESPONSE : ITEM_OK;
    default:
        return ITEM_UNKNOWN;
    }
}
