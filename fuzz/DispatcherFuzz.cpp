// DispatcherFuzz.cpp - razuDov's request dispatcher in front of the card: a
// run of requests, each with its code, the output size the caller offers,
// and input bytes, on a card powered up afresh for every input. The output
// buffer is exactly as large as offered (or the input buffer itself, as
// buffered I/O hands it over), so a write past it ends the run.
#include "sim/SimDevice.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

uint32_t g_now = 0;

uint32_t Clock(void*)
{
    return g_now;
}

const uint32_t kCodes[] = {
    SIM_IOCTL_READ_BYTE,  SIM_IOCTL_READ_WORD,     SIM_IOCTL_WRITE_BYTE,  SIM_IOCTL_WRITE_WORD,
    SIM_IOCTL_BLOCK_READ, SIM_IOCTL_BLOCK_WRITE,   SIM_IOCTL_SET_BASE,    SIM_IOCTL_RAW_READ,
    SIM_IOCTL_RAW_WRITE,  SIM_IOCTL_LOAD_SCENARIO, SIM_IOCTL_APPLY_LINES, SIM_IOCTL_SET_FAULT,
    SIM_IOCTL_SET_SIGNAL, SIM_IOCTL_GET_STATE,     SIM_IOCTL_SET_PARAM,   SIM_IOCTL_RESET_COUNTS,
    SIM_IOCTL_NOP,
};
const size_t kCodeCount = sizeof kCodes / sizeof kCodes[0];

} // namespace

// Each request: code selector, flags (bit 0: one buffer for input and
// output; bits 1-7: milliseconds that pass before it), output size (2
// bytes), input length (2 bytes), input bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The card powered up once, then copied for every input: its state
    // holds offsets only, so a copy is a card of its own.
    static std::unique_ptr<SimDevice> pristine, device;
    if (!pristine) {
        pristine.reset(new SimDevice);
        device.reset(new SimDevice);
        g_now = 1000;
        pristine->Init(&Clock, nullptr);
        pristine->SetDriverBase(pristine->Fw().World().ioBase);
    }
    g_now = 1000;
    std::memcpy(static_cast<void*>(device.get()), pristine.get(), sizeof(SimDevice));

    size_t pos = 0;
    while (size - pos >= 6) {
        uint8_t selector = data[pos];
        uint32_t code =
            selector < kCodeCount * 14 ? kCodes[selector % kCodeCount] : 0x9C400000u | selector;
        bool shared = data[pos + 1] & 1;
        g_now += (data[pos + 1] >> 1) * 10u;
        uint32_t outSize = data[pos + 2] | (data[pos + 3] << 8);
        uint32_t inSize = data[pos + 4] | (data[pos + 5] << 8);
        pos += 6;
        if (inSize > size - pos)
            inSize = static_cast<uint32_t>(size - pos);
        outSize %= 1024;
        uint32_t bufferSize = shared ? (inSize > outSize ? inSize : outSize) : inSize;
        std::vector<uint8_t> in(data + pos, data + pos + inSize);
        in.resize(bufferSize);
        in.shrink_to_fit();
        std::unique_ptr<uint8_t[]> out(shared ? nullptr : new uint8_t[outSize ? outSize : 1]);
        uint8_t* outBuffer = shared ? in.data() : out.get();
        uint32_t information = 0xDEADBEEF;
        uint32_t status =
            device->Control(code, in.data(), inSize, outBuffer, outSize, &information);
        if (information > outSize || (status != SIM_STATUS_SUCCESS && information != 0))
            std::abort();
        pos += inSize;
    }
    return 0;
}
