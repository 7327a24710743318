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
};
