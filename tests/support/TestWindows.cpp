// TestWindows.cpp - in-memory dialog templates, pumping and screen reading
// for the widget window tests.
#include "tests/support/TestWindows.h"

#include "framework/MessageFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

void Align(std::vector<WORD>& buf, size_t words)
{
    while (buf.size() % words)
        buf.push_back(0);
}

void AddString(std::vector<WORD>& buf, const char* s)
{
    while (*s)
        buf.push_back((WORD)(unsigned char)*s++);
    buf.push_back(0);
}

INT_PTR CALLBACK IdleProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

} // namespace

HWND CreateTestDialog(const char* caption, short cx, short cy,
                      const std::vector<TestControl>& controls, bool visible, HWND owner,
                      DLGPROC proc)
{
    ::InitCommonControls();
    std::vector<WORD> buf;
    DLGTEMPLATE head = {};
    head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                 (visible ? WS_VISIBLE : 0) | DS_SETFONT;
    head.cdit = (WORD)controls.size();
    head.x = 10, head.y = 10, head.cx = cx, head.cy = cy;
    const WORD* hw = reinterpret_cast<const WORD*>(&head);
    buf.insert(buf.end(), hw, hw + sizeof head / 2);
    buf.push_back(0); // menu
    buf.push_back(0); // class
    AddString(buf, caption);
    buf.push_back(8);
    AddString(buf, "MS Sans Serif");
    for (const TestControl& c : controls) {
        Align(buf, 2);
        DLGITEMTEMPLATE item = {};
        item.style = WS_CHILD | WS_VISIBLE | c.style;
        item.x = c.x, item.y = c.y, item.cx = c.cx, item.cy = c.cy;
        item.id = (WORD)c.id;
        const WORD* iw = reinterpret_cast<const WORD*>(&item);
        buf.insert(buf.end(), iw, iw + sizeof item / 2);
        AddString(buf, c.className);
        AddString(buf, c.text);
        buf.push_back(0); // no creation data
    }
    return ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                        reinterpret_cast<LPCDLGTEMPLATEA>(buf.data()), owner,
                                        proc ? proc : IdleProc, 0);
}

void PumpTestMessages()
{
    for (int round = 0; round < 3; ++round) {
        PumpMessages();
        ::Sleep(10);
    }
}

void PumpFor(DWORD ms, const std::function<void()>& eachRound)
{
    const DWORD start = ::GetTickCount();
    do {
        if (eachRound)
            eachRound();
        PumpMessages();
        ::Sleep(20);
    } while (::GetTickCount() - start < ms);
}

namespace {

std::map<UINT_PTR, WhenIdle*>& IdleTimers()
{
    static std::map<UINT_PTR, WhenIdle*> timers;
    return timers;
}

// Every DialogCreations alive (their lives may overlap in any order) and the
// one hook they share.
std::vector<DialogCreations*> g_creations;
HHOOK g_creationHook = nullptr;

struct FoundWindow
{
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK FindByCaption(HWND hWnd, LPARAM lParam)
{
    FoundWindow* find = reinterpret_cast<FoundWindow*>(lParam);
    char text[256] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    if (*find->caption != text)
        return TRUE;
    find->found = hWnd;
    return FALSE;
}

} // namespace

WhenIdle::WhenIdle(std::vector<std::function<void()>> steps) : m_steps(std::move(steps))
{
    Arm();
}

WhenIdle::~WhenIdle()
{
    if (m_timer) {
        ::KillTimer(nullptr, m_timer);
        IdleTimers().erase(m_timer);
    }
}

void WhenIdle::Arm()
{
    if (m_next >= m_steps.size())
        return;
    // A thread timer is the last thing a loop hands out: it comes when the
    // loop has nothing else to do, in whichever loop runs.
    m_timer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnTimer);
    if (m_timer)
        IdleTimers()[m_timer] = this;
}

void CALLBACK WhenIdle::OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    auto it = IdleTimers().find(id);
    if (it == IdleTimers().end())
        return;
    WhenIdle* self = it->second;
    IdleTimers().erase(it);
    self->m_timer = 0;
    // The next step is armed first: this one may open a modal loop.
    std::function<void()> step = self->m_steps[self->m_next++];
    self->Arm();
    step();
}

DialogCreations::DialogCreations(std::function<bool(const std::string&)> refuse)
    : refuse(std::move(refuse))
{
    if (g_creations.empty())
        g_creationHook = ::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    g_creations.push_back(this);
}

DialogCreations::~DialogCreations()
{
    g_creations.erase(std::find(g_creations.begin(), g_creations.end(), this));
    if (g_creations.empty() && g_creationHook) {
        ::UnhookWindowsHookEx(g_creationHook);
        g_creationHook = nullptr;
    }
}

LRESULT CALLBACK DialogCreations::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        const bool dialogClass = IS_INTRESOURCE(cs->lpszClass)
                                     ? LOWORD((ULONG_PTR)cs->lpszClass) == 0x8002
                                     : strcmp(cs->lpszClass, "#32770") == 0;
        if (dialogClass && !(cs->style & WS_CHILD)) {
            std::string caption = cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "";
            bool refused = false;
            for (DialogCreations* creations : g_creations) {
                creations->asked.push_back(caption);
                refused = refused || (creations->refuse && creations->refuse(caption));
            }
            if (refused)
                return 1;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND FindThreadWindow(const std::string& caption)
{
    FoundWindow find = {&caption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindByCaption, (LPARAM)&find);
    return find.found;
}

bool RunClosingWindow(const std::string& caption, const std::function<void()>& run)
{
    bool came = false;
    WhenIdle user({[&] {
        HWND window = FindThreadWindow(caption);
        EXPECT_TRUE(window) << "the first loop to wait is " << caption << "'s";
        if (window) {
            came = true;
            ::PostMessageA(window, WM_CLOSE, 0, 0);
        }
    }});
    run();
    return came;
}

RECT RectInParent(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

namespace {

std::vector<DWORD> GrabClient(HWND hWnd, int& w, int& h);

COLORREF ToColorRef(DWORD bgra)
{
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

} // namespace

ClientPixels::ClientPixels(HWND hWnd) : width(0), height(0)
{
    std::vector<DWORD> px = GrabClient(hWnd, width, height);
    pixels.reserve(px.size());
    for (DWORD p : px)
        pixels.push_back(ToColorRef(p));
}

COLORREF ClientPixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    return pixels[(size_t)y * width + x];
}

int ClientPixels::Count(const RECT& rc, COLORREF color) const
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (At(x, y) == color)
                ++n;
    return n;
}

namespace {

// Copies the client area as it is on screen into a top-down 32-bit buffer.
std::vector<DWORD> GrabClient(HWND hWnd, int& w, int& h)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    w = rc.right, h = rc.bottom;
    std::vector<DWORD> pixels((size_t)(w > 0 ? w : 0) * (h > 0 ? h : 0));
    if (pixels.empty())
        return pixels;
    ::UpdateWindow(hWnd);
    // Wine puts what a window painted on the X screen a little later, when the
    // thread next looks at its queue after the flush interval.
    for (int i = 0; i < 3; ++i) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 25, QS_ALLINPUT);
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    POINT origin = {0, 0};
    ::ClientToScreen(hWnd, &origin);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * 4);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

COLORREF ScreenPixel(HWND hWnd, int x, int y)
{
    int w, h;
    std::vector<DWORD> px = GrabClient(hWnd, w, h);
    if (x < 0 || y < 0 || x >= w || y >= h)
        return CLR_INVALID;
    return ToColorRef(px[(size_t)y * w + x]);
}

int CountColor(HWND hWnd, const RECT& rc, COLORREF color)
{
    int w, h;
    std::vector<DWORD> px = GrabClient(hWnd, w, h);
    int n = 0;
    for (int y = rc.top; y < rc.bottom && y < h; ++y)
        for (int x = rc.left; x < rc.right && x < w; ++x)
            if (x >= 0 && y >= 0 && ToColorRef(px[(size_t)y * w + x]) == color)
                ++n;
    return n;
}

bool SaveWindowBitmap(HWND hWnd, const char* path)
{
    int w, h;
    std::vector<DWORD> px = GrabClient(hWnd, w, h);
    if (px.empty())
        return false;
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + stride * h;
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::vector<unsigned char> row(stride, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            DWORD p = px[(size_t)y * w + x];
            row[x * 3] = p & 0xFF;
            row[x * 3 + 1] = (p >> 8) & 0xFF;
            row[x * 3 + 2] = (p >> 16) & 0xFF;
        }
        std::fwrite(row.data(), 1, stride, f);
    }
    std::fclose(f);
    return true;
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (PreTranslateThreadMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
