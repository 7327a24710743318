// SimDeviceTest.cpp - the razuDov request dispatcher: the product's seven
// control codes with their exact buffers, malformed requests, and the
// private codes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sim/tests/CardHarness.h"

namespace {

std::vector<uint8_t> Port(int32_t relative, std::vector<uint8_t> tail = {})
{
    std::vector<uint8_t> in(4);
    std::memcpy(in.data(), &relative, 4);
    in.insert(in.end(), tail.begin(), tail.end());
    return in;
}

struct Call
{
    uint32_t status;
    uint32_t information;
    std::vector<uint8_t> out;
};

Call Send(SimDevice& device, uint32_t code, const std::vector<uint8_t>& in, uint32_t outSize)
{
    Call c;
    c.out.assign(outSize + 8, 0xEE); // room beyond the declared size shows overruns
    c.information = 0xDEAD;
    c.status =
        device.Control(code, in.empty() ? nullptr : in.data(), static_cast<uint32_t>(in.size()),
                       outSize ? c.out.data() : nullptr, outSize, &c.information);
    return c;
}

std::vector<uint8_t> Header(uint16_t a, uint16_t b, uint16_t c, uint16_t address, uint16_t count)
{
    SimBlockHeader h = {a, b, c, address, count};
    std::vector<uint8_t> v(sizeof h);
    std::memcpy(v.data(), &h, sizeof h);
    return v;
}

TEST(SimDevice, ProductCodesHaveTheirFixedValues)
{
    EXPECT_EQ(0x9C406400u, SIM_IOCTL_READ_BYTE);
    EXPECT_EQ(0x9C406404u, SIM_IOCTL_READ_WORD);
    EXPECT_EQ(0x9C40A440u, SIM_IOCTL_WRITE_BYTE);
    EXPECT_EQ(0x9C40A444u, SIM_IOCTL_WRITE_WORD);
    EXPECT_EQ(0x9C402480u, SIM_IOCTL_BLOCK_READ);
    EXPECT_EQ(0x9C40A484u, SIM_IOCTL_BLOCK_WRITE);
    EXPECT_EQ(0x9C402488u, SIM_IOCTL_SET_BASE);
}

TEST(SimDevice, SinglePortRequestsCountPortsFrom0x240)
{
    CardHarness card("iobase 0x300\n");
    SimDevice& d = *card.device;
    // ADDRESS_REG of a card at 0x300 travels as 0xC2.
    EXPECT_EQ(SIM_STATUS_SUCCESS,
              Send(d, SIM_IOCTL_WRITE_WORD, Port(0xC2, {0x34, 0x12}), 0).status);
    Call word = Send(d, SIM_IOCTL_READ_WORD, Port(0xC2), 2);
    ASSERT_EQ(SIM_STATUS_SUCCESS, word.status);
    EXPECT_EQ(2u, word.information);
    EXPECT_EQ(0x34, word.out[0]);
    EXPECT_EQ(0x12, word.out[1]);
    EXPECT_EQ(0xEE, word.out[2]) << "nothing beyond the two bytes";
    Call high = Send(d, SIM_IOCTL_READ_BYTE, Port(0xC3), 1);
    EXPECT_EQ(1u, high.information);
    EXPECT_EQ(0x12, high.out[0]);
    EXPECT_EQ(SIM_STATUS_SUCCESS, Send(d, SIM_IOCTL_WRITE_BYTE, Port(0xC2, {0x99}), 0).status);
    EXPECT_EQ(0x1299, d.Core().Address());
}

TEST(SimDevice, PortsBelow0x240TravelAsNegativeNumbers)
{
    CardHarness card("iobase 0x220\n");
    Call r = Send(*card.device, SIM_IOCTL_WRITE_WORD, Port(-0x1E, {0x00, 0x03}), 0);
    EXPECT_EQ(SIM_STATUS_SUCCESS, r.status);
    EXPECT_EQ(0x0300, card.device->Core().Address());
}

// Port numbers at the ends of the 32-bit range are refused: added to 0x240
// without care, the largest ones would wrap round onto a card at 0x200.
TEST(SimDevice, PortNumbersOutsideSixteenBitsAreRefused)
{
    CardHarness card("iobase 0x200\n");
    const int32_t wrapsToTheCard = 0x7FFFFFC0; // + 0x240 wraps to 0x200 in 16 bits
    for (int32_t relative :
         {wrapsToTheCard, wrapsToTheCard + 2, INT32_MAX, 0xFFFF - 0x240 + 1, INT32_MIN}) {
        std::vector<uint8_t> in(4);
        std::memcpy(in.data(), &relative, 4);
        EXPECT_EQ(SIM_STATUS_INVALID_PARAMETER,
                  Send(*card.device, SIM_IOCTL_READ_WORD, in, 2).status)
            << relative;
        in.push_back(0x55);
        in.push_back(0x55);
        EXPECT_EQ(SIM_STATUS_INVALID_PARAMETER,
                  Send(*card.device, SIM_IOCTL_WRITE_WORD, in, 0).status)
            << relative;
    }
    EXPECT_EQ(0, card.device->Core().Address()) << "no write reached the card";
    EXPECT_EQ(SIM_STATUS_SUCCESS, Send(*card.device, SIM_IOCTL_READ_WORD, Port(-0x3E), 2).status)
        << "the card's own ADDRESS_REG still answers";
}

struct BadCase
{
    const char* what;
    uint32_t code;
    std::vector<uint8_t> in;
    uint32_t outSize;
    uint32_t status;
};

TEST(SimDevice, MalformedRequestsFailWithoutTouchingTheBuffers)
{
    CardHarness card; // card at 0x240
    std::vector<uint8_t> shortWrite = Header(0, 2, 4, 0x300, 38);
    shortWrite.resize(10 + 36);
    const BadCase cases[] = {
        {"read byte, short input", SIM_IOCTL_READ_BYTE, {2, 0, 0}, 1, SIM_STATUS_BUFFER_TOO_SMALL},
        {"read word, no output", SIM_IOCTL_READ_WORD, Port(2), 0, SIM_STATUS_BUFFER_TOO_SMALL},
        {"read word, one byte of output", SIM_IOCTL_READ_WORD, Port(2), 1,
         SIM_STATUS_BUFFER_TOO_SMALL},
        {"read word, odd register", SIM_IOCTL_READ_WORD, Port(3), 2, SIM_STATUS_INVALID_PARAMETER},
        {"read byte, off the card", SIM_IOCTL_READ_BYTE, Port(6), 1, SIM_STATUS_INVALID_PARAMETER},
        {"read byte, below the card", SIM_IOCTL_READ_BYTE, Port(-1), 1,
         SIM_STATUS_INVALID_PARAMETER},
        {"read byte, beyond 16 bits", SIM_IOCTL_READ_BYTE, Port(0x10000), 1,
         SIM_STATUS_INVALID_PARAMETER},
        {"read byte, far below", SIM_IOCTL_READ_BYTE, Port(-0x1000), 1,
         SIM_STATUS_INVALID_PARAMETER},
        {"write byte, no value", SIM_IOCTL_WRITE_BYTE, Port(2), 0, SIM_STATUS_BUFFER_TOO_SMALL},
        {"write word, half a value", SIM_IOCTL_WRITE_WORD, Port(2, {1}), 0,
         SIM_STATUS_BUFFER_TOO_SMALL},
        {"block read, short header", SIM_IOCTL_BLOCK_READ, std::vector<uint8_t>(9), 38,
         SIM_STATUS_BUFFER_TOO_SMALL},
        {"block read, output too small", SIM_IOCTL_BLOCK_READ, Header(0, 2, 4, 0x300, 38), 36,
         SIM_STATUS_BUFFER_TOO_SMALL},
        {"block read, odd count needs an even output", SIM_IOCTL_BLOCK_READ,
         Header(0, 2, 4, 0x300, 37), 37, SIM_STATUS_BUFFER_TOO_SMALL},
        {"block read, reserved word set", SIM_IOCTL_BLOCK_READ, Header(1, 2, 4, 0x300, 38), 38,
         SIM_STATUS_INVALID_PARAMETER},
        {"block read, register off the card", SIM_IOCTL_BLOCK_READ, Header(0, 2, 6, 0x300, 38), 38,
         SIM_STATUS_INVALID_PARAMETER},
        {"block read, huge offset", SIM_IOCTL_BLOCK_READ, Header(0, 0xFFFE, 4, 0x300, 38), 38,
         SIM_STATUS_INVALID_PARAMETER},
        {"block write, count beyond the data", SIM_IOCTL_BLOCK_WRITE, shortWrite, 0,
         SIM_STATUS_BUFFER_TOO_SMALL},
        {"set base, no output", SIM_IOCTL_SET_BASE, {0x40, 0x02}, 0, SIM_STATUS_BUFFER_TOO_SMALL},
        {"set base, short input", SIM_IOCTL_SET_BASE, {0x40}, 2, SIM_STATUS_BUFFER_TOO_SMALL},
        {"raw read, short", SIM_IOCTL_RAW_READ, std::vector<uint8_t>(7), 8,
         SIM_STATUS_BUFFER_TOO_SMALL},
        {"raw read, width 3",
         SIM_IOCTL_RAW_READ,
         {0x42, 0x02, 3, 0, 0, 0, 0, 0},
         8,
         SIM_STATUS_INVALID_PARAMETER},
        {"state, short output",
         SIM_IOCTL_GET_STATE,
         {},
         sizeof(SimState) - 1,
         SIM_STATUS_BUFFER_TOO_SMALL},
        {"load, empty",
         SIM_IOCTL_LOAD_SCENARIO,
         {},
         sizeof(SimTextResult),
         SIM_STATUS_INVALID_PARAMETER},
        {"fault, unknown",
         SIM_IOCTL_SET_FAULT,
         {99, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0},
         0,
         SIM_STATUS_INVALID_PARAMETER},
        {"unknown code", 0x9C40E000, {}, 0, SIM_STATUS_INVALID_DEVICE_REQUEST},
    };
    uint16_t addressBefore = card.device->Core().Address();
    for (const BadCase& c : cases) {
        Call r = Send(*card.device, c.code, c.in, c.outSize);
        EXPECT_EQ(c.status, r.status) << c.what;
        EXPECT_EQ(0u, r.information) << c.what;
        EXPECT_EQ(std::vector<uint8_t>(c.outSize + 8, 0xEE), r.out) << c.what << ": output touched";
    }
    EXPECT_EQ(addressBefore, card.device->Core().Address()) << "a refused request reached the card";
}

// Random requests of every code: whatever comes in, the answer stays within
// the output size and reports what it wrote.
TEST(SimDevice, RandomRequestsNeverWriteBeyondTheOutput)
{
    CardHarness card;
    const uint32_t codes[] = {
        SIM_IOCTL_READ_BYTE,  SIM_IOCTL_READ_WORD,   SIM_IOCTL_WRITE_BYTE, SIM_IOCTL_WRITE_WORD,
        SIM_IOCTL_BLOCK_READ, SIM_IOCTL_BLOCK_WRITE, SIM_IOCTL_SET_BASE,   SIM_IOCTL_RAW_READ,
        SIM_IOCTL_RAW_WRITE,  SIM_IOCTL_SET_FAULT,   SIM_IOCTL_SET_SIGNAL, SIM_IOCTL_GET_STATE,
        SIM_IOCTL_SET_PARAM,  SIM_IOCTL_APPLY_LINES, SIM_IOCTL_NOP,        SIM_IOCTL_LOAD_SCENARIO};
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int i = 0; i < 20000; ++i) {
        uint32_t code = codes[next() % (sizeof codes / sizeof codes[0])];
        uint32_t inSize = next() % 64;
        uint32_t outSize = next() % 200;
        std::vector<uint8_t> buffer(256 + 16, 0xA5);
        for (uint32_t k = 0; k < inSize; ++k)
            buffer[k] = static_cast<uint8_t>(next());
        if ((code == SIM_IOCTL_BLOCK_READ || code == SIM_IOCTL_BLOCK_WRITE) &&
            inSize >= sizeof(SimBlockHeader)) {
            // A well-formed header start, so the counts get exercised.
            buffer[0] = buffer[1] = 0;
            buffer[2] = 2;
            buffer[4] = 4;
            buffer[3] = buffer[5] = 0;
        }
        uint32_t size = inSize > outSize ? inSize : outSize;
        uint32_t information = 0xDEAD;
        uint32_t status =
            card.device->Control(code, buffer.data(), inSize, buffer.data(), outSize, &information);
        if (status != SIM_STATUS_SUCCESS) {
            ASSERT_EQ(0u, information) << "request " << i;
        }
        ASSERT_LE(information, outSize) << "request " << i << " code " << std::hex << code;
        for (uint32_t k = size; k < buffer.size(); ++k)
            ASSERT_EQ(0xA5, buffer[k])
                << "request " << i << " code " << std::hex << code << std::dec << " in " << inSize
                << " out " << outSize << " wrote byte " << k;
    }
}

TEST(SimDevice, BlockReadAnswersTheCountRaisedToEven)
{
    CardHarness card;
    SimDevice& d = *card.device;
    for (int i = 0; i < 20; ++i)
        d.Core().Poke(static_cast<uint16_t>(0x400 + i), static_cast<uint16_t>(0x0101 * i));
    Call even = Send(d, SIM_IOCTL_BLOCK_READ, Header(0, 2, 4, 0x400, 38), 38);
    ASSERT_EQ(SIM_STATUS_SUCCESS, even.status);
    EXPECT_EQ(38u, even.information);
    EXPECT_EQ(0x12, even.out[36]);
    EXPECT_EQ(0xEE, even.out[38]);
    Call odd = Send(d, SIM_IOCTL_BLOCK_READ, Header(0, 2, 4, 0x400, 3), 4);
    ASSERT_EQ(SIM_STATUS_SUCCESS, odd.status);
    EXPECT_EQ(4u, odd.information);
    EXPECT_EQ(0x01, odd.out[3]);
    EXPECT_EQ(0x0402, d.Core().Address()) << "the address stepped once per word";
}

TEST(SimDevice, BlockWriteTakesHeaderAndWords)
{
    CardHarness card;
    std::vector<uint8_t> in = Header(0, 2, 4, 0x500, 6);
    for (uint8_t b : {1, 2, 3, 4, 5, 6})
        in.push_back(b);
    EXPECT_EQ(16u, in.size());
    Call r = Send(*card.device, SIM_IOCTL_BLOCK_WRITE, in, 0);
    ASSERT_EQ(SIM_STATUS_SUCCESS, r.status);
    EXPECT_EQ(0u, r.information);
    EXPECT_EQ(0x0201, card.device->Core().Peek(0x500));
    EXPECT_EQ(0x0605, card.device->Core().Peek(0x502));
}

TEST(SimDevice, OddBlockWriteMovesTheWholeWordsOnly)
{
    CardHarness card;
    card.device->Core().Poke(0x502, 0x7777);
    std::vector<uint8_t> in = Header(0, 2, 4, 0x500, 5);
    for (uint8_t b : {1, 2, 3, 4})
        in.push_back(b);
    ASSERT_EQ(SIM_STATUS_SUCCESS, Send(*card.device, SIM_IOCTL_BLOCK_WRITE, in, 0).status);
    EXPECT_EQ(0x0403, card.device->Core().Peek(0x501));
    EXPECT_EQ(0x7777, card.device->Core().Peek(0x502)) << "the odd last byte is not carried";
}

TEST(SimDevice, BlockRequestsUseTheBaseTheDriverWasGiven)
{
    CardHarness card;
    SimDevice& d = *card.device;
    Call wrong = Send(d, SIM_IOCTL_SET_BASE, {0x00, 0x03}, 2);
    ASSERT_EQ(SIM_STATUS_SUCCESS, wrong.status);
    EXPECT_EQ(2u, wrong.information);
    EXPECT_EQ(0, wrong.out[0] | wrong.out[1]) << "no card at 0x300";
    EXPECT_EQ(SIM_STATUS_INVALID_PARAMETER,
              Send(d, SIM_IOCTL_BLOCK_READ, Header(0, 2, 4, 0, 2), 2).status);
    Call right = Send(d, SIM_IOCTL_SET_BASE, {0x40, 0x02}, 2);
    EXPECT_EQ(1, right.out[0] | right.out[1]);
    EXPECT_EQ(SIM_STATUS_SUCCESS, Send(d, SIM_IOCTL_BLOCK_READ, Header(0, 2, 4, 0, 2), 2).status);
    d.SetDriverBase(0);
    EXPECT_EQ(SIM_STATUS_DEVICE_NOT_READY,
              Send(d, SIM_IOCTL_BLOCK_READ, Header(0, 2, 4, 0, 2), 2).status);
}

TEST(SimDevice, OneSharedBufferForInputAndOutput)
{
    CardHarness card;
    card.device->Core().Poke(0x600, 0xBEEF);
    card.device->Core().Poke(0x601, 0xCAFE);
    std::vector<uint8_t> buffer = Header(0, 2, 4, 0x600, 10);
    uint32_t info = 0;
    ASSERT_EQ(SIM_STATUS_SUCCESS, card.device->Control(SIM_IOCTL_BLOCK_READ, buffer.data(), 10,
                                                       buffer.data(), 10, &info));
    EXPECT_EQ(0xEF, buffer[0]);
    EXPECT_EQ(0xBE, buffer[1]);
    EXPECT_EQ(0xFE, buffer[2]);
    EXPECT_EQ(0xCA, buffer[3]);
}

TEST(SimDevice, RawBusAccessReachesTheCardAndFloatsElsewhere)
{
    CardHarness card;
    SimDevice& d = *card.device;
    SimRawPort write = {0x242, 2, 0x0777, 0};
    std::vector<uint8_t> in(sizeof write);
    std::memcpy(in.data(), &write, sizeof write);
    EXPECT_EQ(SIM_STATUS_SUCCESS, Send(d, SIM_IOCTL_RAW_WRITE, in, 0).status);
    EXPECT_EQ(0x0777, d.Core().Address());
    SimRawPort read = {0x243, 1, 0, 0};
    std::memcpy(in.data(), &read, sizeof read);
    Call r = Send(d, SIM_IOCTL_RAW_READ, in, sizeof read);
    ASSERT_EQ(SIM_STATUS_SUCCESS, r.status);
    EXPECT_EQ(sizeof read, r.information);
    EXPECT_EQ(0x07, r.out[4]);
    read.port = 0x3F8;
    std::memcpy(in.data(), &read, sizeof read);
    EXPECT_EQ(0xFF, Send(d, SIM_IOCTL_RAW_READ, in, sizeof read).out[4]) << "nothing at that port";
}

TEST(SimDevice, PrivateCodesLoadApplyAndReport)
{
    CardHarness card;
    SimDevice& d = *card.device;
    std::string bad = "name x\ncell nonsense\n";
    Call refused = Send(d, SIM_IOCTL_LOAD_SCENARIO, std::vector<uint8_t>(bad.begin(), bad.end()),
                        sizeof(SimTextResult));
    ASSERT_EQ(SIM_STATUS_SUCCESS, refused.status);
    SimTextResult result;
    std::memcpy(&result, refused.out.data(), sizeof result);
    EXPECT_EQ(0, result.ok);
    EXPECT_EQ(2, result.line);

    std::string good = "name lab\niobase 0x300\ndrift 0\ncell 00:A0:C5:00:00:07 Corvane 1 50\n";
    Call loaded = Send(d, SIM_IOCTL_LOAD_SCENARIO, std::vector<uint8_t>(good.begin(), good.end()),
                       sizeof(SimTextResult));
    std::memcpy(&result, loaded.out.data(), sizeof result);
    EXPECT_EQ(1, result.ok) << result.message;

    std::string lines = "signal 00:A0:C5:00:00:07 33\nfault scan-endless on\nsetting TxRetry 4\n";
    Call applied = Send(d, SIM_IOCTL_APPLY_LINES, std::vector<uint8_t>(lines.begin(), lines.end()),
                        sizeof(SimTextResult));
    std::memcpy(&result, applied.out.data(), sizeof result);
    EXPECT_EQ(1, result.ok) << result.message;
    std::string wrong = "cell 00:A0:C5:00:00:08 X 1 1\n";
    std::memcpy(&result,
                Send(d, SIM_IOCTL_APPLY_LINES, std::vector<uint8_t>(wrong.begin(), wrong.end()),
                     sizeof(SimTextResult))
                    .out.data(),
                sizeof result);
    EXPECT_EQ(0, result.ok) << "a running card takes no new cells";

    SimParamRequest param = {0x1026, 4, {55}};
    std::vector<uint8_t> p(sizeof param);
    std::memcpy(p.data(), &param, sizeof param);
    Call set = Send(d, SIM_IOCTL_SET_PARAM, p, 2);
    EXPECT_EQ(0, set.out[0] | set.out[1]);

    Call state = Send(d, SIM_IOCTL_GET_STATE, {}, sizeof(SimState));
    ASSERT_EQ(SIM_STATUS_SUCCESS, state.status);
    SimState s;
    std::memcpy(&s, state.out.data(), sizeof s);
    EXPECT_STREQ("lab", s.scenarioName);
    EXPECT_EQ(0x300, s.ioBase);
    EXPECT_EQ(11, s.linkState);
    EXPECT_EQ(33, s.quality);
    EXPECT_EQ(1u << SIM_FAULT_SCAN_ENDLESS, s.faults);
    EXPECT_EQ(0x07, s.currentBssid[5]);
    EXPECT_EQ(55, d.Fw().World().roamingThreshold);
    EXPECT_EQ(4, d.Fw().World().txRetry);
    EXPECT_EQ(5u, s.requests[SIM_REQ_PRIVATE])
        << "two loads, two applies and a parameter were served";
    EXPECT_EQ(0u, s.requests[SIM_REQ_FAILED])
        << "a refused scenario is an answer, not a failed request";
}

} // namespace

// The drop-writes fault loses its share of the port writes that reach the
// card, whatever way they come (trapped instruction, single-port or block
// request), and nothing else; a load starts the same run of losses again.
TEST(SimDevice, DropWritesLosesItsShareOfThePortWrites)
{
    struct Case
    {
        const char* fault;
        int least, most; // of 1000 writes, how many may land
    } cases[] = {
        {"", 1000, 1000}, {"fault drop-writes 30\n", 600, 800}, {"fault drop-writes 100\n", 0, 0}};
    for (const Case& c : cases) {
        CardHarness card(c.fault);
        SimDevice& d = *card.device;
        uint16_t base = d.Fw().World().ioBase;
        int landed = 0;
        for (int i = 1; i <= 1000; ++i) {
            uint16_t value = static_cast<uint16_t>(i);
            if (i % 2) {
                SimRawPort raw = {static_cast<uint16_t>(base + SIM_ADDRESS_REG), 2, value, 0};
                std::vector<uint8_t> in(sizeof raw);
                std::memcpy(in.data(), &raw, sizeof raw);
                Send(d, SIM_IOCTL_RAW_WRITE, in, 0);
            } else {
                Send(d, SIM_IOCTL_WRITE_WORD,
                     Port(base + SIM_ADDRESS_REG - 0x240, {uint8_t(value), uint8_t(value >> 8)}),
                     0);
            }
            landed += d.Core().Address() == value;
        }
        EXPECT_GE(landed, c.least) << c.fault;
        EXPECT_LE(landed, c.most) << c.fault;
        uint16_t unchanged = d.Core().Address();
        EXPECT_EQ(unchanged,
                  Send(d, SIM_IOCTL_READ_WORD, Port(base + SIM_ADDRESS_REG - 0x240), 2).out[0] |
                      Send(d, SIM_IOCTL_READ_WORD, Port(base + SIM_ADDRESS_REG - 0x240), 2).out[1]
                          << 8)
            << c.fault << ": reads are never lost";
    }
}
