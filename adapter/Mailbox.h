// Mailbox.h - the firmware's command interface: a 38-byte block in card
// memory that the program fills with a command, marks pending, and polls
// until the firmware has put its status word and answer in it.
#pragma once

#include <windows.h>

#include "adapter/CardItem.h"
#include "adapter/MailboxBlock.h"

// Status words beyond the firmware's own (0 is success).
const WORD MAILBOX_PENDING = 0xFFFF;
const WORD STATUS_NOT_AVAILABLE = 0x4029;
const WORD STATUS_NO_RESPONSE = 0x8028;
// STATUS_NOT_OPEN (0x4100) and STATUS_BAD_MAILBOX (0x4101) come with the
// mailbox link in adapter/AdapterDiscovery.h.

// Pause before every read of the mailbox, and reads before giving up.
const DWORD MAILBOX_POLL_MS = 50;
const int MAILBOX_POLLS = 10;

// Sends one command and waits for its answer, which replaces the whole
// block. 1 answered; 0 not answered (also when what came back does not echo
// the command and code word sent: that answers some other command), or not
// sent because an earlier command still holds the mailbox; STATUS_NOT_OPEN / STATUS_BAD_MAILBOX not
// sent because the mailbox link is not open.
WORD SendMailboxCommand(MailboxBlock& block);

// Left in the status word of a command that is in the mailbox but not yet
// marked pending (no firmware status has this value).
const WORD MAILBOX_UNARMED = 0xFFFE;
// Writes of a checked command before it counts as not answered.
const int CHECKED_SEND_TRIES = 3;

// As SendMailboxCommand, for a command whose data area must reach the
// firmware exactly as sent: a table index. A port write lost on its way
// slides the rest of the block by a word, and the firmware, which answers in
// the value field, would answer for another entry with nothing to show it.
// So the block goes to the card unmarked, is read back, and only a block that
// arrived whole is marked pending. One that did not arrive whole, or whose
// mark did not (its status is still MAILBOX_UNARMED), never ran: it is
// written again, up to CHECKED_SEND_TRIES times, then counts as not
// answered. A read of the answer that shows some other command (its own
// address was lost) is no answer yet: the polls go on.
WORD SendCheckedMailboxCommand(MailboxBlock& block);

// The wrappers. Each keeps a block of its own, returns the firmware's status
// word, STATUS_NO_RESPONSE when no answer came, or the link status when the
// command could not be sent; on anything but an answer nothing is copied
// back. GetParam sends only the parameter code of `data` (the value field of
// its block keeps what it last held); SetParam copies nothing back.
WORD GetParam(MailboxData& data);
WORD SetParam(const MailboxData& data);
WORD GetStatus(MailboxData& data);
// GetStatus for a sub-code that reads one entry of a table: the index in the
// first value word is checked on its way (SendCheckedMailboxCommand).
WORD GetTableEntry(MailboxData& data);
WORD ExchangeCommand(WORD command, MailboxData& data);
// Reads the 352-byte statistics block whose card address the firmware names.
WORD GetStatistics(void* destination, size_t size = STATISTICS_BLOCK_SIZE);
WORD ResetStatistics();

// Joins a network: type text (string "Infrastructure" in any case means an
// infrastructure network), BSSID "xx:xx:xx:xx:xx:xx", ESSID. 255 when the
// firmware stopped answering, otherwise 0 (also when it refused the start
// twenty times, a second apart, or the join had to be cut short).
BYTE JoinNetwork(const char* networkType, const char* bssid, const char* essid);
// After the join wait override the join state is polled without pauses of
// our own, but each poll still costs the mailbox's two 50 ms pauses; this
// many polls (at least five seconds) and the override is withdrawn.
const int JOIN_OVERRIDE_POLLS = 50;

// Asks for a BSS scan, again every second while the firmware refuses, at
// most 20 times. 0 accepted, ITEM_SCAN_REFUSED (1, adapter/CardItems.h)
// refused every time, 255 no answer.
BYTE StartBssScan();
// 0 sent and answered, 255 no answer.
BYTE StartStationScan();
// 2 adapter not ready, 1 a rate above 1 Mbit/s is offered, 0 otherwise.
BYTE CardHasHighRate();

// The re-entrancy flag of the card polls (TryLockAdapter, AdapterLock) is
// adapter/AdapterState.h's.
