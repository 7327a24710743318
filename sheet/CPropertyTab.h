// CPropertyTab.h - the "Corvane Properties" window that the tool window owns
// and opens modeless. For now a sheet with the caption only: its pages come
// later.
#pragma once

#include "framework/CPropertySheet.h"

class CPropertyTab : public CPropertySheet
{
public:
    CPropertyTab(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0, DWORD flags = 0);
};
