#pragma once
#include "afxcmn.h"

#include <string>

#include "CLangDialog.h"
#include "MeetingState.h"

class CCommandManager;

// The start-vote dialog: title, remark and up to five items. OK writes the
// new vote into the record and sends it whole.
class CDlgStartVote : public CLangDialog
{
public:
    enum : UINT { IDD = 601 };

    CDlgStartVote(MEETING_STATE& state, const char* ownName, CCommandManager* commands,
                  CWnd* parent = NULL);

    void OnAdd();
    void OnDelete();
    // OK: checks the title, writes the vote and sends it.
    void OnOK() override;
    CListCtrl& GetItems() { return m_items; }

protected:
    BOOL OnInitDialog() override;
    DECLARE_MESSAGE_MAP()

private:
    MEETING_STATE& m_state;
    std::string m_ownName;
    CCommandManager* m_commands;
    CListCtrl m_items;
};
