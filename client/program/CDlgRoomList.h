#pragma once
#include "afxwin.h"
#include "CRoomListCtrl.h"

class IProcessLauncher;

// The rooms of the login, offered during a meeting: a double click on one
// starts the client again, logged in to that room, and closes this one.
class CDlgRoomList : public CDialog
{
public:
    explicit CDlgRoomList(CWnd* parent = NULL);
    ~CDlgRoomList() override;

    // Windows by default.
    void SetProcessLauncher(IProcessLauncher* launcher) { m_launcher = launcher; }

    BOOL OnInitDialog() override;
    // Restarts the client in the selected room; false when none is
    // selected or the new instance did not start (the meeting goes on).
    bool RestartInSelectedRoom();

    CRoomListCtrl m_listRooms;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnDblclkRooms(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    IProcessLauncher* m_launcher = nullptr;
};
