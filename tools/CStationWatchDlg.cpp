// CStationWatchDlg.cpp - the dialog's object, bound to its template.
#include "tools/CStationWatchDlg.h"

#include "res/resource.h"

CStationWatchDlg::CStationWatchDlg(CWnd* parent) : CDialog(IDD_STATION_WATCH, parent) {}
