// PortTrap.cpp - the vectored exception handler that performs trapped port
// instructions on the simulated bus.
#include "sim/PortTrap.h"

#include <windows.h>

#include "sim/SharedCard.h"
#include "sim/SimProtocol.h"

namespace {

PVOID g_handler = nullptr;
HANDLE g_device = INVALID_HANDLE_VALUE;
HANDLE g_mapping = nullptr;
SharedCard* volatile g_card = nullptr;
volatile LONG g_trapped = 0;
volatile LONG g_noDriver = 0;
volatile LONG g_shared = 0;
volatile LONG g_takeovers = 0;
LARGE_INTEGER g_frequency = {};

// The machine clock in milliseconds, as razuDov reads it: both read the
// one performance counter.
uint32_t MachineClock(void*)
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return g_frequency.QuadPart
               ? static_cast<uint32_t>(static_cast<unsigned long long>(now.QuadPart) * 1000u /
                                       static_cast<unsigned long long>(g_frequency.QuadPart))
               : 0;
}

bool ProcessAlive(uint32_t process, void*)
{
    HANDLE handle = ::OpenProcess(SYNCHRONIZE, FALSE, process);
    if (!handle)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD state = ::WaitForSingleObject(handle, 0);
    ::CloseHandle(handle);
    return state == WAIT_TIMEOUT;
}

void Pause(void*)
{
    ::SwitchToThread();
}

// How long an instruction waits for a card whose lock another side holds,
// and, after one waited in vain, how long the next ones wait until the card
// answers again: a held lock makes a silent card, never a frozen window.
const uint32_t kWaitMs = 100;
const uint32_t kWaitAgainMs = 2;
uint32_t g_held = 0; // this process's threads holding the card's lock
volatile LONG g_waitMs = kWaitMs;

SharedLock::Side Side()
{
    SharedLock::Side side = {static_cast<uint32_t>(::GetCurrentProcessId()),
                             &ProcessAlive,
                             &Pause,
                             &MachineClock,
                             nullptr,
                             &g_held,
                             static_cast<uint32_t>(g_waitMs)};
    return side;
}

// The card's section, mapped on first use; nullptr while razuDov has none.
SharedCard* Card()
{
    if (g_card)
        return g_card;
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, SIM_SECTION_USER_NAME);
    if (!mapping)
        return nullptr;
    void* view = ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedCard));
    if (!view) {
        ::CloseHandle(mapping);
        return nullptr;
    }
    ::QueryPerformanceFrequency(&g_frequency);
    Firmware::SetMachineClock(&MachineClock, nullptr);
    if (::InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(&g_card), view,
                                            nullptr) != nullptr) {
        ::UnmapViewOfFile(view); // another thread mapped it first
        ::CloseHandle(mapping);
        return g_card;
    }
    g_mapping = mapping;
    return g_card;
}

// The same request on the shared card: true when the card there took it,
// answered or not (a busy or damaged card floats the bus); false when the
// section holds no card of this build.
bool SharedRequest(uint32_t code, SimRawPort* request, bool isIn)
{
    SharedCard* card = Card();
    if (!card)
        return false;
    SharedLock::Side side = Side();
    uint32_t takeovers = card->Lock().Takeovers();
    uint32_t information = 0, status = SIM_STATUS_DEVICE_NOT_READY;
    SharedCard::Outcome outcome = card->Control(side, code, request, sizeof *request, request,
                                                isIn ? sizeof *request : 0, &information, &status);
    ::InterlockedExchange(&g_waitMs, outcome == SharedCard::BUSY ? kWaitAgainMs : kWaitMs);
    if (card->Lock().Takeovers() != takeovers)
        ::InterlockedIncrement(&g_takeovers);
    if (outcome == SharedCard::NO_CARD)
        return false;
    ::InterlockedIncrement(&g_shared);
    if (status != SIM_STATUS_SUCCESS)
        request->value = request->width == 1 ? 0xFF : 0xFFFF;
    return true;
}

HANDLE Device()
{
    if (g_device == INVALID_HANDLE_VALUE)
        g_device =
            ::CreateFileA(SIM_USER_PATH, GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    return g_device;
}

// One bus access of 1 or 2 bytes: on the shared card, else through the
// driver. Without either the bus floats.
unsigned short Bus(bool isIn, unsigned short port, int width, unsigned short value)
{
    SimRawPort request = {port, static_cast<uint16_t>(width), value, 0};
    if (SharedRequest(isIn ? SIM_IOCTL_RAW_READ : SIM_IOCTL_RAW_WRITE, &request, isIn))
        return request.value;
    HANDLE device = Device();
    DWORD returned = 0;
    BOOL ok = FALSE;
    if (device != INVALID_HANDLE_VALUE)
        ok = ::DeviceIoControl(device, isIn ? SIM_IOCTL_RAW_READ : SIM_IOCTL_RAW_WRITE, &request,
                               sizeof request, &request, isIn ? sizeof request : 0, &returned,
                               nullptr);
    if (!ok) {
        ::InterlockedIncrement(&g_noDriver);
        return width == 1 ? 0xFF : 0xFFFF;
    }
    return request.value;
}

LONG CALLBACK Handler(EXCEPTION_POINTERS* info)
{
    // Wine raises a privileged-instruction exception for IN and OUT; the
    // code at Eip is then known to be readable.
    if (info->ExceptionRecord->ExceptionCode != EXCEPTION_PRIV_INSTRUCTION)
        return EXCEPTION_CONTINUE_SEARCH;
    CONTEXT* context = info->ContextRecord;
    unsigned short port = 0;
    int width = 0;
    bool isIn = false;
    int length =
        DecodePortInstruction(reinterpret_cast<const unsigned char*>(context->Eip),
                              static_cast<unsigned short>(context->Edx), &port, &width, &isIn);
    if (length == 0)
        return EXCEPTION_CONTINUE_SEARCH;

    if (isIn) {
        if (width == 1)
            context->Eax = (context->Eax & ~0xFFu) | (Bus(true, port, 1, 0) & 0xFF);
        else if (width == 2)
            context->Eax = (context->Eax & ~0xFFFFu) | Bus(true, port, 2, 0);
        else
            context->Eax =
                Bus(true, port, 2, 0) |
                (static_cast<DWORD>(Bus(true, static_cast<unsigned short>(port + 2), 2, 0)) << 16);
    } else {
        if (width == 4) {
            Bus(false, port, 2, static_cast<unsigned short>(context->Eax));
            Bus(false, static_cast<unsigned short>(port + 2), 2,
                static_cast<unsigned short>(context->Eax >> 16));
        } else {
            Bus(false, port, width,
                static_cast<unsigned short>(context->Eax & (width == 1 ? 0xFF : 0xFFFF)));
        }
    }
    ::InterlockedIncrement(&g_trapped);
    context->Eip += length;
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

int DecodePortInstruction(const unsigned char* code, unsigned short dx, unsigned short* port,
                          int* width, bool* isIn)
{
    int length = 0;
    bool operand16 = false;
    if (code[0] == 0x66) {
        operand16 = true;
        length = 1;
    }
    unsigned char op = code[length++];
    int wide = operand16 ? 2 : 4;
    switch (op) {
    case 0xEC:
        *port = dx;
        *width = 1;
        *isIn = true;
        break;
    case 0xED:
        *port = dx;
        *width = wide;
        *isIn = true;
        break;
    case 0xEE:
        *port = dx;
        *width = 1;
        *isIn = false;
        break;
    case 0xEF:
        *port = dx;
        *width = wide;
        *isIn = false;
        break;
    case 0xE4:
        *port = code[length++];
        *width = 1;
        *isIn = true;
        break;
    case 0xE5:
        *port = code[length++];
        *width = wide;
        *isIn = true;
        break;
    case 0xE6:
        *port = code[length++];
        *width = 1;
        *isIn = false;
        break;
    case 0xE7:
        *port = code[length++];
        *width = wide;
        *isIn = false;
        break;
    default:
        return 0;
    }
    return length;
}

bool InstallPortTrapIfWine()
{
    if (g_handler)
        return true;
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    if (!ntdll || !::GetProcAddress(ntdll, "wine_get_version"))
        return false;
    // Looked up, not imported: Windows 95/98 and NT 4.0 have no such function
    // and the program must still load there.
    typedef PVOID(WINAPI * AddHandler)(ULONG, PVECTORED_EXCEPTION_HANDLER);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    AddHandler add =
        kernel
            ? reinterpret_cast<AddHandler>(::GetProcAddress(kernel, "AddVectoredExceptionHandler"))
            : nullptr;
    if (!add)
        return false;
    g_handler = add(1, Handler);
    return g_handler != nullptr;
}

void RemovePortTrap()
{
    if (g_handler) {
        typedef ULONG(WINAPI * RemoveHandler)(PVOID);
        HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
        RemoveHandler remove = kernel ? reinterpret_cast<RemoveHandler>(::GetProcAddress(
                                            kernel, "RemoveVectoredExceptionHandler"))
                                      : nullptr;
        if (remove)
            remove(g_handler);
        g_handler = nullptr;
    }
    if (g_device != INVALID_HANDLE_VALUE) {
        ::CloseHandle(g_device);
        g_device = INVALID_HANDLE_VALUE;
    }
    if (g_card) {
        ::UnmapViewOfFile(g_card);
        ::CloseHandle(g_mapping);
        g_card = nullptr;
        g_mapping = nullptr;
    }
}

unsigned short PortTrapBus(bool isIn, unsigned short port, int width, unsigned short value)
{
    return Bus(isIn, port, width, value);
}

PortTrapCounters GetPortTrapCounters()
{
    PortTrapCounters counters = {
        static_cast<unsigned long>(g_trapped), static_cast<unsigned long>(g_noDriver),
        static_cast<unsigned long>(g_shared), static_cast<unsigned long>(g_takeovers)};
    return counters;
}
