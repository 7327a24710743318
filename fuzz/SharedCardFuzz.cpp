// SharedCardFuzz.cpp - the card as another program may leave it in the shared
// section: a powered-up card whose bytes are overwritten in places (its stamp,
// lock, indices, counts, divisors, texts, anywhere), then a run of port
// requests and state reads on it, as the trap and the driver serve them. The
// bytes are written before the requests, or (the two-thread case) by a second
// thread again and again while the requests are served, as a program that
// takes no lock writes them. No bytes may make a side read or write outside
// the card, divide by zero or leave the lock taken; a card that fails its
// checks just answers nothing.
#include "sim/SharedCard.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

uint32_t g_now = 0;
uint32_t g_held = 0;

uint32_t Clock(void*)
{
    return g_now;
}

bool Alive(uint32_t, void*)
{
    return true;
}

// Without a clock the lock's wait is bounded by its probes.
const SharedLock::Side kSide = {7, &Alive, nullptr, nullptr, nullptr, &g_held, 0};

const uint32_t kCodes[] = {SIM_IOCTL_RAW_READ,   SIM_IOCTL_RAW_WRITE,  SIM_IOCTL_READ_WORD,
                           SIM_IOCTL_WRITE_WORD, SIM_IOCTL_BLOCK_READ, SIM_IOCTL_BLOCK_WRITE,
                           SIM_IOCTL_GET_STATE,  SIM_IOCTL_SET_BASE};

uint16_t Word(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// Bytes another program writes over the card.
struct Patch
{
    uint32_t offset;
    std::vector<uint8_t> bytes;
};

} // namespace

// Input: a count of patches (low 4 bits of the first byte; bit 4: written by
// a second thread during the requests), each patch [where: 3 bytes, top bit
// of the first: in the state after the card memory] [length 1..8] [bytes];
// then requests of 6 bytes each: [code] [milliseconds that pass, by tens]
// [port or block address: 2] [value: 2].
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::unique_ptr<SharedCard> pristine, card;
    if (!pristine) {
        pristine.reset(new SharedCard);
        card.reset(new SharedCard);
        Firmware::SetMachineClock(&Clock, nullptr);
        g_now = 1000;
        if (!pristine->PowerOn(kSide))
            std::abort();
    }
    g_now = 1000;
    std::memcpy(static_cast<void*>(card.get()), pristine.get(), sizeof(SharedCard));
    uint8_t* bytes = reinterpret_cast<uint8_t*>(card.get());
    const uint8_t* pristineBytes = reinterpret_cast<const uint8_t*>(pristine.get());
    const uint32_t stateBytes = sizeof(Firmware) + sizeof(Scenario) + 128;

    size_t pos = 0;
    uint32_t patchCount = size ? data[pos] & 0x0F : 0;
    bool racing = size && (data[pos] & 0x10);
    pos += size ? 1 : 0;
    std::vector<Patch> patches;
    for (uint32_t i = 0; i < patchCount && size - pos >= 4; ++i) {
        uint32_t where = (data[pos] << 16 | data[pos + 1] << 8 | data[pos + 2]);
        bool inState = where & 0x800000;
        Patch patch;
        patch.offset = inState ? sizeof(SharedCard) - 1 - (where & 0x7FFFFF) % stateBytes
                               : where % sizeof(SharedCard);
        uint32_t length = data[pos + 3] % 8 + 1;
        pos += 4;
        for (uint32_t k = 0; k < length && pos < size && patch.offset + k < sizeof(SharedCard); ++k)
            patch.bytes.push_back(data[pos++]);
        patches.push_back(patch);
    }
    auto write = [&](bool scribbled) {
        for (const Patch& patch : patches)
            for (size_t k = 0; k < patch.bytes.size(); ++k)
                reinterpret_cast<volatile uint8_t*>(bytes)[patch.offset + k] =
                    scribbled ? patch.bytes[k] : pristineBytes[patch.offset + k];
    };
    // The second thread flips the bytes between the card's own and the
    // scribbled ones, so that a value can pass a check and change after it.
    std::atomic<bool> done{false};
    std::thread scribbler;
    if (racing && !patches.empty())
        scribbler = std::thread([&] {
            while (!done.load(std::memory_order_relaxed)) {
                write(true);
                write(false);
            }
        });
    else
        write(true);

    while (size - pos >= 6) {
        uint32_t code = kCodes[data[pos] % (sizeof kCodes / sizeof kCodes[0])];
        g_now += data[pos + 1] * 10u;
        uint16_t where = Word(data + pos + 2);
        uint16_t value = Word(data + pos + 4);
        pos += 6;
        uint8_t in[64] = {};
        uint8_t out[64];
        uint32_t inSize = 0, outSize = 0;
        switch (code) {
        case SIM_IOCTL_RAW_READ:
        case SIM_IOCTL_RAW_WRITE: {
            SimRawPort request = {where, static_cast<uint16_t>(value >> 15 ? 1 : 2), value, 0};
            std::memcpy(in, &request, sizeof request);
            inSize = sizeof request;
            outSize = code == SIM_IOCTL_RAW_READ ? sizeof request : 0;
            break;
        }
        case SIM_IOCTL_READ_WORD:
        case SIM_IOCTL_WRITE_WORD: {
            int32_t relative = where - SIM_PORT_ORIGIN;
            std::memcpy(in, &relative, 4);
            std::memcpy(in + 4, &value, 2);
            inSize = 6;
            outSize = 2;
            break;
        }
        case SIM_IOCTL_BLOCK_READ:
        case SIM_IOCTL_BLOCK_WRITE: {
            SimBlockHeader header = {0, 2, 4, where, static_cast<uint16_t>(value % 54)};
            std::memcpy(in, &header, sizeof header);
            inSize = sizeof in;
            outSize = sizeof out;
            break;
        }
        case SIM_IOCTL_SET_BASE:
            std::memcpy(in, &where, 2);
            inSize = 2;
            outSize = 2;
            break;
        default: // the state report
            break;
        }
        uint8_t state[sizeof(SimState)];
        uint8_t* target = code == SIM_IOCTL_GET_STATE ? state : out;
        if (code == SIM_IOCTL_GET_STATE)
            outSize = sizeof state;
        uint32_t information = 0xDEADBEEF, status = 0;
        uint32_t ownerBefore = card->Lock().Owner();
        SharedCard::Outcome outcome =
            card->Control(kSide, code, in, inSize, target, outSize, &information, &status);
        if (information > outSize || (outcome != SharedCard::SERVED && information != 0))
            std::abort();
        if (g_held != 0)
            std::abort(); // this side still counts a hold
        if (!scribbler.joinable() && card->Lock().Owner() == kSide.self &&
            ownerBefore != kSide.self)
            std::abort(); // the lock was not let go
    }
    done = true;
    if (scribbler.joinable())
        scribbler.join();
    return 0;
}
