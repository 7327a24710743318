// CProfileCommands.h - the network profiles as the tool window offers them:
// the "Profiles" popup of the notification icon's menu, made anew each time
// the menu opens, and its commands; Save Current Settings As; the Network
// Profiles dialog; and the one Apply of a profile, for the menu and the
// dialog, which is refused while the property sheet is open (one writer of
// the card's settings at a time).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class COwnerDrawMenu;
class CProfileNameDlg;
class CProfilesDlg;
class CWnd;

class CProfileCommands
{
public:
    // sheetOpen tells whether the property sheet's window exists; it is
    // asked at each Apply.
    explicit CProfileCommands(std::function<bool()> sheetOpen);
    ~CProfileCommands();
    CProfileCommands(const CProfileCommands&) = delete;
    CProfileCommands& operator=(const CProfileCommands&) = delete;

    // A popup menu opens: when it is the notification icon's menu, the
    // "Profiles" popup goes in before its first separator.
    void OnMenuOpening(HMENU popup);
    // Commands 40021, 40022 and 40100 to 40115, for `owner`; false for any other.
    bool OnCommand(CWnd* owner, UINT id);

    // Applies a stored profile; true when all of it was saved. Refused
    // while the property sheet is open, and while another Apply waits
    // behind one of its boxes.
    bool Apply(HWND owner, const std::string& name);
    // Whether the settings in force can be read, and so kept as a profile.
    bool CanSaveSettingsInForce() const;
    // Asks for a name and keeps the settings in force under it; true with
    // the name when a profile was made.
    bool SaveSettingsInForceAs(CWnd* owner, std::string& made);
    // Opens the Network Profiles dialog, or brings the open one forward.
    void Manage(CWnd* owner);
    // Ends the dialogs that are open (the program is ending).
    void CloseDialogs();

private:
    // The profiles changed: an open dialog shows them anew.
    void Changed();

    std::function<bool()> m_sheetOpen;
    // The profiles of the popup, in its order, as it was made last.
    std::vector<std::string> m_menuNames;
    CProfilesDlg* m_pManageDlg;
    CProfileNameDlg* m_pNameDlg;
    bool m_bApplying;
};
