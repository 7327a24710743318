// ReportText.h - the pieces of the troubleshooting report as plain text:
// the registry value lines, the fixed section heads and the driver log read
// in pieces. No Windows header, so it builds natively for the sanitizers;
// every reader takes the number of bytes it was really given and never
// looks past it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <functional>
#include <string>

// Registry value types as the registry numbers them.
const uint32_t REPORT_REG_SZ = 1;
const uint32_t REPORT_REG_DWORD = 4;

// Room the listing gives each value: 256 characters of name, 256 bytes of data.
const size_t REPORT_VALUE_NAME_SIZE = 256;
const size_t REPORT_VALUE_DATA_SIZE = 256;

// The driver log is read in pieces of this many bytes.
const size_t DRIVER_LOG_PIECE = 1023;

// One line of a key's value listing, from the `size` bytes the registry
// returned: text "name: text", a 32-bit number as its four bytes in stored
// order "name: 01000000", anything else "name: " and "%02x " per byte. A
// text without a terminating zero ends with its last byte; a number value
// shorter than four bytes is listed byte by byte like other data.
std::string RegistryValueLine(const std::string& name, uint32_t type, const uint8_t* data,
                              size_t size);

// "Query key: <path> failed".
std::string QueryKeyFailedLine(const std::string& keyPath);

// "[Diagnostic message]" with the program's directory and identity.
std::string DiagnosticSection(const std::string& programDir, const std::string& description,
                              const std::string& version, const std::string& company);

// "[Default configuration data]" with the firmware's dump; empty when the
// dump is empty.
std::string DumpSection(const std::string& dump);

// "[Adapter Params]" and the key line that the listing of that key follows.
std::string AdapterParamsHead(const std::string& keyPath);

// "[Driver Status]: failed, code: status", and the no-response line when the
// status says the card stopped answering (5).
std::string DriverStatusSection(int failed, int status, const std::string& noResponseText);

// Reads the driver's log through `read` (which fills at most the given
// number of bytes and returns how many it gave, or a negative number on a
// read error) in pieces of DRIVER_LOG_PIECE bytes, each appended as text up
// to its first zero byte. Stops at an error or at the first short piece.
// Returns the number of bytes read (0: nothing, for "working properly").
size_t AppendDriverLog(std::string& report,
                       const std::function<long(uint8_t* buffer, size_t size)>& read);

// The line that stands for an empty or missing driver log.
extern const char* const DRIVER_WORKING_LINE;

// The directory of a module path: the text before its last backslash
// (empty when there is none).
std::string DirectoryOfPath(const std::string& path);
