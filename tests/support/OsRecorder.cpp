// OsRecorder.cpp - the fake operating system calls behind OsRecorder.
#include "tests/support/OsRecorder.h"

#include <cstring>

OsRecorder* OsRecorder::current = nullptr;

namespace {
HANDLE const kDevice = reinterpret_cast<HANDLE>(0x5A5A);
DWORD s_lastAccess, s_lastShare;
} // namespace

struct OsRecorderHooks
{
    static OsRecorder& R() { return *OsRecorder::current; }

    static int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT style)
    {
        R().messages.push_back({text ? text : "", caption ? caption : "", style});
        return R().messageBoxAnswer;
    }
    static BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info)
    {
        if (R().versionFails || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))
            return FALSE;
        *info = R().version;
        info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        return TRUE;
    }
    static HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share,
                                     LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD flags,
                                     HANDLE)
    {
        if (!R().driverPresent || strcmp(name, "\\\\.\\razuDov") != 0 ||
            disposition != OPEN_EXISTING || flags != 0)
            return INVALID_HANDLE_VALUE;
        ++R().opens;
        s_lastAccess = access;
        s_lastShare = share;
        return kDevice;
    }
    static BOOL WINAPI CloseHandle(HANDLE h)
    {
        ++R().closes;
        return h == kDevice && !R().closeFails;
    }
    static BOOL WINAPI DeviceIoControl(HANDLE dev, DWORD code, LPVOID in, DWORD inSize,
                                       LPVOID out, DWORD outSize, LPDWORD returned,
                                       LPOVERLAPPED)
    {
        OsRecorder& r = R();
        const BYTE* bytes = static_cast<const BYTE*>(in);
        r.calls.push_back({code, s_lastAccess, s_lastShare,
                           std::vector<BYTE>(bytes, bytes + inSize), outSize});
        *returned = 0;
        if (dev != kDevice)
            return FALSE;
        if (r.controlFails) {
            if (out)
                memset(out, 0xEE, outSize);
            return FALSE;
        }
        if (code == 0x9C402488) {
            memcpy(out, &r.setBaseAnswer, 2);
            *returned = 2;
        } else if (code == 0x9C402480) {
            WORD header[5];
            memcpy(header, in, sizeof(header));
            for (DWORD i = 0; i < outSize / 2; ++i) {
                WORD w = r.cardMemory[(WORD)(header[3] + i)];
                memcpy(static_cast<BYTE*>(out) + 2 * i, &w, 2);
            }
            *returned = outSize;
        } else if (code == 0x9C40A484) {
            WORD header[5];
            memcpy(header, in, sizeof(header));
            for (DWORD i = 0; i < (inSize - 10) / 2; ++i)
                memcpy(&r.cardMemory[(WORD)(header[3] + i)], bytes + 10 + 2 * i, 2);
        } else if (code == 0x9C406400 || code == 0x9C406404) {
            memset(out, 0x42, outSize);
            *returned = outSize;
        }
        return TRUE;
    }
    static BOOL WINAPI SetPriorityClass(HANDLE, DWORD cls)
    {
        R().priority.push_back("class " + std::to_string(cls));
        return TRUE;
    }
    static BOOL WINAPI SetThreadPriority(HANDLE, int level)
    {
        R().priority.push_back("thread " + std::to_string(level));
        return TRUE;
    }
    static BYTE InByte(WORD port)
    {
        R().ports.push_back({'i', 8, port, 0});
        return 0x5A;
    }
    static WORD InWord(WORD port)
    {
        OsRecorder& r = R();
        WORD value = r.cardMemory[r.m_address++];
        r.ports.push_back({'i', 16, port, value});
        return value;
    }
    static void OutByte(WORD port, BYTE value) { R().ports.push_back({'o', 8, port, value}); }
    static void OutWord(WORD port, WORD value)
    {
        OsRecorder& r = R();
        r.ports.push_back({'o', 16, port, value});
        // The recorder's card sits wherever the port layer aims: offset 2 sets
        // the address, offset 4 moves data.
        if ((port & 7) == 2)
            r.m_address = value;
        else if ((port & 7) == 4)
            r.cardMemory[r.m_address++] = value;
    }
    static void WINAPI Sleep(DWORD) {}
};

OsRecorder::OsRecorder() : cardMemory(0x10000, 0)
{
    current = this;
    version.dwMajorVersion = 4;
    version.dwMinorVersion = 0;
    version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    g_os.MessageBoxA = OsRecorderHooks::MessageBoxA;
    g_os.GetVersionExA = OsRecorderHooks::GetVersionExA;
    g_os.CreateFileA = OsRecorderHooks::CreateFileA;
    g_os.CloseHandle = OsRecorderHooks::CloseHandle;
    g_os.DeviceIoControl = OsRecorderHooks::DeviceIoControl;
    g_os.SetPriorityClass = OsRecorderHooks::SetPriorityClass;
    g_os.SetThreadPriority = OsRecorderHooks::SetThreadPriority;
    g_os.InByte = OsRecorderHooks::InByte;
    g_os.InWord = OsRecorderHooks::InWord;
    g_os.OutByte = OsRecorderHooks::OutByte;
    g_os.OutWord = OsRecorderHooks::OutWord;
    g_os.Sleep = OsRecorderHooks::Sleep;
}

OsRecorder::~OsRecorder()
{
    current = nullptr;
}
