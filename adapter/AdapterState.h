// AdapterState.h - what the whole process knows about the adapter: how ports
// are reached and where the adapter is, what discovery found, the mailbox
// link; whether the adapter failed and how, whether a scan runs, the alert
// preferences; the one
// report of a card that fell silent; and the lock that keeps two card polls
// from running into each other's mailbox command.
#pragma once

#include <windows.h>

#include <string>

#include "adapter/LinkHistory.h"

// Which operating system we run on; decides how ports are reached.
enum : int
{
    PLATFORM_NT_SERVER = 1,
    PLATFORM_NT_WORKSTATION = 2,
    PLATFORM_NT5 = 4,
    PLATFORM_WIN9X = 5,
};

// The opened adapter: set at start-up by the platform check and discovery,
// used by the port layer, the mailbox and the registry settings.
struct AdapterLink
{
    int PlatformKind = PLATFORM_WIN9X;
    WORD IoBase = 0;             // handed to the port layer once the adapter is usable
    bool AdapterReady = false;   // card item operations refuse to work while false
    bool AdapterBusy = false;    // a card poll holds the mailbox
    WORD MailboxPointer = 0;     // card memory word address of the mailbox
    int MailboxState = 0;        // 0 closed, 1 being opened or reset, 2 open
    WORD AdapterIoBase = 0;      // the I/O base discovery found (even when not usable)
    WORD AdapterIrq = 0xFFFF;    // 0xFFFF when the system names none
    BYTE AdapterCardType = 0;    // 1 PCMCIA, other ISA, 0 unknown
    std::string DriverKeyPath;   // under HKEY_LOCAL_MACHINE
    bool DriverKeyValid = false; // the driver key path has been built
};

struct AdapterState
{
    BOOL ScanInProgress = FALSE; // the infrastructure Network Watcher is scanning
    BOOL m_bAdapterFailed = FALSE;
    BYTE m_nAdapterStatus = 0;       // ADAPTER_* of adapter/AdapterDiscovery.h
    DWORD AlertBeep = 0;             // preferences: beep on an alert
    DWORD AlertMessage = 0;          // preferences: show the alert box
    bool m_bSilenceReported = false; // the no-response box has been shown
    bool m_bSilenceToTell = false;   // a tool found the card silent; not said yet
    bool m_bFailureRecorded = false; // the link history has the failure's cause
    AdapterLink Link;
};

AdapterState& GetAdapterState();
// The opened adapter's part of it.
AdapterLink& GetAdapterLink();
// Back to the state of a fresh application object; the opened adapter stays.
void ClearAdapterState();
// Forgets the opened adapter: what discovery learned, the port layer's base
// and the mailbox link (for tests and a fresh start).
void ResetAdapterState();

// The card fell silent: marks the adapter failed with status 5 and, the first
// time, beeps (when the alert beep is on) and shows "The Corvane adapter has
// no response." over owner. Returns whether this was the first report.
bool ReportAdapterSilent(HWND owner);
// A card read of a tool window that closes without a word of its own failed.
// When it found the card silent (or its driver gone) that is the adapter's
// failure: the adapter is failed from here on, so that no other window asks
// the card again, and the tool window says so at its next tick. Any other
// failure is the caller's alone.
void NoteFailedRead(BYTE result);
// The port driver could not be opened: no card poll can reach the card any
// more. Marks the adapter failed as NoteFailedRead does for a silent card, so
// that the driver's box is not shown again by the next poll of another window.
void NoteDriverGone();
// Puts into the link history why the adapter failed (the card silent, the
// driver's box): the first cause of the failure only.
void RecordFailureCause(HistoryEventKind cause);

// The re-entrancy flag of the card polls: 0 taken, -1 already taken.
int TryLockAdapter();
void UnlockAdapter();

// Holds the adapter for one card poll started by a timer or a message. A
// poll that finds it held by another (waiting behind a message box) skips.
class AdapterLock
{
public:
    AdapterLock();
    ~AdapterLock();
    AdapterLock(const AdapterLock&) = delete;
    AdapterLock& operator=(const AdapterLock&) = delete;

    bool IsHeld() const { return m_held; }
    // Lets the adapter go before the end of the scope (before a message box).
    void Release();

private:
    bool m_held;
};
