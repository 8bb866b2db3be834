#include "CDlgSelectConf.h"

#include <cstring>
#include <string>

#include "CClientApp.h"
#include "CCommandManager.h"
#include "CLanguageManager.h"
#include "ClientUtil.h"
#include "ProgramResource.h"

BEGIN_MESSAGE_MAP(CDlgSelectConf, CSkinDialog)
    ON_BN_CLICKED(IDC_BACK, OnBack)
    ON_BN_CLICKED(IDC_NEXT, OnEnter)
    ON_NOTIFY(NM_DBLCLK, IDC_ROOM_LIST, OnDblclkRooms)
END_MESSAGE_MAP()

CDlgSelectConf::CDlgSelectConf(CWnd* parent)
    : CSkinDialog(IDD_SELECT_CONF, "CDlgSelectConf", parent)
{}

CDlgSelectConf::~CDlgSelectConf() {}

void CDlgSelectConf::DoDataExchange(CDataExchange* pDX)
{
    CSkinDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ROOM_LIST, m_listRooms);
    DDX_Control(pDX, IDC_BACK, m_btnBack);
    DDX_Control(pDX, IDC_NEXT, m_btnOk);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
}

BOOL CDlgSelectConf::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_listRooms.SetExtendedStyle(m_listRooms.GetExtendedStyle() | LVS_EX_FULLROWSELECT |
                                 LVS_EX_GRIDLINES);
    std::string name = "会议室名称";
    std::string online = "在线人数";
    g_LangManager.LoadStringTo(61503, name);
    g_LangManager.LoadStringTo(61505, online);
    m_listRooms.InsertColumn(0, name.c_str(), LVCFMT_LEFT, 288);
    m_listRooms.InsertColumn(1, online.c_str(), LVCFMT_LEFT, 110);
    m_listRooms.FillRooms(g_ConfList, true);
    return TRUE;
}

void CDlgSelectConf::OnOK() { OnEnter(); }

void CDlgSelectConf::OnEnter()
{
    const CONF_INFO* room = m_listRooms.GetSelectedRoom();
    if (!room) {
        ShowMessageById(61506);
        return;
    }
    g_LoginInfo.roomId = room->roomId;
    // The record's name need not be terminated; the field always is.
    size_t length = strnlen(room->name, sizeof room->name);
    if (length >= sizeof g_LoginInfo.roomName)
        length = sizeof g_LoginInfo.roomName - 1;
    memcpy(g_LoginInfo.roomName, room->name, length);
    g_LoginInfo.roomName[length] = '\0';
    CClientApp* app = g_pClientApp;
    if (!app) {
        ShowMessageById(61480);
        return;
    }
    if (!app->LoginToServer())
        return;
    m_nNextState = 4;
    EndDialog(IDOK);
}

void CDlgSelectConf::OnDblclkRooms(NMHDR*, LRESULT* pResult)
{
    OnEnter();
    *pResult = 0;
}

void CDlgSelectConf::OnBack()
{
    m_nNextState = 1;
    EndDialog(IDOK);
}

void CDlgSelectConf::OnCancel()
{
    m_nNextState = 0;
    EndDialog(IDCANCEL);
}
