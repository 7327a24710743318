// CProfileStore.cpp - reading and writing the profiles' keys.
#include "app/CProfileStore.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/CardSettings.h"
#include "adapter/RegKey.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"

#include <stdio.h>
#include <stdlib.h>

#include <utility>

namespace {

const char kProfilesKey[] = "\\Profiles";

// Room for any value of a profile key, copied as it is stored.
const DWORD kValueRoom = 1024;

StoredValue ValueOf(BYTE result, DWORD type, std::string text)
{
    StoredValue value;
    if (result == REG_NOT_FOUND)
        return value;
    value.type = result != REG_FOUND ? StoredValue::OTHER
                 : type == REG_DWORD ? StoredValue::NUMBER
                 : type == REG_SZ    ? StoredValue::TEXT
                                     : StoredValue::OTHER;
    value.text = std::move(text);
    return value;
}

// Makes a key that does not exist yet; one that does is refused.
LONG CreateNewKey(const std::string& path, RegKey& key)
{
    DWORD disposition = 0;
    LONG rc =
        ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.Receive(), &disposition);
    if (rc == ERROR_SUCCESS && disposition != REG_CREATED_NEW_KEY)
        return ERROR_ALREADY_EXISTS;
    return rc;
}

// Copies every value of one key into another, as it is stored.
LONG CopyValues(HKEY from, HKEY to)
{
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[kValueRoom];
        DWORD nameLen = sizeof(name), size = sizeof(data), type = 0;
        LONG rc = ::RegEnumValueA(from, i, name, &nameLen, nullptr, &type, data, &size);
        if (rc == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (rc != ERROR_SUCCESS)
            return rc;
        rc = g_os.RegSetValueExA(to, name, 0, type, data, size);
        if (rc != ERROR_SUCCESS)
            return rc;
    }
}

// Copies a profile key into a new key of another name; a copy that fails
// is taken away again.
LONG CopyKey(const std::string& from, const std::string& to)
{
    RegKey source;
    LONG rc = source.Open(HKEY_CURRENT_USER, from, KEY_QUERY_VALUE);
    if (rc != ERROR_SUCCESS)
        return rc;
    {
        RegKey target;
        rc = CreateNewKey(to, target);
        if (rc != ERROR_SUCCESS)
            return rc;
        rc = CopyValues(source, target);
    }
    if (rc != ERROR_SUCCESS)
        g_os.RegDeleteKeyA(HKEY_CURRENT_USER, to.c_str());
    return rc;
}

// Whether two names are one key to the registry, which finds a key whatever
// the case of its name's letters, those beyond ASCII too.
bool SameKeyName(std::string a, std::string b)
{
    ::CharUpperA(&a[0]);
    ::CharUpperA(&b[0]);
    return a == b;
}

} // namespace

CProfileStore::CProfileStore()
    : m_keyPath((AfxGetApp() ? AfxGetApp()->GetProfileKeyPath() : std::string()) + kProfilesKey)
{}

CProfileStore::CProfileStore(std::string keyPath) : m_keyPath(std::move(keyPath)) {}

std::string CProfileStore::ReasonOf(LONG code)
{
    char text[512] = "";
    if (!::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                          (DWORD)code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
                          sizeof(text), nullptr))
        snprintf(text, sizeof(text), LoadStr(IDS_REGISTRY_ERROR_CODE).c_str(), (long)code);
    std::string reason = text;
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

std::vector<std::string> CProfileStore::List() const
{
    std::vector<std::string> names;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, m_keyPath, KEY_READ) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[MAX_PATH];
        LONG rc = ::RegEnumKeyA(key, i, name, sizeof(name));
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc == ERROR_SUCCESS)
            names.push_back(name);
        else if (rc != ERROR_MORE_DATA)
            break;
    }
    SortProfileNames(names);
    return names;
}

bool CProfileStore::Exists(const std::string& name) const
{
    RegKey key;
    return !name.empty() &&
           key.Open(HKEY_CURRENT_USER, ProfileKey(name), KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

StoredProfile CProfileStore::Load(const std::string& name) const
{
    StoredProfile profile;
    profile.name = name;
    const std::vector<ProfileField>& fields = ProfileFields();
    // A key that cannot be read holds none of the settings.
    if (!Exists(name)) {
        profile.damaged = true;
        profile.reason = LoadStr(IDS_PROFILE_MISSING, LoadStr(fields.front().nameId));
        return profile;
    }
    for (const ProfileField& field : fields) {
        std::string text;
        DWORD type = REG_NONE;
        BYTE result = ReadNamedValue(HKEY_CURRENT_USER, ProfileKey(name), nullptr, field.valueName,
                                     text, &type);
        ValueProblem problem =
            ReadProfileValue(field, ValueOf(result, type, text), profile.settings);
        if (problem != ValueProblem::NONE) {
            profile.damaged = true;
            profile.reason = LoadStr(problem == ValueProblem::MISSING ? IDS_PROFILE_MISSING
                                                                      : IDS_PROFILE_INVALID,
                                     LoadStr(field.nameId));
            return profile;
        }
    }
    return profile;
}

LONG CProfileStore::WriteValues(HKEY key, const ProfileSettings& settings) const
{
    const int platform = GetAdapterLink().PlatformKind;
    for (const ProfileField& field : ProfileFields()) {
        const std::string text = ProfileValueText(field, settings);
        LONG rc;
        // The driver's form on this system: Windows NT keeps numbers as numbers.
        if (field.kind == ProfileField::NUMBER &&
            ConfigValueType(field.item, platform) == REG_DWORD) {
            DWORD number = static_cast<DWORD>(strtol(text.c_str(), nullptr, 10));
            rc = g_os.RegSetValueExA(key, field.valueName, 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&number), sizeof(number));
        } else {
            rc = g_os.RegSetValueExA(key, field.valueName, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>(text.size() + 1));
        }
        if (rc != ERROR_SUCCESS)
            return rc;
    }
    return ERROR_SUCCESS;
}

bool CProfileStore::Save(const std::string& name, const ProfileSettings& settings,
                         std::string& reason) const
{
    LONG rc;
    {
        RegKey key;
        rc = CreateNewKey(ProfileKey(name), key);
        if (rc != ERROR_SUCCESS) {
            reason = ReasonOf(rc);
            return false;
        }
        rc = WriteValues(key, settings);
    }
    if (rc != ERROR_SUCCESS) {
        g_os.RegDeleteKeyA(HKEY_CURRENT_USER, ProfileKey(name).c_str());
        reason = ReasonOf(rc);
        return false;
    }
    return true;
}

bool CProfileStore::Delete(const std::string& name, std::string& reason) const
{
    LONG rc = g_os.RegDeleteKeyA(HKEY_CURRENT_USER, ProfileKey(name).c_str());
    if (rc != ERROR_SUCCESS) {
        reason = ReasonOf(rc);
        return false;
    }
    return true;
}

bool CProfileStore::Rename(const std::string& from, const std::string& to,
                           std::string& reason) const
{
    if (from == to)
        return true;
    LONG rc;
    if (!SameKeyName(from, to)) {
        rc = CopyKey(ProfileKey(from), ProfileKey(to));
        if (rc == ERROR_SUCCESS) {
            rc = g_os.RegDeleteKeyA(HKEY_CURRENT_USER, ProfileKey(from).c_str());
            // The old key stays: so does the profile, under its old name only.
            if (rc != ERROR_SUCCESS)
                g_os.RegDeleteKeyA(HKEY_CURRENT_USER, ProfileKey(to).c_str());
        }
    } else {
        // The registry finds a key whatever the case of its name: the new
        // spelling needs a key of its own, so the values pass through a key
        // of another name (never one that exists already).
        const std::string passing = ProfileKey(to + " (being renamed)");
        rc = CopyKey(ProfileKey(from), passing);
        if (rc == ERROR_SUCCESS) {
            rc = g_os.RegDeleteKeyA(HKEY_CURRENT_USER, ProfileKey(from).c_str());
            if (rc == ERROR_SUCCESS) {
                rc = CopyKey(passing, ProfileKey(to));
                // Refused: the profile goes back under its old name.
                if (rc != ERROR_SUCCESS && CopyKey(passing, ProfileKey(from)) != ERROR_SUCCESS) {
                    reason = ReasonOf(rc);
                    return false; // the values stay in the passing key
                }
            }
            g_os.RegDeleteKeyA(HKEY_CURRENT_USER, passing.c_str());
        }
    }
    if (rc != ERROR_SUCCESS) {
        reason = ReasonOf(rc);
        return false;
    }
    return true;
}
