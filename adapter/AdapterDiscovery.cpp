// AdapterDiscovery.cpp - the two discovery algorithms (Windows 95/98 and
// Windows NT), the registry search operations they use, and the mailbox link.
#include "adapter/AdapterDiscovery.h"

#include "adapter/AdapterReporter.h"
#include "adapter/MailboxBlock.h"
#include "adapter/PortAccess.h"
#include "adapter/RegKey.h"
#include "framework/IntegerText.h"
#include "framework/Os.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const size_t MAX_SEARCH_ENTRIES = 20;
const size_t MAX_SEARCH_ENTRY_LENGTH = 19;
const DWORD MAX_VALUE_SIZE = 64 * 1024;

bool Contains(const BYTE* data, size_t size, const std::string& text)
{
    if (text.empty() || text.size() > size)
        return false;
    for (size_t i = 0; i + text.size() <= size; ++i)
        if (memcmp(data + i, text.data(), text.size()) == 0)
            return true;
    return false;
}

std::string TextOf(const BYTE* data, size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), strnlen((const char*)data, size));
}

std::string JoinPath(const std::string& keyPath, const char* subKey)
{
    if (!subKey || !*subKey)
        return keyPath;
    return keyPath.empty() ? std::string(subKey) : keyPath + "\\" + subKey;
}

DWORD ReadLeDword(const BYTE* p)
{
    return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
}

// The card type: the number of the driver's CardType setting, 0 when it is
// missing or no card type number (1 to 255) at all; a number cut down to a
// byte would pass off a guess for what the driver says.
BYTE ReadCardType()
{
    std::string text;
    if (ReadDriverSetting("CardType", text) != REG_FOUND)
        return 0;
    long number = 0;
    if (!ParseInteger(text.c_str(), number) || number < 1 || number > 255)
        return 0;
    return (BYTE)number;
}

BYTE DiscoverWin9x(const DeviceSearch& search, HWND owner)
{
    AdapterLink& link = GetAdapterLink();
    FoundValue found = FindValueContaining(HKEY_DYN_DATA, "config manager", search.first, owner);
    for (size_t i = 0; found.result != REG_FOUND && i < search.list.size(); ++i)
        found = FindValueContaining(HKEY_DYN_DATA, "config manager", search.list[i], owner);
    if (found.result != REG_FOUND)
        return ADAPTER_NOT_FOUND;
    const std::string& hardwareKey = found.data;
    const std::string& configKey = found.keyPath;

    std::vector<BYTE> problem;
    if (ReadNamedValueRaw(HKEY_DYN_DATA, configKey, nullptr, "problem", problem) != REG_FOUND)
        return ADAPTER_BAD_INSTALL;
    bool unwell = false;
    for (BYTE b : problem)
        unwell = unwell || b != 0;

    std::vector<BYTE> allocation;
    if (ReadNamedValueRaw(HKEY_DYN_DATA, configKey, nullptr, "allocation", allocation) !=
            REG_FOUND ||
        !ParseAllocation(allocation.data(), allocation.size(), &link.AdapterIoBase,
                         &link.AdapterIrq))
        return ADAPTER_BAD_INSTALL;

    std::string driver;
    if (ReadNamedValue(HKEY_LOCAL_MACHINE, "enum\\" + hardwareKey, nullptr, "driver", driver) !=
        REG_FOUND)
        return ADAPTER_BAD_INSTALL;
    link.DriverKeyPath = "system\\currentcontrolset\\services\\class\\" + driver;
    link.DriverKeyValid = true;
    link.AdapterCardType = ReadCardType();
    return unwell ? ADAPTER_NOT_WORKING : ADAPTER_OK;
}

// Finds the adapter's entry in the NT network card list: its product and
// service names. Returns 0 when found, else the status to end with.
BYTE FindNetworkCard(HWND owner, std::string& product, std::string& service)
{
    const char kCards[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
    RegKey cards;
    LONG rc = cards.Open(HKEY_LOCAL_MACHINE, kCards, KEY_READ);
    if (rc != ERROR_SUCCESS) {
        ShowRegistryError(owner, rc);
        return ADAPTER_BAD_INSTALL;
    }
    DWORD subKeys = 0;
    if (::RegQueryInfoKeyA(cards, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
        subKeys == 0)
        return ADAPTER_BAD_INSTALL;

    for (DWORD i = 0;; ++i) {
        char name[51];
        rc = ::RegEnumKeyA(cards, i, name, sizeof(name));
        if (rc == ERROR_NO_MORE_ITEMS)
            return ADAPTER_BAD_INSTALL;
        if (rc != ERROR_SUCCESS) {
            ShowRegistryError(owner, rc);
            return ADAPTER_BAD_INSTALL;
        }
        RegKey card;
        rc = card.Open(cards, name, KEY_QUERY_VALUE);
        if (rc != ERROR_SUCCESS) {
            ShowRegistryError(owner, rc);
            return ADAPTER_BAD_INSTALL;
        }
        product.clear();
        service.clear();
        for (DWORD v = 0;; ++v) {
            char valueName[256];
            BYTE data[256];
            DWORD nameLen = sizeof(valueName), dataLen = sizeof(data), type = 0;
            rc = ::RegEnumValueA(card, v, valueName, &nameLen, nullptr, &type, data, &dataLen);
            if (rc == ERROR_NO_MORE_ITEMS)
                break;
            if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
                continue;
            if (strcmp(valueName, "ProductName") == 0)
                product = TextOf(data, dataLen);
            else if (strcmp(valueName, "ServiceName") == 0)
                service = TextOf(data, dataLen);
        }
        if (lstrcmpiA(product.c_str(), "zorbNT") == 0 || lstrcmpiA(product.c_str(), "ZORB3") == 0)
            return ADAPTER_OK;
    }
}

BYTE DiscoverNt(HWND owner)
{
    AdapterLink& link = GetAdapterLink();
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!g_os.GetVersionExA(&version)) {
        TellUser(AdapterNotice::NoVersionInfo, owner);
    } else if (version.dwMajorVersion == 5 && version.dwMinorVersion == 0) {
        link.PlatformKind = PLATFORM_NT5;
        TellUser(AdapterNotice::Nt5Refused, owner);
        return ADAPTER_BAD_INSTALL;
    }

    std::string product, service;
    BYTE status = FindNetworkCard(owner, product, service);
    if (status != ADAPTER_OK)
        return status;
    std::string driverKey = "system\\currentcontrolset\\services\\" + service + "\\parameters";

    std::string bind;
    if (ReadNamedValue(HKEY_LOCAL_MACHINE,
                       "SYSTEM\\CurrentControlSet\\Services\\" + product + "\\LinkAge", nullptr,
                       "Bind", bind) != REG_FOUND)
        return ADAPTER_NOT_FOUND;
    std::vector<BYTE> resources;
    std::string rawName = bind + ".Raw";
    if (ReadNamedValueRaw(HKEY_LOCAL_MACHINE, "HARDWARE\\RESOURCEMAP\\OtherDrivers\\" + product,
                          nullptr, rawName.c_str(), resources) != REG_FOUND)
        return ADAPTER_NOT_FOUND;
    if (!ParseResourceList(resources.data(), resources.size(), &link.AdapterIoBase,
                           &link.AdapterIrq))
        return ADAPTER_NOT_FOUND;
    if (DriverSetBase(link.AdapterIoBase) == -1)
        return ADAPTER_NOT_FOUND;

    link.DriverKeyPath = driverKey;
    link.AdapterCardType = ReadCardType();
    link.DriverKeyValid = true;
    return ADAPTER_OK;
}

} // namespace

void ShowRegistryError(HWND owner, LONG code)
{
    TellUser(AdapterNotice::RegistryError, owner, code);
}

DeviceSearch MakeDeviceSearch(const std::vector<std::string>& list, const std::string& first)
{
    DeviceSearch search;
    for (const std::string& entry : list) {
        if (search.list.size() == MAX_SEARCH_ENTRIES)
            break;
        search.list.push_back(entry.substr(0, MAX_SEARCH_ENTRY_LENGTH));
    }
    search.first = first;
    return search;
}

FoundValue FindValueContaining(HKEY root, const std::string& keyPath, const std::string& text,
                               HWND owner)
{
    FoundValue found;
    RegKey key;
    if (key.Open(root, keyPath, KEY_READ) != ERROR_SUCCESS) {
        TellUser(AdapterNotice::RegOpenFailed, owner);
        found.result = REG_ERROR;
        return found;
    }
    DWORD subKeys = 0, values = 0;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr);
    for (DWORD i = 0; i < values; ++i) {
        if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            TellUser(AdapterNotice::RegQueryFailed, owner);
            found.result = REG_ERROR;
            return found;
        }
        char name[256];
        BYTE data[256];
        DWORD nameLen = sizeof(name), dataLen = sizeof(data), type = 0;
        LONG rc = ::RegEnumValueA(key, i, name, &nameLen, nullptr, &type, data, &dataLen);
        if (rc == ERROR_MORE_DATA)
            continue; // longer than we look at: its data is not ours to read
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc != ERROR_SUCCESS) {
            TellUser(AdapterNotice::RegEnumValueFailed, owner);
            found.result = REG_ERROR;
            return found;
        }
        if (Contains(data, dataLen, text)) {
            found.result = REG_FOUND;
            found.keyPath = keyPath;
            found.data = TextOf(data, dataLen);
            return found;
        }
    }
    for (DWORD i = 0; i < subKeys; ++i) {
        char name[256];
        LONG rc = ::RegEnumKeyA(key, i, name, sizeof(name));
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc != ERROR_SUCCESS) {
            TellUser(AdapterNotice::RegEnumKeyFailed, owner);
            found.result = REG_ERROR;
            return found;
        }
        found = FindValueContaining(root, JoinPath(keyPath, name), text, owner);
        if (found.result != REG_NOT_FOUND)
            return found;
    }
    return found;
}

BYTE ReadNamedValueRaw(HKEY root, const std::string& keyPath, const char* subKey,
                       const char* valueName, std::vector<BYTE>& data, DWORD* typeOut)
{
    data.clear();
    RegKey key;
    LONG rc = key.Open(root, JoinPath(keyPath, subKey), KEY_QUERY_VALUE);
    if (rc != ERROR_SUCCESS)
        return rc == ERROR_FILE_NOT_FOUND ? REG_NOT_FOUND : REG_ERROR;
    size_t wanted = strlen(valueName);
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLen = sizeof(name), type = 0, size = 0;
        rc = ::RegEnumValueA(key, i, name, &nameLen, nullptr, &type, nullptr, &size);
        if (rc == ERROR_NO_MORE_ITEMS)
            return REG_NOT_FOUND;
        if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA)
            continue; // a name longer than any we look for
        if (nameLen != wanted || lstrcmpiA(name, valueName) != 0)
            continue;
        if (size > MAX_VALUE_SIZE)
            return REG_ERROR;
        data.resize(size);
        rc = ::RegQueryValueExA(key, name, nullptr, &type, size ? data.data() : nullptr, &size);
        if (rc != ERROR_SUCCESS) {
            data.clear();
            return REG_ERROR;
        }
        data.resize(size);
        if (typeOut)
            *typeOut = type;
        return REG_FOUND;
    }
}

BYTE ReadNamedValue(HKEY root, const std::string& keyPath, const char* subKey,
                    const char* valueName, std::string& text, DWORD* typeOut)
{
    text.clear();
    std::vector<BYTE> data;
    DWORD type = 0;
    BYTE result = ReadNamedValueRaw(root, keyPath, subKey, valueName, data, &type);
    if (result != REG_FOUND)
        return result;
    if (typeOut)
        *typeOut = type;
    if (type == REG_DWORD) {
        if (data.size() != sizeof(DWORD))
            return REG_ERROR;
        char number[16];
        snprintf(number, sizeof(number), "%d", (int)ReadLeDword(data.data()));
        text = number;
    } else {
        text = TextOf(data.data(), data.size());
    }
    return REG_FOUND;
}

BYTE ReadDriverSetting(const char* valueName, std::string& data)
{
    data.clear();
    const AdapterLink& link = GetAdapterLink();
    if (!link.DriverKeyValid && link.DriverKeyPath.empty())
        return REG_ERROR;
    BYTE result = ReadNamedValue(HKEY_LOCAL_MACHINE, link.DriverKeyPath, nullptr, valueName, data);
    if (result == REG_FOUND)
        return result;
    std::string description = std::string("ndi\\params\\") + valueName;
    return ReadNamedValue(HKEY_LOCAL_MACHINE, link.DriverKeyPath, description.c_str(), "default",
                          data);
}

WORD OpenMailbox()
{
    AdapterLink& link = GetAdapterLink();
    link.MailboxState = 1;
    WORD pointer = 0;
    ReadCardMemory(MAILBOX_POINTER_ADDRESS, &pointer, sizeof(pointer));
    link.MailboxPointer = pointer;
    if (pointer < MAILBOX_LOWEST || pointer > MAILBOX_HIGHEST)
        return STATUS_BAD_MAILBOX;
    link.MailboxState = 2;
    return 0;
}

WORD CloseMailbox()
{
    AdapterLink& link = GetAdapterLink();
    if (link.MailboxState == 0)
        return STATUS_NOT_OPEN;
    link.MailboxState = 0;
    return 0;
}

BYTE DiscoverAdapter(const DeviceSearch& search, HWND owner)
{
    if (GetAdapterLink().PlatformKind == PLATFORM_WIN9X)
        return DiscoverWin9x(search, owner);
    return DiscoverNt(owner);
}

BYTE OpenAdapter(const DeviceSearch& search)
{
    AdapterLink& link = GetAdapterLink();
    BYTE status = DiscoverAdapter(search, nullptr);
    if (status == ADAPTER_OK) {
        link.IoBase = link.AdapterIoBase;
        if (OpenMailbox() == STATUS_BAD_MAILBOX)
            return ADAPTER_NOT_WORKING;
        link.AdapterBusy = false;
        link.AdapterReady = true;
        return ADAPTER_OK;
    }
    if (status == ADAPTER_NOT_WORKING) {
        link.AdapterBusy = false;
        link.AdapterReady = true;
        return ADAPTER_NOT_WORKING;
    }
    return status;
}
