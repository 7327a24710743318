// AdapterState.h - the process-wide state of the adapter that windows below
// the application share: whether the card failed, its status code and the
// alert preferences. (Interim until the framework branch brings its own;
// the application object does not read it yet.)
#pragma once

#include <windows.h>

struct AdapterState
{
    BOOL ScanInProgress;
    BOOL m_bAdapterFailed;
    BYTE m_nAdapterStatus;
    DWORD AlertBeep, AlertMessage;
    int m_nStatisticMode;
};

AdapterState& GetAdapterState();
