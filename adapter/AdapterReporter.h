// AdapterReporter.h - what the adapter layer has to tell the user, and the
// texts it gives as card values. The layer shows no window and knows no
// string table: the application installs one reporter at start that words
// each notice, shows it and gives the texts. Without one nothing is shown
// and every text is empty.
#pragma once

#include <windows.h>

#include <string>

#include "adapter/AdapterText.h"

enum class AdapterNotice
{
    PortNoDevice,    // the port driver could not be opened
    PortCloseFailed, // its handle could not be closed
    PortReadFailed,  // a register read failed (number: the port)
    PortWriteFailed, // a register write failed (number: the port)
    PortIoctlFailed, // a block request failed
    NoVersionInfo,   // the system would not say its version
    Nt5Refused,      // Windows NT 5.0
    RegistryError,   // the registry refused (number: its error code)
    RegOpenFailed,   // the discovery's registry search could not go on
    RegQueryFailed,
    RegEnumValueFailed,
    RegEnumKeyFailed,
    NoResponse, // the card fell silent (its first report)
};

class AdapterReporter
{
public:
    virtual ~AdapterReporter() = default;
    // Tells the user, in a box owned by owner (nullptr: none); `number` is
    // the notice's port or error code.
    virtual void Tell(AdapterNotice notice, HWND owner, long number) = 0;
    virtual std::string Text(AdapterText text) = 0;
};

// The reporter in force (nullptr: none). Returns the one it replaces.
AdapterReporter* SetAdapterReporter(AdapterReporter* reporter);

void TellUser(AdapterNotice notice, HWND owner = nullptr, long number = 0);
std::string AdapterTextOf(AdapterText text);
