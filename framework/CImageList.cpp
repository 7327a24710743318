// CImageList.cpp - creation, drawing and release of an owned image list.
#include "framework/CImageList.h"

#include <utility>

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF maskColor)
{
    Attach(::ImageList_LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), cx, grow,
                                  maskColor, IMAGE_BITMAP, 0));
    return m_h != nullptr;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    Attach(::ImageList_Create(cx, cy, flags, initial, grow));
    return m_h != nullptr;
}

BOOL CImageList::Draw(HDC dc, int image, POINT pt, UINT style) const
{
    return m_h && ::ImageList_Draw(m_h, image, dc, pt.x, pt.y, style);
}

int CImageList::GetImageCount() const
{
    return m_h ? ::ImageList_GetImageCount(m_h) : 0;
}

void CImageList::Attach(HIMAGELIST h)
{
    DeleteImageList();
    m_h = h;
}

HIMAGELIST CImageList::Detach()
{
    return std::exchange(m_h, nullptr);
}

void CImageList::DeleteImageList()
{
    if (m_h)
        ::ImageList_Destroy(m_h);
    m_h = nullptr;
}
