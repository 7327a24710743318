// CThroughputDlg.cpp - the dialog's object, bound to its template.
#include "tools/CThroughputDlg.h"

#include "res/resource.h"

CThroughputDlg::CThroughputDlg(CWnd* parent) : CDialog(IDD_THROUGHPUT, parent) {}
