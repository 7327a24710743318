// CButton.h - a push button, check box or radio button bound to an object:
// its check state read and set.
#pragma once

#include "framework/CWnd.h"

class CButton : public CWnd
{
public:
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int state) { SendMessage(BM_SETCHECK, (WPARAM)state); }
    bool IsChecked() const { return GetCheck() == BST_CHECKED; }
};

// The check state of a dialog's check box or radio button by its ID.
inline bool IsDlgButtonChecked(const CWnd& dlg, int id)
{
    return ::IsDlgButtonChecked(dlg.m_hWnd, id) == BST_CHECKED;
}
inline void CheckDlgButton(const CWnd& dlg, int id, bool checked)
{
    ::CheckDlgButton(dlg.m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}
