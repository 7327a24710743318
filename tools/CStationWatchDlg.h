// CStationWatchDlg.h - the Network Watcher for ad-hoc networks: lists the
// other stations the card hears (name, address, how long silent), read
// afresh at every opening; Refresh asks the card to search again and reads
// the table 15 seconds later. Modeless, owned by the tool window.
#pragma once

#include <windows.h>

#include <cstddef>

#include "tools/BssEntry.h"
#include "tools/CWatchDlg.h"
#include "tools/StationEntry.h"

class AdapterLock;

class CStationWatchDlg : public CWatchDlg
{
public:
    explicit CStationWatchDlg(CWnd* parent = nullptr);
    ~CStationWatchDlg() override;

    enum
    {
        REFRESH_TIMER = 1
    };
    static const UINT REFRESH_WAIT_MS = 15000;
    // The wait for a card that another poll holds at the end of a refresh.
    static const UINT BUSY_RETRY_MS = 1000;

    int GetCount() const { return m_count; }
    const StationEntry& GetEntry(int i) const { return m_entries[i]; }
    const char* GetStationName() const { return m_stationName; }
    bool IsRefreshing() const { return m_refreshing; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    void OnCancel() override;
    void CellText(LPARAM row, int column, char* text, size_t size) override;
    PFNLVCOMPARE RowCompare() const override { return CompareRows; }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    void OnRefresh();

private:
    // Posted by an opening whose table read the card did not answer: the
    // user is told once the window stands.
    static const UINT WM_CARD_SILENT = WM_APP + 1;

    class CardStations;
    // The lock is ours and the card has not been found silent.
    bool CardMayBeAsked(const AdapterLock& lock) const;
    // An empty list, idle, for a card that cannot be asked.
    void ShowNoStations();
    // Item 42 into m_count, then the rows when there are any; false (and no
    // rows) when the card left a request of it unanswered.
    bool ReadWholeTable();
    // The rows of a table of m_count entries; false (and no rows) as above.
    bool ReadStations();
    void OnCardSilent();
    void FillList();
    // OK and Refresh on, Cancel off.
    void ShowIdleButtons();
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM column);

    StationEntry m_entries[BSS_TABLE_MAX];
    WORD m_count;
    char m_stationName[24];
    bool m_refreshing; // timer 1 runs
};
