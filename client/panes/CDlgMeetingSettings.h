#pragma once
#include "afxwin.h"

#include "CLangDialog.h"
#include "MeetingState.h"

class CCommandManager;

// The meeting settings: the bulletin and the file-transfer switch. OK sends
// the record whole only when something changed.
class CDlgMeetingSettings : public CLangDialog
{
public:
    enum : UINT { IDD = 600, BULLETIN_CHARS = 35 };

    CDlgMeetingSettings(MEETING_STATE& state, CCommandManager* commands, CWnd* parent = NULL);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    MEETING_STATE& m_state;
    CCommandManager* m_commands;
};
