// ReportText.cpp - the plain-text pieces of the troubleshooting report.
#include "sheet/ReportText.h"

#include <stdio.h>

const char* const DRIVER_WORKING_LINE = "Driver is working properly.\r\n";

namespace {

std::string HexBytes(const uint8_t* data, size_t size)
{
    std::string out;
    char hex[4];
    for (size_t i = 0; i < size; ++i) {
        snprintf(hex, sizeof(hex), "%02x ", data[i]);
        out += hex;
    }
    return out;
}

// Text of at most `size` bytes, ending at the first zero byte.
std::string TextOf(const uint8_t* data, size_t size)
{
    size_t n = 0;
    while (n < size && data[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(data), n);
}

} // namespace

std::string RegistryValueLine(const std::string& name, uint32_t type, const uint8_t* data,
                              size_t size)
{
    std::string line = name + ": ";
    if (type == REPORT_REG_SZ) {
        line += TextOf(data, size);
    } else if (type == REPORT_REG_DWORD && size >= 4) {
        char hex[16];
        snprintf(hex, sizeof(hex), "%02x%02x%02x%02x", data[0], data[1], data[2], data[3]);
        line += hex;
    } else {
        line += HexBytes(data, size);
    }
    return line + "\r\n";
}

std::string QueryKeyFailedLine(const std::string& keyPath)
{
    return "Query key: " + keyPath + " failed\r\n";
}

std::string DiagnosticSection(const std::string& programDir, const std::string& description,
                              const std::string& version, const std::string& company)
{
    return "[Diagnostic message]\r\nPath: " + programDir + "\r\nInfo: " + description +
           "\r\nVer : " + version + "\r\nLogo: " + company + "\r\n";
}

std::string DumpSection(const std::string& dump)
{
    if (dump.empty())
        return std::string();
    return "\r\n[Default configuration data]\r\n" + dump + "\r\n";
}

std::string AdapterParamsHead(const std::string& keyPath)
{
    return "\r\n[Adapter Params]\r\nKey: " + keyPath + "\r\n";
}

std::string DriverStatusSection(int failed, int status, const std::string& noResponseText)
{
    char line[64];
    snprintf(line, sizeof(line), "\r\n[Driver Status]: %d, code: %d\r\n", failed, status);
    std::string out = line;
    if (status == 5)
        out += noResponseText + "\r\n";
    return out;
}

size_t AppendDriverLog(std::string& report,
                       const std::function<long(uint8_t* buffer, size_t size)>& read)
{
    uint8_t piece[DRIVER_LOG_PIECE];
    size_t total = 0;
    for (;;) {
        long got = read(piece, sizeof(piece));
        if (got <= 0)
            break;
        size_t n = (size_t)got < sizeof(piece) ? (size_t)got : sizeof(piece);
        report += TextOf(piece, n);
        total += n;
        if (n < sizeof(piece))
            break;
    }
    return total;
}

std::string DirectoryOfPath(const std::string& path)
{
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
