// CardItems.cpp - QueryCardItem: the item table (request, index, decoding,
// failure rule) and the decoding of each answer.
#include "adapter/CardItems.h"

#include <stdio.h>
#include <string.h>

#include <string>

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterReporter.h"
#include "adapter/CardText.h"
#include "adapter/HistoryEvents.h"
#include "adapter/Mailbox.h"

namespace {

enum Request : BYTE
{
    BY_PARAM,      // CMD_GET_PARAM
    BY_STATUS,     // CMD_GET_STATUS, index word 0
    BY_TABLE,      // CMD_GET_STATUS with the caller's index
    BY_STATISTICS, // CMD_GET_STATISTICS
};

// Which firmware status, besides a command that got no answer, fails the item.
enum Failure : BYTE
{
    FAIL_NO_ANSWER,     // only no answer
    FAIL_NOT_AVAILABLE, // the entry does not exist
};

enum Decode : BYTE
{
    NETWORK_TYPE_TEXT, // string of byte value+0
    DECIMAL_WORD,      // "%d" of word value+0
    CARRIER_TEXT,      // string of byte value+0
    TEXT32,            // up to 32 bytes from value+off, up to a zero
    HEX_WORD,          // "%x" of word
    VERSION_TEXT,      // "%d.%02d"
    RATES,             // "1, 2 Mbit/s"
    MAC,               // MAC text of value+off
    LINK_STATE,        // LinkState name of word
    STATISTICS,        // the 352-byte block
    BEACON,            // "Beacon: %ld" of the 32-bit value
    QUALITY,           // "00" for 0 and 101
    RX_BUFFER,         // "Rx Buffer:%d%%"
    NUMBER,            // word value+off as a 16-bit number
    SCAN_DONE,         // 1 when word is 0
    NOISE,             // "%d", "00" for 0
    BYTE_TEXT,         // "%ld" of byte value+0
    TEXT16,            // at most 16 characters
    WORD2_IS_3,        // 1 when word value+2 is 3
    IN_USE,            // 1 when byte value+12 is not 0
    RAW,               // `length` bytes of value+0
    DEBUG_DUMP,        // debug dump text
};

struct ItemRule
{
    BYTE item;
    Request request;
    WORD code; // parameter code or status sub-code
    Decode decode;
    Failure failure;
    BYTE offset; // where in the value field the decoded part starts
    BYTE length; // RAW: bytes copied
};

const ItemRule kItems[] = {
    {CI_NETWORK_TYPE, BY_PARAM, PARAM_NETWORK_TYPE, NETWORK_TYPE_TEXT, FAIL_NO_ANSWER, 0, 0},
    {CI_BEACON_WORD, BY_PARAM, PARAM_BEACON_WORD, DECIMAL_WORD, FAIL_NO_ANSWER, 0, 0},
    {CI_CARRIER_SET, BY_PARAM, PARAM_CARRIER_SET, CARRIER_TEXT, FAIL_NO_ANSWER, 0, 0},
    {CI_ESSID, BY_PARAM, PARAM_ESSID, TEXT32, FAIL_NO_ANSWER, 0, 0},
    {CI_SENSITIVITY, BY_PARAM, PARAM_HARDWARE_WORD, HEX_WORD, FAIL_NO_ANSWER, 0, 0},
    {CI_ROAMING_THRESHOLD, BY_PARAM, PARAM_ROAMING_THRESHOLD, DECIMAL_WORD, FAIL_NO_ANSWER, 0, 0},
    {CI_MANUFACTURER, BY_PARAM, PARAM_MANUFACTURER, TEXT32, FAIL_NO_ANSWER, 0, 0},
    {CI_FIRMWARE_VERSION, BY_PARAM, PARAM_FIRMWARE_VERSION, VERSION_TEXT, FAIL_NO_ANSWER, 0, 0},
    {CI_DATA_RATE, BY_PARAM, PARAM_RATES, RATES, FAIL_NO_ANSWER, 0, 0},
    {CI_CURRENT_BSSID, BY_PARAM, PARAM_BSSID, MAC, FAIL_NO_ANSWER, 0, 0},
    {CI_MAC_ADDRESS, BY_PARAM, PARAM_MAC_ADDRESS, MAC, FAIL_NO_ANSWER, 0, 0},
    {CI_LINK_STATE, BY_PARAM, PARAM_LINK_STATE, LINK_STATE, FAIL_NO_ANSWER, 0, 0},
    {CI_STATISTICS, BY_STATISTICS, 0, STATISTICS, FAIL_NO_ANSWER, 0, 0},
    {CI_BEACON, BY_STATUS, SUB_BEACON, BEACON, FAIL_NO_ANSWER, 0, 0},
    {CI_TX_RETRY, BY_PARAM, PARAM_TX_RETRY, DECIMAL_WORD, FAIL_NO_ANSWER, 0, 0},
    {CI_SIGNAL_QUALITY, BY_STATUS, SUB_QUALITY, QUALITY, FAIL_NO_ANSWER, 0, 0},
    {CI_RX_BUFFER, BY_STATUS, SUB_RX_BUFFER, RX_BUFFER, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_COUNT, BY_STATUS, SUB_BSS_COUNT, NUMBER, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_BSSID, BY_TABLE, SUB_BSS_BSSID, MAC, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_NETWORK_TYPE, BY_TABLE, SUB_BSS_NETWORK_TYPE, NETWORK_TYPE_TEXT, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_SIGNAL, BY_TABLE, SUB_BSS_SIGNAL, NUMBER, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_STATE, BY_TABLE, SUB_BSS_STATE, LINK_STATE, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_ESSID, BY_TABLE, SUB_BSS_ESSID, TEXT32, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_SECURITY, BY_TABLE, SUB_BSS_SECURITY, NUMBER, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_WORD_14, BY_TABLE, SUB_BSS_WORD_14, NUMBER, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_SCAN_DONE, BY_STATUS, SUB_SCAN_STATE, SCAN_DONE, FAIL_NO_ANSWER, 0, 0},
    {CI_NOISE, BY_STATUS, SUB_NOISE, NOISE, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_AP_NAME, BY_TABLE, SUB_BSS_AP_NAME, TEXT32, FAIL_NOT_AVAILABLE, 0, 0},
    {CI_STATION_NAME, BY_PARAM, PARAM_STATION_NAME, TEXT16, FAIL_NO_ANSWER, 0, 0},
    {CI_BSS_STATIONS, BY_TABLE, SUB_BSS_STATIONS, BYTE_TEXT, FAIL_NOT_AVAILABLE, 0, 0},
    {CI_STATION_COUNT, BY_STATUS, SUB_STATION_COUNT, NUMBER, FAIL_NOT_AVAILABLE, 0, 0},
    {CI_STA_NAME, BY_TABLE, SUB_STATION_ENTRY, TEXT32, FAIL_NOT_AVAILABLE, 13, 0},
    {CI_STA_MAC, BY_TABLE, SUB_STATION_ENTRY, MAC, FAIL_NOT_AVAILABLE, 4, 0},
    {CI_STA_INDEX, BY_TABLE, SUB_STATION_ENTRY, NUMBER, FAIL_NOT_AVAILABLE, 0, 0},
    {CI_STA_FLAG, BY_TABLE, SUB_STATION_ENTRY, WORD2_IS_3, FAIL_NOT_AVAILABLE, 0, 0},
    {CI_STA_IN_USE, BY_TABLE, SUB_STATION_ENTRY, IN_USE, FAIL_NOT_AVAILABLE, 0, 0},
    {CI_STA_ENTRY, BY_TABLE, SUB_STATION_ENTRY, RAW, FAIL_NOT_AVAILABLE, 0, STATION_ENTRY_SIZE},
    {CI_ADHOC_QUALITY, BY_TABLE, SUB_ADHOC_QUALITY, RAW, FAIL_NO_ANSWER, 0,
     ADHOC_QUALITY_RECORD_SIZE},
    {CI_DEBUG_DUMP, BY_PARAM, PARAM_DEBUG, DEBUG_DUMP, FAIL_NO_ANSWER, 0, 0},
};

const ItemRule* FindRule(int item)
{
    for (const ItemRule& rule : kItems)
        if (rule.item == item)
            return &rule;
    return nullptr;
}

// Output writers: never past `size`, texts always terminated.
void PutText(void* output, size_t size, const std::string& text)
{
    if (size == 0)
        return;
    size_t length = text.size() < size - 1 ? text.size() : size - 1;
    memcpy(output, text.data(), length);
    static_cast<char*>(output)[length] = '\0';
}

void PutBytes(void* output, size_t size, const void* bytes, size_t count)
{
    memcpy(output, bytes, count < size ? count : size);
}

void PutNumber(void* output, size_t size, WORD number)
{
    BYTE word[2];
    PutLeWord(word, number);
    PutBytes(output, size, word, sizeof(word));
}

// One number through a "%ld" or "%lx" form.
std::string Formatted(const char* format, long number)
{
    char text[32];
    snprintf(text, sizeof(text), format, number);
    return text;
}

// Decodes an answer's value field into the output.
void Decode(const ItemRule& rule, const BYTE* value, void* output, size_t size)
{
    const WORD word = LeWord(value);
    const BYTE* part = value + rule.offset;
    const size_t partSize = MAILBOX_VALUE_SIZE - rule.offset;
    switch (rule.decode) {
    case NETWORK_TYPE_TEXT:
        PutText(output, size,
                AdapterTextOf(value[0] == 1 ? AdapterText::Infrastructure : AdapterText::AdHoc));
        break;
    case DECIMAL_WORD:
        PutText(output, size, Formatted("%ld", word));
        break;
    case CARRIER_TEXT:
        PutText(output, size, AdapterTextOf(CarrierSetText(value[0])));
        break;
    case TEXT32:
        PutText(output, size, BoundedText(part, partSize));
        break;
    case HEX_WORD:
        PutText(output, size, Formatted("%lx", word));
        break;
    case VERSION_TEXT:
        PutText(output, size, FirmwareVersionText(word));
        break;
    case RATES:
        PutText(output, size, RatesText(value, MAILBOX_VALUE_SIZE));
        break;
    case MAC:
        PutText(output, size, MacText(part));
        break;
    case LINK_STATE:
        PutText(output, size, LinkStateName(word));
        break;
    case STATISTICS:
        break; // read straight into the output
    case BEACON:
        PutText(output, size, Formatted("Beacon: %ld", static_cast<long>(LeDword(value))));
        break;
    case QUALITY:
        PutText(output, size, QualityText(word));
        break;
    case RX_BUFFER:
        PutText(output, size, Formatted("Rx Buffer:%ld%%", word));
        break;
    case NUMBER:
        PutNumber(output, size, LeWord(part));
        break;
    case SCAN_DONE:
        PutNumber(output, size, word == 0 ? 1 : 0);
        break;
    case NOISE:
        PutText(output, size, word == 0 ? std::string("00") : Formatted("%ld", word));
        break;
    case BYTE_TEXT:
        PutText(output, size, Formatted("%ld", value[0]));
        break;
    case TEXT16:
        PutText(output, size, BoundedText(value, 16));
        break;
    case WORD2_IS_3:
        PutNumber(output, size, LeWord(value + 2) == 3 ? 1 : 0);
        break;
    case IN_USE:
        PutNumber(output, size, value[12] != 0 ? 1 : 0);
        break;
    case RAW:
        PutBytes(output, size, value, rule.length);
        break;
    case DEBUG_DUMP:
        PutText(output, size, DebugDumpText(value, MAILBOX_VALUE_SIZE));
        break;
    }
}

BYTE Fail(void* output, size_t size, BYTE result)
{
    if (size > 0)
        static_cast<BYTE*>(output)[0] = 0;
    return result;
}

} // namespace

BYTE QueryCardItem(int item, void* output, size_t size, bool* unanswered)
{
    if (unanswered)
        *unanswered = false;
    if (!output)
        size = 0;
    if (!GetAdapterLink().AdapterReady)
        return Fail(output, size, ITEM_NO_ADAPTER);
    const ItemRule* rule = FindRule(item);
    if (!rule)
        return Fail(output, size, ITEM_UNKNOWN);

    MailboxData data;
    memset(&data, 0, sizeof(data));
    data.code = rule->code;
    if (rule->request == BY_TABLE && size >= 2)
        memcpy(data.value, output, 2);

    WORD status;
    switch (rule->request) {
    case BY_PARAM:
        status = GetParam(data);
        break;
    case BY_STATISTICS:
        status = GetStatistics(output, size);
        break;
    case BY_TABLE:
        status = GetTableEntry(data);
        break;
    default:
        status = GetStatus(data);
        break;
    }

    // A command that never reached the firmware, or got no answer, fails
    // every item: there is no answer to decode.
    if (status == STATUS_NO_RESPONSE || status == STATUS_NOT_OPEN || status == STATUS_BAD_MAILBOX) {
        if (unanswered)
            *unanswered = true;
        return Fail(output, size, ITEM_NO_RESPONSE);
    }
    if (rule->decode == DEBUG_DUMP && status == STATUS_NOT_AVAILABLE) {
        PutText(output, size, AdapterTextOf(AdapterText::NoDebugInfo));
        return ITEM_OK;
    }
    if (rule->failure == FAIL_NOT_AVAILABLE && status == STATUS_NOT_AVAILABLE)
        return Fail(output, size, ITEM_NO_RESPONSE);

    Decode(*rule, data.value, output, size);
    // Whoever reads the current cell, the link history learns a new one.
    if (rule->item == CI_CURRENT_BSSID)
        GetLinkHistory().NoteCell(HistoryNow(), MacText(data.value + rule->offset));
    return ITEM_OK;
}
