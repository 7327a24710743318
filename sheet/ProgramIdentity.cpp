// ProgramIdentity.cpp - the running program's directory and version record.
#include "sheet/ProgramIdentity.h"

#include "framework/CVersionInfo.h"
#include "sheet/ReportText.h"

#include <windows.h>

ProgramIdentity ReadProgramIdentity()
{
    ProgramIdentity id;
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return id;
    std::string module(path, length);
    id.directory = DirectoryOfPath(module);
    CVersionInfo info;
    if (!info.Load(module))
        return id;
    id.description = info.Value("FileDescription");
    id.version = info.Value("FileVersion");
    id.company = info.Value("CompanyName");
    return id;
}
