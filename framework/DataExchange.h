// DataExchange.h - dialog data exchange between a window's controls and its
// members. (Interim: only the exchange object the sheet's pages need.)
#pragma once

#include "framework/CWnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* dlg, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlg)
    {
    }
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};
