// CProfileNameDlg.cpp - the Profile Name dialog.
#include "app/CProfileNameDlg.h"

#include "framework/CWinApp.h"
#include "framework/DataExchange.h"
#include "framework/Os.h"
#include "res/resource.h"

CProfileNameDlg::CProfileNameDlg(CWnd* parent, const CProfileStore& store,
                                 const std::string& renaming)
    : CDialog(IDD_PROFILE_NAME, parent), m_store(store), m_renaming(renaming)
{}

void CProfileNameDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PROFILE_NAME, m_edit);
}

BOOL CProfileNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateData(FALSE);
    m_edit.LimitText(static_cast<int>(MAX_PROFILE_NAME));
    m_edit.SetWindowText(m_renaming.c_str());
    m_edit.SetSel(0, -1);
    m_edit.SetFocus();
    return FALSE; // the focus is set
}

UINT CProfileNameDlg::Problem(const std::string& name) const
{
    // Its own name, in any letter case, is the profile's to keep.
    if (!m_renaming.empty() && lstrcmpiA(name.c_str(), m_renaming.c_str()) == 0)
        return 0;
    if (m_store.Exists(name))
        return IDS_PROFILE_NAME_TAKEN;
    if (m_renaming.empty() && m_store.List().size() >= MAX_PROFILES)
        return IDS_PROFILES_FULL;
    return 0;
}

void CProfileNameDlg::OnOK()
{
    std::string name;
    UINT problem = 0;
    switch (CheckProfileName(m_edit.GetWindowText(), name)) {
    case NameProblem::EMPTY:
        problem = IDS_PROFILE_NO_NAME;
        break;
    case NameProblem::INVALID:
        problem = IDS_PROFILE_BAD_NAME;
        break;
    case NameProblem::NONE:
        problem = Problem(name);
        break;
    }
    if (problem) {
        g_os.MessageBoxA(m_hWnd, LoadStr(problem, name).c_str(),
                         LoadStr(IDS_PROFILES_CAPTION).c_str(), MB_OK | MB_ICONSTOP);
        m_edit.SetFocus();
        m_edit.SetSel(0, -1);
        return;
    }
    m_name = name;
    EndDialog(IDOK);
}
