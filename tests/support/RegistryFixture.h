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
    // Removes the value `name` of root\path now and again when the fixture
    // ends, leaving the key and its other values: a test's own value in a
    // key of the system.
    void OwnValue(HKEY root, const std::string& path, const std::string& name);

    void SetString(HKEY root, const std::string& path, const char* name, const std::string& value);
    void SetDword(HKEY root, const std::string& path, const char* name, DWORD value);
    void SetBinary(HKEY root, const std::string& path, const char* name,
                   const std::vector<BYTE>& value, DWORD type = REG_BINARY);
    void CreateKey(HKEY root, const std::string& path);

    static void DeleteTree(HKEY root, const std::string& path);
    static void DeleteValue(HKEY root, const std::string& path, const std::string& name);

private:
    void Set(HKEY root, const std::string& path, const char* name, DWORD type, const void* data,
             DWORD size);
    std::vector<std::pair<HKEY, std::string>> m_owned;
    struct OwnedValue
    {
        HKEY root;
        std::string path, name;
    };
    std::vector<OwnedValue> m_ownedValues;
};
