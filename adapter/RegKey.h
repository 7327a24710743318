// RegKey.h - a registry key handle that closes itself.
#pragma once

#include <windows.h>

#include <string>

class RegKey
{
public:
    RegKey() : m_key(nullptr) {}
    ~RegKey()
    {
        if (m_key)
            ::RegCloseKey(m_key);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    LONG Open(HKEY root, const std::string& path, REGSAM access)
    {
        return ::RegOpenKeyExA(root, path.c_str(), 0, access, Receive());
    }
    // For the calls that hand back a new key.
    HKEY* Receive()
    {
        if (m_key)
            ::RegCloseKey(m_key);
        m_key = nullptr;
        return &m_key;
    }
    operator HKEY() const { return m_key; }

private:
    HKEY m_key;
};
