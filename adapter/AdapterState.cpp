// AdapterState.cpp - the process-wide adapter state, the silent-card report
// and the adapter lock.
#include "adapter/AdapterState.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterReporter.h"
#include "adapter/CardItem.h"

namespace {

AdapterState s_state;

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

bool ReportAdapterSilent(HWND owner)
{
    AdapterState& state = s_state;
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
    if (result == ITEM_NO_RESPONSE)
        NoteDriverGone();
}

void NoteDriverGone()
{
    s_state.m_bAdapterFailed = TRUE;
    s_state.m_nAdapterStatus = ADAPTER_NO_RESPONSE;
    s_state.m_bSilenceToTell = !s_state.m_bSilenceReported;
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
