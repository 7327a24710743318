// PageCommon.cpp - the pages' no-response handling.
#include "sheet/PageCommon.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"

#include <string>

void ReportPageNoResponse(HWND page)
{
    AdapterState& state = GetAdapterState();
    RecordFailureCause(HISTORY_CARD_SILENT);
    state.m_nAdapterStatus = ADAPTER_NO_RESPONSE;
    if (state.AlertBeep)
        g_os.MessageBeep(MB_ICONSTOP);
    if (!state.AlertMessage) {
        // The page says nothing: the tool window tells it at its next tick.
        state.m_bSilenceToTell = !state.m_bSilenceReported;
        return;
    }
    state.m_bSilenceToTell = false; // the page says it itself
    g_os.MessageBoxA(page, LoadStr(IDS_NO_RESPONSE).c_str(), LoadStr(IDS_ERROR).c_str(),
                     MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
}
