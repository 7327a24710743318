// ToolPlacement.cpp - moving a tool off the tool window.
#include "tools/ToolPlacement.h"

#include <algorithm>

void KeepOwnerVisible(HWND wnd)
{
    HWND owner = ::GetWindow(wnd, GW_OWNER);
    if (!owner || !::IsWindowVisible(owner) || ::IsIconic(owner))
        return;
    RECT own, rc, work, overlap;
    ::GetWindowRect(owner, &own);
    ::GetWindowRect(wnd, &rc);
    if (!::IntersectRect(&overlap, &own, &rc))
        return;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    const int x = std::max((int)work.left, std::min((int)rc.left, (int)work.right - width));
    const int y = std::max((int)work.top, std::min((int)rc.top, (int)work.bottom - height));
    const struct
    {
        bool fits;
        POINT at;
    } sides[] = {
        {own.bottom + height <= work.bottom, {x, own.bottom}},
        {own.top - height >= work.top, {x, own.top - height}},
        {own.left - width >= work.left, {own.left - width, y}},
        {own.right + width <= work.right, {own.right, y}},
    };
    for (const auto& side : sides) {
        if (side.fits) {
            ::SetWindowPos(wnd, nullptr, side.at.x, side.at.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
    }
}
