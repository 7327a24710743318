// CStationWatchDlg.h - the Network Watcher for ad-hoc networks: the
// stations the card hears.
// For now an empty modeless dialog of its template, which the tool window
// opens and owns; the dialog's contents come later.
#pragma once

#include "framework/CDialog.h"

class CStationWatchDlg : public CDialog
{
public:
    explicit CStationWatchDlg(CWnd* parent = nullptr);
};
