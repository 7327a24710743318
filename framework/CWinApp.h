// CWinApp.h - the application object: instance, main window, message loop and
// the application profile under HKCU\Software\<company>\<application>.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp
{
public:
    // appName names the profile and the help file's program; title is what
    // the program's boxes carry (the application's name when none is given).
    explicit CWinApp(const char* appName, const char* title = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Pumps messages until WM_QUIT; returns ExitInstance's code.
    virtual int Run();

    // Application profile.
    void SetRegistryKey(const char* company);
    void LoadStdProfileSettings(UINT maxMru = 0) {}
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue) const;
    BOOL WriteProfileInt(const char* section, const char* entry, int value) const;
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* defaultValue = "") const;
    BOOL WriteProfileString(const char* section, const char* entry, const char* value) const;
    // "Software\<company>\<application>".
    const std::string& GetProfileKeyPath() const { return m_profileKey; }

    const std::string& GetAppName() const { return m_appName; }
    const std::string& GetAppTitle() const { return m_title; }
    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd;
    std::string m_helpFile;
    LPSTR m_lpCmdLine;

    // Calls WinHelp on the application's help file through the Os seam.
    BOOL WinHelp(HWND owner, UINT command, ULONG_PTR data) const;

    static CWinApp* Get() { return s_app; }

private:
    HKEY OpenSectionKey(const char* section, bool create) const;

    std::string m_appName;
    std::string m_title;
    std::string m_profileKey;
    static CWinApp* s_app;
};

inline CWinApp* AfxGetApp()
{
    return CWinApp::Get();
}

// Loads a string from the program's string table; empty when missing.
std::string LoadStr(UINT id);
// The same with its "%1" (and "%2") replaced by the texts given.
std::string LoadStr(UINT id, const std::string& first, const std::string& second = std::string());

// The program's title, which its message boxes carry, as the application
// gave it. The application's name (GetAppName) is its file's, and names its
// profile.
std::string AfxGetAppTitle();

// Opens the application's help file on the topic of a keyword from the
// string table (WinHelp, HELP_KEY). FALSE when there is no application or
// WinHelp failed; with reportFailure the user is then told "Cannot open help
// file." in a stop box owned by `owner`.
BOOL AfxHelpKeyword(HWND owner, UINT keywordId, bool reportFailure);
