// CPropertyTab.h - the "Corvane Properties" window that the tool window owns
// and opens modeless. For now a plain dialog with the sheet's caption: its
// pages and the sheet behaviour come later.
#pragma once

#include "framework/CDialog.h"

#include <windows.h>
#include <prsht.h>

#include <string>

class CPropertyTab : public CDialog
{
public:
    CPropertyTab(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);

    // The sheet header; the tool window adds its flags before creating.
    PROPSHEETHEADERA m_psh;

    BOOL OnInitDialog() override;

    const std::string& GetCaption() const { return m_caption; }

private:
    std::string m_caption;
};
