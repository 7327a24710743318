// CBssWatchDlg.h - the Network Watcher for infrastructure networks: lists the
// access points and cells in the card's BSS table (only those of the
// configured network unless in advanced mode), scans for new ones and joins
// the one the user picks. Modeless; the tool window owns the object for the
// program's life, so the rows, the advanced mode and the saved caption
// survive a closing of the window.
#pragma once

#include <windows.h>

#include <cstddef>

#include "framework/CDialog.h"
#include "framework/CImageList.h"
#include "tools/BssEntry.h"
#include "widgets/CListViewEx.h"

class CBssWatchDlg : public CDialog
{
public:
    explicit CBssWatchDlg(CWnd* parent = nullptr);
    ~CBssWatchDlg() override;

    // Creates the window (hidden by its template) and shows it.
    BOOL Create(CWnd* parent = nullptr) override;

    enum { SCAN_TIMER = 1 };
    static const UINT SCAN_POLL_MS = 2000;
    // Column weights: a unit is the list's width / 14.
    static const int kColumnWeights[BSS_COLUMN_COUNT];

    int GetCount() const { return m_count; }
    const BssEntry& GetEntry(int i) const { return m_entries[i]; }
    const BssEntry* GetSelected() const { return m_selected; }
    const char* GetCurrentState() const { return m_currentState; }
    bool IsAdvanced() const { return m_advanced; }
    bool IsScanning() const { return m_scanning; }
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
    // The configured ESSID (the driver's parameter).
    virtual void ReadConfiguredEssid(char* text, size_t size);

    void OnScan();
    void OnJoin();
    void OnToggleAdvanced();
    void OnHelp();
    void OnSelect();

private:
    BYTE ReadIndexed(int item, int index, void* output, size_t size);
    void ReadBssTable();
    void ReadTableSize();
    void InsertColumns();
    void FillList();
    void EnableButton(int id, bool enable);
    void SetClassCursor(HCURSOR cursor);
    void EndScanState();
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM column);

    BssEntry m_entries[BSS_LIST_MAX];
    WORD m_count;
    BssEntry* m_selected;
    char* m_currentState;
    bool m_advanced;
    char m_savedCaption[80];
    SIZE m_minSize;
    CImageList m_icons;
    CListViewEx m_list;
    HICON m_icon;
    HICON m_smallIcon;
    bool m_scanning;    // timer 1 runs, ScanInProgress is ours
    bool m_reading;     // a table read pumps messages: no command may start another
};
