#include "CDlgVoteList.h"

#include <cstdio>
#include <ctime>

#include "CCommandManager.h"
#include "CDlgStartVote.h"
#include "CDlgVote.h"
#include "CUserTable.h"
#include "IPaneHost.h"
#include "MeetingState.h"
#include "PaneText.h"
#include "PanesResource.h"

namespace {
const UINT kLabels[5] = {IDC_VOTE_LABEL_A, IDC_VOTE_LABEL_B, IDC_VOTE_LABEL_C, IDC_VOTE_LABEL_D,
                         IDC_VOTE_LABEL_E};
const UINT kBars[5] = {IDC_VOTE_BAR_A, IDC_VOTE_BAR_B, IDC_VOTE_BAR_C, IDC_VOTE_BAR_D,
                       IDC_VOTE_BAR_E};
const UINT kButtons[3] = {IDC_VOTE_START, IDC_VOTE_CAST, IDC_VOTE_DELETE};

bool SendState(CCommandManager* commands, const MEETING_STATE& state)
{
    unsigned char record[MEETING_STATE_SIZE];
    if (!commands || !CMeetingState::Write(state, record, sizeof record))
        return false;
    return commands->SendMeetingState(record);
}
} // namespace

BEGIN_MESSAGE_MAP(CDlgVoteList, CLangDialog)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_VOTE_START, OnStartVote)
    ON_BN_CLICKED(IDC_VOTE_CAST, OnCastVote)
    ON_BN_CLICKED(IDC_VOTE_DELETE, OnDeleteVote)
END_MESSAGE_MAP()

CDlgVoteList::CDlgVoteList(const PANE_CONTEXT& context, CWnd* parent)
    : CLangDialog(IDD, "CDlgVoteList", parent), m_ctx(context)
{
    m_white.CreateSolidBrush(RGB(255, 255, 255));
}

BOOL CDlgVoteList::CreatePane(CWnd* parent) { return Create(IDD, parent); }

BOOL CDlgVoteList::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_VOTE_LIST, this);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, "标题", LVCFMT_LEFT, 200);
    m_list.InsertColumn(1, "发起人", LVCFMT_LEFT, 200);
    m_list.InsertColumn(2, "时间", LVCFMT_LEFT, 250);
    for (int i = 0; i < 5; ++i) {
        m_bars[i].SubclassDlgItem(kBars[i], this);
        m_bars[i].SetBitmapStrip("Skins\\jindu.bmp", FALSE);
    }
    for (int i = 0; i < 3; ++i)
        m_buttons[i].SubclassDlgItem(kButtons[i], this);
    Refresh();
    return TRUE;
}

void CDlgVoteList::Refresh()
{
    if (!GetSafeHwnd() || !m_ctx.host)
        return;
    const MEETING_STATE& state = m_ctx.host->GetMeetingState();
    m_list.DeleteAllItems();
    SetDlgItemText(IDC_VOTE_REMARK, "");
    for (int i = 0; i < 5; ++i) {
        GetDlgItem(kBars[i])->ShowWindow(SW_HIDE);
        SetDlgItemText(kLabels[i], "");
    }
    if (!CMeetingState::HasVote(state))
        return;

    char when[64] = {};
    const time_t start = static_cast<time_t>(state.startTime);
    const struct tm* local = localtime(&start);
    if (local)
        strftime(when, sizeof when, "%Y-%b-%d:%H:%M:%S", local);
    const int row = m_list.InsertItem(0, state.title);
    m_list.SetItemText(row, 1, state.initiator);
    m_list.SetItemText(row, 2, when);
    SetDlgItemText(IDC_VOTE_REMARK, state.remark);

    CRect client;
    GetClientRect(&client);
    for (int i = 0; i < 5; ++i) {
        if (state.counts[i] == VOTE_ITEM_UNUSED)
            continue;
        char label[80];
        snprintf(label, sizeof label, "%c:%u人次,%s", 'A' + i, state.counts[i], state.items[i]);
        SetDlgItemText(kLabels[i], label);
        CWnd* bar = GetDlgItem(kBars[i]);
        CRect rect;
        bar->GetWindowRect(&rect);
        ScreenToClient(&rect);
        // The bar never runs past the pane.
        const long long room = client.right > rect.left ? client.right - rect.left : 0;
        const long long wanted = static_cast<long long>(state.counts[i]) * BAR_UNIT;
        const int width = static_cast<int>(wanted < room ? wanted : room);
        bar->MoveWindow(rect.left, rect.top, width, rect.Height());
        bar->ShowWindow(SW_SHOW);
    }
}

bool CDlgVoteList::HoldsControl(const char* refusal)
{
    if (!m_ctx.users || !m_ctx.login)
        return false;
    uint8_t control = 0;
    if (!m_ctx.users->GetControlState(m_ctx.login->userId, &control))
        return false;
    if (control != 2) {
        PaneMessage(GetSafeHwnd(), refusal);
        return false;
    }
    return true;
}

void CDlgVoteList::OnStartVote()
{
    if (!m_ctx.host || !HoldsControl("得到会议控制才可以发起投票!"))
        return;
    char ownName[sizeof(USER_INFO::name) + 1] = {};
    m_ctx.users->GetUserName(m_ctx.login->userId, ownName);
    CDlgStartVote dialog(m_ctx.host->GetMeetingState(), ownName, m_ctx.commands, this);
    dialog.DoModal();
}

void CDlgVoteList::OnCastVote()
{
    if (!m_ctx.host)
        return;
    CDlgVote dialog(m_ctx.host->GetMeetingState(), this);
    dialog.DoModal();
}

void CDlgVoteList::OnDeleteVote()
{
    if (!m_ctx.host || !HoldsControl("得到会议控制才可以删除投票!"))
        return;
    if (AfxShowMessageBox(GetSafeHwnd(), "确定删除当前项吗？", "", MB_YESNO) != IDYES)
        return;
    MEETING_STATE& state = m_ctx.host->GetMeetingState();
    state.title[0] = 0;
    SendState(m_ctx.commands, state);
}

HBRUSH CDlgVoteList::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_DLG || nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkColor(RGB(255, 255, 255));
        return static_cast<HBRUSH>(m_white.GetSafeHandle());
    }
    return CLangDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
