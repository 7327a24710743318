// CUtilityApp.h - the application object: reads the version record, finds
// the adapter, keeps one copy running, loads the preferences and runs the
// floating tool window for the life of the program.
#pragma once

#include "adapter/AdapterDiscovery.h"
#include "app/CAdapterReporter.h"
#include "framework/CWinApp.h"

#include <string>
#include <vector>

// Request to the running copy; wParam names the tool to open (ToolNumber).
const UINT WM_OPEN_TOOL = WM_USER + 1;

// The adapter's state and the alert preferences live in adapter/AdapterState.h.
class CUtilityApp : public CWinApp
{
public:
    CUtilityApp();
    ~CUtilityApp() override;

    BOOL InitInstance() override;

    // The application object of this process.
    static CUtilityApp* Get() { return static_cast<CUtilityApp*>(AfxGetApp()); }

    char m_szProgramDir[200];
    char m_szProgramPath[200];
    std::string m_strFileDescription;
    std::string m_strFileVersion;
    std::string m_strCopyright;
    std::string m_strCompanyName;
    std::string m_strMainTitle;

    DWORD AutoRun;
    DWORD EnableTrayIcon;

    // The program's arguments (without the program itself).
    std::vector<std::string> m_args;
    // What discovery looks for, from the version record.
    DeviceSearch m_deviceSearch;

    // Reads the version record into the members and the device search.
    bool ReadVersionRecord();
    // The wParam of WM_OPEN_TOOL that a second start's argument asks for, or 0.
    static WPARAM OpenToolRequest(const std::vector<std::string>& args);
    // The directory part of a program path (see InitInstance).
    static std::string ProgramDirectoryOf(const char* path, size_t length, size_t capacity);

    void LoadPreferences();
    void SavePreferences();

    // Claimed first thing at start-up: a copy that finds it taken is a second
    // start, even when the first copy has no window yet.
    static const char* const InstanceMutexName;
    // How long a second start waits for the first copy's window.
    static constexpr DWORD FirstCopyWaitMs = 30000;

protected:
    // Hands the request to a running copy; true when one was found.
    bool HandToRunningCopy();
    // Claims the instance mutex; false when another copy holds it.
    bool ClaimSingleInstance();
    // A second start: waits (bounded) for the first copy's window and hands
    // the request over. The card is never touched.
    void HandOverAsSecondCopy();

private:
    // Runs the tool window modally; the program's whole life passes inside.
    void RunMainWindow();

    HANDLE m_hInstanceMutex = nullptr;
    // Shows what the adapter layer has to tell, while the object lives.
    CAdapterReporter m_reporter;
    AdapterReporter* m_pPreviousReporter;
    // Shows the message the adapter status deserves; false when the user
    // chose to end the program.
    bool TellAdapterStatus();
};

// 1 when the system is Windows NT of the wanted kind, 0 when it is not,
// -1 when the version or the registry cannot be read.
enum NtProductKind
{
    NT_SERVER,
    NT_WORKSTATION
};
int IsNTProductType(NtProductKind wanted);

// Splits a device search list "ID,ID,...;text" into its entries and the text.
void SplitDeviceSearchList(const std::string& comments, std::vector<std::string>& list,
                           std::string& first);
