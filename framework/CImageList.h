// CImageList.h - an owned common-control image list, released with its object.
#pragma once

#include <windows.h>

#include <commctrl.h>

class CImageList
{
public:
    CImageList() : m_h(nullptr) {}
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // A list of cx-pixel pictures cut from a bitmap resource of the program,
    // with maskColor as the transparent colour.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF maskColor);
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);

    BOOL Draw(HDC dc, int image, POINT pt, UINT style) const;
    int GetImageCount() const;

    HIMAGELIST GetSafeHandle() const { return m_h; }
    operator HIMAGELIST() const { return m_h; }
    void Attach(HIMAGELIST h);
    HIMAGELIST Detach();
    void DeleteImageList();

private:
    HIMAGELIST m_h;
};
