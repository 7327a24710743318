// CVersionInfo.cpp - reading a version record.
#include "framework/CVersionInfo.h"

#include <stdio.h>
#include <string.h>

bool CVersionInfo::Load(const std::string& file)
{
    m_info.clear();
    m_block.clear();
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0)
        return false;
    std::vector<BYTE> info(size);
    if (!::GetFileVersionInfoA(file.c_str(), 0, size, info.data()))
        return false;
    LPVOID translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &translation, &length) ||
        !translation || length < 4)
        return false;
    const WORD* lang = static_cast<const WORD*>(translation);
    char block[40];
    snprintf(block, sizeof(block), "\\StringFileInfo\\%04x%04x\\", lang[0], lang[1]);
    m_info.swap(info);
    m_block = block;
    return true;
}

std::string CVersionInfo::Value(const char* name) const
{
    if (m_info.empty())
        return std::string();
    LPVOID value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(m_info.data(), (m_block + name).c_str(), &value, &length) || !value ||
        length == 0)
        return std::string();
    const char* text = static_cast<const char*>(value);
    return std::string(text, strnlen(text, length));
}
