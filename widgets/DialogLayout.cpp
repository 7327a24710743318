// DialogLayout.cpp - the window side of the rule layout: measuring children,
// converting dialog units, reporting faulty tables and moving the children.
#include "widgets/DialogLayout.h"

#include <cstdio>
#include <memory>
#include <new>

#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"

namespace {

const ATOM kDialogClassAtom = 0x8002;

// Reports a programming error in a compiled-in table. The debugger break only
// happens when a debugger can take it; without one it would end the program.
void AssertionReport(const char* text)
{
    g_os.MessageBoxA(::GetActiveWindow(), text, LoadStr(IDS_ASSERTION_FAILED).c_str(),
                     MB_ICONERROR);
    // Looked up, not imported: Windows 95 has no IsDebuggerPresent and would
    // refuse to load the program.
    typedef BOOL(WINAPI * IsDebuggerPresentFn)();
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    IsDebuggerPresentFn present =
        kernel
            ? reinterpret_cast<IsDebuggerPresentFn>(::GetProcAddress(kernel, "IsDebuggerPresent"))
            : nullptr;
    if (present && present())
        ::DebugBreak();
}

// The window as the solver sees it. The dialog units are the window's font's,
// measured once per layout however many offsets the table converts.
class WindowHost : public LayoutHost
{
public:
    explicit WindowHost(HWND hWnd) : m_hWnd(hWnd) {}
    void Report(unsigned textId) override { AssertionReport(LoadStr(textId).c_str()); }
    int OffsetToPixels(int dialogUnits, bool vertical) override
    {
        if (!m_measured) {
            m_units = RECT{0, 0, 4, 8};
            DialogUnitsToPixels(m_hWnd, &m_units);
            m_rounds = (ATOM)::GetClassLongA(m_hWnd, GCW_ATOM) == kDialogClassAtom;
            m_measured = true;
        }
        // MapDialogRect rounds to the nearest pixel, halves away from zero;
        // the font's own units are truncated.
        const long long scaled =
            (long long)dialogUnits * (vertical ? m_units.bottom : m_units.right);
        const int per = vertical ? 8 : 4;
        if (!m_rounds)
            return (int)(scaled / per);
        return (int)(scaled >= 0 ? (scaled + per / 2) / per : -((-scaled + per / 2) / per));
    }

private:
    HWND m_hWnd;
    bool m_measured = false;
    bool m_rounds = false;
    RECT m_units = {};
};

void FillKnown(LayoutChild& c)
{
    for (int i = 0; i < 4; ++i)
        c.known[i] = 1;
    c.known[LAYOUT_WIDTH] = c.known[LAYOUT_HEIGHT] = 0;
    DeriveLayoutMetrics(c);
}

} // namespace

void DialogUnitsToPixels(HWND hWnd, RECT* rc)
{
    if ((ATOM)::GetClassLongA(hWnd, GCW_ATOM) == kDialogClassAtom) {
        ::MapDialogRect(hWnd, rc);
        return;
    }
    unsigned baseX = 0, baseY = 0;
    HDC dc = ::GetDC(hWnd);
    if (dc) {
        HFONT font = (HFONT)::SendMessageA(hWnd, WM_GETFONT, 0, 0);
        HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
        static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(dc, letters, 52, &size);
        baseX = ((unsigned)size.cx / 26 + 1) / 2;
        baseY = (unsigned)size.cy;
        if (old)
            ::SelectObject(dc, old);
        ::ReleaseDC(hWnd, dc);
    }
    const int bx = (int)baseX, by = (int)baseY;
    rc->left = rc->left * bx / 4;
    rc->right = rc->right * bx / 4;
    rc->top = rc->top * by / 8;
    rc->bottom = rc->bottom * by / 8;
}

bool ApplyLayout(HWND hWnd, LayoutRule* rules, LayoutStats* stats)
{
    if (stats)
        *stats = LayoutStats{0, 0};
    if (::IsIconic(hWnd))
        return true;

    int count = 0;
    for (HWND child = ::GetTopWindow(hWnd); child && ::IsWindow(child);
         child = ::GetWindow(child, GW_HWNDNEXT))
        ++count;
    if (count == 0)
        return false;
    std::unique_ptr<LayoutChild[]> list(new (std::nothrow) LayoutChild[count + 2]);
    // Each child's window and where it stands, to move only what the rules moved.
    std::unique_ptr<HWND[]> windows(new (std::nothrow) HWND[count + 2]);
    std::unique_ptr<RECT[]> was(new (std::nothrow) RECT[count + 2]);
    if (!list || !windows || !was)
        return false;

    LayoutChild& client = list[0];
    client = LayoutChild{};
    client.id = LAYOUT_PARENT_ID;
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    client.left = rc.left, client.top = rc.top, client.right = rc.right, client.bottom = rc.bottom;
    FillKnown(client);

    int n = 1;
    for (HWND child = ::GetTopWindow(hWnd); child && ::IsWindow(child) && n <= count;
         child = ::GetWindow(child, GW_HWNDNEXT), ++n) {
        LayoutChild& c = list[n];
        c = LayoutChild{};
        c.id = ::GetDlgCtrlID(child);
        ::GetWindowRect(child, &rc);
        ::MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
        c.left = rc.left, c.top = rc.top, c.right = rc.right, c.bottom = rc.bottom;
        windows[n] = child;
        was[n] = rc;
        c.untouched = 1;
        FillKnown(c);
    }
    list[n] = LayoutChild{};
    list[n].id = LAYOUT_LIST_END;

    WindowHost host(hWnd);
    if (!SolveLayout(rules, list.get(), host, stats)) {
        AssertionReport(LoadStr(IDS_LAYOUT_UNABLE).c_str());
        return false;
    }

    bool result = true;
    HDWP batch = ::BeginDeferWindowPos(0);
    for (int i = 1; list[i].id != LAYOUT_LIST_END; ++i) {
        LayoutChild& c = list[i];
        for (int m = 0; m < 6; ++m) {
            if (c.known[m])
                continue;
            char caption[128] = "";
            ::GetModuleFileNameA(nullptr, caption, sizeof caption);
            caption[sizeof caption - 1] = '\0';
            char text[96];
            std::snprintf(text, sizeof text, LoadStr(IDS_LAYOUT_NOT_FOUND).c_str(),
                          LayoutMetricName(m), c.id);
            g_os.MessageBoxA(::GetActiveWindow(), text, caption, MB_OK);
            result = false;
        }
        if (c.untouched)
            continue;
        const RECT& at = was[i];
        if (c.left == at.left && c.top == at.top && c.width == at.right - at.left &&
            c.height == at.bottom - at.top)
            continue;
        HWND child = windows[i];
        if (batch)
            batch = ::DeferWindowPos(batch, child, nullptr, c.left, c.top, c.width, c.height,
                                     SWP_NOZORDER);
        else
            ::SetWindowPos(child, nullptr, c.left, c.top, c.width, c.height, SWP_NOZORDER);
        ::InvalidateRect(child, nullptr, TRUE);
    }
    if (batch)
        ::EndDeferWindowPos(batch);
    return result;
}
