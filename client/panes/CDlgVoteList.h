#pragma once
#include "afxcmn.h"

#include "CLangDialog.h"
#include "CSkinButton.h"
#include "IVotePane.h"
#include "PaneContext.h"

// The vote pane of the main window: the current vote's title, initiator and
// start time, its remark, and each item's count and text with a bar as long
// as the count. Its buttons start a vote, open the vote dialog and delete
// the vote; every local change is sent whole with 4357.
class CDlgVoteList : public CLangDialog, public IVotePane
{
public:
    enum : UINT { IDD = 591 };
    enum : int { BAR_UNIT = 10 };

    explicit CDlgVoteList(const PANE_CONTEXT& context, CWnd* parent = NULL);

    BOOL CreatePane(CWnd* parent);
    // Rebuilds the pane from the meeting-state record the main window holds.
    void Refresh() override;

    void OnStartVote();
    void OnCastVote();
    void OnDeleteVote();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    // True when the own participant holds the meeting control; says why not.
    bool HoldsControl(const char* refusal);

    PANE_CONTEXT m_ctx;
    CListCtrl m_list;
    CSkinButton m_bars[5];
    CSkinButton m_buttons[3];
    CBrush m_white;
};
