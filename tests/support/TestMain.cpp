// TestMain.cpp - every test program's main. GoogleTest on Windows starts a
// thread of its own (the watcher of its thread-local values) the first time a
// test runs. A program as short as most of ours can end while that thread is
// still being set up inside Wine, and Wine then dies of SIGSEGV after the
// tests have passed. So the program ends only once every other thread it has
// has started: a thread has started when it is told to the program's TLS
// callback, which the loader calls once the thread is set up.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

namespace {

const LONG kMaxThreads = 1024;
volatile LONG g_startedCount;
volatile DWORD g_started[kMaxThreads];

void NTAPI OnThread(PVOID, DWORD reason, PVOID)
{
    if (reason != DLL_THREAD_ATTACH)
        return;
    LONG slot = ::InterlockedIncrement(&g_startedCount) - 1;
    if (slot < kMaxThreads)
        g_started[slot] = ::GetCurrentThreadId();
}

bool HasStarted(DWORD id)
{
    LONG count = g_startedCount < kMaxThreads ? g_startedCount : kMaxThreads;
    for (LONG i = 0; i < count; ++i)
        if (g_started[i] == id)
            return true;
    return g_startedCount > kMaxThreads; // past the table: cannot tell
}

// True when every thread of this process but the caller has started.
bool AllThreadsStarted()
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return true;
    bool all = true;
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Thread32First(snapshot, &entry); more && all;
         more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId() &&
            entry.th32ThreadID != ::GetCurrentThreadId())
            all = HasStarted(entry.th32ThreadID);
    }
    ::CloseHandle(snapshot);
    return all;
}

} // namespace

// The loader calls what .CRT$XL* holds for every thread that starts.
extern "C" __attribute__((section(".CRT$XLF"), used))
const PIMAGE_TLS_CALLBACK g_testThreadCallback = OnThread;

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    // A thread that never starts must not hold the program for ever.
    for (DWORD waited = 0; !AllThreadsStarted() && waited < 10000; waited += 10)
        ::Sleep(10);
    return result;
}
