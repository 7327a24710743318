// CProfilesDlg.cpp - the Network Profiles dialog.
#include "app/CProfilesDlg.h"

#include "app/CProfileCommands.h"
#include "app/CProfileNameDlg.h"
#include "app/ProfileApply.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"

namespace {

// The columns' shares of the list's width, in eighths.
const UINT kHeaders[] = {IDS_PROFILES_COL_NAME, IDS_PROFILES_COL_NETWORK, IDS_PROFILES_COL_STATE};
const int kShares[] = {3, 3, 2};

} // namespace

CProfilesDlg::CProfilesDlg(CWnd* parent, CProfileCommands& commands)
    : CDialog(IDD_PROFILES, parent), m_commands(commands)
{}

BOOL CProfilesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_PROFILES_LIST, this);
    m_list.EnableWholeRowSelection(true);
    RECT rc;
    m_list.GetClientRect(&rc);
    const int width = rc.right - rc.left;
    for (int c = 0; c < 3; ++c)
        m_list.InsertColumn(c, LoadStr(kHeaders[c]).c_str(), LVCFMT_LEFT, width * kShares[c] / 8);
    Fill(std::string());
    ::SetFocus(m_list.m_hWnd);
    return FALSE; // the focus is on the list
}

void CProfilesDlg::Fill(const std::string& select, int row)
{
    m_rows.clear();
    for (const std::string& name : m_store.List())
        m_rows.push_back(m_store.Load(name));
    const SettingsInForce inForce = ReadSettingsInForce(m_hWnd);

    m_list.DeleteAllItems();
    int chosen = -1;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const StoredProfile& p = m_rows[i];
        const int item = m_list.InsertItem((int)i, p.name.c_str(), 0, (LPARAM)i);
        if (!p.damaged) {
            std::string type =
                LoadStr(p.settings.networkType == 0 ? IDS_CONF_ADHOC : IDS_INFRASTRUCTURE);
            m_list.SetItemText(item, 1,
                               LoadStr(IDS_PROFILE_NETWORK, p.settings.essid, type).c_str());
        }
        std::string state;
        if (p.damaged)
            state = LoadStr(IDS_PROFILE_DAMAGED, p.reason);
        else if (inForce.known && ProfileInForce(inForce.settings, p.settings, inForce.reach))
            state = LoadStr(IDS_PROFILE_IN_FORCE);
        m_list.SetItemText(item, 2, state.c_str());
        if (!select.empty() && lstrcmpiA(p.name.c_str(), select.c_str()) == 0)
            chosen = item;
    }
    if (chosen < 0 && !m_rows.empty())
        chosen = std::min<int>(std::max(row, 0), (int)m_rows.size() - 1);
    if (chosen >= 0) {
        m_list.SetItemState(chosen, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_list.SendMessage(LVM_ENSUREVISIBLE, chosen, FALSE);
    }
    UpdateButtons();
}

void CProfilesDlg::Refill()
{
    const int row = SelectedRow();
    Fill(row >= 0 ? m_rows[row].name : std::string(), row);
}

int CProfilesDlg::SelectedRow() const
{
    if (!m_list.m_hWnd)
        return -1;
    int item = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (item < 0)
        return -1;
    LPARAM row = m_list.GetItemData(item);
    return row >= 0 && (size_t)row < m_rows.size() ? (int)row : -1;
}

void CProfilesDlg::UpdateButtons()
{
    const int row = SelectedRow();
    const bool chosen = row >= 0;
    ::EnableWindow(GetDlgItem(IDC_PROFILES_APPLY), chosen && !m_rows[row].damaged);
    ::EnableWindow(GetDlgItem(IDC_PROFILES_RENAME), chosen);
    ::EnableWindow(GetDlgItem(IDC_PROFILES_DELETE), chosen);
    ::EnableWindow(GetDlgItem(IDC_PROFILES_NEW),
                   m_commands.CanSaveSettingsInForce() && m_rows.size() < MAX_PROFILES);
}

void CProfilesDlg::Tell(const std::string& text, UINT icon)
{
    g_os.MessageBoxA(m_hWnd, text.c_str(), LoadStr(IDS_PROFILES_CAPTION).c_str(), MB_OK | icon);
}

void CProfilesDlg::OnApply()
{
    const int row = SelectedRow();
    if (row < 0 || m_rows[row].damaged)
        return;
    const std::string name = m_rows[row].name;
    m_commands.Apply(m_hWnd, name);
    // The profile in force is shown so; Apply may have kept "Previous
    // settings" too.
    if (m_hWnd)
        Fill(name, row);
}

void CProfilesDlg::OnNew()
{
    std::string made;
    if (m_commands.SaveSettingsInForceAs(this, made) && m_hWnd)
        Fill(made);
}

void CProfilesDlg::OnRename()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const std::string old = m_rows[row].name;
    CProfileNameDlg dlg(this, m_store, old);
    if (dlg.DoModal() != IDOK || !m_hWnd)
        return;
    std::string reason;
    if (!m_store.Rename(old, dlg.GetName(), reason))
        Tell(LoadStr(IDS_PROFILE_NOT_STORED, reason), MB_ICONSTOP);
    Fill(m_store.Exists(dlg.GetName()) ? dlg.GetName() : old, row);
}

void CProfilesDlg::OnDelete()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const std::string name = m_rows[row].name;
    if (g_os.MessageBoxA(m_hWnd, LoadStr(IDS_PROFILE_DELETE_ASK, name).c_str(),
                         LoadStr(IDS_PROFILES_CAPTION).c_str(),
                         MB_YESNO | MB_ICONQUESTION) != IDYES ||
        !m_hWnd)
        return;
    std::string reason;
    if (!m_store.Delete(name, reason))
        Tell(LoadStr(IDS_PROFILE_NOT_STORED, reason), MB_ICONSTOP);
    // The row that takes the deleted one's place is selected.
    Fill(std::string(), row);
}

BOOL CProfilesDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_PROFILES_APPLY:
        OnApply();
        return TRUE;
    case IDC_PROFILES_NEW:
        OnNew();
        return TRUE;
    case IDC_PROFILES_RENAME:
        OnRename();
        return TRUE;
    case IDC_PROFILES_DELETE:
        OnDelete();
        return TRUE;
    case IDC_PROFILES_HELP:
        AfxHelpKeyword(m_hWnd, IDS_PROFILES_HELP_KEY, true);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CProfilesDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr->idFrom == IDC_PROFILES_LIST && hdr->code == LVN_ITEMCHANGED) {
        UpdateButtons();
        *result = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, result);
}
