// RegistryFixture.cpp - registry set-up and tear-down for tests.
#include "tests/support/RegistryFixture.h"

#include <gtest/gtest.h>

RegistryFixture::~RegistryFixture()
{
    for (const OwnedValue& value : m_ownedValues)
        DeleteValue(value.root, value.path, value.name);
    for (auto it = m_owned.rbegin(); it != m_owned.rend(); ++it)
        DeleteTree(it->first, it->second);
}

void RegistryFixture::Own(HKEY root, const std::string& path)
{
    DeleteTree(root, path);
    m_owned.emplace_back(root, path);
}

void RegistryFixture::OwnValue(HKEY root, const std::string& path, const std::string& name)
{
    DeleteValue(root, path, name);
    m_ownedValues.push_back({root, path, name});
}

void RegistryFixture::DeleteValue(HKEY root, const std::string& path, const std::string& name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

void RegistryFixture::DeleteTree(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    while (RegEnumKeyA(key, 0, name, sizeof(name)) == ERROR_SUCCESS)
        DeleteTree(root, path + "\\" + name);
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

// Keys below a volatile key (HKLM\HARDWARE) must be volatile themselves.
static LONG CreateAnyKey(HKEY root, const std::string& path, HKEY* key)
{
    DWORD disposition;
    LONG rc = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key, &disposition);
    if (rc == ERROR_CHILD_MUST_BE_VOLATILE)
        rc = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                             nullptr, key, &disposition);
    return rc;
}

void RegistryFixture::CreateKey(HKEY root, const std::string& path)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, CreateAnyKey(root, path, &key)) << path;
    RegCloseKey(key);
}

void RegistryFixture::Set(HKEY root, const std::string& path, const char* name, DWORD type,
                          const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, CreateAnyKey(root, path, &key)) << path;
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size))
        << path << " " << name;
    RegCloseKey(key);
}

void RegistryFixture::SetString(HKEY root, const std::string& path, const char* name,
                                const std::string& value)
{
    Set(root, path, name, REG_SZ, value.c_str(), (DWORD)value.size() + 1);
}

void RegistryFixture::SetDword(HKEY root, const std::string& path, const char* name, DWORD value)
{
    Set(root, path, name, REG_DWORD, &value, sizeof(value));
}

void RegistryFixture::SetBinary(HKEY root, const std::string& path, const char* name,
                                const std::vector<BYTE>& value, DWORD type)
{
    Set(root, path, name, type, value.data(), (DWORD)value.size());
}
