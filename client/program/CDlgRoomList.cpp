#include "CDlgRoomList.h"

#include <cstring>

#include "CCommandLine.h"
#include "CCommandManager.h"
#include "CMainFrameBase.h"
#include "CWin32ProcessLauncher.h"
#include "ClientLog.h"
#include "ClientUtil.h"
#include "ProgramResource.h"

BEGIN_MESSAGE_MAP(CDlgRoomList, CDialog)
    ON_NOTIFY(NM_DBLCLK, IDC_ROOM_LIST, OnDblclkRooms)
END_MESSAGE_MAP()

CDlgRoomList::CDlgRoomList(CWnd* parent) : CDialog(IDD_ROOM_LIST, parent) {}

CDlgRoomList::~CDlgRoomList() {}

void CDlgRoomList::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ROOM_LIST, m_listRooms);
}

BOOL CDlgRoomList::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_listRooms.SetExtendedStyle(m_listRooms.GetExtendedStyle() | LVS_EX_FULLROWSELECT |
                                 LVS_EX_GRIDLINES);
    m_listRooms.InsertColumn(0, "会议室", LVCFMT_LEFT, 200);
    m_listRooms.FillRooms(g_ConfList, false);
    return TRUE;
}

void CDlgRoomList::OnDblclkRooms(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    RestartInSelectedRoom();
}

bool CDlgRoomList::RestartInSelectedRoom()
{
    const CONF_INFO* room = m_listRooms.GetSelectedRoom();
    if (!room) {
        ShowMessage("请选择会议室");
        return false;
    }
    g_LoginInfo.roomId = room->roomId;
    size_t length = strnlen(room->name, sizeof room->name);
    if (length >= sizeof g_LoginInfo.roomName)
        length = sizeof g_LoginInfo.roomName - 1;
    memcpy(g_LoginInfo.roomName, room->name, length);
    g_LoginInfo.roomName[length] = '\0';

    // The new instance is started while everything it is built from still
    // exists; the main window (this dialog's owner) closes last.
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string line = CCommandLine::BuildLoginLine(program, g_LoginInfo);
    CWin32ProcessLauncher windows;
    IProcessLauncher* launcher = m_launcher ? m_launcher : &windows;
    if (!launcher->Start(nullptr, line)) {
        g_Log.Write(0, "Restarting in room %u failed\n", g_LoginInfo.roomId);
        return false;
    }
    if (g_pMainFrame && g_pMainFrame->GetSafeHwnd())
        g_pMainFrame->PostMessage(WM_CLOSE);
    return true;
}
