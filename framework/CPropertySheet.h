// CPropertySheet.h - a property sheet of CPropertyPage objects, modal or
// modeless, its window bound to this object. (Interim until the framework
// branch brings its own: the sheet window is bound when the control reports
// it initialised.)
#pragma once

#include "framework/CPropertyPage.h"

#include <prsht.h>

#include <string>
#include <vector>

class CPropertySheet : public CWnd
{
public:
    CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0, DWORD flags = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* page);
    INT_PTR DoModal();
    BOOL Create(CWnd* parent = nullptr);
    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int index) const;
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const;
    BOOL SetActivePage(int index);
    void EndSheet(INT_PTR result);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnInitDialog();
    void KeepStandardButtons(BOOL keep = TRUE) { m_bKeepButtons = keep; }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The header the control is made from; its flags hold the PSH_* flags.
    PROPSHEETHEADERA m_psh;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static int CALLBACK SheetCallback(HWND hWnd, UINT msg, LPARAM lParam);
    HWND Make(CWnd* parent, bool modeless);

    std::vector<CPropertyPage*> m_pages;
    std::string m_caption;
    HWND m_hParent;
    UINT m_nStartPage;
    BOOL m_bKeepButtons;
    bool m_bModal;
    INT_PTR m_nResult;
};
