// The About box: its texts, title font and the embossed title.
#include "app/CAboutDlg.h"
#include "app/CUtilityApp.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutBox, ShowsVersionCompanyAndEmbossedTitle)
{
    CUtilityApp app;
    ASSERT_TRUE(app.ReadVersionRecord());
    CAboutDlg about;
    ASSERT_TRUE(about.Create((HWND) nullptr));
    about.ShowWindow(SW_SHOW);
    ::UpdateWindow(about);

    EXPECT_EQ("Version " + app.m_strFileVersion, about.GetDlgItemText(IDC_ABOUT_VERSION));
    EXPECT_EQ("KVR " + app.m_strCopyright, about.GetDlgItemText(IDC_ABOUT_COPYRIGHT));
    EXPECT_EQ("Corvane Utility", about.GetTitle());
    EXPECT_EQ("About", about.GetWindowText());

    LOGFONTA lf = {};
    ASSERT_TRUE(GetObjectA(about.GetTitleFont(), sizeof(lf), &lf));
    EXPECT_EQ(-26, lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_STREQ("Arial", lf.lfFaceName);

    // Embossed: the title is drawn in the highlight and the shadow colour,
    // centred, starting 10 pixels down.
    HDC dc = GetDC(about);
    RECT client;
    about.GetClientRect(&client);
    COLORREF shadow = GetNearestColor(dc, GetSysColor(COLOR_BTNSHADOW));
    COLORREF light = GetNearestColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    int shadowCount = 0, lightCount = 0, left = client.right, right = -1, top = client.bottom;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < client.right; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (c == shadow || c == light) {
                (c == shadow ? shadowCount : lightCount)++;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
            }
        }
    ReleaseDC(about, dc);
    EXPECT_GT(shadowCount, 50);
    EXPECT_GT(lightCount, 50);
    EXPECT_GE(top, 10);
    EXPECT_LE(top, 20);
    EXPECT_NEAR(left, client.right - 1 - right, 4) << "centred horizontally";
    about.DestroyWindow();
}

} // namespace
