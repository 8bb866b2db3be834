#include "CDlgStartVote.h"

#include <cstdio>
#include <ctime>

#include "CCommandManager.h"
#include "PaneText.h"
#include "PanesResource.h"

BEGIN_MESSAGE_MAP(CDlgStartVote, CLangDialog)
    ON_BN_CLICKED(IDC_START_ADD, OnAdd)
    ON_BN_CLICKED(IDC_START_DELETE, OnDelete)
END_MESSAGE_MAP()

CDlgStartVote::CDlgStartVote(MEETING_STATE& state, const char* ownName, CCommandManager* commands,
                             CWnd* parent)
    : CLangDialog(IDD, "CDlgStartVote", parent), m_state(state), m_ownName(ownName ? ownName : ""),
      m_commands(commands)
{}

BOOL CDlgStartVote::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    // The title field holds 29 bytes and its terminator.
    static_cast<CEdit*>(GetDlgItem(IDC_START_TITLE))->LimitText(sizeof(m_state.title) - 1);
    static_cast<CEdit*>(GetDlgItem(IDC_START_REMARK))->LimitText(500);
    static_cast<CEdit*>(GetDlgItem(IDC_START_ITEM))->LimitText(30);
    m_items.SubclassDlgItem(IDC_START_ITEMS, this);
    m_items.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    m_items.InsertColumn(0, "序列号", LVCFMT_LEFT, 60);
    m_items.InsertColumn(1, "说明", LVCFMT_LEFT, 157);
    return TRUE;
}

void CDlgStartVote::OnAdd()
{
    const int count = m_items.GetItemCount();
    if (count >= static_cast<int>(VOTE_ITEM_COUNT)) {
        PaneMessage(GetSafeHwnd(), "加入新的项不能大于5项");
        return;
    }
    char number[16];
    snprintf(number, sizeof number, "%d", count);
    CString text;
    GetDlgItemText(IDC_START_ITEM, text);
    const int row = m_items.InsertItem(count, number);
    m_items.SetItemText(row, 1, text);
    SetDlgItemText(IDC_START_ITEM, "");
}

void CDlgStartVote::OnDelete()
{
    const int selected = m_items.GetNextItem(-1, LVNI_SELECTED);
    if (selected >= 0)
        m_items.DeleteItem(selected);
}

void CDlgStartVote::OnOK()
{
    CString title, remark;
    GetDlgItemText(IDC_START_TITLE, title);
    GetDlgItemText(IDC_START_REMARK, remark);
    if (title.IsEmpty()) {
        PaneMessage(GetSafeHwnd(), "没有标题为空不能发布");
        return;
    }
    CMeetingState::ClearVote(m_state);
    CMeetingState::CopyField(m_state.title, sizeof m_state.title, title);
    CMeetingState::CopyField(m_state.remark, sizeof m_state.remark, remark);
    CMeetingState::CopyField(m_state.initiator, sizeof m_state.initiator, m_ownName.c_str());
    const int rows = m_items.GetItemCount();
    for (int i = 0; i < rows && i < static_cast<int>(VOTE_ITEM_COUNT); ++i) {
        const CString text = m_items.GetItemText(i, 1);
        CMeetingState::CopyField(m_state.items[i], 39, text);
        m_state.counts[i] = 0;
    }
    m_state.startTime = static_cast<uint32_t>(time(nullptr));
    unsigned char record[MEETING_STATE_SIZE];
    if (m_commands && CMeetingState::Write(m_state, record, sizeof record))
        m_commands->SendMeetingState(record);
    EndDialog(IDOK);
}
