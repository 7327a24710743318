// CardItems.h - what the card knows, item by item: QueryCardItem asks the
// firmware for one item and decodes the answer into display text, a small
// number or raw bytes.
#pragma once

#include <windows.h>

#include <cstddef>

#include "adapter/AdHocQualityRecord.h"
#include "adapter/CardItem.h"
#include "adapter/StatisticsBlock.h"

// SetCardItem's result for item 33 (start a BSS scan) when the firmware
// answered but refused to start the scan every time it was asked (twenty
// times, a second apart): no scan is running, and the scan table still holds
// the previous scan's cells. 0 means the scan started, ITEM_NO_RESPONSE that
// the card did not answer.
const BYTE ITEM_SCAN_REFUSED = 1;

// Output of the items that give raw records.
const size_t ADHOC_QUALITY_RECORD_SIZE = sizeof(AdHocQualityRecord);
const size_t STATION_ENTRY_SIZE = 32;
// A buffer this large holds any item's output (the statistics block is the
// largest); texts such as an ESSID of 32 characters need 33 bytes.
const size_t CARD_ITEM_BUFFER_SIZE = 352;

// Asks the card for one item. Indexed items (table entries) take the entry's
// index from the first 16-bit word of `output`, which is checked on its way to
// the card. Texts are always terminated and cut to `size`; numbers are 16-bit
// words; raw records are copied as far as `size` allows. On every non-zero
// result the first byte of `output` is 0. `unanswered`, when given, tells an
// ITEM_NO_RESPONSE of a card that gave no answer at all from one that
// answered that the entry is not available.
BYTE QueryCardItem(int item, void* output, size_t size, bool* unanswered = nullptr);
template <size_t N> inline BYTE QueryCardItem(int item, char (&output)[N])
{
    return QueryCardItem(item, output, N);
}
template <size_t N> inline BYTE QueryCardItem(int item, BYTE (&output)[N])
{
    return QueryCardItem(item, output, N);
}
// The records: item 20 into a StatisticsBlock, item 49 into an
// AdHocQualityRecord (whose first word carries the index in).
inline BYTE QueryCardItem(int item, StatisticsBlock& block)
{
    return QueryCardItem(item, &block, sizeof(block));
}
inline BYTE QueryCardItem(int item, AdHocQualityRecord& record)
{
    return QueryCardItem(item, &record, sizeof(record));
}
// A 16-bit number item (or an index in, number out).
inline BYTE QueryCardItem(int item, WORD& number)
{
    return QueryCardItem(item, &number, sizeof(number));
}
