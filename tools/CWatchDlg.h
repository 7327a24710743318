// CWatchDlg.h - what the two Network Watcher windows share: the icons, the
// list with its column icons, callback cells and column sorting, the OK,
// Help and Cancel buttons, closing refused while a table read pumps
// messages, resizing by a layout table within the opening size, and the
// clean-up when the window goes. Each watcher reads and fills its own rows.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>

#include "framework/CDialog.h"
#include "framework/CImageList.h"
#include "widgets/CListViewEx.h"

class CTaskProgressWnd;
struct LayoutRule;

class CWatchDlg : public CDialog
{
public:
    ~CWatchDlg() override;

    // Creates the window (hidden by its template) and shows it.
    BOOL Create(CWnd* parent = nullptr) override;

    SIZE GetMinSize() const { return m_minSize; }
    CListViewEx& GetList() { return m_list; }

protected:
    // The dialog template, its list control, the rules that lay it out and
    // whether a help file that cannot be opened is reported.
    CWatchDlg(UINT templateId, int listId, LayoutRule* layout, bool reportHelpFailure,
              CWnd* parent);

    // Icons, the list and centring; the watcher then reads and fills.
    BOOL OnInitDialog() override;
    // OK, Help and Cancel.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The list's cell texts and column sorting.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnDestroy() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}

    // The text of a column of the row whose item data is `row`.
    virtual void CellText(LPARAM row, int column, char* text, size_t size) = 0;
    // Orders two rows' item data by a column.
    virtual PFNLVCOMPARE RowCompare() const = 0;

    void OnHelp();

    // The count a table-size item gives, 0 when the card does not answer
    // (`unanswered` then says so).
    WORD ReadTableCount(int item, bool* unanswered = nullptr);
    // Opens the progress window of a read of `rows` entries when there are
    // enough of them to want one; says whether it did.
    bool OpenReadProgress(CTaskProgressWnd& progress, int rows, UINT statusId);
    // Column c is weights[c] units of the list's width / units, less slack.
    void AddColumns(const UINT* headers, const int* weights, int count, int units, int slack);
    // A row with callback texts and `data` as its item data.
    void InsertRow(int index, LPARAM data, UINT mask);
    // Empties the list and repaints at once, before a wait.
    void ClearListNow();
    // The opening size is the smallest the window may be dragged to.
    void RememberMinSize();
    // A button disabled while it has the focus first hands the focus to
    // `focusTo` (enabled before), so the keyboard stays in the window.
    void EnableButton(int id, bool enable, int focusTo = 0);
    void SetClassCursor(HCURSOR cursor);
    void ShowWaitCursor();
    void ShowArrowCursor();

    CImageList m_icons;
    CListViewEx m_list;
    bool m_reading; // a table read pumps messages: no command may start another

private:
    int m_listId;
    LayoutRule* m_layout;
    bool m_reportHelpFailure;
    SIZE m_minSize;
    HICON m_icon;
    HICON m_smallIcon;
};
