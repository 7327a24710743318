// DriverAccess.cpp - the real razuDov driver for tests.
#include "tests/support/DriverAccess.h"

#include "sim/SimProtocol.h"

#include <string.h>

namespace {
bool Private(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize)
{
    HANDLE h = ::CreateFileA(SIM_USER_PATH, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    BOOL ok =
        ::DeviceIoControl(h, code, const_cast<void*>(in), inSize, out, outSize, &got, nullptr);
    ::CloseHandle(h);
    return ok != FALSE;
}

// The service does not outlive the wineserver: start it again when it is
// installed. Installing it is the machine set-up's business.
void StartDriverService()
{
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return;
    SC_HANDLE service = ::OpenServiceA(manager, "razuDov", SERVICE_START);
    if (service) {
        ::StartServiceA(service, 0, nullptr);
        ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager);
}
} // namespace

std::string LoadDriverScenario(const char* scenarioText)
{
    StartDriverService();
    SimTextResult result = {};
    if (!Private(SIM_IOCTL_LOAD_SCENARIO, scenarioText, DWORD(strlen(scenarioText)), &result,
                 sizeof(result)))
        return "razuDov is not running in this prefix";
    if (result.ok != 1)
        return std::string("the scenario was refused: ") + result.message;
    return std::string();
}

WORD DriverCardBase()
{
    SimState state = {};
    return Private(SIM_IOCTL_GET_STATE, nullptr, 0, &state, sizeof(state)) ? state.ioBase : 0;
}
