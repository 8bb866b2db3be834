// The login and room dialogs against the stand-in server, driven through
// their controls: what each button does with the fields, the registry and the
// server, and the start-up's dialog loop.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CClientApp.h"
#include "CClientSettings.h"
#include "CLanguageManager.h"
#include "CCommandManager.h"
#include "CAboutDlg.h"
#include "CDlgLogin.h"
#include "CDlgRoomList.h"
#include "CMainFrameBase.h"
#include "CDlgSelectConf.h"
#include "CTcpLink.h"
#include "CTestKit.h"
#include "CUpgradePath.h"
#include "ClientUtil.h"
#include "FakeLauncher.h"
#include "ILibraryLoader.h"
#include "MemorySettingsStore.h"
#include "ProgramResource.h"
#include "StandInTestKit.h"

namespace {

const std::string kHistory = LOGIN_HISTORY_KEY;

std::string Text(CWnd& dlg, int id)
{
    CString text;
    dlg.GetDlgItemText(id, text);
    return static_cast<LPCSTR>(text);
}

void SetText(CWnd& dlg, int id, const char* text) { dlg.SetDlgItemText(id, text); }

void Click(CWnd& dlg, int id)
{
    CTestKit::ClickButton(dlg.GetDlgItem(id)->GetSafeHwnd());
    CTestKit::PumpPending();
}

// True when the keyboard focus is on the control or inside it (the edit of a combo box).
bool HasFocus(CWnd& dlg, int id)
{
    HWND control = dlg.GetDlgItem(id)->GetSafeHwnd();
    HWND focus = ::GetFocus();
    return focus && (focus == control || ::IsChild(control, focus));
}

std::string HalvernProgramPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string LoadId(UINT id)
{
    std::string text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}

// The dialogs of the start-up loop test, and what the timer saw of them.
std::vector<std::string> s_seen;
CDlgLogin* s_login;
CDlgSelectConf* s_rooms;

void CALLBACK LoopStep(HWND, UINT, UINT_PTR, DWORD)
{
    static bool busy = false;
    if (busy)
        return;
    busy = true;
    if (s_login->GetSafeHwnd() && s_login->IsWindowVisible()) {
        s_seen.push_back("login");
        if (s_seen.size() == 3) {
            Click(*s_login, IDC_BACK);
        } else {
            SetText(*s_login, IDC_USER_NAME, "host");
            SetText(*s_login, IDC_PASSWORD, "pw");
            Click(*s_login, IDC_NEXT);
        }
    } else if (s_rooms->GetSafeHwnd() && s_rooms->IsWindowVisible()) {
        s_seen.push_back("rooms");
        Click(*s_rooms, s_seen.size() == 2 ? IDC_BACK : IDC_NEXT);
    }
    if (s_seen.size() > 8 && s_login->GetSafeHwnd())
        s_login->EndDialog(IDCANCEL);
    busy = false;
}

void CALLBACK CancelStep(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_login->GetSafeHwnd() && s_login->IsWindowVisible())
        Click(*s_login, IDCANCEL);
}

class LoginDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsock());
        CServerConfig config = StandInTestConfig();
        server = std::make_unique<CStandInServer>(config);
        ASSERT_TRUE(server->Start(0));
        memset(&g_LoginInfo, 0, sizeof g_LoginInfo);
        g_LoginInfo.serverPort = server->GetPort();
        g_Settings = CClientSettings();
        g_Settings.version = config.version;
        g_CmdManager.SetReplyWaits(5, 5);
        FreeConferenceList(g_ConfList);
        app.SetProcessLauncher(&launcher);
        app.SetAppFolder("C:\\Halvern Test\\");
        g_pClientApp = &app;
        store.strings[MemorySettingsStore::Path(LOGIN_HISTORY_KEY, "IP0")] = "127.0.0.1";
    }
    void TearDown() override
    {
        g_CmdManager.Close();
        FreeConferenceList(g_ConfList);
        g_pClientApp = nullptr;
        server->Stop();
        WSACleanup();
    }

    // Runs the login dialog with the registry of this test.
    INT_PTR RunLogin(CDlgLogin& dlg, const std::function<void(CDlgLogin&)>& action,
                     DWORD timeoutMs = 20000)
    {
        dlg.SetSettingsStore(&store);
        return CTestKit::RunModal(
            dlg, [&](CDialog&) { action(dlg); }, timeoutMs);
    }

    std::string Stored(const char* key, const char* name)
    {
        auto it = store.strings.find(MemorySettingsStore::Path(key, name));
        return it == store.strings.end() ? "<none>" : it->second;
    }

    std::unique_ptr<CStandInServer> server;
    CClientApp app;
    FakeLauncher launcher;
    MemorySettingsStore store;
};

} // namespace

TEST_F(LoginDialogs, EmptyOrTooLongFieldsTakeTheFocusWithoutAMessage)
{
    CDlgSelectConf rooms;
    CDlgLogin dlg;
    dlg.SetSelectConf(&rooms);
    CTestKit::MessageBoxes boxes(IDOK);
    struct FIELD_CASE
    {
        const char* server;
        const char* user;
        const char* password;
        int focus;
    } cases[] = {
        {"", "host", "pw", IDC_SERVER},
        {"   ", "host", "pw", IDC_SERVER},
        {"127.000.000.0001", "host", "pw", IDC_SERVER}, // 16 characters cannot be an address
        {"127.0.0.1", "", "pw", IDC_USER_NAME},
        {"127.0.0.1", "host", "", IDC_PASSWORD},
    };
    RunLogin(dlg, [&](CDlgLogin& d) {
        for (const FIELD_CASE& c : cases) {
            // Keyboard focus needs the foreground window, which a window of
            // another test program on the display can take at any time: a
            // case is tried again while the dialog was not in the
            // foreground from before the click to the check.
            for (int attempt = 0; attempt < 5; ++attempt) {
                ::SetForegroundWindow(d.GetSafeHwnd());
                ::SetActiveWindow(d.GetSafeHwnd());
                CTestKit::PumpPending();
                const bool before = ::GetForegroundWindow() == d.GetSafeHwnd();
                SetText(d, IDC_SERVER, c.server);
                SetText(d, IDC_USER_NAME, c.user);
                SetText(d, IDC_PASSWORD, c.password);
                d.GetDlgItem(IDC_REMEMBER)->SetFocus();
                Click(d, IDC_NEXT);
                if (before && ::GetForegroundWindow() == d.GetSafeHwnd())
                    break;
            }
            EXPECT_TRUE(HasFocus(d, c.focus)) << "focus on " << GetDlgCtrlID(::GetFocus()) << ": "
                                              << c.server << "/" << c.user << "/" << c.password;
            EXPECT_EQ(d.GetNextState(), 0u);
        }
        d.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(g_ConfList.GetSize(), 0);
}

TEST_F(LoginDialogs, WrongPasswordKeepsTheDialogAndTheRightOneFetchesTheRoomsOnce)
{
    CDlgSelectConf rooms;
    CDlgLogin dlg;
    dlg.SetSelectConf(&rooms);
    CTestKit::MessageBoxes boxes(IDOK);
    bool stayed = false;
    INT_PTR result = RunLogin(dlg, [&](CDlgLogin& d) {
        EXPECT_EQ(Text(d, IDC_SERVER), "127.0.0.1") << "the first server of the history";
        SetText(d, IDC_USER_NAME, "host");
        SetText(d, IDC_PASSWORD, "wrong");
        Click(d, IDC_NEXT);
        stayed = d.GetSafeHwnd() != nullptr && d.GetNextState() == 0;
        SetText(d, IDC_PASSWORD, "pw");
        Click(d, IDC_NEXT);
    });
    EXPECT_TRUE(stayed);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, LoadId(61461));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.GetNextState(), 2u);
    ASSERT_EQ(g_ConfList.GetSize(), 2);
    EXPECT_STREQ(g_LoginInfo.userName, "host");
    EXPECT_STREQ(g_LoginInfo.password, "pw");
    EXPECT_EQ(Stored(LOGIN_HISTORY_KEY, "UserName"), "host");

    // Going back and logging in again lists the rooms once, not twice.
    CDlgLogin again;
    again.SetSelectConf(&rooms);
    RunLogin(again, [&](CDlgLogin& d) {
        SetText(d, IDC_USER_NAME, "host");
        SetText(d, IDC_PASSWORD, "pw");
        Click(d, IDC_NEXT);
    });
    EXPECT_EQ(again.GetNextState(), 2u);
    EXPECT_EQ(g_ConfList.GetSize(), 2);
}

TEST_F(LoginDialogs, FailedRoomListShowsItsTextAndKeepsTheDialog)
{
    server->SetRequestReply(REQ_CONFERENCE_LIST, {6, 0}); // result code 6: a failure
    CDlgSelectConf rooms;
    CDlgLogin dlg;
    dlg.SetSelectConf(&rooms);
    CTestKit::MessageBoxes boxes(IDOK);
    bool open = false;
    RunLogin(dlg, [&](CDlgLogin& d) {
        SetText(d, IDC_USER_NAME, "host");
        SetText(d, IDC_PASSWORD, "pw");
        d.SetNextState(5);
        Click(d, IDC_NEXT);
        open = d.GetSafeHwnd() != nullptr && d.GetNextState() == 5;
        d.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(open);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_FALSE(boxes.Shown()[0].text.empty());
    EXPECT_EQ(g_ConfList.GetSize(), 0);
}

TEST_F(LoginDialogs, AnotherVersionStartsTheUpdaterThenTheBrowser)
{
    g_Settings.version = "01.00.00.00";
    g_Settings.versionId = 1003;
    server->Config().updateServers = {"10.0.0.1", "10.0.0.2"};
    server->Config().updatePort = 8123;
    CDlgSelectConf rooms;
    CDlgLogin dlg;
    dlg.SetSelectConf(&rooms);
    CTestKit::MessageBoxes boxes(IDCANCEL);
    // Cancel to the offer: nothing starts and the dialog stays.
    RunLogin(dlg, [&](CDlgLogin& d) {
        d.SetNextState(5);
        Click(d, IDC_NEXT);
        EXPECT_EQ(d.GetNextState(), 5u) << "the dialog did not end";
        d.EndDialog(IDCANCEL);
    });
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, LoadId(61595));
    EXPECT_EQ(boxes.Shown()[0].caption, "系统提示");
    EXPECT_TRUE(launcher.started.empty());

    boxes.SetAnswer(IDOK);
    CDlgLogin upgrade;
    upgrade.SetSelectConf(&rooms);
    INT_PTR result = RunLogin(upgrade, [&](CDlgLogin& d) { Click(d, IDC_NEXT); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(upgrade.GetNextState(), 0u);
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(
        launcher.started[0],
        "C:\\Halvern Test\\Updater.exe|\"C:\\Halvern Test\\Updater.exe\" /LANGFILE:english.ini"
        " /PRODUCTNAME:1003 /VERSIONTO:" +
            server->Config().version +
            " /VERSIONFROM:01.00.00.00 /FILESERVER:10.0.0.1@10.0.0.1@8123"
            " /FILESERVER:10.0.0.2@10.0.0.2@8123");
    EXPECT_EQ(launcher.started[1], std::string("<search>|iexplore ") + PRODUCT_DOWNLOAD_ADDRESS);
    EXPECT_TRUE(launcher.opened.empty()) << "the shell opens the page only when the browser fails";

    // Without a browser program the shell opens the page.
    launcher.started.clear();
    launcher.startWorks = false;
    CDlgLogin noBrowser;
    noBrowser.SetSelectConf(&rooms);
    RunLogin(noBrowser, [&](CDlgLogin& d) { Click(d, IDC_NEXT); });
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], PRODUCT_DOWNLOAD_ADDRESS);
}

TEST_F(LoginDialogs, OtherTabsRefuseTheLoginAndRelabelTheUserField)
{
    CDlgSelectConf rooms;
    CDlgLogin dlg;
    dlg.SetSelectConf(&rooms);
    CTestKit::MessageBoxes boxes(IDOK);
    std::vector<std::string> labels;
    RunLogin(dlg, [&](CDlgLogin& d) {
        for (int tab : {1, 2, 0}) {
            d.m_tabs.SetCurSel(tab);
            d.SendMessage(WM_TAB_PAGE_CHANGED, tab, 0);
            labels.push_back(Text(d, IDC_USER_LABEL));
            if (tab != 0) {
                SetText(d, IDC_USER_NAME, "host");
                SetText(d, IDC_PASSWORD, "pw");
                Click(d, IDC_NEXT);
            }
        }
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(labels, (std::vector<std::string>{"e-mail：", "手机号：", "帐号："}));
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "登陆失败");
    EXPECT_EQ(g_ConfList.GetSize(), 0) << "nothing was asked of the server";
}

TEST_F(LoginDialogs, ServerHistoryKeepsAddressesAndShowsTheFixedServersByName)
{
    store.strings.clear();
    const char* servers[] = {"10.1.1.1",  CDlgLogin::DEFAULT_SERVERS[1],
                             "10.1.1.3",  "10.1.1.4",
                             "10.1.1.5",  "10.1.1.6",
                             "10.1.1.7",  "10.1.1.8",
                             "10.1.1.9",  "10.1.1.10",
                             "10.1.1.11", "10.1.1.12"};
    for (int i = 0; i < 10; ++i)
        store.strings[MemorySettingsStore::Path(LOGIN_HISTORY_KEY,
                                                ("IP" + std::to_string(i)).c_str())] = servers[i];
    store.strings[MemorySettingsStore::Path(LOGIN_HISTORY_KEY, "IP10")] = servers[10];
    CDlgLogin dlg;
    int items = 0;
    RunLogin(dlg, [&](CDlgLogin& d) {
        items = d.m_comboServer.GetCount();
        d.m_comboServer.AddString(servers[10]);
        d.m_comboServer.AddString(servers[11]);
        // Saving a server already listed stores it once, first.
        d.SaveServerHistory(CDlgLogin::DEFAULT_SERVERS[1]);
        EXPECT_EQ(Text(d, IDC_SERVER), CDlgLogin::DEFAULT_SERVER_LABELS[1]);
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(items, 10) << "only ten history values are read";
    std::vector<std::string> saved;
    for (int i = 0; i < 13; ++i)
        saved.push_back(Stored(LOGIN_HISTORY_KEY, ("IP" + std::to_string(i)).c_str()));
    std::vector<std::string> expected = {CDlgLogin::DEFAULT_SERVERS[1],
                                         "10.1.1.1",
                                         "10.1.1.3",
                                         "10.1.1.4",
                                         "10.1.1.5",
                                         "10.1.1.6",
                                         "10.1.1.7",
                                         "10.1.1.8",
                                         "10.1.1.9",
                                         "10.1.1.10",
                                         "10.1.1.11",
                                         "10.1.1.12",
                                         "<none>"};
    EXPECT_EQ(saved, expected);

    // The names go back to their addresses; other texts stay.
    EXPECT_STREQ(CDlgLogin::ResolveServerText(CDlgLogin::DEFAULT_SERVER_LABELS[0]),
                 CDlgLogin::DEFAULT_SERVERS[0]);
    EXPECT_STREQ(CDlgLogin::ResolveServerText(CDlgLogin::DEFAULT_SERVER_LABELS[1]),
                 CDlgLogin::DEFAULT_SERVERS[1]);
    EXPECT_STREQ(CDlgLogin::ResolveServerText("127.0.0.1"), "127.0.0.1");
}

TEST_F(LoginDialogs, LabelOfTheServerLogsInToItsAddress)
{
    // The first history entry is a fixed server: the dialog shows its name,
    // and a login with that name goes to the address (refused here quickly).
    store.strings[MemorySettingsStore::Path(LOGIN_HISTORY_KEY, "IP0")] =
        CDlgLogin::DEFAULT_SERVERS[0];
    CDlgLogin dlg;
    CTestKit::MessageBoxes boxes(IDOK);
    std::string shown;
    RunLogin(dlg, [&](CDlgLogin& d) {
        shown = Text(d, IDC_SERVER);
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(shown, CDlgLogin::DEFAULT_SERVER_LABELS[0]);
    EXPECT_EQ(Stored(LOGIN_HISTORY_KEY, "IP0"), CDlgLogin::DEFAULT_SERVERS[0]);
}

TEST_F(LoginDialogs, RememberedPasswordIsForgottenWhenTheBoxIsCleared)
{
    CDlgLogin dlg;
    dlg.SetSettingsStore(&store);
    dlg.m_strUserName = "alice";
    dlg.m_strPassword = "secret";
    dlg.m_nRemember = 1;
    dlg.SaveUserSettings();
    EXPECT_EQ(Stored(LOGIN_PASSWORD_KEY, "UserPWD"), "secret");
    EXPECT_EQ(store.dwords[MemorySettingsStore::Path(LOGIN_HISTORY_KEY, "Reserve")], 1u);

    CDlgLogin next;
    next.SetSettingsStore(&store);
    next.LoadUserSettings();
    EXPECT_STREQ(next.m_strUserName, "alice");
    EXPECT_STREQ(next.m_strPassword, "secret");

    next.m_nRemember = 0;
    next.SaveUserSettings();
    EXPECT_EQ(Stored(LOGIN_PASSWORD_KEY, "UserPWD"), "<none>");
    CDlgLogin third;
    third.SetSettingsStore(&store);
    third.LoadUserSettings();
    EXPECT_STREQ(third.m_strPassword, "");
    EXPECT_EQ(third.m_nRemember, 0);
}

TEST_F(LoginDialogs, RoomDialogLogsInToTheRoomDoubleClicked)
{
    memset(&g_LoginInfo, 0, sizeof g_LoginInfo);
    strcpy(g_LoginInfo.serverAddress, "127.0.0.1");
    g_LoginInfo.serverPort = server->GetPort();
    strcpy(g_LoginInfo.userName, "alice");
    strcpy(g_LoginInfo.password, "a");
    char text[CCommandManager::TEXT_SIZE] = {};
    ASSERT_TRUE(g_CmdManager.GetConferenceList("127.0.0.1", "alice", "a", server->GetPort(),
                                               &g_ConfList, text));
    ASSERT_EQ(g_ConfList.GetSize(), 2);

    CDlgSelectConf rooms;
    CTestKit::MessageBoxes boxes(IDOK);
    std::vector<std::string> rows;
    INT_PTR result = CTestKit::RunModal(
        rooms,
        [&](CDialog&) {
            CListCtrl& list = rooms.m_listRooms;
            for (int i = 0; i < list.GetItemCount(); ++i)
                rows.push_back(static_cast<LPCSTR>(list.GetItemText(i, 0)) + std::string("|") +
                               static_cast<LPCSTR>(list.GetItemText(i, 1)));
            EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0) << "the first room is selected";
            // No room selected: asked to choose one.
            list.SetItemState(0, 0, LVIS_SELECTED);
            Click(rooms, IDC_NEXT);
            CRect row;
            list.GetItemRect(1, &row, LVIR_LABEL);
            CTestKit::DoubleClick(list.GetSafeHwnd(), row.CenterPoint());
            CTestKit::PumpUntil([&] { return rooms.GetNextState() == 4; }, 15000);
        },
        20000);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(rooms.GetNextState(), 4u);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, rows[0].find('(')), "Room one");
    EXPECT_NE(rows[0].find("人次)|"), std::string::npos) << rows[0];
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, LoadId(61506));
    EXPECT_EQ(g_LoginInfo.roomId, 2u);
    EXPECT_STREQ(g_LoginInfo.roomName, "Room two");
    EXPECT_TRUE(g_CmdManager.IsConnected());
}

TEST_F(LoginDialogs, StartUpLoopsBetweenTheDialogsUntilLoggedIn)
{
    // Each step acts on whichever dialog is up: login, back from the rooms,
    // back from the login, login, enter the first room.
    CDlgSelectConf rooms;
    CDlgLogin login;
    login.SetSelectConf(&rooms);
    login.SetSettingsStore(&store);
    CTestKit::MessageBoxes boxes(IDOK);
    s_seen.clear();
    s_login = &login;
    s_rooms = &rooms;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, LoopStep);
    uint32_t state = CClientApp::RunLoginDialogs(login, rooms);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(state, 4u);
    EXPECT_EQ(s_seen, (std::vector<std::string>{"login", "rooms", "login", "login", "rooms"}));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(g_LoginInfo.roomId, 1u);
    EXPECT_TRUE(g_CmdManager.IsConnected());
}

TEST_F(LoginDialogs, CancelEndsTheLoop)
{
    CDlgSelectConf rooms;
    CDlgLogin login;
    login.SetSelectConf(&rooms);
    login.SetSettingsStore(&store);
    s_login = &login;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, CancelStep);
    uint32_t state = CClientApp::RunLoginDialogs(login, rooms);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(state, 0u);
    EXPECT_FALSE(g_CmdManager.IsConnected());
}

namespace {

// A main window that records when it is told to close.
class CTestMainFrame : public CMainFrameBase
{
public:
    void AddSystemNotice(const char*) override {}
    static bool s_closed;

protected:
    void OnClose()
    {
        s_closed = true;
        DestroyWindow();
    }
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};
bool CTestMainFrame::s_closed = false;

BEGIN_MESSAGE_MAP(CTestMainFrame, CMainFrameBase)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

bool s_closedBeforeStart = false;
void NoteCloseAtStart() { s_closedBeforeStart = CTestMainFrame::s_closed; }

CONF_INFO* Room(uint32_t id, const char* name, uint16_t visits, uint16_t online)
{
    CONF_INFO* room = new CONF_INFO();
    room->roomId = id;
    strncpy(room->name, name, sizeof room->name);
    room->visits = visits;
    room->online = online;
    return room;
}

} // namespace

TEST_F(LoginDialogs, RoomListStartsTheClientInTheRoomThenClosesTheMeeting)
{
    g_ConfList.Add(Room(1, "Room one", 3, 1));
    // A name that fills its field: no terminator in the record.
    g_ConfList.Add(Room(2, "Room two with 21 char", 12, 4));
    strcpy(g_LoginInfo.serverAddress, "127.0.0.1");
    strcpy(g_LoginInfo.userName, "alice");
    strcpy(g_LoginInfo.password, "a b");
    CTestMainFrame frame;
    CTestMainFrame::s_closed = false;
    ASSERT_TRUE(frame.Create(nullptr, "meeting"));
    g_pMainFrame = &frame;
    launcher.onStart = NoteCloseAtStart;
    CTestKit::MessageBoxes boxes(IDOK);

    for (bool starts : {false, true}) {
        launcher.started.clear();
        launcher.startWorks = starts;
        CDlgRoomList rooms;
        rooms.SetProcessLauncher(&launcher);
        std::vector<std::string> rows;
        CTestKit::RunModal(rooms, [&](CDialog&) {
            CListCtrl& list = rooms.m_listRooms;
            for (int i = 0; i < list.GetItemCount(); ++i)
                rows.push_back(static_cast<LPCSTR>(list.GetItemText(i, 0)));
            list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            CRect row;
            list.GetItemRect(1, &row, LVIR_LABEL);
            CTestKit::DoubleClick(list.GetSafeHwnd(), row.CenterPoint());
            CTestKit::PumpFor(300);
            rooms.EndDialog(IDOK);
        });
        EXPECT_EQ(rows,
                  (std::vector<std::string>{"Room one(3人次)", "Room two with 21 char(12人次)"}));
        ASSERT_EQ(launcher.started.size(), 1u);
        std::string program = HalvernProgramPath();
        EXPECT_EQ(launcher.started[0], "<search>|\"" + program +
                                           "\" \"127.0.0.1\" \"Room two with 21 char\" \"2\" "
                                           "\"alice\" \"a b\"");
        EXPECT_FALSE(s_closedBeforeStart) << "the new instance starts before the meeting closes";
        EXPECT_EQ(CTestMainFrame::s_closed, starts)
            << "the meeting closes only once the new one runs";
        EXPECT_EQ(g_LoginInfo.roomId, 2u);
    }
    EXPECT_TRUE(boxes.Shown().empty());
    g_pMainFrame = nullptr;
    if (frame.GetSafeHwnd())
        frame.DestroyWindow();
}

TEST_F(LoginDialogs, RoomListAsksForARoomWhenNoneIsSelected)
{
    g_ConfList.Add(Room(1, "Room one", 3, 1));
    CTestKit::MessageBoxes boxes(IDOK);
    CDlgRoomList rooms;
    rooms.SetProcessLauncher(&launcher);
    bool restarted = true;
    CTestKit::RunModal(rooms, [&](CDialog&) {
        rooms.m_listRooms.SetItemState(0, 0, LVIS_SELECTED);
        restarted = rooms.RestartInSelectedRoom();
        rooms.EndDialog(IDOK);
    });
    EXPECT_FALSE(restarted);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "请选择会议室");
    EXPECT_TRUE(launcher.started.empty());
}

TEST(AboutBox, TakesThePictureSize)
{
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageA(nullptr, "Skins\\About.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(picture, nullptr) << "the skin images are drawn by the build";
    BITMAP info = {};
    GetObject(picture, sizeof info, &info);
    DeleteObject(picture);
    CAboutDlg about;
    CRect client;
    CTestKit::RunModal(about, [&](CDialog& d) {
        d.GetClientRect(&client);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(client.Width(), info.bmWidth);
    EXPECT_EQ(client.Height(), info.bmHeight);
    EXPECT_EQ(about.GetPictureSize(), CSize(info.bmWidth, info.bmHeight));
}

namespace {

class NoLibraries : public ILibraryLoader
{
public:
    HMODULE Load(const char*) override { return nullptr; }
    FARPROC Resolve(HMODULE, const char*) override { return nullptr; }
};

} // namespace

TEST(ClientApp, StartUpEndedByAMissingLibraryKeepsTheStoredSettings)
{
    CClientApp app;
    NoLibraries loader;
    MemorySettingsStore store;
    store.dwords[MemorySettingsStore::Path(DRIVER_SETTINGS_KEY, "BitRate")] = 512;
    app.SetLibraryLoader(&loader);
    app.SetSettingsStore(&store);
    app.SetAppFolder("C:\\Halvern Missing\\");
    CTestKit::MessageBoxes boxes(IDOK);
    EXPECT_FALSE(app.InitInstance());
    app.ExitInstance();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "请重新安装系统！");
    EXPECT_EQ(boxes.Shown()[0].caption, "");
    // Nothing was read, so nothing is written back over what the user had.
    EXPECT_EQ(store.dwords.size(), 1u);
    EXPECT_EQ(store.dwords[MemorySettingsStore::Path(DRIVER_SETTINGS_KEY, "BitRate")], 512u);
    EXPECT_TRUE(store.ini.empty());
}

namespace {

// The start-up as far as the login dialog (this test program's command line
// is no login), without the media libraries.
class StartUpWithoutMedia : public CClientApp
{
public:
    bool BindMediaLibraries() override { return true; }
    void StartAudio() override {}
};

int s_printerInstalls = 0;
BOOL s_printerInstallResult = FALSE;

BOOL CountedPrinterInstall()
{
    ++s_printerInstalls;
    return s_printerInstallResult;
}

} // namespace

TEST(ClientApp, TheVirtualPrinterIsInstalledAtStartsUntilOneSucceeds)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "halvern_printer_start\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string key = MemorySettingsStore::Path(SETTINGS_INI_SECTION, "InitPrinter");
    MemorySettingsStore store;
    CClientApp::SetVirtualPrinterInstaller(&CountedPrinterInstall);
    s_printerInstalls = 0;
    // One settings file over four starts: no key yet, a failed install
    // leaves the key for the next start; once one succeeds, no start
    // installs again.
    struct START
    {
        BOOL installSucceeds;
        int installs;
        const char* stored;
        bool warned;
    } starts[] = {
        {FALSE, 1, "<none>", true},
        {TRUE, 2, "1", false},
        {TRUE, 2, "1", false},
        {FALSE, 2, "1", false},
    };
    for (const START& s : starts) {
        SCOPED_TRACE("start " + std::to_string(&s - starts + 1));
        s_printerInstallResult = s.installSucceeds;
        StartUpWithoutMedia app;
        app.SetSettingsStore(&store);
        app.SetAppFolder(folder);
        CTestKit::MessageBoxes boxes(IDOK);
        CTestKit::AutoCloseDialogs closer;
        EXPECT_FALSE(app.InitInstance()) << "the login dialog is cancelled";
        app.ExitInstance();
        g_pClientApp = nullptr;
        EXPECT_EQ(closer.Closed(), 1) << "start-up went on to the login dialog";
        EXPECT_EQ(s_printerInstalls, s.installs);
        EXPECT_EQ(store.ini.count(key) ? store.ini[key] : "<none>", s.stored);
        ASSERT_EQ(boxes.Shown().size(), s.warned ? 1u : 0u);
        if (s.warned) {
            EXPECT_EQ(boxes.Shown()[0].text,
                      "虚拟打印机第一次初化失败，将不能上传白板里的word,ppt文件");
            EXPECT_TRUE(boxes.Shown()[0].type & MB_ICONEXCLAMATION);
        }
    }
    CClientApp::SetVirtualPrinterInstaller(nullptr);
    g_Settings = CClientSettings();
    DeleteFolderTree(folder.c_str());
}
