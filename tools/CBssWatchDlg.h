// CBssWatchDlg.h - the Network Watcher for infrastructure networks: lists the
// access points and cells in the card's BSS table (only those of the
// configured network unless in advanced mode), scans for new ones and joins
// the one the user picks. Modeless; the tool window owns the object for the
// program's life, so the rows, the advanced mode and the saved caption
// survive a closing of the window.
#pragma once

#include <windows.h>

#include <cstddef>

#include "tools/BssEntry.h"
#include "tools/CWatchDlg.h"

class CBssWatchDlg : public CWatchDlg
{
public:
    explicit CBssWatchDlg(CWnd* parent = nullptr);
    ~CBssWatchDlg() override;

    enum
    {
        SCAN_TIMER = 1
    };
    static const UINT SCAN_POLL_MS = 2000;
    // Column weights: a unit is the list's width / 14.
    static const int kColumnWeights[BSS_COLUMN_COUNT];

    int GetCount() const { return m_count; }
    const BssEntry& GetEntry(int i) const { return m_entries[i]; }
    const BssEntry* GetSelected() const { return m_selected; }
    const char* GetCurrentState() const { return m_currentState; }
    bool IsAdvanced() const { return m_advanced; }
    bool IsScanning() const { return m_scanning; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    void OnCancel() override;
    void CellText(LPARAM row, int column, char* text, size_t size) override;
    PFNLVCOMPARE RowCompare() const override { return CompareRows; }

    void OnScan();
    void OnJoin();
    void OnToggleAdvanced();
    void OnSelect();

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Posted by an opening whose table read the card did not answer: the
    // no-response road runs once the window stands.
    static const UINT WM_CARD_SILENT = WM_APP + 1;

    // A field of table entry `index`; `lost` is set when the card gave no
    // answer at all (an entry it reports not available is no loss).
    BYTE ReadIndexed(int item, int index, void* output, size_t size, bool& lost);
    // Reads the table into the rows; false (and no rows) when the card left
    // a request of it unanswered: a list with a row lost or another entry's
    // data in a row is never shown.
    bool ReadBssTable();
    // Item 25 into m_count; false when the card did not answer.
    bool ReadTableSize();
    // The table read again (Escape, the end of a scan): the size, then the
    // rows when there are any; false when the card did not answer.
    bool ReadWholeTable();
    void InsertColumns();
    void FillList();
    void EndScanState();
    void OnCardSilent();
    // OK and Scan on, Join and Cancel off.
    void ShowIdleButtons();
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM column);

    BssEntry m_entries[BSS_TABLE_MAX];
    WORD m_count;
    WORD m_tableSize; // the cells the card's table held at the last read
    BssEntry* m_selected;
    char* m_currentState;
    bool m_advanced;
    char m_savedCaption[80];
    bool m_scanning; // timer 1 runs, ScanInProgress is ours
};
