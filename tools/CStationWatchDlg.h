// CStationWatchDlg.h - the Network Watcher for ad-hoc networks: lists the
// other stations the card hears (name, address, how long silent), read
// afresh at every opening; Refresh asks the card to search again and reads
// the table 15 seconds later. Modeless, owned by the tool window.
#pragma once

#include <windows.h>

#include <cstddef>

#include "framework/CDialog.h"
#include "framework/CImageList.h"
#include "tools/BssEntry.h"
#include "tools/StationEntry.h"
#include "widgets/CListViewEx.h"

class CStationWatchDlg : public CDialog
{
public:
    explicit CStationWatchDlg(CWnd* parent = nullptr);
    ~CStationWatchDlg() override;

    // Creates the window (hidden by its template) and shows it.
    BOOL Create(CWnd* parent = nullptr) override;

    enum { REFRESH_TIMER = 1 };
    static const UINT REFRESH_WAIT_MS = 15000;

    int GetCount() const { return m_count; }
    const StationEntry& GetEntry(int i) const { return m_entries[i]; }
    const char* GetStationName() const { return m_stationName; }
    bool IsRefreshing() const { return m_refreshing; }
    SIZE GetMinSize() const { return m_minSize; }
    CListViewEx& GetList() { return m_list; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnTimer(UINT_PTR id) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnDestroy() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override;

    // The card, as the dialog reaches it; tests count or steer the reads.
    virtual BYTE ReadCardItem(int item, void* output, size_t size);

    void OnRefresh();

private:
    class CardStations;
    void ReadTableSize();
    void ReadStations();
    void FillList();
    void EnableButton(int id, bool enable);
    void SetClassCursor(HCURSOR cursor);
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM column);

    StationEntry m_entries[BSS_LIST_MAX];
    WORD m_count;
    char m_stationName[24];
    SIZE m_minSize;
    CListViewEx m_list;
    CImageList m_icons;
    HICON m_icon;
    HICON m_smallIcon;
    bool m_refreshing;  // timer 1 runs
    bool m_reading;     // a table read pumps messages: no command may start another
};
