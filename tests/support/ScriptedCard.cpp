// ScriptedCard.cpp - the scripted card behind the driver's block requests.
#include "tests/support/ScriptedCard.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/PortAccess.h"

#include <string.h>

ScriptedCard* ScriptedCard::current = nullptr;

namespace {
HANDLE const kDevice = reinterpret_cast<HANDLE>(0x5150);

uint16_t Word(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
} // namespace

struct ScriptedCardHooks
{
    static HANDLE WINAPI CreateFileA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                     HANDLE)
    {
        return ScriptedCard::current->driverGone ? INVALID_HANDLE_VALUE : kDevice;
    }
    static BOOL WINAPI CloseHandle(HANDLE h) { return h == kDevice; }
    static BOOL WINAPI DeviceIoControl(HANDLE dev, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                                       DWORD outSize, LPDWORD returned, LPOVERLAPPED)
    {
        ScriptedCard* card = ScriptedCard::current;
        if (returned)
            *returned = 0;
        if (dev != kDevice || !in || inSize < RAZU_BLOCK_HEADER_SIZE)
            return FALSE;
        const uint8_t* header = static_cast<const uint8_t*>(in);
        uint16_t address = Word(header + 6), count = Word(header + 8);
        if (code == IOCTL_RAZU_READ_BLOCK && card->Refuses(false, card->blockReads + 1)) {
            ++card->blockReads;
            ++card->refusals;
            if (out)
                memset(out, ScriptedCard::kLeftover, outSize);
            return FALSE;
        }
        if (code == IOCTL_RAZU_WRITE_BLOCK && card->Refuses(true, card->blockWrites + 1)) {
            ++card->blockWrites;
            ++card->refusals;
            return FALSE;
        }
        if (code == IOCTL_RAZU_READ_BLOCK && outSize >= count) {
            card->OnBlockRead(address, count, static_cast<uint8_t*>(out));
            if (returned)
                *returned = count;
            return TRUE;
        }
        if (code == IOCTL_RAZU_WRITE_BLOCK && inSize >= RAZU_BLOCK_HEADER_SIZE + count) {
            card->OnBlockWrite(address, count, header + RAZU_BLOCK_HEADER_SIZE);
            return TRUE;
        }
        return FALSE;
    }
    static void WINAPI Sleep(DWORD ms)
    {
        ScriptedCard::current->sleeps.push_back(ms);
        ScriptedCard::current->now += ms;
    }
    static DWORD WINAPI GetTickCount() { return ScriptedCard::current->now; }
    static BOOL WINAPI SetPriorityClass(HANDLE, DWORD) { return TRUE; }
    static BOOL WINAPI SetThreadPriority(HANDLE, int) { return TRUE; }
};

ScriptedCard::ScriptedCard() : m_memory(0x20000, 0)
{
    current = this;
    g_os.CreateFileA = ScriptedCardHooks::CreateFileA;
    g_os.CloseHandle = ScriptedCardHooks::CloseHandle;
    g_os.DeviceIoControl = ScriptedCardHooks::DeviceIoControl;
    g_os.Sleep = ScriptedCardHooks::Sleep;
    g_os.GetTickCount = ScriptedCardHooks::GetTickCount;
    g_os.SetPriorityClass = ScriptedCardHooks::SetPriorityClass;
    g_os.SetThreadPriority = ScriptedCardHooks::SetThreadPriority;

    ResetAdapterState();
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = 0x240;
    GetAdapterLink().MailboxPointer = kMailbox;
    GetAdapterLink().MailboxState = 2;
    GetAdapterLink().AdapterReady = true;
    firmware = [](MailboxBlock& block) { block.status = 0; };
}

ScriptedCard::~ScriptedCard()
{
    ResetAdapterState();
    current = nullptr;
}

void ScriptedCard::Reply(uint16_t status, std::vector<uint8_t> value)
{
    value.resize(32, 0);
    firmware = [status, value](MailboxBlock& block) {
        block.status = status;
        memcpy(block.data.value, value.data(), 32);
    };
}

void ScriptedCard::MakeBusy()
{
    uint8_t pending[2] = {0xFF, 0xFF};
    PutMemory(kMailbox + 1, pending, 2);
}

void ScriptedCard::PutMemory(uint16_t wordAddress, const void* bytes, size_t count)
{
    memcpy(&m_memory[wordAddress * 2u], bytes, count);
}

int ScriptedCard::CountSent(uint16_t command, int code) const
{
    int n = 0;
    for (const MailboxBlock& block : sent)
        if (block.command == command && (code < 0 || block.data.code == code))
            ++n;
    return n;
}

DWORD ScriptedCard::SleptMs() const
{
    DWORD total = 0;
    for (DWORD ms : sleeps)
        total += ms;
    return total;
}

bool ScriptedCard::Refuses(bool write, int number) const
{
    int only = write ? refuseWrite : refuseRead;
    int from = write ? refuseWritesFrom : refuseReadsFrom;
    return number == only || (from > 0 && number >= from);
}

void ScriptedCard::OnBlockRead(uint16_t address, uint16_t count, uint8_t* out)
{
    if (address == kMailbox && m_pending) {
        if (m_pollsLeft == 0) {
            PutMemory(kMailbox, &m_answer, sizeof(m_answer));
            m_pending = false;
        } else if (m_pollsLeft > 0)
            --m_pollsLeft;
    }
    ++blockReads;
    size_t start = address * 2u;
    for (size_t i = 0; i < count; ++i)
        out[i] = m_memory[(start + i) % m_memory.size()];
}

void ScriptedCard::OnBlockWrite(uint16_t address, uint16_t count, const uint8_t* in)
{
    ++blockWrites;
    size_t start = address * 2u;
    for (size_t i = 0; i < count; ++i)
        m_memory[(start + i) % m_memory.size()] = in[i];
    // The firmware takes the command up when its status word is marked
    // pending (by the whole block, or by that word alone), and drops one
    // whose mark is written over.
    const unsigned status = kMailbox + 1u;
    if (status < address || status >= address + (count + 1u) / 2)
        return;
    MailboxBlock block;
    memcpy(&block, &m_memory[kMailbox * 2u], sizeof(block));
    if (block.status != 0xFFFF) {
        m_pending = false;
        return;
    }
    sent.push_back(block);
    m_answer = block;
    firmware(m_answer);
    m_pending = true;
    m_pollsLeft = pendingPolls;
}
