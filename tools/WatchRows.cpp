// WatchRows.cpp - cell texts and sort rules of the two Network Watchers.
#include "tools/WatchRows.h"

#include "framework/IntegerText.h"

#include <stdio.h>
#include <string.h>

namespace {

const char kNotReported[] = "255";

void CopyText(const char* text, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    size_t n = strlen(text);
    if (n >= size)
        n = size - 1;
    memcpy(out, text, n);
    out[n] = '\0';
}

int Order(long a, long b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

int CompareNoCaseAscii(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        int ca = (unsigned char)*a, cb = (unsigned char)*b;
        if (ca >= 'A' && ca <= 'Z')
            ca += 'a' - 'A';
        if (cb >= 'A' && cb <= 'Z')
            cb += 'a' - 'A';
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

long BssStationCount(const char* stations)
{
    if (!stations || strcmp(stations, kNotReported) == 0)
        return STATIONS_NOT_REPORTED;
    long value = 0;
    if (!ParseInteger(stations, value) || value < 0)
        return STATIONS_NOT_REPORTED;
    return value;
}

void BssCellText(BssEntry& entry, int column, char* out, size_t size)
{
    char number[8];
    switch (column) {
    case BSS_COL_AP_NAME:
        CopyText(entry.apName, out, size);
        break;
    case BSS_COL_ADDRESS:
        CopyText(entry.bssid, out, size);
        break;
    case BSS_COL_DOMAIN:
        CopyText(entry.essid, out, size);
        break;
    case BSS_COL_SIGNAL:
        snprintf(number, sizeof number, "%u", (unsigned)entry.signal);
        CopyText(number, out, size);
        break;
    case BSS_COL_STATIONS:
        if (strcmp(entry.stations, kNotReported) == 0)
            CopyText(" ", entry.stations, sizeof entry.stations);
        CopyText(entry.stations, out, size);
        break;
    case BSS_COL_STATE:
        CopyText(entry.state, out, size);
        break;
    case BSS_COL_SECURE:
        CopyText(entry.secure ? "1" : "0", out, size);
        break;
    default:
        CopyText("", out, size);
        break;
    }
}

int CompareBssRows(const BssEntry* a, const BssEntry* b, int column, TextCompare compare)
{
    if (!a || !b)
        return 1;
    int result = 0;
    switch (column) {
    case BSS_COL_AP_NAME:
        result = compare(a->apName, b->apName);
        break;
    case BSS_COL_ADDRESS:
        result = compare(a->bssid, b->bssid);
        break;
    case BSS_COL_DOMAIN:
        result = compare(b->essid, a->essid);
        break;
    case BSS_COL_SIGNAL:
        result = Order(a->signal, b->signal);
        break;
    case BSS_COL_STATIONS:
        result = Order(BssStationCount(a->stations), BssStationCount(b->stations));
        break;
    case BSS_COL_STATE:
        result = compare(a->state, b->state);
        break;
    case BSS_COL_SECURE:
        result = Order(a->secure != 0, b->secure != 0);
        break;
    default:
        break;
    }
    return result != 0 ? result : compare(a->bssid, b->bssid);
}

void StationCellText(const StationEntry& entry, int column, char* out, size_t size)
{
    switch (column) {
    case STA_COL_NAME:
        CopyText(entry.computerName, out, size);
        break;
    case STA_COL_ADDRESS:
        CopyText(entry.nodeAddress, out, size);
        break;
    case STA_COL_INACTIVE:
        CopyText(entry.inactiveTime, out, size);
        break;
    default:
        CopyText("", out, size);
        break;
    }
}

int CompareStationRows(const StationEntry* a, const StationEntry* b, int column,
                       TextCompare compare)
{
    if (!a || !b)
        return 1;
    int result = 0;
    switch (column) {
    case STA_COL_NAME:
        result = compare(a->computerName, b->computerName);
        break;
    case STA_COL_ADDRESS:
        result = compare(a->nodeAddress, b->nodeAddress);
        break;
    case STA_COL_INACTIVE:
        result = compare(b->inactiveTime, a->inactiveTime);
        break;
    default:
        break;
    }
    return result != 0 ? result : compare(a->nodeAddress, b->nodeAddress);
}
