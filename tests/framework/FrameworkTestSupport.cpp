// FrameworkTestSupport.cpp - keyboard helpers.
#include "tests/framework/FrameworkTestSupport.h"

HeldKeys::HeldKeys(bool ctrl, bool alt, bool shift)
{
    ::GetKeyboardState(m_saved);
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_MENU] = alt ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

HeldKeys::~HeldKeys()
{
    ::SetKeyboardState(m_saved);
}

void PostKey(HWND target, UINT vk, bool alt)
{
    UINT scan = ::MapVirtualKeyA(vk, 0);
    LPARAM lParam = 1 | (scan << 16) | (alt ? (1 << 29) : 0);
    ::PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, lParam);
}
