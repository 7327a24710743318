// CButton.h - a handle to a push button, check box or radio button: its
// check state read and set.
#pragma once

#include "framework/CWindow.h"

class CButton : public CWindow
{
public:
    using CWindow::CWindow;

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int state) { SendMessage(BM_SETCHECK, (WPARAM)state); }
    bool IsChecked() const { return GetCheck() == BST_CHECKED; }
    void SetChecked(bool checked) { SetCheck(checked ? BST_CHECKED : BST_UNCHECKED); }
};
