// TestThread.h - a joinable thread for tests: the program's runtime has win32
// threads only, and its C++ library no std::thread.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

class TestThread
{
public:
    template <typename F, typename... Args>
    explicit TestThread(F&& f, Args&&... args)
        : m_body(std::bind(std::forward<F>(f), std::forward<Args>(args)...))
    {
        m_handle = ::CreateThread(nullptr, 0, &TestThread::Start, this, 0, nullptr);
    }
    ~TestThread() { join(); }
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;

    void join()
    {
        if (m_handle) {
            ::WaitForSingleObject(m_handle, INFINITE);
            ::CloseHandle(m_handle);
            m_handle = nullptr;
        }
    }

private:
    static DWORD WINAPI Start(LPVOID self)
    {
        static_cast<TestThread*>(self)->m_body();
        return 0;
    }

    std::function<void()> m_body;
    HANDLE m_handle = nullptr;
};
