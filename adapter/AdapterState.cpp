// AdapterState.cpp - the process-wide adapter state, the silent-card report
// and the adapter lock.
#include "adapter/AdapterState.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterReporter.h"
#include "adapter/CardItem.h"
#include "adapter/HistoryEvents.h"

namespace {

AdapterState s_state;

// Failed from here on: no window asks the card again; the tool window says
// so at its next tick unless the silence has been reported.
void MarkFailed()
{
    s_state.m_bAdapterFailed = TRUE;
    s_state.m_nAdapterStatus = ADAPTER_NO_RESPONSE;
    s_state.m_bSilenceToTell = !s_state.m_bSilenceReported;
}

} // namespace

AdapterState& GetAdapterState()
{
    return s_state;
}

AdapterLink& GetAdapterLink()
{
    return s_state.Link;
}

void ClearAdapterState()
{
    AdapterLink link = s_state.Link;
    s_state = AdapterState{};
    s_state.Link = link;
}

void ResetAdapterState()
{
    s_state.Link = AdapterLink{};
}

void RecordFailureCause(HistoryEventKind cause)
{
    if (s_state.m_bFailureRecorded)
        return;
    s_state.m_bFailureRecorded = true;
    RecordHistoryEvent(cause);
}

bool ReportAdapterSilent(HWND owner)
{
    AdapterState& state = s_state;
    RecordFailureCause(HISTORY_CARD_SILENT);
    state.m_bAdapterFailed = TRUE;
    state.m_bSilenceToTell = false;
    if (state.m_bSilenceReported)
        return false;
    state.m_bSilenceReported = true;
    state.m_nAdapterStatus = ADAPTER_NO_RESPONSE;
    TellUser(AdapterNotice::NoResponse, owner);
    return true;
}

void NoteFailedRead(BYTE result)
{
    if (result != ITEM_NO_RESPONSE)
        return;
    RecordFailureCause(HISTORY_CARD_SILENT);
    MarkFailed();
}

void NoteDriverGone()
{
    RecordFailureCause(HISTORY_DRIVER_BOX);
    MarkFailed();
}

int TryLockAdapter()
{
    if (s_state.Link.AdapterBusy)
        return -1;
    s_state.Link.AdapterBusy = true;
    return 0;
}

void UnlockAdapter()
{
    s_state.Link.AdapterBusy = false;
}

AdapterLock::AdapterLock() : m_held(TryLockAdapter() == 0) {}

AdapterLock::~AdapterLock()
{
    Release();
}

void AdapterLock::Release()
{
    if (m_held)
        UnlockAdapter();
    m_held = false;
}
