// HistoryEvents.h - the link history's events stamped with the local time
// where the program learns them: the adapter's failures, the cell a read
// of the current BSSID shows, and whatever the windows record.
#pragma once

#include "adapter/LinkHistory.h"

#include <string>

// The local time now, as the history counts it.
HistoryTime HistoryNow();
// Adds an event to the program's history at the local time now.
void RecordHistoryEvent(HistoryEventKind kind, const std::string& first = "",
                        const std::string& second = "", int number = 0);
