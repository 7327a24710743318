// CBssWatchDlg.cpp - the dialog's object, bound to its template.
#include "tools/CBssWatchDlg.h"

#include "res/resource.h"

CBssWatchDlg::CBssWatchDlg(CWnd* parent) : CDialog(IDD_BSS_WATCH, parent) {}
