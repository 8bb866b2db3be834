#include "CFileSendDlg.h"

#include "CFileTransfers.h"
#include "CUserTable.h"
#include "FileSendResource.h"
#include "IFileSendHost.h"

#include <commctrl.h>
#include <cstring>

const char* const CFileSendDlg::kReservedUser = "tavqe";

BEGIN_MESSAGE_MAP(CFileSendDlg, CSkinDialog)
    ON_BN_CLICKED(IDC_FILE_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_FILE_SELECT_ALL, OnSelectAll)
END_MESSAGE_MAP()

CFileSendDlg::CFileSendDlg(IFileSendHost* host, const std::string& path, uint32_t preselectedUser,
                           CWnd* parent)
    : CSkinDialog(IDD, "CFileSendDlg", parent), m_host(host), m_preselected(preselectedUser)
{
    m_path = path;
    m_fileName = CFileTransfers::BaseName(path);
}

void CFileSendDlg::SetPath(const std::string& path)
{
    m_path = path;
    m_fileName = CFileTransfers::BaseName(path);
    SetDlgItemText(IDC_FILE_PATH, m_path.c_str());
}

bool CFileSendDlg::IsTicked(int row) const
{
    return m_list.GetSafeHwnd() && ListView_GetCheckState(m_list.m_hWnd, row) != 0;
}

void CFileSendDlg::SetTicked(int row, bool ticked)
{
    if (m_list.GetSafeHwnd())
        ListView_SetCheckState(m_list.m_hWnd, row, ticked ? TRUE : FALSE);
}

BOOL CFileSendDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_FILE_RECIPIENTS, this);
    m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    m_list.InsertColumn(0, "用户名", LVCFMT_LEFT, 300);
    CheckDlgButton(IDC_FILE_SELECT_ALL, BST_CHECKED);
    SetDlgItemText(IDC_FILE_PATH, m_path.c_str());

    // Every other participant in table order, none ticked yet.
    m_ticking = true;
    CUserTable& users = m_host->Users();
    const uint32_t own = m_host->OwnUserId();
    int preselectedRow = -1;
    for (int i = 0; i < users.GetCount(); ++i) {
        USER_INFO user;
        if (!users.GetUserAt(i, &user) || user.userId == own)
            continue;
        const std::string name(user.name, strnlen(user.name, sizeof user.name));
        if (name == kReservedUser)
            continue;
        const int row = m_list.InsertItem(m_list.GetItemCount(), name.c_str());
        if (row < 0)
            continue;
        m_list.SetItemData(row, user.userId);
        SetTicked(row, false);
        if (user.userId == m_preselected)
            preselectedRow = row;
    }
    if (preselectedRow >= 0)
        SetTicked(preselectedRow, true);
    m_ticking = false;
    return TRUE;
}

void CFileSendDlg::OnBrowse()
{
    std::string path;
    if (m_host->ChooseFile(this, &path) && !path.empty())
        SetPath(path);
}

void CFileSendDlg::OnSelectAll()
{
    const bool all = IsDlgButtonChecked(IDC_FILE_SELECT_ALL) == BST_CHECKED;
    m_ticking = true;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        SetTicked(row, all);
    m_ticking = false;
}

BOOL CFileSendDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == IDC_FILE_RECIPIENTS && header->code == LVN_ITEMCHANGED &&
        !m_ticking) {
        // Clearing any row's tick clears "全选".
        const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        const UINT before = (change->uOldState & LVIS_STATEIMAGEMASK) >> 12;
        const UINT after = (change->uNewState & LVIS_STATEIMAGEMASK) >> 12;
        if ((change->uChanged & LVIF_STATE) && before == 2 && after == 1)
            CheckDlgButton(IDC_FILE_SELECT_ALL, BST_UNCHECKED);
    }
    return CSkinDialog::OnNotify(wParam, lParam, result);
}

void CFileSendDlg::OnOK()
{
    if (m_path.empty()) {
        m_host->ShowMessage("请选择一个要发送的文件！");
        return;
    }
    std::vector<uint32_t> ticked;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (IsTicked(row))
            ticked.push_back((uint32_t)m_list.GetItemData(row));
    if (ticked.empty()) {
        m_host->ShowMessage("请选择至少一个文件接收者！");
        return;
    }
    m_recipients = ticked;
    CSkinDialog::OnOK();
}
