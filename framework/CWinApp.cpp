// CWinApp.cpp - the application object and its profile in the registry.
#include "framework/CWinApp.h"

#include "framework/FrameworkIds.h"
#include "framework/MessageFilter.h"
#include "framework/Os.h"

CWinApp* CWinApp::s_app = nullptr;

CWinApp::CWinApp(const char* appName, const char* title)
    : m_hInstance(::GetModuleHandleA(nullptr)), m_pMainWnd(nullptr), m_lpCmdLine(nullptr),
      m_appName(appName ? appName : ""), m_title(title ? title : m_appName)
{
    s_app = this;
}

CWinApp::~CWinApp()
{
    if (s_app == this)
        s_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateThreadMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(const char* company)
{
    m_profileKey = std::string("Software\\") + company + "\\" + m_appName;
}

HKEY CWinApp::OpenSectionKey(const char* section, bool create) const
{
    if (m_profileKey.empty())
        return nullptr;
    std::string path = m_profileKey + "\\" + section;
    HKEY key = nullptr;
    LONG rc;
    if (create) {
        DWORD disposition;
        rc = ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, &key, &disposition);
    } else {
        rc = ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    }
    return rc == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const
{
    HKEY key = OpenSectionKey(section, false);
    if (!key)
        return defaultValue;
    DWORD type = 0, value = 0, size = sizeof(value);
    LONG rc =
        ::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return value;
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const
{
    HKEY key = OpenSectionKey(section, true);
    if (!key)
        return FALSE;
    DWORD data = (DWORD)value;
    LONG rc = g_os.RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                  sizeof(data));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::string CWinApp::GetProfileString(const char* section, const char* entry,
                                      const char* defaultValue) const
{
    std::string result = defaultValue ? defaultValue : "";
    HKEY key = OpenSectionKey(section, false);
    if (!key)
        return result;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        std::string data(size + 1, '\0');
        if (::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                               &size) == ERROR_SUCCESS) {
            data.resize(strnlen(data.c_str(), size));
            result = data;
        }
    }
    ::RegCloseKey(key);
    return result;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) const
{
    HKEY key = OpenSectionKey(section, true);
    if (!key)
        return FALSE;
    LONG rc;
    if (value)
        rc = g_os.RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 lstrlenA(value) + 1);
    else
        rc = ::RegDeleteValueA(key, entry);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

BOOL CWinApp::WinHelp(HWND owner, UINT command, ULONG_PTR data) const
{
    return g_os.WinHelpA(owner, m_helpFile.c_str(), command, data);
}

BOOL AfxHelpKeyword(HWND owner, UINT keywordId, bool reportFailure)
{
    CWinApp* app = AfxGetApp();
    std::string keyword = LoadStr(keywordId);
    BOOL shown = app && app->WinHelp(owner, HELP_KEY, (ULONG_PTR)keyword.c_str());
    if (!shown && reportFailure)
        g_os.MessageBoxA(owner, LoadStr(IDS_NO_HELP_FILE).c_str(), AfxGetAppTitle().c_str(),
                         MB_OK | MB_ICONSTOP);
    return shown;
}

std::string AfxGetAppTitle()
{
    CWinApp* app = AfxGetApp();
    return app ? app->GetAppTitle() : std::string();
}

std::string LoadStr(UINT id)
{
    char buffer[1024];
    int len = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, sizeof(buffer));
    return std::string(buffer, len > 0 ? len : 0);
}

std::string LoadStr(UINT id, const std::string& first, const std::string& second)
{
    // One pass over the string's own text: a "%2" inside the first text
    // given stays as it is.
    const std::string text = LoadStr(id);
    std::string out;
    bool firstDone = false, secondDone = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            if (text[i + 1] == '1' && !firstDone) {
                out += first;
                firstDone = true;
                ++i;
                continue;
            }
            if (text[i + 1] == '2' && !secondDone) {
                out += second;
                secondDone = true;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}
