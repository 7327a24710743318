// CLinkMonitor.h - the link monitor: reads the card's link quality at each
// tick (in an ad-hoc network worked out from the card's own records), words
// the notification icon's tip and picks its picture for a reading, and
// raises the low-quality alert once until the link has recovered. It talks
// to the card only through the adapter's item reads; the tool window that
// owns it keeps the timer, the icon and the signal window.
#pragma once

#include <windows.h>

#include "adapter/AdHocQualityRecord.h"

#include <string>

class CLinkMonitor
{
public:
    // How often the tool window ticks: an ad-hoc network half as often.
    static constexpr UINT PERIOD = 2000;
    static constexpr UINT PERIOD_ADHOC = 4000;

    enum Outcome
    {
        SKIPPED,     // another card poll held the card: nothing read, nothing changed
        READ,        // a quality was read
        NO_RESPONSE, // the card did not answer
    };
    struct Reading
    {
        Outcome outcome = SKIPPED;
        int quality = 0;
        // Only when asked for: the icon's tip and its picture's resource ID.
        std::string tip;
        UINT icon = 0;
    };

    CLinkMonitor();

    // Starts on the kind of network the owner read from the card at its own
    // start (one command less to wait for). In an ad-hoc one it also takes
    // the card's period divisor and its first record.
    void Start(bool adHoc);
    // True when the card answers that its link is idle.
    bool LinkIsIdle();
    // One tick's reading, with the card held for it. With `wantTip` the
    // reading carries the tip and picture of the notification icon.
    Reading Read(bool wantTip);
    // After a reading, with the card let go: the alert's beep and box
    // (owned by `owner`), once until the quality is back at 30 or more.
    void ApplyAlertRule(HWND owner);
    // Whether ApplyAlertRule raises the alert for this reading.
    bool AlertDue() const;

    // The tip of an adapter marked failed, by its status.
    static std::string FailureTip();
    // The picture of a quality.
    static UINT IconFor(float quality);

    float GetQuality() const { return m_quality; }
    bool IsAdHoc() const { return m_bAdHoc; }
    bool IsAlerted() const { return m_bAlerted; }
    bool HasReading() const { return m_bHaveReading; }
    int GetPeriodDivisor() const { return m_nPeriodDivisor; }
    UINT GetPeriod() const { return m_bAdHoc ? PERIOD_ADHOC : PERIOD; }

private:
    // False when the card did not answer.
    bool ReadQuality(int& quality);
    // The card's period divisor, 0 when it gives none.
    static int ReadPeriodDivisor();
    // The link state of this reading, read from the card at most once.
    const std::string& LinkState();
    std::string TipFor(int quality);

    bool m_bAdHoc;
    int m_nPeriodDivisor; // 0 while the card has not told it
    AdHocQualityRecord m_previousRecord;
    float m_quality;
    bool m_bAlerted;
    bool m_bHaveReading; // measured the link once
    std::string m_linkState;
    bool m_bLinkStateRead;
};
