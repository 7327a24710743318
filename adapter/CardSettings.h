// CardSettings.h - the card's settings: read and written as text in the
// network driver's registry parameters (with the types each platform uses),
// and sent to the running firmware for the settings it takes at once.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "adapter/CardItem.h"

// Every setting travels as text; buffers of this size hold any of them.
const size_t CONFIG_TEXT_SIZE = 256;

// Reads a setting (or one of the discovery results, items 1 to 3) as text
// into `text` (at most textSize bytes, always terminated). Item result; on a
// non-zero result the text is empty.
BYTE ReadConfigValue(HWND owner, int item, char* text, size_t textSize);
template <size_t N> inline BYTE ReadConfigValue(HWND owner, int item, char (&text)[N])
{
    return ReadConfigValue(owner, item, text, N);
}

// Writes a setting to the driver's registry parameters. 0 written, 1 not a
// setting, 2 adapter not ready, key path not valid or the registry refused.
BYTE WriteConfigValue(HWND owner, int item, const char* text);

// Sends a setting to the running card, or runs one of the actions 20 (clear
// the statistics), 33 (start a BSS scan) and 36 (start a station scan).
// 0 done, 1 not something the card takes (for item 33: ITEM_SCAN_REFUSED,
// the firmware refused to start the scan), 2 adapter not ready, 255 no answer.
BYTE SetCardItem(HWND owner, int item, const char* text);

// A driver parameter by value name (with its fallback to the parameter
// description) is read with ReadDriverSetting of adapter/AdapterDiscovery.h.

// Writes one value of root\keyPath[\subKey] (the key is opened, not
// created): REG_SZ from `text` (stored length without the terminating zero)
// or REG_DWORD from `number`. A key that cannot be opened shows the registry
// error message except on Windows 95/98, where it fails silently. REG_FOUND
// (1) written, REG_ERROR (2) not.
BYTE WriteNamedValue(HKEY root, const std::string& keyPath, const char* subKey,
                     const char* valueName, const char* text, DWORD number, DWORD type,
                     HWND owner = nullptr);

// The registry value name of a setting item, or nullptr.
const char* ConfigValueName(int item);
// REG_SZ or REG_DWORD: how a setting is stored on a platform (PlatformKind).
DWORD ConfigValueType(int item, int platform);

// Windows 95/98: makes sure "ndi\params\DataRate" describes the data rate
// setting, creating it with its values when it is missing.
void EnsureDataRateDescription();
