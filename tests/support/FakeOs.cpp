// FakeOs.cpp - the fake operating system calls behind FakeOs.
#include "tests/support/FakeOs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

FakeOs* FakeOs::current = nullptr;

namespace {
HANDLE const kDevice = reinterpret_cast<HANDLE>(0x5A5A);
} // namespace

struct FakeOsHooks
{
    static FakeOs& F() { return *FakeOs::current; }

    // The user's side.
    static int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
    {
        FakeOs& os = F();
        os.boxes.push_back(
            {owner, text ? text : "", caption ? caption : "", caption != nullptr, style});
        if (os.whileBoxOpen) {
            auto action = os.whileBoxOpen;
            os.whileBoxOpen = nullptr;
            action();
        }
        if (os.answers.empty())
            return os.boxAnswer;
        int answer = os.answers.front();
        os.answers.pop_front();
        return answer;
    }
    static BOOL WINAPI MessageBeep(UINT type)
    {
        F().beeps.push_back(type);
        return TRUE;
    }
    static BOOL WINAPI WinHelpA(HWND, LPCSTR, UINT command, ULONG_PTR data)
    {
        F().helpKeys.push_back(command == HELP_KEY && data ? (const char*)data : "?");
        return F().helpAnswer;
    }
    static BOOL WINAPI Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data)
    {
        NOTIFYICONDATAA copy = {};
        memcpy(&copy, data, std::min<size_t>(data->cbSize, sizeof(copy)));
        F().shell.push_back({message, copy.uFlags, copy.szTip, copy.hIcon, copy, F().shellAnswer});
        return F().shellAnswer;
    }
    static LONG WINAPI RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type,
                                      const BYTE* data, DWORD size)
    {
        for (const std::string& refused : F().refusedValues)
            if (name && _stricmp(refused.c_str(), name) == 0)
                return ERROR_ACCESS_DENIED;
        return RealOs().RegSetValueExA(key, name, reserved, type, data, size);
    }
    static LONG WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey)
    {
        // The key's own name, after its last backslash.
        const char* last = subKey ? strrchr(subKey, '\\') : nullptr;
        const char* own = last ? last + 1 : subKey;
        for (const std::string& refused : F().refusedKeyDeletes)
            if (own && _stricmp(refused.c_str(), own) == 0)
                return ERROR_ACCESS_DENIED;
        return RealOs().RegDeleteKeyA(key, subKey);
    }
    static BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn)
    {
        FakeOs& os = F();
        FakeOs::SaveCall call = {};
        memcpy(&call.ofn, ofn, std::min<size_t>(ofn->lStructSize, sizeof(call.ofn)));
        for (const char* p = ofn->lpstrFilter; p && *p; p += strlen(p) + 1)
            call.filter += std::string(p) + "|";
        call.defExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
        call.file = ofn->lpstrFile ? ofn->lpstrFile : "";
        os.saves.push_back(call);
        if (os.savePath.empty() || !ofn->lpstrFile || os.savePath.size() >= ofn->nMaxFile)
            return FALSE;
        memcpy(ofn->lpstrFile, os.savePath.c_str(), os.savePath.size() + 1);
        return TRUE;
    }
    static DWORD WINAPI CommDlgExtendedError() { return F().saveDialogError; }
    static BOOL WINAPI WriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                 LPOVERLAPPED ov)
    {
        FakeOs& os = F();
        const int number = os.writes++;
        if (os.failingWrite >= 0 && number >= os.failingWrite) {
            if (os.shortWrite)
                return RealOs().WriteFile(file, data, size / 2, written, ov);
            if (written)
                *written = 0;
            ::SetLastError(os.writeError);
            return FALSE;
        }
        return RealOs().WriteFile(file, data, size, written, ov);
    }
    static void WINAPI GetLocalTime(LPSYSTEMTIME time) { *time = F().clock; }
    static void WINAPI RecordingSleep(DWORD ms)
    {
        F().sleeps.push_back(ms);
        if (F().m_nextSleep)
            F().m_nextSleep(ms);
    }

    // The restart.
    static BOOL WINAPI OpenProcessToken(HANDLE, DWORD access, PHANDLE token)
    {
        FakeOs& os = F();
        os.restart.push_back(
            std::string("OpenProcessToken ") +
            (access == (TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY) ? "adjust+query" : "other"));
        if (os.tokenRefused) {
            ::SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        // A real handle of our own, so that closing it is harmless.
        return ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(),
                                 ::GetCurrentProcess(), token, 0, FALSE, DUPLICATE_SAME_ACCESS);
    }
    static BOOL WINAPI LookupPrivilegeValueA(LPCSTR, LPCSTR name, PLUID luid)
    {
        F().restart.push_back(std::string("Lookup ") + (name ? name : ""));
        luid->LowPart = 19;
        luid->HighPart = 0;
        return TRUE;
    }
    static BOOL WINAPI AdjustTokenPrivileges(HANDLE, BOOL disableAll, PTOKEN_PRIVILEGES state,
                                             DWORD, PTOKEN_PRIVILEGES, PDWORD)
    {
        char call[64];
        snprintf(call, sizeof(call), "Adjust %lu %lu luid %lu%s",
                 state ? (unsigned long)state->PrivilegeCount : 0UL,
                 state ? (unsigned long)state->Privileges[0].Attributes : 0UL,
                 state ? (unsigned long)state->Privileges[0].Luid.LowPart : 0UL,
                 disableAll ? " disable-all" : "");
        F().restart.push_back(call);
        ::SetLastError(F().adjustError);
        return TRUE;
    }
    static BOOL WINAPI ExitWindowsEx(UINT flags, DWORD)
    {
        F().restart.push_back("ExitWindowsEx " + std::to_string(flags));
        if (!F().restartExpected) {
            ADD_FAILURE() << "ExitWindowsEx called";
            return FALSE;
        }
        return TRUE;
    }

    // The machine.
    static BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info)
    {
        if (F().versionFails || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))
            return FALSE;
        *info = F().version;
        info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        return TRUE;
    }
    static HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                                     DWORD disposition, DWORD flags, HANDLE)
    {
        FakeOs& os = F();
        if (!os.driverPresent || strcmp(name, "\\\\.\\razuDov") != 0 ||
            disposition != OPEN_EXISTING || flags != 0)
            return INVALID_HANDLE_VALUE;
        ++os.opens;
        os.m_lastAccess = access;
        os.m_lastShare = share;
        return kDevice;
    }
    static BOOL WINAPI CloseHandle(HANDLE h)
    {
        ++F().closes;
        return h == kDevice && !F().closeFails;
    }
    static BOOL WINAPI DeviceIoControl(HANDLE dev, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                                       DWORD outSize, LPDWORD returned, LPOVERLAPPED)
    {
        FakeOs& os = F();
        const BYTE* bytes = static_cast<const BYTE*>(in);
        os.calls.push_back({code, os.m_lastAccess, os.m_lastShare,
                            std::vector<BYTE>(bytes, bytes + inSize), outSize});
        *returned = 0;
        if (dev != kDevice)
            return FALSE;
        if (os.controlFails) {
            if (out)
                memset(out, 0xEE, outSize);
            return FALSE;
        }
        if (code == 0x9C402488) {
            memcpy(out, &os.setBaseAnswer, 2);
            *returned = 2;
        } else if (code == 0x9C402480) {
            WORD header[5];
            memcpy(header, in, sizeof(header));
            for (DWORD i = 0; i < outSize / 2; ++i) {
                WORD w = os.cardMemory[(WORD)(header[3] + i)];
                memcpy(static_cast<BYTE*>(out) + 2 * i, &w, 2);
            }
            *returned = outSize;
        } else if (code == 0x9C40A484) {
            WORD header[5];
            memcpy(header, in, sizeof(header));
            for (DWORD i = 0; i < (inSize - 10) / 2; ++i)
                memcpy(&os.cardMemory[(WORD)(header[3] + i)], bytes + 10 + 2 * i, 2);
        } else if (code == 0x9C406400 || code == 0x9C406404) {
            memset(out, 0x42, outSize);
            *returned = outSize;
        }
        return TRUE;
    }
    static BOOL WINAPI SetPriorityClass(HANDLE, DWORD cls)
    {
        F().priority.push_back("class " + std::to_string(cls));
        return TRUE;
    }
    static BOOL WINAPI SetThreadPriority(HANDLE, int level)
    {
        F().priority.push_back("thread " + std::to_string(level));
        return TRUE;
    }
    static BYTE InByte(WORD port)
    {
        F().ports.push_back({'i', 8, port, 0});
        return 0x5A;
    }
    static WORD InWord(WORD port)
    {
        FakeOs& os = F();
        WORD value = os.cardMemory[os.m_address++];
        os.ports.push_back({'i', 16, port, value});
        return value;
    }
    static void OutByte(WORD port, BYTE value) { F().ports.push_back({'o', 8, port, value}); }
    static void OutWord(WORD port, WORD value)
    {
        FakeOs& os = F();
        os.ports.push_back({'o', 16, port, value});
        // The card sits wherever the port layer aims: offset 2 sets the
        // address, offset 4 moves data.
        if ((port & 7) == 2)
            os.m_address = value;
        else if ((port & 7) == 4)
            os.cardMemory[os.m_address++] = value;
    }
    static void WINAPI NoSleep(DWORD) {}
};

FakeOs::FakeOs(Reach reach)
    : m_previous(current), m_previousReporter(SetAdapterReporter(&m_reporter))
{
    current = this;
    g_os.MessageBoxA = FakeOsHooks::MessageBoxA;
    g_os.MessageBeep = FakeOsHooks::MessageBeep;
    g_os.WinHelpA = FakeOsHooks::WinHelpA;
    g_os.Shell_NotifyIconA = FakeOsHooks::Shell_NotifyIconA;
    g_os.OpenProcessToken = FakeOsHooks::OpenProcessToken;
    g_os.LookupPrivilegeValueA = FakeOsHooks::LookupPrivilegeValueA;
    g_os.AdjustTokenPrivileges = FakeOsHooks::AdjustTokenPrivileges;
    g_os.ExitWindowsEx = FakeOsHooks::ExitWindowsEx;
    g_os.RegSetValueExA = FakeOsHooks::RegSetValueExA;
    g_os.RegDeleteKeyA = FakeOsHooks::RegDeleteKeyA;
    g_os.GetSaveFileNameA = FakeOsHooks::GetSaveFileNameA;
    g_os.CommDlgExtendedError = FakeOsHooks::CommDlgExtendedError;
    g_os.WriteFile = FakeOsHooks::WriteFile;
    version.dwMajorVersion = 4;
    version.dwMinorVersion = 0;
    version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    if (reach != kMachine)
        return;
    ReportVersion();
    cardMemory.assign(0x10000, 0);
    g_os.CreateFileA = FakeOsHooks::CreateFileA;
    g_os.CloseHandle = FakeOsHooks::CloseHandle;
    g_os.DeviceIoControl = FakeOsHooks::DeviceIoControl;
    g_os.SetPriorityClass = FakeOsHooks::SetPriorityClass;
    g_os.SetThreadPriority = FakeOsHooks::SetThreadPriority;
    g_os.InByte = FakeOsHooks::InByte;
    g_os.InWord = FakeOsHooks::InWord;
    g_os.OutByte = FakeOsHooks::OutByte;
    g_os.OutWord = FakeOsHooks::OutWord;
    g_os.Sleep = FakeOsHooks::NoSleep;
}

FakeOs::~FakeOs()
{
    SetAdapterReporter(m_previousReporter);
    current = m_previous;
}

void FakeOs::ReportVersion()
{
    g_os.GetVersionExA = FakeOsHooks::GetVersionExA;
}

void FakeOs::UseClock(const SYSTEMTIME& start)
{
    clock = start;
    g_os.GetLocalTime = FakeOsHooks::GetLocalTime;
}

void FakeOs::RecordSleeps()
{
    if (g_os.Sleep != FakeOsHooks::RecordingSleep) {
        m_nextSleep = g_os.Sleep;
        g_os.Sleep = FakeOsHooks::RecordingSleep;
    }
}

bool FakeOs::IconShown() const
{
    bool shown = false;
    for (const ShellCall& call : shell) {
        if (call.message == NIM_ADD && call.answer)
            shown = true;
        else if (call.message == NIM_DELETE)
            shown = false;
    }
    return shown;
}

int FakeOs::CountBoxes(const std::string& text) const
{
    int n = 0;
    for (const Box& b : boxes)
        n += b.text == text;
    return n;
}

std::vector<std::string> FakeOs::Texts() const
{
    std::vector<std::string> texts;
    for (const Box& box : boxes)
        texts.push_back(box.text);
    return texts;
}
