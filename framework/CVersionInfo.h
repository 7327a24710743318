// CVersionInfo.h - a program file's version record: read once, then its
// string values by name from the first language block it lists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CVersionInfo
{
public:
    // False when the file has no version record, or one without a language.
    bool Load(const std::string& file);
    // A string value ("CompanyName", "FileVersion", ...), empty when the
    // record does not hold it; never read past the length the record gives.
    std::string Value(const char* name) const;

private:
    std::vector<BYTE> m_info;
    std::string m_block; // "\StringFileInfo\<language><code page>\"
};
