#pragma once
#include "afxcmn.h"

#include "CLangDialog.h"
#include "MeetingState.h"

// The vote dialog: one check-box row per item of the current vote. It
// sends nothing; OK and Cancel close it.
class CDlgVote : public CLangDialog
{
public:
    enum : UINT { IDD = 595 };

    explicit CDlgVote(const MEETING_STATE& state, CWnd* parent = NULL);
    CListCtrl& GetChoices() { return m_choices; }

protected:
    BOOL OnInitDialog() override;

private:
    MEETING_STATE m_state;
    CListCtrl m_choices;
};
