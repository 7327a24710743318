// RegistryFixture.h - writes registry keys for a test and removes every tree
// it touched afterwards. Tests run in a throwaway Wine prefix.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class RegistryFixture
{
public:
    RegistryFixture() = default;
    ~RegistryFixture();
    RegistryFixture(const RegistryFixture&) = delete;
    RegistryFixture& operator=(const RegistryFixture&) = delete;

    // Removes root\path now and again when the fixture ends.
    void Own(HKEY root, const std::string& path);

    void SetString(HKEY root, const std::string& path, const char* name, const std::string& value);
    void SetDword(HKEY root, const std::string& path, const char* name, DWORD value);
    void SetBinary(HKEY root, const std::string& path, const char* name,
                   const std::vector<BYTE>& value, DWORD type = REG_BINARY);
    void CreateKey(HKEY root, const std::string& path);

    static void DeleteTree(HKEY root, const std::string& path);

private:
    void Set(HKEY root, const std::string& path, const char* name, DWORD type, const void* data,
             DWORD size);
    std::vector<std::pair<HKEY, std::string>> m_owned;
};
