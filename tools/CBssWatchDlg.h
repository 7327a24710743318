// CBssWatchDlg.h - the Network Watcher for infrastructure networks: the
// access points and cells the card has found.
// For now an empty modeless dialog of its template, which the tool window
// opens and owns; the dialog's contents come later.
#pragma once

#include "framework/CDialog.h"

class CBssWatchDlg : public CDialog
{
public:
    explicit CBssWatchDlg(CWnd* parent = nullptr);
};
