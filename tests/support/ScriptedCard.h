// ScriptedCard.h - a card whose firmware answers come from the test: it
// stands behind the port-I/O driver's block requests (the Windows NT path)
// through the Os seam, keeps a card memory, and records every command that
// reached the mailbox and every pause the program took. Time is a fake
// clock that only Sleep moves.
#pragma once

#include "adapter/MailboxBlock.h"
#include "framework/Os.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RecordingReporter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ScriptedCard
{
public:
    static const uint16_t kMailbox = 0x0300;

    // Installs the fakes and opens the adapter on the driver path with the
    // mailbox at kMailbox; restores everything when it ends.
    ScriptedCard();
    ~ScriptedCard();
    ScriptedCard(const ScriptedCard&) = delete;
    ScriptedCard& operator=(const ScriptedCard&) = delete;

    // The firmware: gets the command as it stands in the mailbox when it is
    // marked pending, fills in status and answer.
    // The default answers status 0 and leaves the data as it came.
    std::function<void(MailboxBlock& block)> firmware;

    // Reads of the mailbox that still see the pending mark after a command;
    // -1 never answers.
    int pendingPolls = 0;

    // Answers a command with `status` and these value bytes (the rest zero).
    void Reply(uint16_t status, std::vector<uint8_t> value);

    // Leaves an unfinished command in the mailbox (status 0xFFFF).
    void MakeBusy();

    // The driver refuses block requests: the read or write with this number
    // (counted from 1 over the card's life, refused ones included; 0 none),
    // or every one from the read or write with that number on. A refused read
    // leaves these bytes in the driver's output buffer, as a driver may.
    int refuseRead = 0, refuseWrite = 0;
    int refuseReadsFrom = 0, refuseWritesFrom = 0;
    static const uint8_t kLeftover = 0xA5;
    // The driver cannot be opened at all.
    bool driverGone = false;

    void PutMemory(uint16_t wordAddress, const void* bytes, size_t count);

    // What happened.
    std::vector<MailboxBlock> sent; // commands as they were written
    std::vector<DWORD> sleeps;      // every Sleep, in order
    FakeOs os;                      // the system, on the user's side
    RecordingReporter reporter;     // what the adapter layer told the user
    int blockReads = 0;
    int blockWrites = 0;
    int refusals = 0; // block requests the driver refused
    DWORD now = 0;    // fake clock, milliseconds

    // Number of commands with this command code (and code field, unless -1).
    int CountSent(uint16_t command, int code = -1) const;
    DWORD SleptMs() const;

    static ScriptedCard* current;

private:
    friend struct ScriptedCardHooks;
    bool Refuses(bool write, int number) const;
    void OnBlockRead(uint16_t address, uint16_t count, uint8_t* out);
    void OnBlockWrite(uint16_t address, uint16_t count, const uint8_t* in);

    OsGuard m_guard;
    std::vector<uint8_t> m_memory; // 64 K words
    bool m_pending = false;
    int m_pollsLeft = 0;
    MailboxBlock m_answer{};
};
