// The boxes of the adapter layer's notices as the program shows them: text,
// caption, style and owner of each, the beep of a silent card, and the
// texts the layer gives as card values.
#include "app/CAdapterReporter.h"

#include "adapter/AdapterState.h"
#include "tests/support/FakeOs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using N = AdapterNotice;

TEST(AdapterReporter, EachNoticeIsShownWithItsTextCaptionAndStyle)
{
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    const struct
    {
        N notice;
        long number;
        const char* text; // nullptr: the system's text for the error
        const char* caption;
        UINT style;
        bool owned; // the port layer's boxes have no owner
    } cases[] = {
        {N::PortNoDevice, 0, "Unable to open the device.\n", "", MB_OK, false},
        {N::PortCloseFailed, 0, "Failed to close device.\n", "", MB_OK, false},
        {N::PortReadFailed, 0x274, "Error when read the port: 274", "", MB_OK, false},
        {N::PortWriteFailed, 0x272, "Error when write the port: 272", "", MB_OK, false},
        {N::PortIoctlFailed, 0, "Error for DeviceIoControl", "", MB_OK, false},
        {N::NoVersionInfo, 0, "Error: GetVersionEx failed", "", MB_OK, true},
        {N::Nt5Refused, 0, "This version does not support NT 5.0.", "Error", MB_ICONERROR, true},
        {N::RegistryError, ERROR_FILE_NOT_FOUND, nullptr, "Registry Error", MB_ICONINFORMATION,
         true},
        {N::RegOpenFailed, 0, "RegOpenKeyEx() failed!", "", MB_OK, true},
        {N::NoResponse, 0, "The Corvane adapter has no response.", "Error",
         MB_ICONSTOP | MB_SYSTEMMODAL, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.notice));
        FakeOs os;
        CAdapterReporter reporter;
        reporter.Tell(c.notice, owner, c.number);
        ASSERT_EQ(1u, os.boxes.size());
        if (c.text)
            EXPECT_EQ(c.text, os.boxes[0].text);
        else
            EXPECT_FALSE(os.boxes[0].text.empty());
        EXPECT_EQ(c.caption, os.boxes[0].caption);
        EXPECT_EQ(c.style, os.boxes[0].style);
        EXPECT_EQ(c.owned ? owner : nullptr, os.boxes[0].owner);
    }
}

TEST(AdapterReporter, ASilentCardBeepsOnlyWhenTheAlertBeepIsWanted)
{
    for (DWORD beep : {0u, 1u}) {
        SCOPED_TRACE(beep);
        ClearAdapterState();
        GetAdapterState().AlertBeep = beep;
        GetAdapterState().AlertMessage = 0; // the box does not depend on it
        FakeOs os;
        CAdapterReporter().Tell(N::NoResponse, nullptr, 0);
        EXPECT_EQ(1u, os.boxes.size());
        ASSERT_EQ(beep, os.beeps.size());
        if (beep)
            EXPECT_EQ((UINT)MB_ICONHAND, os.beeps[0]);
    }
    ClearAdapterState();
}

TEST(AdapterReporter, TheLayersTextsComeFromTheStringTable)
{
    const struct
    {
        AdapterText text;
        const char* expected;
    } cases[] = {
        {AdapterText::Infrastructure, "Infrastructure"},
        {AdapterText::AdHoc, "AD-HOC"},
        {AdapterText::CarrierUsa, "USA"},
        {AdapterText::CarrierJapan, "Japan"},
        {AdapterText::Pcmcia, "PCMCIA"},
        {AdapterText::Isa, "ISA"},
    };
    CAdapterReporter reporter;
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, reporter.Text(c.text));
    for (int t = 0; t <= static_cast<int>(AdapterText::NoDebugInfo); ++t)
        EXPECT_NE(0u, CAdapterReporter::StringOf(static_cast<AdapterText>(t))) << t;
}

} // namespace
