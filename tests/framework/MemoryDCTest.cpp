// The memory device context: what it owns goes with it, a failed creation
// holds nothing, and a new creation lets the old context go.
#include "framework/Gdi.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryDC, OwnsItsContextAndBitmapUntilItEnds)
{
    CClientDC screen(nullptr);
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    {
        CMemoryDC mem(screen, 40, 20);
        ASSERT_TRUE(mem);
        dc = mem;
        bitmap = mem.GetBitmap();
        EXPECT_EQ(bitmap, (HBITMAP)::GetCurrentObject(mem, OBJ_BITMAP)) << "selected for its life";
        EXPECT_EQ(40, mem.GetSize().cx);
        // A second creation lets the first context and bitmap go.
        ASSERT_TRUE(mem.Create(screen, 8, 8));
        EXPECT_EQ(0u, ::GetObjectType(bitmap));
        bitmap = mem.GetBitmap();
        dc = mem;
    }
    EXPECT_EQ(0u, ::GetObjectType(dc));
    EXPECT_EQ(0u, ::GetObjectType(bitmap)) << "deselected, then deleted";
}

TEST(MemoryDC, ABitmapThatCannotBeMadeLeavesNothingHeld)
{
    CClientDC screen(nullptr);
    for (SIZE size : {SIZE{0, 10}, SIZE{10, -1}, SIZE{1 << 20, 1 << 20}}) {
        CMemoryDC mem;
        EXPECT_FALSE(mem.Create(screen, size.cx, size.cy)) << size.cx << "x" << size.cy;
        EXPECT_EQ(nullptr, mem.Get());
        EXPECT_EQ(nullptr, mem.GetBitmap());
        EXPECT_EQ(0, mem.GetSize().cx);
    }
}

} // namespace
