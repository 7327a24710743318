// CEdit.h - an edit control bound to an object. (Interim: what the sheet's
// pages need until the framework branch brings the whole wrapper.)
#pragma once

#include "framework/CWnd.h"

class CEdit : public CWnd
{
public:
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, (WPARAM)start, (LPARAM)end); }
    void ReplaceSel(const char* text) { SendMessage(EM_REPLACESEL, FALSE, (LPARAM)text); }
    void LimitText(int limit) { SendMessage(EM_LIMITTEXT, (WPARAM)limit); }
};
