// AdapterState.h - what the whole process knows about the adapter: whether it
// failed and how, whether a scan runs, the alert preferences and the
// statistics mode; the one report of a card that fell silent; and the lock
// that keeps two card polls from running into each other's mailbox command.
#pragma once

#include <windows.h>

struct AdapterState
{
    BOOL ScanInProgress; // the infrastructure Network Watcher is scanning
    BOOL m_bAdapterFailed;
    BYTE m_nAdapterStatus;   // ADAPTER_* of adapter/AdapterDiscovery.h
    DWORD AlertBeep;         // preferences: beep on an alert
    DWORD AlertMessage;      // preferences: show the alert box
    int m_nStatisticMode;    // the throughput monitor's statistics mode
    bool m_bSilenceReported; // the no-response box has been shown
    bool m_bSilenceToTell;   // a tool found the card silent; not said yet
};

AdapterState& GetAdapterState();
// Back to the state of a fresh start.
void ClearAdapterState();

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
