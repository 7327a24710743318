// CPropertyPage.h - one page of a property sheet: a dialog from a template,
// bound to its object from its first message through the page callback, with
// the sheet's notifications mapped to virtual handlers of the classic
// meanings. (Interim until the framework branch brings its own.)
#pragma once

#include "framework/CDialog.h"
#include "framework/DataExchange.h"

#include <prsht.h>

#include <string>

class CPropertySheet;

class CPropertyPage : public CDialog
{
public:
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);
    ~CPropertyPage() override;

    virtual BOOL OnSetActive();   // TRUE: may be shown
    virtual BOOL OnKillActive();  // TRUE: may be left
    virtual BOOL OnQueryCancel(); // TRUE: may be cancelled
    virtual BOOL OnApply();       // OnOK(); TRUE
    void OnOK() override;         // nothing: a page does not end a dialog
    void OnCancel() override;     // nothing
    void SetModified(BOOL changed = TRUE);
    CPropertySheet* GetSheet() const { return m_pSheet; }
    PROPSHEETPAGEA& GetPSP() { return m_psp; }

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX) {}
    virtual BOOL PreTranslateMessage(MSG* msg) { return FALSE; }

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    static UINT CALLBACK PageCallback(HWND hWnd, UINT msg, LPPROPSHEETPAGEA psp);

    PROPSHEETPAGEA m_psp;
    std::string m_caption;
    CPropertySheet* m_pSheet;
    friend class CPropertySheet;
};
