// PortAccess.cpp - register and card memory access on both paths. Failures of
// the driver are shown where they happen; callers always get a value.
#include "adapter/PortAccess.h"

#include "adapter/AdapterReporter.h"
#include "framework/Os.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char kDevicePath[] = "\\\\.\\razuDov";

bool DirectPath()
{
    return GetAdapterLink().PlatformKind == PLATFORM_WIN9X;
}

WORD PortOf(WORD offset)
{
    return (WORD)(GetAdapterLink().IoBase + offset);
}

// The driver counts single ports from 0x240; lower ports travel negative.
LONG DriverPortNumber(WORD port)
{
    return (LONG)port - (LONG)RAZU_PORT_ORIGIN;
}

// One self-contained driver request: open, control, close. Returns false
// when the device could not be opened (already reported); `ok` tells whether
// the control request itself succeeded.
bool DriverRequest(DWORD access, DWORD share, DWORD code, void* in, DWORD inSize, void* out,
                   DWORD outSize, bool* ok, bool reportOpenFailure = true)
{
    HANDLE dev = g_os.CreateFileA(kDevicePath, access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (dev == INVALID_HANDLE_VALUE) {
        if (reportOpenFailure) {
            // Marked once the box is answered: the no-response message that
            // follows comes after it.
            TellUser(AdapterNotice::PortNoDevice);
            NoteDriverGone();
        }
        return false;
    }
    DWORD returned = 0;
    *ok = g_os.DeviceIoControl(dev, code, in, inSize, out, outSize, &returned, nullptr) != 0;
    if (!g_os.CloseHandle(dev))
        TellUser(AdapterNotice::PortCloseFailed);
    return true;
}

template <class T> T DriverRead(WORD offset, DWORD code)
{
    WORD port = PortOf(offset);
    LONG number = DriverPortNumber(port);
    T value = 0;
    bool ok = false;
    if (!DriverRequest(GENERIC_READ, FILE_SHARE_READ, code, &number, sizeof(number), &value,
                       sizeof(value), &ok))
        return 1;
    if (!ok) {
        TellUser(AdapterNotice::PortReadFailed, nullptr, port);
        return 0;
    }
    return value;
}

template <class T> T DriverWrite(WORD offset, T value, DWORD code)
{
    WORD port = PortOf(offset);
    BYTE in[sizeof(LONG) + sizeof(T)];
    LONG number = DriverPortNumber(port);
    memcpy(in, &number, sizeof(number));
    memcpy(in + sizeof(number), &value, sizeof(value));
    bool ok = false;
    if (!DriverRequest(GENERIC_WRITE, FILE_SHARE_WRITE, code, in, sizeof(in), nullptr, 0, &ok))
        return 0;
    if (!ok) {
        TellUser(AdapterNotice::PortWriteFailed, nullptr, port);
        return 0;
    }
    return value;
}

// Real-time priority for the duration of a block transfer, restored on every path.
class PriorityBracket
{
public:
    PriorityBracket()
    {
        g_os.SetPriorityClass(::GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
        g_os.SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    }
    ~PriorityBracket()
    {
        g_os.SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_NORMAL);
        g_os.SetPriorityClass(::GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    }
    PriorityBracket(const PriorityBracket&) = delete;
    PriorityBracket& operator=(const PriorityBracket&) = delete;
};

void FillHeader(BYTE* header, WORD wordAddress, WORD byteCount)
{
    const WORD words[5] = {0, ADDRESS_REG, DATA_REG, wordAddress, byteCount};
    memcpy(header, words, sizeof(words));
}

// Block transfers move whole words. An odd count (no caller asks for one)
// moves its last byte as the low half of one more word; a write keeps the
// card's high half of that word as it was. Both say whether the transfer
// happened: a refused driver request is shown here, and a refused read leaves
// the caller's buffer as it was, because whatever the driver's buffer holds
// then is not card memory.
bool ReadBlock(WORD wordAddress, BYTE* dest, WORD byteCount)
{
    WORD evenCount = (WORD)((byteCount + 1u) & ~1u);
    if (DirectPath()) {
        PortWriteWord(ADDRESS_REG, wordAddress);
        WORD port = PortOf(DATA_REG);
        for (WORD i = 0; i < evenCount; i += 2) {
            WORD word = g_os.InWord(port);
            dest[i] = LOBYTE(word);
            if (i + 1u < byteCount)
                dest[i + 1] = HIBYTE(word);
        }
        return true;
    }
    BYTE header[RAZU_BLOCK_HEADER_SIZE];
    FillHeader(header, wordAddress, byteCount);
    std::vector<BYTE> answer(evenCount ? evenCount : 2, 0);
    bool ok = false;
    if (!DriverRequest(0, FILE_SHARE_WRITE, IOCTL_RAZU_READ_BLOCK, header, sizeof(header),
                       answer.data(), evenCount, &ok))
        return false;
    if (!ok) {
        TellUser(AdapterNotice::PortIoctlFailed);
        return false;
    }
    memcpy(dest, answer.data(), byteCount);
    return true;
}

bool WriteBlock(WORD wordAddress, const BYTE* src, WORD byteCount)
{
    WORD evenCount = (WORD)((byteCount + 1u) & ~1u);
    std::vector<BYTE> data(src, src + byteCount);
    if (byteCount & 1) {
        BYTE last[2] = {0, 0};
        if (!ReadBlock((WORD)(wordAddress + byteCount / 2), last, 2))
            return false;
        data.push_back(last[1]);
    }
    if (DirectPath()) {
        PortWriteWord(ADDRESS_REG, wordAddress);
        WORD port = PortOf(DATA_REG);
        for (WORD i = 0; i < evenCount; i += 2)
            g_os.OutWord(port, MAKEWORD(data[i], data[i + 1]));
        return true;
    }
    std::vector<BYTE> in(RAZU_BLOCK_HEADER_SIZE + evenCount);
    FillHeader(in.data(), wordAddress, evenCount);
    memcpy(in.data() + RAZU_BLOCK_HEADER_SIZE, data.data(), evenCount);
    bool ok = false;
    if (!DriverRequest(GENERIC_WRITE, FILE_SHARE_WRITE, IOCTL_RAZU_WRITE_BLOCK, in.data(),
                       (DWORD)in.size(), nullptr, 0, &ok))
        return false;
    if (!ok)
        TellUser(AdapterNotice::PortIoctlFailed);
    return ok;
}

} // namespace

BYTE PortReadByte(WORD offset)
{
    if (DirectPath())
        return g_os.InByte(PortOf(offset));
    return DriverRead<BYTE>(offset, IOCTL_RAZU_READ_BYTE);
}

WORD PortReadWord(WORD offset)
{
    if (DirectPath())
        return g_os.InWord(PortOf(offset));
    return DriverRead<WORD>(offset, IOCTL_RAZU_READ_WORD);
}

BYTE PortWriteByte(WORD offset, BYTE value)
{
    if (DirectPath()) {
        g_os.OutByte(PortOf(offset), value);
        return value;
    }
    return DriverWrite<BYTE>(offset, value, IOCTL_RAZU_WRITE_BYTE);
}

WORD PortWriteWord(WORD offset, WORD value)
{
    if (DirectPath()) {
        g_os.OutWord(PortOf(offset), value);
        return value;
    }
    return DriverWrite<WORD>(offset, value, IOCTL_RAZU_WRITE_WORD);
}

bool ReadCardMemory(WORD wordAddress, void* buffer, WORD byteCount)
{
    PriorityBracket priority;
    return ReadBlock(wordAddress, static_cast<BYTE*>(buffer), byteCount);
}

bool WriteCardMemory(WORD wordAddress, const void* buffer, WORD byteCount)
{
    PriorityBracket priority;
    return WriteBlock(wordAddress, static_cast<const BYTE*>(buffer), byteCount);
}

int DriverSetBase(WORD ioBase)
{
    WORD in = ioBase, answer = 0;
    bool ok = false;
    if (!DriverRequest(0, FILE_SHARE_READ | FILE_SHARE_WRITE, IOCTL_RAZU_SET_BASE, &in, sizeof(in),
                       &answer, sizeof(answer), &ok, false))
        return -1;
    if (!ok) {
        TellUser(AdapterNotice::PortIoctlFailed);
        return 0;
    }
    return answer != 0 ? 1 : 0;
}
