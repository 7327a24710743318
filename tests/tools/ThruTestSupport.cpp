// ThruTestSupport.cpp - scenarios, the fixture and the window helpers.
#include "tests/tools/ThruTestSupport.h"

#include <cstdio>

std::string TrafficScenario(unsigned tx, unsigned rx, const char* extra)
{
    char text[512];
    snprintf(text, sizeof(text),
             "name thru-traffic\n"
             "drift 0\n"
             "roaming off\n"
             "cell 00:A0:C5:00:00:01 Corvane 1 72\n"
             "current 00:A0:C5:00:00:01\n"
             "traffic tx %u rx %u frame 1500 retry 2 crc 1\n%s",
             tx, rx, extra);
    return text;
}

void ThruFixture::SetUp()
{
    Load(kSteadyTraffic);
}

void ThruFixture::TearDown()
{
    card.reset();
}

void ThruFixture::Load(const char* scenario)
{
    card.reset();
    card.reset(new OpenedCard(scenario));
    origin = lastTick = Card().Now();
}

void ThruFixture::At(uint32_t ms)
{
    const uint32_t at = origin + ms;
    EXPECT_LE(Card().Now(), at) << "the card's clock is past " << ms << " ms already";
    if (Card().Now() < at)
        Card().Advance(at - Card().Now());
    lastTick = ms;
}

void ThruFixture::TickAt(CWnd& wnd, UINT_PTR timer, uint32_t ms)
{
    At(ms);
    wnd.SendMessage(WM_TIMER, timer);
}

void ThruFixture::Ticks(CWnd& wnd, UINT_PTR timer, int count)
{
    for (int i = 0; i < count; ++i)
        TickAt(wnd, timer, lastTick + 1000);
}

void PressCtrlAlt(HWND wnd, char key)
{
    BYTE keys[256], saved[256];
    ::GetKeyboardState(saved);
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_MENU] = 0x80;
    ::SetKeyboardState(keys);
    ::PostMessageA(wnd, WM_SYSKEYDOWN, key, 0x20000001);
    PumpMessages();
    ::SetKeyboardState(saved);
}

void PressKey(UINT vk)
{
    const LPARAM scan = (LPARAM)::MapVirtualKeyA(vk, 0) << 16;
    HWND focus = ::GetFocus();
    ::PostMessageA(focus, WM_KEYDOWN, vk, 1 | scan);
    ::PostMessageA(focus, WM_KEYUP, vk, 1 | scan | 0xC0000000);
    PumpMessages();
}

void Activate(HWND wnd)
{
    ::ShowWindow(wnd, SW_SHOW);
    ::SetForegroundWindow(wnd);
    ::SetActiveWindow(wnd);
}

std::string ItemText(HWND dlg, int id)
{
    return CWnd::GetWindowText(::GetDlgItem(dlg, id));
}

bool ItemVisible(HWND dlg, int id)
{
    return (::GetWindowLongA(::GetDlgItem(dlg, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool ItemEnabled(HWND dlg, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dlg, id)) != FALSE;
}

bool TimerRan(HWND wnd, UINT_PTR id)
{
    return ::KillTimer(wnd, id) != FALSE;
}
