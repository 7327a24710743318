// ProgramIdentity.cpp - the running program's directory and version record.
#include "sheet/ProgramIdentity.h"

#include "sheet/ReportText.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

std::string VersionString(std::vector<BYTE>& info, const std::string& path)
{
    LPVOID value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(info.data(), path.c_str(), &value, &length) || !value || length == 0)
        return std::string();
    const char* text = static_cast<const char*>(value);
    size_t n = 0;
    while (n < length && text[n] != '\0')
        ++n;
    return std::string(text, n);
}

} // namespace

ProgramIdentity ReadProgramIdentity()
{
    ProgramIdentity id;
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return id;
    std::string module(path, length);
    id.directory = DirectoryOfPath(module);

    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(module.c_str(), &handle);
    if (size == 0)
        return id;
    std::vector<BYTE> info(size);
    if (!::GetFileVersionInfoA(module.c_str(), 0, size, info.data()))
        return id;
    LPVOID translation = nullptr;
    UINT tlength = 0;
    if (!::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &translation, &tlength) ||
        !translation || tlength < 4)
        return id;
    const WORD* lang = static_cast<const WORD*>(translation);
    char block[40];
    snprintf(block, sizeof(block), "\\StringFileInfo\\%04x%04x\\", lang[0], lang[1]);
    id.description = VersionString(info, std::string(block) + "FileDescription");
    id.version = VersionString(info, std::string(block) + "FileVersion");
    id.company = VersionString(info, std::string(block) + "CompanyName");
    return id;
}
