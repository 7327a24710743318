// OsRecorder.h - a scripted stand-in for the operating system calls of the
// port access layer: records every driver request, port instruction,
// priority change and message box, and answers from a small card memory.
#pragma once

#include "framework/Os.h"

#include <cstdint>
#include <string>
#include <vector>

struct DriverCall
{
    DWORD code;
    DWORD access;
    DWORD share;
    std::vector<BYTE> in;
    DWORD outSize;
};

struct PortOp
{
    char kind; // 'i' in, 'o' out
    int bits;  // 8 or 16
    WORD port;
    WORD value;
};

struct ShownMessage
{
    std::string text;
    std::string caption;
    UINT style;
};

class OsRecorder
{
public:
    OsRecorder();
    ~OsRecorder();

    // Behaviour.
    bool driverPresent = true;
    bool controlFails = false;
    bool closeFails = false;
    WORD setBaseAnswer = 1;
    int messageBoxAnswer = IDOK;
    std::vector<uint16_t> cardMemory; // 64 K words, behind the block requests and ports
    OSVERSIONINFOA version{};
    bool versionFails = false;

    // What happened.
    std::vector<DriverCall> calls;
    std::vector<PortOp> ports;
    std::vector<ShownMessage> messages;
    std::vector<std::string> priority; // "class 256", "thread 15", ...
    int opens = 0;
    int closes = 0;

    static OsRecorder* current;

private:
    OsGuard m_guard;
    WORD m_address = 0; // the card's address register on the direct path
    friend struct OsRecorderHooks;
};
