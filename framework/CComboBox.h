// CComboBox.h - a handle to a combo box: its list, selection and item data.
#pragma once

#include "framework/CWindow.h"

#include <string>
#include <vector>

class CComboBox : public CWindow
{
public:
    using CWindow::CWindow;

    int AddString(LPCSTR text) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)text); }
    int InsertString(int index, LPCSTR text)
    {
        return (int)SendMessage(CB_INSERTSTRING, (WPARAM)index, (LPARAM)text);
    }
    int DeleteString(int index) { return (int)SendMessage(CB_DELETESTRING, (WPARAM)index); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)index); }
    // The text of an item, empty for an index outside the list.
    std::string GetLBText(int index) const
    {
        int length = (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)index);
        if (length < 0)
            return std::string();
        std::vector<char> buffer(length + 1, '\0');
        int got = (int)SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)buffer.data());
        return std::string(buffer.data(), got > 0 && got <= length ? got : 0);
    }
    // The index of the item whose whole text matches (case-insensitive), or CB_ERR.
    int FindStringExact(int startAfter, LPCSTR text) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)startAfter, (LPARAM)text);
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return (int)SendMessage(CB_SETITEMDATA, (WPARAM)index, (LPARAM)data);
    }
    DWORD_PTR GetItemData(int index) const
    {
        return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)index);
    }
    void LimitText(int maxChars) { SendMessage(CB_LIMITTEXT, (WPARAM)maxChars); }
};
