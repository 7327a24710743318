// BssEntry.h - the Network Watcher's copy of one row of the card's BSS table,
// and the columns it is shown in. No Windows header: the row texts and their
// order are shared with the native tests.
#pragma once

#include "adapter/CardItem.h" // BSS_TABLE_MAX: the rows a watcher shows at most

#include <stdint.h>

struct BssEntry
{
    char apName[21];      // item 39
    char bssid[20];       // item 26, upper case
    char networkType[20]; // item 27
    char essid[33];       // item 30
    uint16_t signal;      // item 28
    char stations[20];    // item 41, "%ld"; "255" (shown " ") means not reported
    char state[30];       // item 29, a link state name
    uint16_t secure;      // item 31, non-zero: the cell uses security
};

enum BssColumn
{
    BSS_COL_AP_NAME = 0,
    BSS_COL_ADDRESS = 1,
    BSS_COL_DOMAIN = 2,
    BSS_COL_SIGNAL = 3,
    BSS_COL_STATIONS = 4,
    BSS_COL_STATE = 5,
    BSS_COL_SECURE = 6,
    BSS_COLUMN_COUNT = 7,
};
