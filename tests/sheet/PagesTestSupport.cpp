// PagesTestSupport.cpp - the opened card and the host window of the
// adapter page tests.
#include "tests/sheet/PagesTestSupport.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"

#include <cstdio>

namespace pages {

const char* const kDriverKey = "SOFTWARE\\CorvaneTest\\SheetPages\\Parameters";

const char* const kThreeCells = "name three-cells\n"
                                "network infrastructure\n"
                                "essid Corvane\n"
                                "drift 0\n"
                                "roaming off\n"
                                "manufacturer \"WIRELESS LAN\"\n"
                                "firmware 3.01\n"
                                "mac 00:A0:C5:12:34:56\n"
                                "cell 00:A0:C5:00:00:01 Corvane 1 40 name=Lobby stations=4\n"
                                "cell 00:A0:C5:00:00:02 Corvane 6 72 name=Lab stations=2\n"
                                "cell 00:A0:C5:00:00:03 Corvane 11 20 name=Store\n"
                                "current 00:A0:C5:00:00:02\n";

PageFixture::PageFixture()
{
    reg.Own(HKEY_LOCAL_MACHINE, "SOFTWARE\\CorvaneTest\\SheetPages");
    reg.SetDword(HKEY_LOCAL_MACHINE, kDriverKey, "CardType", 1);
    reg.SetString(HKEY_LOCAL_MACHINE, kDriverKey, "ESSID", "Corvane");
    reg.SetBinary(HKEY_LOCAL_MACHINE, kDriverKey, "Flags", {0x20, 0x00, 0x00, 0x00});
    reg.SetDword(HKEY_LOCAL_MACHINE, kDriverKey, "NetworkType", 1);
    ClearAdapterState();
    AdapterState& state = GetAdapterState();
    state.AlertBeep = 1;
    state.AlertMessage = 1;
}

PageFixture::~PageFixture()
{
    os.reset();
    card.reset();
    ResetAdapterState();
    ClearAdapterState();
}

void PageFixture::OpenCard(const char* scenario)
{
    os.reset();
    card.reset();
    card.reset(new SimCard(scenario));
    os.reset(new FakeOs);
    ResetAdapterState();
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = card->IoBase();
    GetAdapterLink().AdapterIoBase = card->IoBase();
    GetAdapterLink().AdapterIrq = 10;
    GetAdapterLink().AdapterCardType = 1;
    ASSERT_EQ(0, OpenMailbox());
    GetAdapterLink().AdapterReady = true;
    GetAdapterLink().DriverKeyPath = kDriverKey;
    GetAdapterLink().DriverKeyValid = true;
}

void PageFixture::OpenBesideAnotherPoll(const std::function<void()>& open)
{
    OpenCard();
    card->ResetCounts();
    ASSERT_EQ(0, TryLockAdapter());
    open();
    UnlockAdapter();
    EXPECT_EQ(0u, card->DriverRequests()) << "the held card is not asked";
    EXPECT_FALSE(GetAdapterState().m_bAdapterFailed);
    EXPECT_TRUE(os->boxes.empty());
}

HiddenHost::HiddenHost()
{
    CreateEx(0, nullptr, "page host", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr);
}

HiddenHost::~HiddenHost()
{
    DestroyWindow();
}

std::string ControlText(HWND dialog, int id)
{
    return CWnd::GetWindowText(::GetDlgItem(dialog, id));
}

std::string ClipboardText()
{
    std::string text = "<none>";
    if (!::OpenClipboard(nullptr))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

std::string ReadFileText(const std::string& path)
{
    std::string text;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
            text.append(buffer, n);
        fclose(f);
    }
    return text;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace pages
