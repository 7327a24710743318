// CEdit.h - a handle to an edit control: limits, selection, lines.
#pragma once

#include "framework/CWindow.h"

#include <string>
#include <vector>

class CEdit : public CWindow
{
public:
    using CWindow::CWindow;

    void LimitText(int maxChars) { SendMessage(EM_LIMITTEXT, (WPARAM)maxChars); }
    int GetLimitText() const { return (int)SendMessage(EM_GETLIMITTEXT); }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, (WPARAM)start, (LPARAM)end); }
    void GetSel(int& start, int& end) const
    {
        DWORD s = 0, e = 0;
        SendMessage(EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
        start = (int)s;
        end = (int)e;
    }
    void ReplaceSel(LPCSTR text, BOOL canUndo = TRUE)
    {
        SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text);
    }
    // Appends text at the end, as typing there would.
    void AppendText(LPCSTR text)
    {
        int end = GetWindowTextLength();
        SetSel(end, end);
        ReplaceSel(text, FALSE);
    }
    void ScrollCaret() { SendMessage(EM_SCROLLCARET); }
    // The selection to the clipboard.
    void Copy() { SendMessage(WM_COPY); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, readOnly); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    // The text of one line (without its line break).
    std::string GetLine(int index) const
    {
        int start = (int)SendMessage(EM_LINEINDEX, (WPARAM)index);
        if (start < 0)
            return std::string();
        int length = (int)SendMessage(EM_LINELENGTH, (WPARAM)start);
        // EM_GETLINE reads the buffer size from its first word.
        std::vector<char> buffer(length + 2, '\0');
        *reinterpret_cast<WORD*>(buffer.data()) = (WORD)(length + 1);
        int got = (int)SendMessage(EM_GETLINE, (WPARAM)index, (LPARAM)buffer.data());
        return std::string(buffer.data(), got > 0 && got <= length ? got : 0);
    }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
};
