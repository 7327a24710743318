// CLinkMonitor.cpp - the link monitor's readings, tips and alert.
#include "app/CLinkMonitor.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "app/LinkQuality.h"
#include "framework/CWinApp.h"
#include "framework/IntegerText.h"
#include "framework/Os.h"
#include "res/resource.h"

namespace {

const char kInfrastructure[] = "Infrastructure";
const char kAssociated[] = "Associated";
const char kIdle[] = "Idle";

// A whole positive decimal number, or 0.
int PositiveNumber(const char* text)
{
    long value = 0;
    if (!ParseInteger(text, value) || value <= 0 || value > 0xFFFF)
        return 0;
    return static_cast<int>(value);
}

// A text item, or false when the card did not answer.
bool ReadText(int item, std::string& text)
{
    char buffer[CARD_ITEM_BUFFER_SIZE] = "";
    BYTE result = QueryCardItem(item, buffer, sizeof(buffer));
    buffer[sizeof(buffer) - 1] = '\0';
    text = buffer;
    return result == ITEM_OK;
}

} // namespace

CLinkMonitor::CLinkMonitor()
    : m_bAdHoc(false), m_nPeriodDivisor(0), m_previousRecord(), m_quality(100.0f),
      m_bAlerted(false), m_bHaveReading(false), m_bLinkStateRead(false)
{}

void CLinkMonitor::Start(bool adHoc)
{
    if (!adHoc)
        return;
    m_bAdHoc = true;
    m_quality = 100.0f;
    m_nPeriodDivisor = ReadPeriodDivisor();
    m_previousRecord = AdHocQualityRecord(); // index 0
    QueryCardItem(CI_ADHOC_QUALITY, &m_previousRecord, sizeof(m_previousRecord));
    m_bAlerted = false;
}

bool CLinkMonitor::LinkIsIdle()
{
    std::string state;
    return ReadText(CI_LINK_STATE, state) && state == kIdle;
}

int CLinkMonitor::ReadPeriodDivisor()
{
    std::string divisor;
    return ReadText(CI_BEACON_WORD, divisor) ? PositiveNumber(divisor.c_str()) : 0;
}

const std::string& CLinkMonitor::LinkState()
{
    if (!m_bLinkStateRead) {
        // No answer leaves the state empty.
        if (!ReadText(CI_LINK_STATE, m_linkState))
            m_linkState.clear();
        m_bLinkStateRead = true;
    }
    return m_linkState;
}

CLinkMonitor::Reading CLinkMonitor::Read(bool wantTip)
{
    Reading reading;
    m_linkState.clear();
    m_bLinkStateRead = false;
    // A tick that arrives while another card poll waits (behind one of its
    // message boxes) would break into that poll's mailbox command; it is
    // skipped, the next one comes a period later. The alert's boxes open
    // after the card is let go.
    AdapterLock lock;
    if (!lock.IsHeld())
        return reading;
    if (!ReadQuality(reading.quality)) {
        reading.outcome = NO_RESPONSE;
        return reading;
    }
    reading.outcome = READ;
    m_bHaveReading = true;
    if (wantTip) {
        reading.tip = TipFor(reading.quality);
        reading.icon = IconFor(m_quality);
    }
    // The alert box of an infrastructure network depends on the link state:
    // it is read while the card is held.
    if (!m_bAdHoc && GetAdapterState().AlertMessage && m_quality == 0.0f &&
        AlertChangeFor(m_quality, m_bAlerted) == ALERT_RAISE)
        LinkState();
    return reading;
}

bool CLinkMonitor::ReadQuality(int& quality)
{
    if (!m_bAdHoc) {
        if (GetAdapterState().ScanInProgress) {
            m_quality = QUALITY_SCANNING;
            quality = QUALITY_SCANNING;
            return true;
        }
        std::string text;
        if (!ReadText(CI_SIGNAL_QUALITY, text))
            return false;
        // A text that is no number reads as 0.
        long value = 0;
        quality = ParseInteger(text.c_str(), value) ? (int)value : 0;
        m_quality = (float)quality;
        return true;
    }

    AdHocQualityRecord record = {}; // index 0
    if (QueryCardItem(CI_ADHOC_QUALITY, &record, sizeof(record)) != ITEM_OK)
        return false;
    // A divisor the card did not give at start-up is asked for again when a
    // sample needs it.
    if (m_nPeriodDivisor <= 0 && record.otherStations != 0 &&
        record.otherStations == m_previousRecord.otherStations)
        m_nPeriodDivisor = ReadPeriodDivisor();
    m_quality = NextAdHocQuality(m_quality, m_previousRecord, record, m_nPeriodDivisor);
    m_previousRecord = record;
    quality = (int)m_quality;
    return true;
}

std::string CLinkMonitor::TipFor(int quality)
{
    if (quality == 0)
        return LoadStr(IDS_QUALITY) + ": 0%, " + LinkState();
    if (quality == QUALITY_NO_CONNECTION)
        return LoadStr(IDS_NO_CONNECTION);
    if (quality == QUALITY_SCANNING)
        return LoadStr(IDS_SCANNING);
    return LoadStr(IDS_QUALITY) + ": " + std::to_string(quality) + "%";
}

UINT CLinkMonitor::IconFor(float quality)
{
    switch (QualityLevelOf(quality)) {
    case QUALITY_LEVEL_NONE:
        return IDI_QUALITY_NONE;
    case QUALITY_LEVEL_GOOD:
        return IDI_QUALITY_GOOD;
    case QUALITY_LEVEL_FAIR:
        return IDI_QUALITY_FAIR;
    default:
        return IDI_QUALITY_POOR;
    }
}

std::string CLinkMonitor::FailureTip()
{
    switch (GetAdapterState().m_nAdapterStatus) {
    case ADAPTER_NOT_FOUND:
        return LoadStr(IDS_NO_ADAPTER);
    case ADAPTER_BAD_INSTALL:
        return LoadStr(IDS_BAD_INSTALL);
    case ADAPTER_NOT_WORKING:
        return LoadStr(IDS_TIP_NOT_WORKING);
    case ADAPTER_IDLE:
        return kIdle;
    default:
        return LoadStr(IDS_NO_RESPONSE);
    }
}

bool CLinkMonitor::AlertDue() const
{
    return AlertChangeFor(m_quality, m_bAlerted) == ALERT_RAISE;
}

void CLinkMonitor::ApplyAlertRule(HWND owner)
{
    switch (AlertChangeFor(m_quality, m_bAlerted)) {
    case ALERT_RAISE: {
        // Set before the box opens: ticks that run while it is open raise none.
        m_bAlerted = true;
        if (GetAdapterState().AlertBeep)
            g_os.MessageBeep(MB_ICONHAND);
        if (!GetAdapterState().AlertMessage)
            break;
        // In an infrastructure network only a lost link at 0 is told.
        bool show = m_bAdHoc || (m_quality == 0.0f && LinkState() != kAssociated);
        if (show)
            g_os.MessageBoxA(owner, LoadStr(m_bAdHoc ? IDS_ALERT_ADHOC : IDS_ALERT_INFRA).c_str(),
                             LoadStr(IDS_ALERT_CAPTION).c_str(), MB_ICONSTOP | MB_SYSTEMMODAL);
        break;
    }
    case ALERT_REARM:
        m_bAlerted = false;
        break;
    case ALERT_KEEP:
        break;
    }
}
