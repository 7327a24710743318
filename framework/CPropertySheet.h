// CPropertySheet.h - a property sheet of CPropertyPage objects, modal or
// modeless. The sheet window is the common control's; it is bound to this
// object from the sheet callback on, and its pages to theirs from their first
// message. Ending the sheet destroys its window; the object and its pages
// stay for the next opening.
#pragma once

#include <windows.h>

#include <prsht.h>

#include <string>
#include <vector>

#include "framework/CWnd.h"

class CPropertyPage;

class CPropertySheet : public CWnd
{
public:
    // flags: PSH_* added to the sheet header (for example PSH_HASHELP).
    CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0, DWORD flags = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* page);

    // The EndSheet result (IDOK after OK, IDCANCEL after Cancel or the close
    // box), or -1 when the sheet cannot be made.
    INT_PTR DoModal();
    // Modeless; FALSE when the sheet cannot be made or is open already.
    BOOL Create(CWnd* parent = nullptr);

    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int index) const;
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const;
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page);
    // Ends the sheet with a result: its window is destroyed.
    void EndSheet(INT_PTR result);
    INT_PTR GetResult() const { return m_result; }

    const std::string& GetCaption() const { return m_caption; }
    DWORD GetFlags() const { return m_flags; }
    bool IsModal() const { return m_bModal; }

    // Accelerators (m_hAccel), then the sheet's keyboard (Ctrl+Tab, Tab,
    // mnemonics of the current page). The focus never stays on a control
    // that is hidden or disabled (the control leaves it on the page it left
    // at Ctrl+Tab and Ctrl+PgDn): it goes to the tabs.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The sheet window's initialisation, once the control has made it and
    // its first page.
    virtual BOOL OnInitDialog();
    // A modeless sheet hides OK, Cancel, Apply and Help unless asked to keep them.
    void KeepStandardButtons(BOOL keep = TRUE) { m_bKeepButtons = keep != FALSE; }
    // IDOK and IDCANCEL come here first; the default lets the control run
    // its pages and ends the sheet when the control says it is done.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static int CALLBACK SheetCallback(HWND hWnd, UINT msg, LPARAM lParam);
    // Makes the window; false when it cannot be made.
    bool Open(HWND parent);
    // The control marks a sheet it has finished with (OK or Cancel done).
    void EndIfControlFinished(INT_PTR result);
    // Moves a focus left on a hidden or disabled control of the sheet to the tabs.
    void KeepFocusOnShownPage();

    std::vector<CPropertyPage*> m_pages;
    std::string m_caption;
    HWND m_hParent;
    UINT m_startPage;
    DWORD m_flags;
    bool m_bModal;
    bool m_bKeepButtons;
    INT_PTR m_result;
};
