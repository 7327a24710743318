// CThroughputDlg.h - the Station Throughput Monitor.
// For now an empty modeless dialog of its template, which the tool window
// opens and owns; the dialog's contents come later.
#pragma once

#include "framework/CDialog.h"

class CThroughputDlg : public CDialog
{
public:
    explicit CThroughputDlg(CWnd* parent = nullptr);
};
