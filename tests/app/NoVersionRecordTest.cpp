// Start-up of a program whose version record cannot be read: this test
// program carries none, so it stands for a damaged or stripped corvane.exe.
#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "app/CUtilityApp.h"
#include "res/resource.h"
#include "tests/support/FakeOs.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupWithoutVersionRecord, SaysSoAndEndsBeforeTouchingTheCard)
{
    ResetAdapterState();
    FakeOs os{FakeOs::kMachine};
    CUtilityApp app;
    app.m_args.clear();

    BOOL started = TRUE;
    EXPECT_FALSE(RunClosingWindow(LoadStr(IDS_MAIN_TITLE), [&] { started = app.InitInstance(); }))
        << "the tool window ran";
    EXPECT_FALSE(started);

    ASSERT_EQ(1u, os.boxes.size());
    EXPECT_EQ("Cannot read file version information.", os.boxes[0].text);
    EXPECT_EQ("Error", os.boxes[0].caption);
    EXPECT_EQ((UINT)(MB_TASKMODAL | MB_ICONINFORMATION), os.boxes[0].style);
    EXPECT_EQ(0, os.opens) << "the driver was opened";
    EXPECT_TRUE(os.ports.empty()) << "the card's ports were touched";
    EXPECT_TRUE(app.m_strCompanyName.empty());
}

} // namespace
