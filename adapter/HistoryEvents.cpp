// HistoryEvents.cpp - the history's clock is the system's local time.
#include "adapter/HistoryEvents.h"

#include "framework/Os.h"

HistoryTime HistoryNow()
{
    SYSTEMTIME now = {};
    g_os.GetLocalTime(&now);
    return HistoryTimeOf({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

void RecordHistoryEvent(HistoryEventKind kind, const std::string& first, const std::string& second,
                        int number)
{
    GetLinkHistory().AddEvent(HistoryNow(), kind, first, second, number);
}
