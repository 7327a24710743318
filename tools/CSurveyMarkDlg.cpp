// CSurveyMarkDlg.cpp - the mark's field.
#include "tools/CSurveyMarkDlg.h"

#include "framework/CEdit.h"
#include "res/resource.h"
#include "tools/CSurveyLog.h"

CSurveyMarkDlg::CSurveyMarkDlg(const std::string& mark, CWnd* parent)
    : CDialog(IDD_SURVEY_MARK, parent), m_note(mark)
{}

BOOL CSurveyMarkDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    CEdit note(GetDlgItem(IDC_SURVEY_MARK_TEXT));
    note.LimitText((int)CSurveyLog::MAX_MARK);
    note.SetWindowText(m_note.c_str());
    // Typing replaces the mark; the field has the focus.
    note.SetSel(0, -1);
    ::SetFocus(note);
    return FALSE;
}

void CSurveyMarkDlg::OnOK()
{
    m_note = CWnd::GetWindowText(GetDlgItem(IDC_SURVEY_MARK_TEXT));
    CDialog::OnOK();
}
