// AdapterDiscovery.h - finds the adapter through the registry that the
// operating system and the network driver keep, and opens the link to the
// firmware mailbox.
#pragma once

#include <windows.h>

#include "adapter/AdapterState.h"
#include "adapter/ResourceData.h"

#include <string>
#include <vector>

// Results of OpenAdapter / DiscoverAdapter.
enum : BYTE
{
    ADAPTER_OK = 0,
    ADAPTER_NOT_FOUND = 3,
    ADAPTER_BAD_INSTALL = 4,
    ADAPTER_NO_RESPONSE = 5,
    ADAPTER_NOT_WORKING = 6,
    ADAPTER_IDLE = 7,
};

// Mailbox link results.
const WORD STATUS_NOT_OPEN = 0x4100;
const WORD STATUS_BAD_MAILBOX = 0x4101;

// Registry search results.
enum : BYTE
{
    REG_FOUND = 1,
    REG_ERROR = 2,
    REG_NOT_FOUND = 3,
};

// What discovery finds and opens lives in GetAdapterLink() (adapter/AdapterState.h).

// What discovery looks for on Windows 95/98 (from the version record): the
// text tried first, then the list of hardware identifiers.
struct DeviceSearch
{
    std::string first;
    std::vector<std::string> list;
};
// The search, bounded as discovery takes it: at most 20 identifiers of at
// most 19 characters each.
DeviceSearch MakeDeviceSearch(const std::vector<std::string>& list, const std::string& first);

BYTE OpenAdapter(const DeviceSearch& search);
WORD OpenMailbox();
WORD CloseMailbox();
BYTE DiscoverAdapter(const DeviceSearch& search, HWND owner);

// Where a registry search found its value, and what the value holds.
struct FoundValue
{
    BYTE result = REG_NOT_FOUND; // REG_FOUND, REG_ERROR or REG_NOT_FOUND
    std::string keyPath;         // the key that holds the value
    std::string data;            // the value's data as text
};

// Searches key and, depth first, its subkeys for a value whose data contains
// text. On success the answer says where and what.
FoundValue FindValueContaining(HKEY root, const std::string& keyPath, const std::string& text,
                               HWND owner = nullptr);

// Reads a named value (name compared ignoring case) of root\keyPath[\subKey].
// A REG_DWORD comes back as "%d", other types as stored. Result in `data`,
// and the value's type in `type` when asked.
BYTE ReadNamedValue(HKEY root, const std::string& keyPath, const char* subKey,
                    const char* valueName, std::string& data, DWORD* type = nullptr);
// The raw bytes of a named value, for binary data.
BYTE ReadNamedValueRaw(HKEY root, const std::string& keyPath, const char* subKey,
                       const char* valueName, std::vector<BYTE>& data, DWORD* type = nullptr);

// A driver setting by value name from the driver key, falling back to the
// "default" of its description "<driver key>\ndi\params\<name>".
BYTE ReadDriverSetting(const char* valueName, std::string& data);

// Pure parsing of the two binary forms discovery reads: adapter/ResourceData.h.

// Shows the system's text for a registry error code ("Registry Error").
void ShowRegistryError(HWND owner, LONG code);
