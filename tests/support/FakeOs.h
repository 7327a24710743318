// FakeOs.h - the one stand-in for the operating system in tests. While it
// lives it takes the user's side of the Os table (message boxes answered
// from a script, beeps, help, the notification area, the restart calls, the
// Save dialog and the file writes, the system version and the local time on
// request) and, when asked for the whole machine, also the
// port-I/O driver, the port instructions, priorities and Sleep; it records
// what the program did and gives the whole table back when it ends.
#pragma once

#include "app/CAdapterReporter.h"
#include "framework/Os.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// One request to the port-I/O driver, with the access and share of the
// handle it went through.
struct DriverCall
{
    DWORD code;
    DWORD access;
    DWORD share;
    std::vector<BYTE> in;
    DWORD outSize;
};

struct PortOp
{
    char kind; // 'i' in, 'o' out
    int bits;  // 8 or 16
    WORD port;
    WORD value;
};

class FakeOs
{
public:
    // kUser: boxes, beeps, help, the notification area and the restart.
    // kMachine: also the version, the driver, the ports, priorities and Sleep
    // (a test with a simulated card of its own keeps those with the card).
    enum Reach
    {
        kUser,
        kMachine
    };

    explicit FakeOs(Reach reach = kUser);
    ~FakeOs();
    FakeOs(const FakeOs&) = delete;
    FakeOs& operator=(const FakeOs&) = delete;

    // Message boxes: each one shown, answered from `answers` and then with
    // `boxAnswer`; `whileBoxOpen` runs inside the next one, as the user
    // would act while it is open.
    struct Box
    {
        HWND owner;
        std::string text;
        std::string caption;
        bool hasCaption;
        UINT style;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;
    int boxAnswer = IDOK;
    std::function<void()> whileBoxOpen;
    int CountBoxes(const std::string& text) const;
    std::vector<std::string> Texts() const;

    std::vector<UINT> beeps;
    // Help: the keyword of each HELP_KEY call ("?" for any other), and
    // whether help opens.
    std::vector<std::string> helpKeys;
    BOOL helpAnswer = TRUE;

    // The notification area: each call with the data as the program handed
    // it (its cbSize bytes, the rest zero) and the answer it had.
    struct ShellCall
    {
        DWORD message;
        UINT flags;
        std::string tip;
        HICON icon;
        NOTIFYICONDATAA data;
        BOOL answer;
    };
    std::vector<ShellCall> shell;
    BOOL shellAnswer = TRUE;
    // Whether the notification area shows an icon now, as the user sees it:
    // an accepted add not followed by a delete.
    bool IconShown() const;
    // Registry writes go to the test prefix's registry, but for the value
    // names listed here, which are refused (access denied) as a write that
    // fails half-way through many would be.
    std::vector<std::string> refusedValues;
    // Keys (by their own name, the last of their path) whose deletion is
    // refused (access denied), as a key another user's rights guard would be.
    std::vector<std::string> refusedKeyDeletes;

    // Records the length of every Sleep from now on, and passes it on to
    // whatever Sleep was in force (a simulated card's clock).
    void RecordSleeps();
    std::vector<DWORD> sleeps;

    // The restart: each call in order ("OpenProcessToken", "Lookup <name>",
    // "Adjust <count> <attributes>", "ExitWindowsEx <flags>"). A restart
    // the test does not expect fails it: nothing of a test may restart the
    // machine it runs on.
    bool restartExpected = false;
    std::vector<std::string> restart;
    bool tokenRefused = false;
    DWORD adjustError = ERROR_SUCCESS; // what GetLastError says after the adjustment

    // The Save dialog: each call with the structure as the program handed it
    // (its lStructSize bytes, the rest zero) and the texts it points to. It
    // answers with `savePath` as the user's choice, or as a cancel while
    // that is empty.
    struct SaveCall
    {
        OPENFILENAMEA ofn;
        std::string filter; // the pairs, each terminator shown as '|'
        std::string defExt;
        std::string file; // the file name it offered
    };
    std::vector<SaveCall> saves;
    std::string savePath;
    DWORD saveDialogError = 0; // why the dialog gave no file: 0 a cancel

    // Writes to files reach the file, but the write numbered
    // `failingWrite` (counted from 0 over every write; -1 none) and all
    // after it fail with `writeError`, as a full or removed disk would;
    // with `shortWrite` they write half the data and succeed instead.
    int failingWrite = -1;
    DWORD writeError = ERROR_DISK_FULL;
    bool shortWrite = false;
    int writes = 0;

    // From now on GetLocalTime gives `clock`, which the test moves.
    void UseClock(const SYSTEMTIME& start);
    SYSTEMTIME clock{};

    // From now on GetVersionExA reports `version` (NT 4.0 unless the test
    // changes it), or fails with `versionFails`; kMachine does from the start.
    void ReportVersion();
    OSVERSIONINFOA version{};
    bool versionFails = false;

    // The machine (kMachine only): the driver
    // \\.\razuDov in front of a card memory of 64 K words (also behind the
    // ports), and what the program asked of them.
    bool driverPresent = true;
    bool controlFails = false;
    bool closeFails = false;
    WORD setBaseAnswer = 1;
    std::vector<uint16_t> cardMemory;
    std::vector<DriverCall> calls;
    std::vector<PortOp> ports;
    std::vector<std::string> priority; // "class 256", "thread 15", ...
    int opens = 0;
    int closes = 0;

    static FakeOs* current;

private:
    friend struct FakeOsHooks;
    OsGuard m_guard;
    FakeOs* m_previous;
    // The adapter layer's notices shown as the program shows them, through
    // the fake's boxes.
    CAdapterReporter m_reporter;
    AdapterReporter* m_previousReporter;
    void(WINAPI* m_nextSleep)(DWORD) = nullptr;
    WORD m_address = 0; // the card's address register on the direct path
    DWORD m_lastAccess = 0, m_lastShare = 0;
};
