// GtestNotification.h - forced into every test unit: GoogleTest's one use of
// std::mutex and std::condition_variable (its Notification), without them,
// because the program's runtime has the win32 thread model, whose C++ library
// has neither. windows.h stays out: its macros would reach every test.
#pragma once

#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

namespace testing {
namespace internal {

class Notification
{
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { m_notified = true; }
    void WaitForNotification()
    {
        while (!m_notified)
            Sleep(1);
    }

private:
    std::atomic<bool> m_notified{false};
};

} // namespace internal
} // namespace testing
