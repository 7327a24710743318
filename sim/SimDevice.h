// SimDevice.h - the simulated machine's bus and the razuDov request
// dispatcher in front of it. The driver and the test fixture both hand every
// control request to Control(), so both answer exactly alike.
#pragma once

#include <stdint.h>

#include "sim/CardCore.h"
#include "sim/Firmware.h"
#include "sim/Scenario.h"
#include "sim/SimProtocol.h"

class SimDevice
{
public:
    constexpr SimDevice() {}

    // Powers the card up with the built-in default scenario. A clock
    // (milliseconds) given here becomes this process's machine clock (see
    // Firmware::SetMachineClock).
    void Init(Firmware::Clock clock = nullptr, void* context = nullptr);
    // The same power-up, served by the firmware and scratch given (see the
    // second Control).
    void Init(Firmware& firmware, Scenario& scratch);

    // Whether the state read from memory others can write is within its
    // bounds (see Firmware::Consistent).
    bool Consistent() const;

    // What a card that answers nothing makes of a request: the product's
    // reads float to all ones, its writes are lost, the simulation's own
    // requests are refused (SIM_STATUS_DEVICE_NOT_READY).
    static uint32_t NoAnswer(uint32_t code, void* out, uint32_t outSize, uint32_t* information);

    // One control request. METHOD_BUFFERED: in and out may be the same
    // buffer, so every input is read before any output is written.
    // *information receives the number of bytes written to out.
    uint32_t Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                     uint32_t* information);
    // The same request served by the firmware given and parsed into the
    // scratch given, on this device's registers and card memory: a device
    // in memory that others can write serves from the caller's private,
    // checked copy of its firmware (see SharedCard), whose every index
    // holds still while it is used. The registers and the card memory need
    // no copy: any value of theirs is a place on the card.
    uint32_t Control(Firmware& firmware, Scenario& scratch, uint32_t code, const void* in,
                     uint32_t inSize, void* out, uint32_t outSize, uint32_t* information);

    // The I/O bus: the card's registers sit at its base; other ports hold
    // nothing (reads float to all ones, writes are lost). False when the
    // access does not reach the card.
    bool BusRead(uint16_t port, uint32_t width, uint16_t* value);
    bool BusWrite(uint16_t port, uint32_t width, uint16_t value);

    bool LoadScenario(const char* text, uint32_t length, SimTextResult& result);
    // Lines of a running machine: setting, signal, fault, traffic, station.
    bool ApplyLines(const char* text, uint32_t length, SimTextResult& result);

    void FillState(SimState& state);
    void ResetCounts();

    CardCore& Core() { return m_core; }
    Firmware& Fw() { return m_firmware; }
    uint16_t DriverBase() const { return m_driverBase; }
    void SetDriverBase(uint16_t base) { m_driverBase = base; }
    uint32_t Requests(int kind) const { return m_requests[kind]; }

    static const char* DefaultScenarioText();

    static constexpr uint32_t MixLayout(uint32_t h)
    {
        const uint32_t places[] = {SIM_PLACE(SimDevice, m_core), SIM_PLACE(SimDevice, m_firmware),
                                   SIM_PLACE(SimDevice, m_scratch),
                                   SIM_PLACE(SimDevice, m_driverBase),
                                   SIM_PLACE(SimDevice, m_requests)};
        return Firmware::MixLayout(CardCore::MixLayout(LayoutMix(h, places)));
    }

private:
    uint32_t Serve(Firmware& fw, Scenario& scratch, uint32_t code, const void* in, uint32_t inSize,
                   void* out, uint32_t outSize, uint32_t* information, int* kind);
    static bool OnCard(const Firmware& fw, uint16_t port, uint32_t width);
    bool BusRead(Firmware& fw, uint16_t port, uint32_t width, uint16_t* value);
    bool BusWrite(Firmware& fw, uint16_t port, uint32_t width, uint16_t value);
    bool LoadScenario(Firmware& fw, Scenario& scratch, const char* text, uint32_t length,
                      SimTextResult& result);
    static bool ApplyLines(Firmware& fw, const char* text, uint32_t length, SimTextResult& result);
    static bool ApplyLine(Firmware& fw, char* tokens[], int count, const char** error);
    void FillState(Firmware& fw, SimState& state);

    CardCore m_core;
    Firmware m_firmware;
    Scenario m_scratch;
    uint16_t m_driverBase = 0;
    uint32_t m_requests[SIM_REQ_KINDS] = {};
};
