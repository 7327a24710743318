// FrameworkTestSupport.h - keyboard helpers of the framework tests.
#pragma once

#include <windows.h>

// Holds Ctrl and Alt down in the thread's keyboard state while it lives.
class HeldKeys
{
public:
    HeldKeys(bool ctrl, bool alt, bool shift = false);
    ~HeldKeys();

private:
    BYTE m_saved[256];
};

// Posts the key as a keyboard message would arrive: WM_SYSKEYDOWN with Alt.
void PostKey(HWND target, UINT vk, bool alt);
