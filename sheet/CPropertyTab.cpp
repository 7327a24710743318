// CPropertyTab.cpp - the property sheet of the adapter.
#include "sheet/CPropertyTab.h"

CPropertyTab::CPropertyTab(UINT captionId, CWnd* parent, UINT selectPage, DWORD flags)
    : CPropertySheet(captionId, parent, selectPage, flags)
{
}
