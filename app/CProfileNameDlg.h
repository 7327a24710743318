// CProfileNameDlg.h - the modal "Profile Name" dialog: the name of a new
// profile, or the new name of one. OK takes the blanks off either end and
// checks the name: given, at most 31 characters and no "\", no other
// profile's (letter case aside); a new profile also needs room among the
// 16. A refused name is said and the dialog stays open on the field.
#pragma once

#include "app/CProfileStore.h"
#include "framework/CDialog.h"
#include "framework/CEdit.h"

#include <string>

class CProfileNameDlg : public CDialog
{
public:
    // renaming: the present name of the profile being renamed (which it may
    // keep in another letter case); empty for a new profile.
    CProfileNameDlg(CWnd* parent, const CProfileStore& store,
                    const std::string& renaming = std::string());

    // After OK: the name, its blanks taken off.
    const std::string& GetName() const { return m_name; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // The message that refuses the name, or 0.
    UINT Problem(const std::string& name) const;

    const CProfileStore& m_store;
    std::string m_renaming;
    std::string m_name;
    CEdit m_edit;
};
