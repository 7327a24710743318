// WatchRows.h - what the Network Watchers show in their cells and the order
// their columns sort in. No Windows header, so the rules are tested natively;
// the dialogs hand in lstrcmpiA as the text comparison.
#pragma once

#include <stddef.h>

#include "tools/BssEntry.h"
#include "tools/StationEntry.h"

// A case-insensitive comparison of two texts: < 0, 0 or > 0.
typedef int (*TextCompare)(const char* a, const char* b);
// Byte-wise, ASCII letters folded; stands in for lstrcmpiA where there is none.
int CompareNoCaseAscii(const char* a, const char* b);

// The station count the card did not report: the text "255", the blank it is
// shown as, or no number at all.
const long STATIONS_NOT_REPORTED = -1;
long BssStationCount(const char* stations);

// The text of one cell, cut to `size`. Showing column 4 turns a "255" in the
// entry into " " for good, as the row then reads.
void BssCellText(BssEntry& entry, int column, char* out, size_t size);

// Sort order of two rows by a column: < 0 when `a` comes first. A row
// without an entry gives 1. Texts compare case-insensitively; "Domain Name "
// descends, every other column ascends; signal and station counts compare as
// numbers (a count not reported below every number); "Secure" puts open
// cells before secured ones. Equal keys fall back to the address.
int CompareBssRows(const BssEntry* a, const BssEntry* b, int column, TextCompare compare);

void StationCellText(const StationEntry& entry, int column, char* out, size_t size);
// Name and address ascend, the inactive time descends (longest silent first,
// "not available" before every time); equal keys fall back to the address.
int CompareStationRows(const StationEntry* a, const StationEntry* b, int column,
                       TextCompare compare);
