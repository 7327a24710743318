// StartupBench.cpp - how long the program takes from its process's start to
// the tool window shown and the notification icon added, against a minimal
// Win32 program of the same toolchain starting to its first window, both on
// the running machine, in alternating rounds. The firmware's pauses during
// discovery are the card's, not ours: the card counts the commands it
// answered, and each costs the program two mailbox pauses (one before it
// sends, one before it reads the answer, which the card gives at the first
// poll); they are taken out.
// `startup_bench PROGRAM MINIMAL [rounds]`; prints the figure's line.
#include <windows.h>

#include "sim/SimProtocol.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kToolTitle[] = "Corvane Utility";
const int kExitCommand = 1004; // the tool window's Exit
const double kPausesPerCommandMs = 2 * 50;
const double kGiveUpMs = 30000;
// Between looks the bench sleeps: a spinning look would take one of the
// machine's two cores from the program and the processes its start waits on.
const DWORD kPollMs = 1;

double NowMs()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return 1000.0 * (double)c.QuadPart / (double)f.QuadPart;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The notification area: the right quarter of the taskbar, plain face
// colour but for its icons. The machine shows its taskbar only while it has
// something to show.
struct Tray
{
    // Whether an icon shows there: more than a few pixels differ from the
    // face colour at the area's left end (its border rows left aside).
    static bool IconShown()
    {
        HWND wnd = ::FindWindowA("Shell_TrayWnd", nullptr);
        RECT rc;
        if (!wnd || !::IsWindowVisible(wnd) || !::GetClientRect(wnd, &rc) || rc.bottom < 8)
            return false;
        const int left = rc.right - rc.right / 4, w = rc.right - left, h = rc.bottom - 6;
        std::vector<DWORD> bits((size_t)w * h);
        HDC dc = ::GetDC(wnd);
        HDC mem = ::CreateCompatibleDC(dc);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* raw = nullptr;
        HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &raw, nullptr, 0);
        if (bmp && raw) {
            HGDIOBJ old = ::SelectObject(mem, bmp);
            ::BitBlt(mem, 0, 0, w, h, dc, left, 3, SRCCOPY);
            ::GdiFlush();
            std::memcpy(bits.data(), raw, bits.size() * sizeof(DWORD));
            ::SelectObject(mem, old);
        }
        if (bmp)
            ::DeleteObject(bmp);
        ::DeleteDC(mem);
        ::ReleaseDC(wnd, dc);
        const DWORD face = bits[(size_t)(h / 2) * w];
        int differ = 0;
        for (DWORD px : bits)
            differ += px != face;
        return differ > 20;
    }
};

struct Found
{
    DWORD pid;
    const char* title;
    HWND wnd;
};

BOOL CALLBACK FindShown(HWND hWnd, LPARAM lParam)
{
    Found* f = reinterpret_cast<Found*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != f->pid || !::IsWindowVisible(hWnd))
        return TRUE;
    char text[128] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    if (f->title && std::strncmp(text, f->title, std::strlen(f->title)) != 0)
        return TRUE;
    f->wnd = hWnd;
    return FALSE;
}

HWND ShownWindow(DWORD pid, const char* title)
{
    Found f = {pid, title, nullptr};
    ::EnumWindows(FindShown, reinterpret_cast<LPARAM>(&f));
    return f.wnd;
}

bool Start(const std::string& path, PROCESS_INFORMATION* pi)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string line = "\"" + path + "\"";
    return ::CreateProcessA(path.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, pi) != FALSE;
}

void End(PROCESS_INFORMATION& pi, HWND wnd, UINT command)
{
    if (wnd)
        ::PostMessageA(wnd, command ? WM_COMMAND : WM_CLOSE, command, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

// The commands the card has answered, read from the simulated card's control
// device: starting `cardctl` for it would put a whole process start and end
// just before each of the program's starts, which the minimal program's
// starts do not get.
long CommandsAnswered()
{
    HANDLE h =
        ::CreateFileA(SIM_USER_PATH, GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    SimState state = {};
    DWORD got = 0;
    BOOL ok =
        ::DeviceIoControl(h, SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof state, &got, nullptr);
    ::CloseHandle(h);
    return ok && got == sizeof state ? (long)state.commandsAnswered : -1;
}

// Waits until no icon shows in the tray (the last copy's is gone).
bool TrayClear()
{
    for (double end = NowMs() + 10000; NowMs() < end; ::Sleep(20))
        if (!Tray::IconShown())
            return true;
    return false;
}

// One start of the minimal program to its window, in ms; negative on failure.
double MinimalRound(const std::string& minimal)
{
    PROCESS_INFORMATION pi = {};
    double t0 = NowMs();
    if (!Start(minimal, &pi)) {
        std::fprintf(stderr, "startup_bench: cannot start %s\n", minimal.c_str());
        return -1;
    }
    HWND wnd = nullptr;
    while (!(wnd = ShownWindow(pi.dwProcessId, nullptr)) && NowMs() - t0 < kGiveUpMs)
        ::Sleep(kPollMs);
    double took = NowMs() - t0;
    End(pi, wnd, 0);
    if (!wnd) {
        std::fprintf(stderr, "startup_bench: the minimal program showed no window\n");
        return -1;
    }
    return took;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench PROGRAM MINIMAL [rounds]\n");
        return 2;
    }
    const std::string program = argv[1], minimal = argv[2];
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    // A first start brings the machine's desktop up and warms what both
    // programs load; it is not counted.
    if (MinimalRound(minimal) < 0)
        return 1;
    std::vector<double> ours, floor, whole, pauses;
    for (int r = 0; r < rounds; ++r) {
        // The floor: the minimal program to its window.
        double least = MinimalRound(minimal);
        if (least < 0)
            return 1;
        floor.push_back(least);

        // The program: to its tool window shown and its icon in the tray.
        if (!TrayClear()) {
            std::fprintf(stderr, "startup_bench: the tray did not clear\n");
            return 1;
        }
        long before = CommandsAnswered();
        PROCESS_INFORMATION pi = {};
        double t0 = NowMs();
        if (!Start(program, &pi)) {
            std::fprintf(stderr, "startup_bench: cannot start %s\n", program.c_str());
            return 1;
        }
        HWND wnd = nullptr;
        bool icon = false;
        // The tray is read from the screen, which costs the shell and the
        // display that draw it: it is looked at once the window shows (the
        // program adds its icon first), and again only while it is missing.
        while ((!wnd || !icon) && NowMs() - t0 < kGiveUpMs) {
            if (!wnd)
                wnd = ShownWindow(pi.dwProcessId, kToolTitle);
            if (wnd && !icon)
                icon = Tray::IconShown();
            if (!wnd || !icon)
                ::Sleep(kPollMs);
        }
        double took = NowMs() - t0;
        long after = CommandsAnswered();
        End(pi, wnd, kExitCommand);
        if (!wnd || !icon) {
            std::fprintf(stderr, "startup_bench: the program showed %s\n",
                         wnd ? "no notification icon" : "no tool window");
            return 1;
        }
        if (before < 0 || after < before) {
            std::fprintf(stderr, "startup_bench: cannot read the card's command count\n");
            return 1;
        }
        double paused = (double)(after - before) * kPausesPerCommandMs;
        whole.push_back(took);
        pauses.push_back(paused);
        ours.push_back(took - paused);
        std::printf("  round %d: minimal %.0f ms, program %.0f ms less %.0f ms of pauses\n", r + 1,
                    least, took, paused);
    }
    double own = Median(ours), least = Median(floor);
    std::printf("start-up to the tool window and icon: %.0f ms, ratio %.2f (floor: a minimal "
                "Win32 program to its first window, %.0f ms)\n",
                own, own / least, least);
    std::printf("  start-up with the firmware's pauses: %.0f ms, of them pauses %.0f ms\n",
                Median(whole), Median(pauses));
    return 0;
}
