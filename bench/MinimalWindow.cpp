// MinimalWindow.cpp - the least a Win32 program of our toolchain does to put
// a window on the screen: register a class, create and show the window, run
// the message loop. The start-up figure's floor.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "CorvaneMinimalWindow";
    if (!::RegisterClassA(&wc))
        return 1;
    HWND hWnd =
        ::CreateWindowExA(0, wc.lpszClassName, "Minimal window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 300, 200, nullptr, nullptr, instance, nullptr);
    if (!hWnd)
        return 1;
    ::ShowWindow(hWnd, show);
    ::UpdateWindow(hWnd);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
