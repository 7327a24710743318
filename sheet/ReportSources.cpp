// ReportSources.cpp - the registry listing and the driver log of the report.
#include "sheet/ReportSources.h"

#include "adapter/RegKey.h"
#include "sheet/ReportText.h"

std::string ListRegistryValues(HKEY root, const std::string& keyPath)
{
    RegKey key;
    if (key.Open(root, keyPath, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return QueryKeyFailedLine(keyPath);

    std::string out;
    for (DWORD index = 0;; ++index) {
        char name[REPORT_VALUE_NAME_SIZE];
        BYTE data[REPORT_VALUE_DATA_SIZE];
        DWORD nameLength = sizeof(name);
        DWORD size = sizeof(data);
        DWORD type = REG_NONE;
        if (::RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size) !=
            ERROR_SUCCESS)
            break;
        // Only what the registry says it wrote counts, whatever it claims.
        if (nameLength >= sizeof(name))
            nameLength = sizeof(name) - 1;
        if (size > sizeof(data))
            size = sizeof(data);
        out += RegistryValueLine(std::string(name, nameLength), type, data, size);
    }
    return out;
}

size_t AppendDriverLogFile(std::string& report, const std::string& path)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    size_t total = AppendDriverLog(report, [file](uint8_t* buffer, size_t size) -> long {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, (DWORD)size, &got, nullptr))
            return -1;
        return (long)got;
    });
    ::CloseHandle(file);
    return total;
}

std::string DriverLogPath()
{
    char dir[MAX_PATH];
    UINT length = ::GetWindowsDirectoryA(dir, sizeof(dir));
    if (length == 0 || length >= sizeof(dir))
        return std::string();
    return std::string(dir, length) + "\\NDISLOG.TXT";
}
