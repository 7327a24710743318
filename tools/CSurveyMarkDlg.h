// CSurveyMarkDlg.h - "Survey Mark": asks for the short note that the survey
// log writes in its lines from now on ("Room 204"). Modal.
#pragma once

#include "framework/CDialog.h"

#include <string>

class CSurveyMarkDlg : public CDialog
{
public:
    // Opens with `mark` in the note's field.
    CSurveyMarkDlg(const std::string& mark, CWnd* parent);

    // The note as the user left it at OK.
    const std::string& GetNote() const { return m_note; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string m_note;
};
