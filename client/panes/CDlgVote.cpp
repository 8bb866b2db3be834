#include "CDlgVote.h"

#include "PanesResource.h"

CDlgVote::CDlgVote(const MEETING_STATE& state, CWnd* parent)
    : CLangDialog(IDD, "CDlgVote", parent), m_state(state)
{}

BOOL CDlgVote::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_choices.SubclassDlgItem(IDC_VOTE_CHOICES, this);
    m_choices.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    m_choices.InsertColumn(0, "内容", LVCFMT_LEFT, 150);
    if (CMeetingState::HasVote(m_state)) {
        for (uint32_t i = 0; i < VOTE_ITEM_COUNT; ++i)
            if (m_state.counts[i] != VOTE_ITEM_UNUSED)
                m_choices.InsertItem(m_choices.GetItemCount(), m_state.items[i]);
    }
    return TRUE;
}
