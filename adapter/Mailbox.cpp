// Mailbox.cpp - the firmware command interface: the mailbox exchange, its
// wrappers, and the procedures built on them (join, scans, rates, lock).
#include "adapter/Mailbox.h"

#include <string.h>

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterReporter.h"
#include "adapter/CardItems.h"
#include "adapter/CardText.h"
#include "adapter/PortAccess.h"
#include "framework/Os.h"

namespace {

const DWORD JOIN_RETRY_MS = 1000;
const int JOIN_START_TRIES = 20;
const int JOIN_WAIT_POLLS = 30;
const DWORD SCAN_RETRY_MS = 1000;
const int SCAN_START_TRIES = 20;

// Polls the mailbox into `buffer` until the firmware has left the pending
// mark. False when it stays pending, and at once when a read is refused: the
// refusal has been shown, and polling on would only show it again. The buffer
// is marked pending first, so a read that transferred nothing never passes
// for an answer.
bool AwaitMailbox(MailboxBlock& buffer)
{
    buffer.status = MAILBOX_PENDING;
    for (int poll = 0; poll < MAILBOX_POLLS; ++poll) {
        g_os.Sleep(MAILBOX_POLL_MS);
        if (!ReadCardMemory(GetAdapterLink().MailboxPointer, &buffer, sizeof(buffer)))
            return false;
        if (buffer.status != MAILBOX_PENDING)
            return true;
    }
    return false;
}

// The firmware answers in the block it was given: the command word, and the
// code word (except where the answer puts the statistics address there),
// come back as they were sent. A block that says otherwise answers another
// command: a write lost on its way to the card leaves the previous answer in
// the mailbox, or makes the firmware answer a command that was never sent.
bool EchoesCommand(const MailboxBlock& answer, WORD command, WORD code)
{
    if (answer.command != command)
        return false;
    return command == CMD_GET_STATISTICS || answer.data.code == code;
}

// What a wrapper reports for SendMailboxCommand's result: the status word to
// return, and whether the answer may be used.
bool Answered(WORD sent, const MailboxBlock& block, WORD& status)
{
    if (sent == 1) {
        status = block.status;
        return true;
    }
    status = sent == 0 ? STATUS_NO_RESPONSE : sent;
    return false;
}

// True when the command reached the firmware and it answered.
bool GotAnswer(WORD status)
{
    return status != STATUS_NO_RESPONSE && status != STATUS_NOT_OPEN &&
           status != STATUS_BAD_MAILBOX;
}

MailboxData ParamData(WORD code)
{
    MailboxData data;
    memset(&data, 0, sizeof(data));
    data.code = code;
    return data;
}

WORD SendJoinParam(const MailboxData& data)
{
    MailboxData copy = data;
    return ExchangeCommand(CMD_SET_JOIN_PARAM, copy);
}

// Asks whether the join is still going: 1 going, 0 over, -1 no answer.
int JoinStillGoing()
{
    MailboxData data = ParamData(SUB_JOIN_STATE);
    if (!GotAnswer(GetStatus(data)))
        return -1;
    return LeWord(data.value) != 0 ? 1 : 0;
}

WORD SetJoinOverride(DWORD on)
{
    MailboxData data = ParamData(PARAM_JOIN_OVERRIDE);
    PutLeDword(data.value, on);
    return SetParam(data);
}

// STATUS_NOT_OPEN / STATUS_BAD_MAILBOX when no command can be sent, else 0.
WORD LinkStatus()
{
    const AdapterLink& link = GetAdapterLink();
    if (link.MailboxState == 0)
        return STATUS_NOT_OPEN;
    if (link.MailboxState != 2 || link.MailboxPointer < MAILBOX_LOWEST ||
        link.MailboxPointer > MAILBOX_HIGHEST)
        return STATUS_BAD_MAILBOX;
    return 0;
}

// The answer to a checked command `sent`, which has been marked pending: 1
// answered (the answer is in `block`), 0 no answer, -1 the mark never reached
// the card, so the firmware never saw the command.
int AwaitCheckedAnswer(MailboxBlock& block, const MailboxBlock& sent)
{
    for (int poll = 0; poll < MAILBOX_POLLS; ++poll) {
        g_os.Sleep(MAILBOX_POLL_MS);
        MailboxBlock read;
        if (!ReadCardMemory(GetAdapterLink().MailboxPointer, &read, sizeof(read)))
            return 0;
        if (read.status == MAILBOX_PENDING || !EchoesCommand(read, sent.command, sent.data.code))
            continue;
        if (read.status == MAILBOX_UNARMED)
            return -1;
        block = read;
        return 1;
    }
    return 0;
}

} // namespace

WORD SendCheckedMailboxCommand(MailboxBlock& block)
{
    if (WORD link = LinkStatus())
        return link;
    const WORD pointer = GetAdapterLink().MailboxPointer;
    MailboxBlock scratch;
    if (!AwaitMailbox(scratch))
        return 0;
    MailboxBlock sent = block;
    sent.status = MAILBOX_UNARMED;
    for (int attempt = 0; attempt < CHECKED_SEND_TRIES; ++attempt) {
        // Written and read back with no pause between: unmarked, the block is
        // no business of the firmware's yet.
        MailboxBlock arrived;
        if (!WriteCardMemory(pointer, &sent, sizeof(sent)) ||
            !ReadCardMemory(pointer, &arrived, sizeof(arrived)))
            return 0;
        if (memcmp(&arrived, &sent, sizeof(sent)) != 0)
            continue;
        const WORD pending = MAILBOX_PENDING;
        if (!WriteCardMemory((WORD)(pointer + 1), &pending, sizeof(pending)))
            return 0;
        int answered = AwaitCheckedAnswer(block, sent);
        if (answered >= 0)
            return (WORD)answered;
    }
    return 0;
}

WORD SendMailboxCommand(MailboxBlock& block)
{
    if (WORD link = LinkStatus())
        return link;
    const AdapterLink& link = GetAdapterLink();

    MailboxBlock scratch;
    if (!AwaitMailbox(scratch))
        return 0;

    // A command that never reached the card has no answer to wait for: the
    // mailbox still holds the previous one.
    block.status = MAILBOX_PENDING;
    if (!WriteCardMemory(link.MailboxPointer, &block, sizeof(block)))
        return 0;
    const WORD command = block.command;
    const WORD code = block.data.code;
    if (!AwaitMailbox(block))
        return 0;
    return EchoesCommand(block, command, code) ? 1 : 0;
}

WORD GetParam(MailboxData& data)
{
    static MailboxBlock s_block;
    s_block.command = CMD_GET_PARAM;
    s_block.data.code = data.code;
    WORD status;
    if (Answered(SendMailboxCommand(s_block), s_block, status))
        data = s_block.data;
    return status;
}

WORD SetParam(const MailboxData& data)
{
    static MailboxBlock s_block;
    s_block.command = CMD_SET_PARAM;
    s_block.data = data;
    WORD status;
    Answered(SendMailboxCommand(s_block), s_block, status);
    return status;
}

// Sends the whole data area with a wrapper's own block and copies the answer
// back when the firmware gave one.
static WORD ExchangeWith(MailboxBlock& block, WORD command, MailboxData& data)
{
    block.command = command;
    block.data = data;
    WORD status;
    if (Answered(SendMailboxCommand(block), block, status))
        data = block.data;
    return status;
}

WORD GetStatus(MailboxData& data)
{
    static MailboxBlock s_block;
    return ExchangeWith(s_block, CMD_GET_STATUS, data);
}

WORD GetTableEntry(MailboxData& data)
{
    static MailboxBlock s_block;
    s_block.command = CMD_GET_STATUS;
    s_block.data = data;
    WORD status;
    if (Answered(SendCheckedMailboxCommand(s_block), s_block, status))
        data = s_block.data;
    return status;
}

WORD ExchangeCommand(WORD command, MailboxData& data)
{
    static MailboxBlock s_block;
    return ExchangeWith(s_block, command, data);
}

WORD GetStatistics(void* destination, size_t size)
{
    static MailboxBlock s_block;
    s_block.command = CMD_GET_STATISTICS;
    WORD status;
    if (!Answered(SendMailboxCommand(s_block), s_block, status))
        return status;
    // Counters that could not be read are no answer: the caller keeps its
    // previous ones rather than seeing them fall to zero.
    BYTE counters[STATISTICS_BLOCK_SIZE];
    if (!ReadCardMemory(s_block.data.code, counters, sizeof(counters)))
        return STATUS_NO_RESPONSE;
    memcpy(destination, counters, size < sizeof(counters) ? size : sizeof(counters));
    return status;
}

WORD ResetStatistics()
{
    static MailboxBlock s_block;
    s_block.command = CMD_RESET_STATISTICS;
    WORD status;
    Answered(SendMailboxCommand(s_block), s_block, status);
    return status;
}

BYTE JoinNetwork(const char* networkType, const char* bssid, const char* essid)
{
    networkType = networkType ? networkType : "";
    bssid = bssid ? bssid : "";
    essid = essid ? essid : "";
    // A join parameter that never reached the firmware ends the join: a start
    // would join with whatever parameters the card held before. The firmware's
    // own status for them is not looked at.
    MailboxData type = ParamData(PARAM_NETWORK_TYPE);
    type.value[0] =
        lstrcmpiA(networkType, AdapterTextOf(AdapterText::Infrastructure).c_str()) == 0 ? 1 : 0;
    if (!GotAnswer(SendJoinParam(type)))
        return ITEM_NO_RESPONSE;

    MailboxData cell = ParamData(PARAM_BSSID);
    ParseColonBssid(bssid, cell.value);
    if (!GotAnswer(SendJoinParam(cell)))
        return ITEM_NO_RESPONSE;

    // The ESSID with its terminating zero; one of the full 32 bytes fills the
    // field as the firmware's own ESSID answers do.
    MailboxData name = ParamData(PARAM_ESSID);
    size_t length = strlen(essid);
    memcpy(name.value, essid, length < MAILBOX_VALUE_SIZE ? length : MAILBOX_VALUE_SIZE);
    if (!GotAnswer(SendJoinParam(name)))
        return ITEM_NO_RESPONSE;

    // The start command goes with the last join parameter still in the block.
    bool started = false;
    for (int attempt = 0; attempt < JOIN_START_TRIES && !started; ++attempt) {
        MailboxData start = name;
        WORD status = ExchangeCommand(CMD_START_JOIN, start);
        if (!GotAnswer(status))
            return ITEM_NO_RESPONSE;
        if (status == 0)
            started = true;
        else
            g_os.Sleep(JOIN_RETRY_MS);
    }
    if (!started)
        return 0;

    for (int poll = 0; poll < JOIN_WAIT_POLLS; ++poll) {
        int going = JoinStillGoing();
        if (going < 0)
            return ITEM_NO_RESPONSE;
        if (going == 0)
            return 0;
        g_os.Sleep(JOIN_RETRY_MS);
    }

    // The join did not end by itself: tell the firmware to stop waiting, and
    // poll (each poll still pays the mailbox pauses) until it reports the
    // join over, stops answering, or the bound runs out.
    SetJoinOverride(1);
    int going = 1;
    for (int poll = 0; poll < JOIN_OVERRIDE_POLLS && going > 0; ++poll)
        going = JoinStillGoing();
    SetJoinOverride(0);
    return going < 0 ? ITEM_NO_RESPONSE : 0;
}

BYTE StartBssScan()
{
    for (int attempt = 0; attempt < SCAN_START_TRIES; ++attempt) {
        if (attempt > 0)
            g_os.Sleep(SCAN_RETRY_MS);
        MailboxData data = ParamData(0);
        WORD status = ExchangeCommand(CMD_START_BSS_SCAN, data);
        if (!GotAnswer(status))
            return ITEM_NO_RESPONSE;
        if (status == 0)
            return 0;
    }
    return ITEM_SCAN_REFUSED;
}

BYTE StartStationScan()
{
    MailboxData data = ParamData(0);
    return GotAnswer(ExchangeCommand(CMD_START_STATION_SCAN, data)) ? 0 : ITEM_NO_RESPONSE;
}

BYTE CardHasHighRate()
{
    if (!GetAdapterLink().AdapterReady)
        return 2;
    MailboxData data = ParamData(PARAM_RATES);
    WORD status = GetParam(data);
    if (!GotAnswer(status) || status == STATUS_NOT_AVAILABLE)
        return 0;
    return LargestRate(data.value, MAILBOX_VALUE_SIZE) > 2 ? 1 : 0;
}
