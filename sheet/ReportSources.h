// ReportSources.h - what the troubleshooting report reads from the system:
// the values of a registry key and the network drivers' log file.
#pragma once

#include <windows.h>

#include <string>

// The values of root\keyPath, one line each (see RegistryValueLine), or the
// "Query key: ... failed" line when the key cannot be opened for querying.
// The listing ends at the end of the values or at the first value whose name
// or data do not fit the report's room for them.
std::string ListRegistryValues(HKEY root, const std::string& keyPath);

// What reading the driver's log gave.
enum DriverLogResult
{
    DRIVER_LOG_NONE,       // no file, or an empty one
    DRIVER_LOG_READ,       // appended whole
    DRIVER_LOG_CUT,        // longer than the room: its last part appended
    DRIVER_LOG_UNREADABLE, // there, but it could not be opened or read
};

// Appends the file's text in pieces (see AppendDriverLog), at most `room`
// bytes of it: of a longer file its last part, from its first line break on.
// The file is opened as a reader that lets the driver go on writing.
DriverLogResult AppendDriverLogFile(std::string& report, const std::string& path, size_t room);

// "<Windows directory>\NDISLOG.TXT".
std::string DriverLogPath();
