#include <gtest/gtest.h>
#include "framework/CDialog.h"
#include "res/resource.h"

TEST(Smoke, AboutTemplateLoads)
{
    CDialog dlg(IDD_ABOUTBOX);
    ASSERT_TRUE(dlg.Create((HWND)nullptr));
    EXPECT_TRUE(dlg.IsWindow());
}
