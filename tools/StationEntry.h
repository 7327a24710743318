// StationEntry.h - the station watcher's copy of one ad-hoc station, and the
// columns it is shown in. No Windows header (shared with the native tests).
#pragma once

struct StationEntry
{
    char computerName[21]; // the station's name as the card reports it
    char nodeAddress[20];  // "%02X-%02X-%02X-%02X-%02X-%02X"
    char inactiveTime[16]; // "%02d:%02d" of the seconds silent, or "not available"
};

enum StationColumn
{
    STA_COL_NAME = 0,
    STA_COL_ADDRESS = 1,
    STA_COL_INACTIVE = 2,
    STA_COLUMN_COUNT = 3,
};
