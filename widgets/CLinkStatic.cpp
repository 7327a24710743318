// CLinkStatic.cpp - the hyperlink label: attaching, fitting, colours, hover,
// the hand cursor, and opening its target with the browser fallback.
#include "widgets/CLinkStatic.h"

#include <cstdio>
#include <cstring>

#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"

namespace {

const UINT kToolId = 1;
const size_t kCommandMax = 520; // the command line buffer, terminator included
const size_t kValueMax = 260;

// The unnamed value of a key under HKEY_CLASSES_ROOT.
bool ReadClassesDefault(const std::string& key, std::string* value)
{
    HKEY h = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
        return false;
    char buffer[kValueMax] = "";
    LONG size = sizeof buffer;
    LONG rc = ::RegQueryValueA(h, nullptr, buffer, &size);
    ::RegCloseKey(h);
    if (rc != ERROR_SUCCESS)
        return false;
    buffer[sizeof buffer - 1] = '\0';
    *value = buffer;
    return true;
}

// Where the ink of the text ends when drawn in `font` from x = 0: the
// font's underline runs to the advance width GetTextExtentPoint gives, which
// lies past the last glyph after blanks, and under Wine's Tahoma (whose
// small glyphs are narrower than their advances) a few pixels past any
// text. Rows from the ascent down, where the underline lies, do not count.
int InkWidth(HDC like, HFONT font, const std::string& text, SIZE extent)
{
    CMemoryDC mem(like, extent.cx, extent.cy);
    if (!mem.Get())
        return extent.cx;
    CSelectObject select(mem, font);
    ::PatBlt(mem, 0, 0, extent.cx, extent.cy, WHITENESS);
    ::SetBkMode(mem, TRANSPARENT);
    ::SetTextColor(mem, RGB(0, 0, 0));
    ::TextOutA(mem, 0, 0, text.c_str(), (int)text.size());
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(mem, &tm);
    const int rows = tm.tmAscent < extent.cy ? (int)tm.tmAscent : (int)extent.cy;
    for (int x = extent.cx - 1; x >= 0; --x)
        for (int y = 0; y < rows; ++y)
            if (::GetPixel(mem, x, y) != RGB(255, 255, 255))
                return x + 1;
    return extent.cx;
}

} // namespace

CLinkStatic::CLinkStatic()
    : m_linkColor(RGB(0, 0, 238)), m_visitedColor(RGB(85, 26, 139)),
      m_hoverColor(::GetSysColor(COLOR_BTNHIGHLIGHT)), m_mouseOver(false), m_visited(false),
      m_underline(true), m_fitToText(true), m_cursor(nullptr), m_ownsCursor(false)
{}

CLinkStatic::~CLinkStatic()
{
    // The control must not keep a font that is about to go.
    if (IsWindow())
        SendMessage(WM_SETFONT, 0, FALSE);
    ReleaseOwnCursor();
}

void CLinkStatic::SetTarget(const char* target)
{
    m_target = target ? target : "";
    if (IsWindow()) {
        FitToText();
        m_toolTip.UpdateTipText(m_target.c_str(), m_hWnd, kToolId);
    }
}

void CLinkStatic::SetLinkColors(COLORREF link, COLORREF visited, COLORREF hover)
{
    m_linkColor = link;
    m_visitedColor = visited;
    m_hoverColor = hover == (COLORREF)-1 ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
    if (IsWindow())
        Invalidate(TRUE);
}

void CLinkStatic::MarkVisited(bool visited)
{
    m_visited = visited;
    if (IsWindow())
        Invalidate(TRUE);
}

void CLinkStatic::ReleaseOwnCursor()
{
    if (m_ownsCursor && m_cursor)
        ::DestroyCursor(m_cursor);
    m_ownsCursor = false;
}

void CLinkStatic::SetHandCursor(HCURSOR cursor)
{
    // A cursor handed in belongs to the caller (usually a shared resource
    // cursor); only the copy this control made itself is destroyed by it.
    ReleaseOwnCursor();
    m_cursor = cursor;
    if (!m_cursor)
        LoadDefaultCursor();
}

void CLinkStatic::LoadDefaultCursor()
{
    if (m_cursor)
        return;
    char path[MAX_PATH + 16];
    UINT n = ::GetWindowsDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    std::strcat(path, "\\winhlp32.exe");
    HMODULE module = ::LoadLibraryA(path);
    if (!module)
        return;
    HCURSOR cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(106));
    if (cursor) {
        m_cursor = (HCURSOR)::CopyIcon((HICON)cursor);
        m_ownsCursor = m_cursor != nullptr;
    }
    ::FreeLibrary(module);
}

void CLinkStatic::ShowUnderline(bool on)
{
    m_underline = on;
    if (IsWindow()) {
        RebuildFont();
        Invalidate(TRUE);
    }
}

void CLinkStatic::EnableFitToText(bool on)
{
    m_fitToText = on;
    if (IsWindow())
        FitToText();
}

void CLinkStatic::RebuildFont()
{
    LOGFONTA lf = {};
    HFONT current = (HFONT)SendMessage(WM_GETFONT);
    if (!current || !::GetObjectA(current, sizeof lf, &lf))
        ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
    lf.lfUnderline = m_underline ? TRUE : FALSE;
    // The new font replaces the old one only after the control has it, so
    // the control never holds a deleted font.
    CFont font;
    if (!font.CreateFontIndirect(lf))
        return;
    SendMessage(WM_SETFONT, (WPARAM)font.Get(), TRUE);
    m_font = std::move(font);
}

void CLinkStatic::FitToText()
{
    if (!IsWindow() || !m_fitToText)
        return;
    RECT rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&rc), 2);
    std::string text = GetWindowText();
    SIZE extent = {0, 0};
    int ink = 0;
    {
        CClientDC dc(m_hWnd);
        if (!dc)
            return;
        CSelectObject sel(dc, m_font.Get());
        ::GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &extent);
        ink = InkWidth(dc, m_font.Get(), text, extent);
    }
    const DWORD style = GetStyle();
    // The control ends where the text's ink ends: the font's underline runs
    // on to the advance width, and the control's edge cuts it there. Drawn
    // from the control's left edge without word wrap (which would send the
    // last word of a text cut this way to a line of its own), the text keeps
    // the place its own alignment gives it.
    extent.cx = ink;
    if (m_alignment == SS_LEFT || m_alignment == SS_CENTER || m_alignment == SS_RIGHT)
        ModifyStyle(SS_TYPEMASK, SS_LEFTNOWORDWRAP);
    if (style & SS_CENTERIMAGE) {
        int shrink = ((rc.bottom - rc.top) - extent.cy) / 2;
        rc.top += shrink;
        rc.bottom -= shrink;
    } else {
        rc.bottom = rc.top + extent.cy;
    }
    switch (m_alignment) {
    case SS_CENTER: {
        int shrink = ((rc.right - rc.left) - extent.cx) / 2;
        rc.left += shrink;
        rc.right -= shrink;
        break;
    }
    case SS_RIGHT:
        rc.left = rc.right - extent.cx;
        break;
    default:
        rc.right = rc.left + extent.cx;
        break;
    }
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLinkStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    m_alignment = GetStyle() & SS_TYPEMASK;
    std::string text = GetWindowText();
    if (m_target.empty())
        m_target = text;
    if (text.empty())
        SetWindowText(m_target.c_str());
    RebuildFont();
    FitToText();
    LoadDefaultCursor();
    if (m_toolTip.Create(m_hWnd, 0)) {
        RECT rc;
        GetClientRect(&rc);
        m_toolTip.AddTool(m_hWnd, m_target.c_str(), rc, kToolId);
    }
}

LRESULT CLinkStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        // The framework has no message pre-translation, so the control hands
        // its own mouse messages to its tooltip.
        if (m_toolTip.IsWindow()) {
            MSG m = {m_hWnd, msg, wParam, lParam, (DWORD)::GetMessageTime(), {}};
            m_toolTip.RelayEvent(&m);
        }
        break;
    case WM_CAPTURECHANGED:
        // Whoever takes the capture away also ends the hover.
        if (m_mouseOver && (HWND)lParam != m_hWnd) {
            m_mouseOver = false;
            ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        return Default();
    }
    return CStatic::WindowProc(msg, wParam, lParam);
}

BOOL CLinkStatic::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg == WM_CTLCOLORSTATIC) {
        HDC dc = (HDC)wParam;
        ::SetTextColor(dc, m_mouseOver ? m_hoverColor : (m_visited ? m_visitedColor : m_linkColor));
        ::SetBkMode(dc, TRANSPARENT);
        *result = (LRESULT)::GetStockObject(NULL_BRUSH);
        return TRUE;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OnClicked();
        *result = 0;
        return TRUE;
    }
    return FALSE;
}

BOOL CLinkStatic::OnSetCursor(HWND, UINT, UINT)
{
    if (!m_cursor)
        return FALSE;
    ::SetCursor(m_cursor);
    return TRUE;
}

void CLinkStatic::OnMouseMove(UINT flags, POINT pt)
{
    Default();
    if (!m_mouseOver) {
        m_mouseOver = true;
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ::SetCapture(m_hWnd);
        return;
    }
    RECT rc;
    GetClientRect(&rc);
    if (!::PtInRect(&rc, pt)) {
        m_mouseOver = false;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void CLinkStatic::OnClicked()
{
    m_mouseOver = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    int result = OpenTarget(m_target.c_str(), SW_SHOW);
    if (result > 32) {
        m_visited = true;
        Invalidate(TRUE);
        return;
    }
    g_os.MessageBeep(MB_ICONEXCLAMATION);
    std::string text = LoadStr(IDS_LINK_UNABLE) + FailureText(result);
    g_os.MessageBoxA(::GetActiveWindow(), text.c_str(), AfxGetAppTitle().c_str(),
                     MB_ICONEXCLAMATION | MB_OK);
    Invalidate(TRUE);
}

std::string CLinkStatic::BrowserCommand(const char* target)
{
    std::string docClass, command;
    if (!ReadClassesDefault(".htm", &docClass))
        return std::string();
    if (!ReadClassesDefault(docClass + "\\shell\\open\\command", &command))
        return std::string();
    size_t cut = command.find("\"%1\"");
    if (cut == std::string::npos)
        cut = command.find("%1");
    if (cut != std::string::npos)
        command.resize(cut);
    command += " ";
    command += target;
    // The line is assembled in a buffer of 520 characters: a line that would
    // not fit is not started rather than started with a cut target.
    if (command.size() >= kCommandMax)
        return std::string();
    return command;
}

int CLinkStatic::OpenTarget(const char* target, int show)
{
    int result = (int)(INT_PTR)g_os.ShellExecuteA(nullptr, "open", target, nullptr, nullptr, show);
    if (result > 32)
        return result;
    std::string command = BrowserCommand(target);
    if (command.empty())
        return result;
    return (int)g_os.WinExec(command.c_str(), show);
}

std::string CLinkStatic::FailureText(int code)
{
    static const struct
    {
        int code;
        UINT text;
    } kTexts[] = {
        {0, IDS_SHELL_NO_MEMORY},      {2, IDS_SHELL_FILE_NOT_FOUND},
        {3, IDS_SHELL_PATH_NOT_FOUND}, {5, IDS_SHELL_ACCESS_DENIED},
        {8, IDS_SHELL_OUT_OF_MEMORY},  {11, IDS_SHELL_BAD_FORMAT},
        {26, IDS_SHELL_SHARE},         {27, IDS_SHELL_ASSOC_INCOMPLETE},
        {28, IDS_SHELL_DDE_TIMEOUT},   {29, IDS_SHELL_DDE_FAIL},
        {30, IDS_SHELL_DDE_BUSY},      {31, IDS_SHELL_NO_ASSOC},
        {32, IDS_SHELL_DLL_NOT_FOUND},
    };
    for (const auto& entry : kTexts)
        if (entry.code == code)
            return LoadStr(entry.text);
    char text[48];
    std::snprintf(text, sizeof text, LoadStr(IDS_SHELL_UNKNOWN).c_str(), code);
    return text;
}
