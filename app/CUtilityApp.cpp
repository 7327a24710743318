// CUtilityApp.cpp - start-up in its fixed order and the preferences.
#include "app/CUtilityApp.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/PortAccess.h"
#include "app/CMainToolDlg.h"
#include "app/ToolCommands.h"
#include "framework/CVersionInfo.h"
#include "framework/MessageFilter.h"
#include "framework/Os.h"
#include "res/resource.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kPreferences[] = "Preferences";

std::string ModuleBaseName()
{
    char path[MAX_PATH];
    DWORD len = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string name(path, len < sizeof(path) ? len : 0);
    size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

} // namespace

CUtilityApp::CUtilityApp()
    : CWinApp(ModuleBaseName().c_str(), LoadStr(IDS_PRODUCT).c_str()), m_szProgramDir(),
      m_szProgramPath(), AutoRun(1), EnableTrayIcon(1)
{
    // The adapter's state lives as long as the process but starts with the
    // application object.
    ClearAdapterState();
    m_pPreviousReporter = SetAdapterReporter(&m_reporter);
    m_helpFile = "Kerfo.hlp";
    for (int i = 1; i < __argc; ++i)
        m_args.push_back(__argv[i]);
}

CUtilityApp::~CUtilityApp()
{
    SetAdapterReporter(m_pPreviousReporter);
    if (m_hInstanceMutex)
        ::CloseHandle(m_hInstanceMutex);
}

const char* const CUtilityApp::InstanceMutexName = "KVR.Corvane.Utility.Instance";

BOOL CUtilityApp::InitInstance()
{
    // Two copies started at once would both pass the window search below
    // (it comes after discovery) and share the card's mailbox; the mutex
    // tells them apart before either touches the card.
    if (!ClaimSingleInstance()) {
        HandOverAsSecondCopy();
        return FALSE;
    }

    SetRegistryKey("KVR");
    LoadStdProfileSettings(0);

    if (!ReadVersionRecord()) {
        g_os.MessageBoxA(nullptr, LoadStr(IDS_NO_VERSION_INFO).c_str(), LoadStr(IDS_ERROR).c_str(),
                         MB_TASKMODAL | MB_ICONINFORMATION);
        return FALSE;
    }

    if (IsNTProductType(NT_SERVER) == 1)
        GetAdapterLink().PlatformKind = PLATFORM_NT_SERVER;
    else if (IsNTProductType(NT_WORKSTATION) == 1)
        GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    else
        GetAdapterLink().PlatformKind = PLATFORM_WIN9X;

    GetAdapterState().m_nAdapterStatus = OpenAdapter(m_deviceSearch);
    if (!TellAdapterStatus())
        return FALSE;

    if (HandToRunningCopy())
        return FALSE;

    LoadPreferences();

    DWORD len = ::GetModuleFileNameA(nullptr, m_szProgramPath, sizeof(m_szProgramPath));
    if (len >= sizeof(m_szProgramPath))
        m_szProgramPath[sizeof(m_szProgramPath) - 1] = '\0';
    std::string dir = ProgramDirectoryOf(m_szProgramPath, len, sizeof(m_szProgramPath));
    lstrcpynA(m_szProgramDir, dir.c_str(), sizeof(m_szProgramDir));
    ::SetCurrentDirectoryA(m_szProgramDir);

    RunMainWindow();

    SavePreferences();
    return TRUE;
}

bool CUtilityApp::TellAdapterStatus()
{
    UINT text = 0;
    switch (GetAdapterState().m_nAdapterStatus) {
    case ADAPTER_NOT_FOUND:
        text = IDS_NO_ADAPTER;
        break;
    case ADAPTER_BAD_INSTALL:
        text = IDS_BAD_INSTALL;
        break;
    case ADAPTER_NOT_WORKING: {
        int answer = g_os.MessageBoxA(nullptr, LoadStr(IDS_NOT_WORKING).c_str(),
                                      LoadStr(IDS_PRODUCT).c_str(), MB_OKCANCEL | MB_ICONQUESTION);
        GetAdapterState().m_bAdapterFailed = TRUE;
        return answer != IDCANCEL;
    }
    default:
        return true;
    }
    g_os.MessageBoxA(nullptr, LoadStr(text).c_str(), LoadStr(IDS_ERROR).c_str(),
                     MB_TASKMODAL | MB_ICONINFORMATION);
    GetAdapterState().m_bAdapterFailed = TRUE;
    return true;
}

bool CUtilityApp::HandToRunningCopy()
{
    HWND running = ::FindWindowA(nullptr, m_strMainTitle.c_str());
    if (!running)
        return false;
    // This start is the program in front: it hands the front to the running
    // copy (activation and focus cannot be set across processes), which
    // then brings the window it opens to the front as well.
    ::SetForegroundWindow(running);
    WPARAM request = OpenToolRequest(m_args);
    if (request)
        ::SendMessageA(running, WM_OPEN_TOOL, request, 0);
    return true;
}

bool CUtilityApp::ClaimSingleInstance()
{
    m_hInstanceMutex = ::CreateMutexA(nullptr, FALSE, InstanceMutexName);
    // A mutex that cannot be made at all leaves the window search as the
    // only guard, as on a system without named objects.
    return !m_hInstanceMutex || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void CUtilityApp::HandOverAsSecondCopy()
{
    m_strMainTitle = LoadStr(IDS_MAIN_TITLE);
    DWORD start = g_os.GetTickCount();
    while (!HandToRunningCopy()) {
        // The first copy may still be finding the adapter or waiting for
        // its user to answer a message; past the bound this start ends
        // quietly, as the first copy runs on.
        if (g_os.GetTickCount() - start >= FirstCopyWaitMs)
            return;
        g_os.Sleep(100);
    }
}

WPARAM CUtilityApp::OpenToolRequest(const std::vector<std::string>& args)
{
    return args.size() == 1 ? ToolForArgument(args[0]) : TOOL_NONE;
}

std::string CUtilityApp::ProgramDirectoryOf(const char* path, size_t length, size_t capacity)
{
    if (length == 0 || length >= capacity)
        return std::string();
    std::string full(path, strnlen(path, length));
    size_t separator = full.find_last_of("\\:");
    if (separator == std::string::npos)
        return std::string();
    // A drive colon stays with the drive: "C:corvane.exe" lives in "C:", and
    // so does "C:\corvane.exe", whose backslash is dropped like any other.
    if (full[separator] == ':')
        return full.substr(0, separator + 1);
    return full.substr(0, separator);
}

void CUtilityApp::LoadPreferences()
{
    GetAdapterState().AlertBeep = GetProfileInt(kPreferences, "AlertBeep", 0);
    GetAdapterState().AlertMessage = GetProfileInt(kPreferences, "AlertMessage", 0);
    AutoRun = GetProfileInt(kPreferences, "AutoRun", 1);
    EnableTrayIcon = GetProfileInt(kPreferences, "EnableTrayIcon", 1);
}

void CUtilityApp::SavePreferences()
{
    WriteProfileInt(kPreferences, "AlertBeep", GetAdapterState().AlertBeep);
    WriteProfileInt(kPreferences, "AlertMessage", GetAdapterState().AlertMessage);
    WriteProfileInt(kPreferences, "AutoRun", AutoRun);
    WriteProfileInt(kPreferences, "EnableTrayIcon", EnableTrayIcon);
}

void CUtilityApp::RunMainWindow()
{
    // The program lives in the tool window's modal loop: the message filter
    // gives the modeless tools their keyboard there.
    InstallMessageFilter();
    CMainToolDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    RemoveMessageFilter();
}

bool CUtilityApp::ReadVersionRecord()
{
    CVersionInfo info;
    if (!info.Load(GetAppName() + ".EXE"))
        return false;
    m_strCompanyName = info.Value("CompanyName");
    m_strCopyright = info.Value("LegalCopyright");
    m_strFileVersion = info.Value("FileVersion");
    m_strFileDescription = info.Value("FileDescription");
    m_strMainTitle = LoadStr(IDS_MAIN_TITLE);

    std::vector<std::string> list;
    std::string first;
    SplitDeviceSearchList(info.Value("Comments"), list, first);
    m_deviceSearch = MakeDeviceSearch(list, first);
    return true;
}

void SplitDeviceSearchList(const std::string& comments, std::vector<std::string>& list,
                           std::string& first)
{
    list.clear();
    first.clear();
    size_t semicolon = comments.find(';');
    std::string entries = comments.substr(0, semicolon);
    size_t start = 0;
    while (list.size() < 20) {
        size_t comma = entries.find(',', start);
        std::string entry = entries.substr(start, comma - start);
        if (!entry.empty())
            list.push_back(entry);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (semicolon != std::string::npos)
        first = comments.substr(semicolon + 1);
}

int IsNTProductType(NtProductKind wanted)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!g_os.GetVersionExA(&version))
        return -1;
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return 0;

    HKEY key;
    LONG rc =
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                        KEY_QUERY_VALUE, &key);
    if (rc != ERROR_SUCCESS) {
        ::SetLastError(rc);
        return -1;
    }
    char type[17] = "";
    DWORD size = 16, valueType = 0;
    rc = ::RegQueryValueExA(key, "ProductType", nullptr, &valueType, reinterpret_cast<BYTE*>(type),
                            &size);
    ::RegCloseKey(key);
    int result = 0;
    if (rc != ERROR_SUCCESS || (valueType != REG_SZ && valueType != REG_EXPAND_SZ)) {
        type[0] = '\0';
        result = -1;
    }
    type[16] = '\0';
    if (lstrcmpiA(type, "ServerNT") == 0 || lstrcmpiA(type, "LanmanNT") == 0)
        result = wanted == NT_SERVER ? 1 : 0;
    else if (lstrcmpiA(type, "WinNT") == 0)
        result = wanted == NT_WORKSTATION ? 1 : 0;
    if (result == 0)
        ::SetLastError(0);
    return result;
}
