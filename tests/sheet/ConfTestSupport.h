// ConfTestSupport.h - what the Configuration page and Advanced Configuration
// tests share: a simulated machine (platform, bus, card in process, the
// driver's parameter key in the test registry, the application profile), and
// the page made from the real template.
#pragma once

#include "framework/CWinApp.h"
#include "sheet/CConfDlg.h"
#include "tests/support/FakeOs.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/SimCard.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace conftest {

enum Bus
{
    PCMCIA = 1,
    ISA = 2
};

// A machine as start-up leaves it: platform, bus and the card opened in
// process; the driver's parameter key (holding only ESSID "Corvane") in the
// test registry; an application object with an empty profile.
class Machine
{
public:
    static const char* const kDriverKey;

    Machine(int platform, Bus bus = PCMCIA, const char* scenario = nullptr);
    ~Machine();

    // Driver parameters as the network driver's installer leaves them.
    void SetText(const char* name, const std::string& value);
    void SetNumber(const char* name, DWORD value);
    // The installer's description "ndi\params\<name>" of a parameter, into
    // which Windows 95/98 also copy the value.
    void Describe(const char* name);
    // A value of the driver key as text ("%d" of a REG_DWORD), and its type;
    // "<none>" when absent.
    std::string Value(const char* name, DWORD* type = nullptr) const;
    static std::string ValueOf(HKEY root, const std::string& key, const char* name,
                               DWORD* type = nullptr);
    // The card falls silent.
    void Silence() { card.SetFault(SIM_FAULT_NO_ANSWER); }

    RegistryFixture reg;
    SimCard card;
    CWinApp app;
};

// The page made from its template as a child of a hidden window, as the
// sheet makes it. The Advanced Configuration dialog runs modally as always;
// a click of "&Advanced Config." hands it to `advanced` from inside its loop.
class TestConfDlg : public CConfDlg
{
public:
    ~TestConfDlg() override;
    bool Open();
    // Destroys the page's window and makes it again, as the next opening of
    // the sheet does.
    bool Reopen();
    // What the user does in the dialog once it runs; a dialog the step
    // leaves open is cancelled.
    std::function<void(CAdvConfigDlg&)> advanced;
    // The network type the dialog was given, and whether its data rate
    // list was enabled when it opened.
    int advancedNetworkType = -1;
    bool advancedRateEnabled = false;

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::string Text(int id) const;
    void SetText(int id, const char* text) { ::SetDlgItemTextA(m_hWnd, id, text); }
    bool Checked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
    // Clicks a check box or button as the user would (BN_CLICKED reaches the
    // page); "&Advanced Config." returns when its dialog has ended.
    void Click(int id);
    // Selects a list entry as the user would (CBN_SELCHANGE reaches the page).
    void Select(int id, int index);
    int Selected(int id) const;
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool Visible(int id) const { return (::GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }

private:
    void ActInAdvancedDialog();

    HWND m_hHost = nullptr;
};

// The Advanced Configuration dialog's own OK, as button 100 gives it;
// IDOK when the dialog ended, 0 while it stays open.
INT_PTR PressOk(CAdvConfigDlg& dlg);

} // namespace conftest
