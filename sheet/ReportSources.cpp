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

DriverLogResult AppendDriverLogFile(std::string& report, const std::string& path, size_t room)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? DRIVER_LOG_NONE
                   : DRIVER_LOG_UNREADABLE;
    }
    DWORD size = ::GetFileSize(file, nullptr);
    bool cut = size != INVALID_FILE_SIZE && size > room;
    if (cut && ::SetFilePointer(file, (LONG)(size - room), nullptr, FILE_BEGIN) ==
                   INVALID_SET_FILE_POINTER) {
        ::CloseHandle(file);
        return DRIVER_LOG_UNREADABLE;
    }
    // The driver may go on writing while the log is read: never past the room.
    size_t left = room;
    bool failed = false;
    std::string text;
    AppendDriverLog(text, [file, &left, &failed](uint8_t* buffer, size_t want) -> long {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, (DWORD)(want < left ? want : left), &got, nullptr)) {
            failed = true;
            return -1;
        }
        left -= got;
        return (long)got;
    });
    ::CloseHandle(file);
    if (failed && left == room)
        return DRIVER_LOG_UNREADABLE;
    if (left == room && !cut) // not a byte in the file
        return DRIVER_LOG_NONE;
    if (cut) {
        size_t lineEnd = text.find('\n');
        if (lineEnd != std::string::npos && lineEnd + 1 < text.size())
            text.erase(0, lineEnd + 1); // the line the cut went through
    }
    report += text;
    return cut ? DRIVER_LOG_CUT : DRIVER_LOG_READ;
}

std::string DriverLogPath()
{
    char dir[MAX_PATH];
    UINT length = ::GetWindowsDirectoryA(dir, sizeof(dir));
    if (length == 0 || length >= sizeof(dir))
        return std::string();
    return std::string(dir, length) + "\\NDISLOG.TXT";
}
