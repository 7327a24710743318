// PagesTestSupport.h - what the tests of the adapter pages share: the fake
// operating system, the simulated card opened in process
// with a driver key of the test's own, an application object, and a hidden
// window that hosts a page without a sheet.
#pragma once

#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "res/resource.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/SimCard.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pages {

// Where the test card's driver parameters live.
extern const char* const kDriverKey;
// The default card: three cells of "Corvane", associated to the second.
extern const char* const kThreeCells;

// A page test: the card of a scenario opened as after start-up on Windows NT
// (PCMCIA at 0x240, IRQ 10), the adapter state healthy with both alerts on,
// and a driver key holding a few parameters.
class PageFixture : public ::testing::Test
{
protected:
    PageFixture();
    ~PageFixture() override;
    void OpenCard(const char* scenario = kThreeCells);
    // Opens the card, then the page by open() while another poll holds the
    // card (as one waiting behind a box does): the page must leave it alone.
    void OpenBesideAnotherPoll(const std::function<void()>& open);

    CWinApp app{"corvane", LoadStr(IDS_PRODUCT).c_str()};
    RegistryFixture reg;
    std::unique_ptr<SimCard> card;
    std::unique_ptr<FakeOs> os; // after the card: its fakes are put over the card's
};

// A hidden top-level window for pages made without a sheet.
class HiddenHost : public CWnd
{
public:
    HiddenHost();
    ~HiddenHost() override;
};

// Text of a dialog control.
std::string ControlText(HWND dialog, int id);
// Reads the clipboard's text, or "<none>".
std::string ClipboardText();
// The text of a file, or empty.
std::string ReadFileText(const std::string& path);
// Every "from" in text replaced by "to".
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);

} // namespace pages
