// CProfilesDlg.h - the modal "Network Profiles" dialog (Manage Profiles...):
// the list of profiles with their network and state, and Apply, New (of the
// settings in force), Rename, Delete (after a question), Close and Help.
#pragma once

#include "app/CProfileStore.h"
#include "framework/CDialog.h"
#include "widgets/CListViewEx.h"

#include <string>
#include <vector>

class CProfileCommands;

class CProfilesDlg : public CDialog
{
public:
    CProfilesDlg(CWnd* parent, CProfileCommands& commands);

    // Fills the list anew from the store (profiles changed from the menu
    // while the dialog is open), keeping the selected profile selected.
    void Refill();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // Fills the list and selects the profile named `select` (letter case
    // aside), else the row at `row`, else the last.
    void Fill(const std::string& select, int row = 0);
    // The selected row, -1 for none.
    int SelectedRow() const;
    void UpdateButtons();
    void Tell(const std::string& text, UINT icon);

    void OnApply();
    void OnNew();
    void OnRename();
    void OnDelete();

    CProfileCommands& m_commands;
    CProfileStore m_store;
    CListViewEx m_list;
    std::vector<StoredProfile> m_rows; // in the list's order
};
