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

// Appends the file's text in pieces (see AppendDriverLog); returns the number
// of bytes read, 0 when the file is missing or empty.
size_t AppendDriverLogFile(std::string& report, const std::string& path);

// "<Windows directory>\NDISLOG.TXT".
std::string DriverLogPath();
