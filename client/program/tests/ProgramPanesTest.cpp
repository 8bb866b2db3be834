// The main window with the program's panes, in a meeting on an embedded
// stand-in server: what the server sends reaches the real chat pane,
// participants list and video wall, and the video library is driven as the
// meeting asks (fake video functions bound into the client's table).
#include <gtest/gtest.h>

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CDeviceStartUp.h"
#include "CDlgChat.h"
#include "CDlgLeft.h"
#include "CDlgLocalVideo.h"
#include "CFrameLink.h"
#include "CMainFrame.h"
#include "CProgramPanes.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "ClientUtil.h"
#include "CVideoWallPane.h"
#include "IFrameMedia.h"
#include "IProcessLauncher.h"
#include "MainFrameResource.h"
#include "MediaFunctionList.h"
#include "PanesResource.h"
#include "StandInTestKit.h"
#include "CStringList.h"

#include <richedit.h>
#include <string>
#include <vector>

namespace {

// What the fake video library was asked.
struct VIDEO_CALLS
{
    int captureResult = 1;
    int captures = 0;
    std::vector<HWND> ownPreviews;
    std::vector<std::string> sends;    // "id address port" of T_S_StartSend
    std::vector<std::string> targets;  // "address port" of T_R_SendTo
    int receivers = 0;
} g_calls;

int __cdecl FakeTakeDevices(CStringList* list)
{
    list->AddTail("Test camera");
    return 1;
}
int __cdecl FakeEnable(int) { return 1; }
void __cdecl FakeVoidInt(int) {}
int __cdecl FakeStartCapture(int, int, int, int, int, int)
{
    ++g_calls.captures;
    return g_calls.captureResult;
}
int __cdecl FakeStartPreview(WPARAM, HWND window, UINT)
{
    g_calls.ownPreviews.push_back(window);
    return 1;
}
void __cdecl FakeSetPreviewPos(RECT) {}
void __cdecl FakeVoid() {}
int __cdecl FakeZero() { return 0; }
void __cdecl FakeSetRecord(int, void*, void*) {}
int __cdecl FakeStartSend(uint32_t id, const char* address, int port)
{
    g_calls.sends.push_back(std::to_string(id) + " " + address + " " + std::to_string(port));
    return 1;
}
int g_receiver;
void* __cdecl FakeReceiver(WPARAM, HWND, UINT)
{
    ++g_calls.receivers;
    return &g_receiver;
}
int __cdecl FakeBind(void*, uint32_t, uint32_t, uint32_t, uint16_t*) { return 1; }
void __cdecl FakeReceiverPos(void*, RECT) {}
void __cdecl FakeStopReceiver(void** handle) { *handle = nullptr; }
void __cdecl FakeReceiverRecord(void*, int, void*, void*) {}
void __cdecl FakeReceiverErase(void*) {}
int __cdecl FakeSendTo(void*, const char* address, int port)
{
    g_calls.targets.push_back(std::string(address) + " " + std::to_string(port));
    return 1;
}

void BindFakeVideo()
{
    FARPROC* e = g_MediaFunctions.entries;
    e[MF_T_TAKEDevices] = (FARPROC)&FakeTakeDevices;
    e[MF_T_EnablePostProc] = (FARPROC)&FakeEnable;
    e[MF_T_EnableOverlay] = (FARPROC)&FakeVoidInt;
    e[MF_T_S_SetBitRate] = (FARPROC)&FakeVoidInt;
    e[MF_T_S_StartCapture] = (FARPROC)&FakeStartCapture;
    e[MF_T_S_StartPreview] = (FARPROC)&FakeStartPreview;
    e[MF_T_S_SetPreviewPos] = (FARPROC)&FakeSetPreviewPos;
    e[MF_T_S_StopPreview] = (FARPROC)&FakeVoid;
    e[MF_T_S_OnEraseBk] = (FARPROC)&FakeZero;
    e[MF_T_S_SetRecord] = (FARPROC)&FakeSetRecord;
    e[MF_T_S_StartSend] = (FARPROC)&FakeStartSend;
    e[MF_T_R_StartPreview] = (FARPROC)&FakeReceiver;
    e[MF_T_R_BindLocalPort] = (FARPROC)&FakeBind;
    e[MF_T_R_SetPreviewPos] = (FARPROC)&FakeReceiverPos;
    e[MF_T_R_StopPreview] = (FARPROC)&FakeStopReceiver;
    e[MF_T_R_SetRecord] = (FARPROC)&FakeReceiverRecord;
    e[MF_T_R_OnEraseBk] = (FARPROC)&FakeReceiverErase;
    e[MF_T_R_SendTo] = (FARPROC)&FakeSendTo;
}

class FakeMedia : public IFrameMedia
{
public:
    bool ConnectAudio(uint32_t, uint32_t, const char*, uint16_t) override { return true; }
    void StopAll() override {}
};

class FakeLauncher : public IProcessLauncher
{
public:
    bool Start(const char*, const std::string&) override { return true; }
    bool ShellOpen(const char*) override { return true; }
};

// The text of a rich edit, in the program's code page.
std::string RichText(CWnd& edit)
{
    std::vector<char> text(65536);
    GETTEXTEX get = {};
    get.cb = (DWORD)text.size();
    get.flags = GT_DEFAULT;
    get.codepage = CP_ACP;
    edit.SendMessage(EM_GETTEXTEX, (WPARAM)&get, (LPARAM)text.data());
    return text.data();
}

// The user ids of the list's rows, in order.
std::vector<uint32_t> ListUsers(CListBox& list)
{
    std::vector<uint32_t> ids;
    for (int i = 0; i < list.GetCount(); ++i)
        ids.push_back((uint32_t)list.GetItemData(i));
    return ids;
}

bool HasItemData(CComboBox& box, uint32_t id)
{
    for (int i = 0; i < box.GetCount(); ++i)
        if (box.GetItemData(i) == id)
            return true;
    return false;
}

// Alice's main window, built by the program's pane factory over the
// program's globals, in a room of an embedded stand-in server where "host"
// is the other participant.
class ProgramPanes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WSADATA wsa;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &wsa));
        g_calls = VIDEO_CALLS();
        BindFakeVideo();
        ASSERT_TRUE(server.Start(0));
    }
    void TearDown() override
    {
        if (frame && ::IsWindow(frame->GetSafeHwnd()))
            frame->DestroyWindow();
        CTestKit::PumpPending();
        g_CmdManager.Close();
        host.manager.Close();
        server.Stop();
        memset(&g_MediaFunctions, 0, sizeof g_MediaFunctions);
    }

    // Alice logs in to the room and her main window opens.
    void Open(uint32_t room)
    {
        char text[CCommandManager::TEXT_SIZE] = {};
        strcpy(g_LoginInfo.serverAddress, "127.0.0.1");
        g_LoginInfo.serverPort = server.GetPort();
        strcpy(g_LoginInfo.userName, "alice");
        strcpy(g_LoginInfo.password, "a");
        g_LoginInfo.roomId = room;
        ASSERT_TRUE(g_CmdManager.Login(&g_LoginInfo, text)) << text;
        g_LoginInfo.audioPort = 7100;
        g_LoginInfo.audioPort2 = 7101;
        MAINFRAME_SERVICES s;
        s.media = &media;
        s.launcher = &launcher;
        s.makePanes = [this](CMainFrame* f) -> IFramePanes* {
            panes = new CProgramPanes(f, DefaultPaneContext(nullptr));
            return panes;
        };
        frame = new CMainFrame(s);
        g_pMainFrame = frame;
        ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        frame->MoveWindow(0, 0, 1000, 700);
        frame->ShowWindow(SW_SHOW);
        ASSERT_NE(nullptr, panes->ChatPane());
        ASSERT_NE(nullptr, panes->LeftPane());
        ASSERT_NE(nullptr, panes->VideoWall());
        // The start-up step has run once the window drains its queue.
        ASSERT_TRUE(CTestKit::PumpUntil([&] { return g_calls.captures > 0; }, 5000));
    }

    void HostJoins(uint32_t room)
    {
        ASSERT_TRUE(host.Login(server.GetPort(), "host", "pw", room)) << host.text;
        hostId = host.login.userId;
        ASSERT_TRUE(CTestKit::PumpUntil([&] { return g_UserTable.GetCount() == 2; }, 5000));
    }

    CStandInServer server{StandInTestConfig()};
    StandInClient host;
    uint32_t hostId = 0;
    FakeMedia media;
    FakeLauncher launcher;
    CProgramPanes* panes = nullptr;
    CMainFrame* frame = nullptr;
    CTestKit::AutoCloseDialogs boxes;
};

TEST_F(ProgramPanes, ParticipantsChatAndNoticesReachTheRealPanes)
{
    Open(1);
    HostJoins(1);
    CDlgChat& chat = *panes->ChatPane();
    CDlgLeft& left = *panes->LeftPane();

    // The join: a notice, a row in the list (own row first), a recipient.
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return RichText(chat.GetNotices()).find("host") != std::string::npos; }));
    EXPECT_EQ((std::vector<uint32_t>{g_LoginInfo.userId, hostId}), ListUsers(left.GetUserList()));
    EXPECT_TRUE(HasItemData(chat.GetRecipients(), hostId));
    EXPECT_NE(std::string::npos, frame->GetTitleText().find("参与人数2"));

    // A line of the other participant to everybody, in the history.
    const char* line = "\xc4\xe3\xba\xc3 from host"; // "你好" in code page 936
    std::vector<uint8_t> payload(21 + strlen(line), 0);
    strcpy((char*)payload.data() + 4, "\xcb\xce\xcc\xe5");
    payload[16] = 10;
    strcpy((char*)payload.data() + 20, line);
    ASSERT_TRUE(host.manager.SendChat(0, 0, payload.data(), (uint16_t)payload.size()));
    EXPECT_TRUE(CTestKit::PumpUntil(
        [&] { return RichText(chat.GetHistory()).find(std::string("host \xb6\xd4 ") ) != std::string::npos; }, 5000));
    const std::string history = RichText(chat.GetHistory());
    EXPECT_NE(std::string::npos, history.find(line)) << history;

    // AddSystemNotice of the program reaches the chat's notice pane.
    AddSystemNotice("a notice of the program");
    EXPECT_NE(std::string::npos, RichText(chat.GetNotices()).find("a notice of the program"));

    // The quit: the row and the recipient go.
    host.manager.Close();
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return left.GetUserList().GetCount() == 1; }, 5000));
    EXPECT_FALSE(HasItemData(chat.GetRecipients(), hostId));
}

TEST_F(ProgramPanes, VideoBroadcastsStartTheSenderAndTheWallsReceiver)
{
    Open(2); // a free meeting: everybody may broadcast
    HostJoins(2);
    const uint32_t own = g_LoginInfo.userId;

    // The start-up step reported a camera and started the own preview in the
    // left pane's video window.
    std::vector<uint8_t> m;
    ASSERT_TRUE(host.WaitFor(CMD_USER_DEVICES, m, 5000) || g_UserTable.HasVideo(own));
    EXPECT_EQ(1, g_UserTable.HasVideo(own));
    ASSERT_NE(nullptr, panes->LocalVideo());
    ASSERT_EQ(1u, g_calls.ownPreviews.size());
    EXPECT_EQ(panes->LocalVideo()->GetRender().GetSafeHwnd(), g_calls.ownPreviews[0]);

    // Alice broadcasts: her video goes to the relay port the server named,
    // the same port the other participant is told to receive from.
    CTestKit::ClickButton(panes->LeftPane()->GetDlgItem(IDC_LEFT_BROADCAST)->GetSafeHwnd());
    ASSERT_TRUE(host.WaitFor(CMD_RECEIVE_VIDEO_REPLY, m, 5000));
    const uint16_t alicePort = ReadU16(m, 8);
    EXPECT_EQ(own, ReadU32(m, 4));
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return !g_calls.sends.empty(); }, 5000));
    EXPECT_EQ((std::vector<std::string>{std::to_string(own) + " 127.0.0.1 " + std::to_string(alicePort)}),
              g_calls.sends);

    // The host broadcasts: a wall window for him, receiving from his port.
    ASSERT_TRUE(host.manager.SendVideoBroadcast(hostId, 1));
    ASSERT_TRUE(host.WaitFor(CMD_START_SEND_VIDEO, m, 5000));
    const uint16_t hostPort = ReadU16(m, 2);
    CVideoWallPane& wall = *panes->VideoWall();
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return !g_calls.targets.empty(); }, 5000));
    EXPECT_EQ((std::vector<std::string>{"127.0.0.1 " + std::to_string(hostPort)}), g_calls.targets);
    ASSERT_NE(nullptr, wall.Wall().FindUserWindow(hostId));
    EXPECT_TRUE(wall.Wall().FindUserWindow(hostId)->IsWindowVisible());
    EXPECT_EQ(hostId, wall.GetMainVideoUser());
    USER_INFO info = {};
    ASSERT_TRUE(g_UserTable.GetUser(hostId, &info));
    EXPECT_EQ(2, info.videoState);
    EXPECT_EQ(1, info.broadcastFlag);

    // He stops: his window leaves the wall.
    ASSERT_TRUE(host.manager.SendVideoBroadcast(hostId, 0));
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return wall.Wall().FindUserWindow(hostId) == nullptr; }, 5000));
    EXPECT_EQ(LAYOUT_NO_USER, wall.GetMainVideoUser());
}

// The device report where no settings dialog takes the start-up step: what
// the capture gives is what the server and the own record hear.
TEST(DeviceStartUp, ReportsWhatTheCaptureGives)
{
    WSADATA wsa;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &wsa));
    struct Case
    {
        int capture;
        DWORD storedDevice;
        uint8_t hasVideo;
        uint8_t selected;
    };
    const Case cases[] = {
        {1, 0, 1, 0}, // the camera opens
        {0, 0, 0, 0}, // it does not: no video
        {1, 5, 1, 0}, // a stored device beyond the list takes the first
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("capture " + std::to_string(c.capture) + ", stored device " + std::to_string(c.storedDevice));
        CStandInServer server{StandInTestConfig()};
        ASSERT_TRUE(server.Start(0));
        StandInClient alice, host;
        ASSERT_TRUE(alice.Login(server.GetPort(), "alice", "a"));
        ASSERT_TRUE(host.Login(server.GetPort(), "host", "pw"));
        g_calls = VIDEO_CALLS();
        g_calls.captureResult = c.capture;
        BindFakeVideo();
        CClientSettings settings;
        settings.videoCaptureDev = c.storedDevice;
        const CDeviceStartUp::REPORT r = CDeviceStartUp::Run(alice.users, alice.login, alice.manager, settings);
        EXPECT_EQ(c.hasVideo, r.hasVideo);
        EXPECT_EQ(1, r.deviceCount);
        EXPECT_EQ(c.selected, r.selected);
        EXPECT_EQ(c.hasVideo, alice.users.HasVideo(alice.login.userId));
        std::vector<uint8_t> m;
        ASSERT_TRUE(host.WaitFor(CMD_USER_DEVICES, m, 5000));
        EXPECT_EQ(alice.login.userId, ReadU32(m, 4));
        EXPECT_EQ(c.hasVideo, m[9]);
        EXPECT_EQ(1, m[10]);
        EXPECT_EQ(c.selected, m[11]);
        memset(&g_MediaFunctions, 0, sizeof g_MediaFunctions);
        alice.manager.Close();
        host.manager.Close();
        server.Stop();
    }
}

} // namespace
