// The main window with the program's panes, in a meeting on an embedded
// stand-in server: what the server sends reaches the real chat pane,
// participants list and video wall, and the video library is driven as the
// meeting asks (fake video functions bound into the client's table).
#include <gtest/gtest.h>

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CDlgDeviceRemote.h"
#include "CDlgRecordTimer.h"
#include "CFrameCommandTargets.h"
#include "CMainFrameCommands.h"
#include "CProgramSettings.h"
#include "CRemoteSettings.h"
#include "CUserListBox.h"
#include "CVideoHost.h"
#include "IFrameWhiteboard.h"
#include "SettingsResource.h"
#include "CDlgChat.h"
#include "CDlgLeft.h"
#include "CDlgLocalVideo.h"
#include "CFrameLink.h"
#include "CLanguageManager.h"
#include "CMainFrame.h"
#include "CProgramPanes.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "ClientUtil.h"
#include "CVideoWallPane.h"
#include "CWBFrameTransfers.h"
#include "CWBMeetingFrame.h"
#include "IFrameMedia.h"
#include "IProcessLauncher.h"
#include "MainFrameResource.h"
#include "MediaFunctionList.h"
#include "PanesResource.h"
#include "StandInTestKit.h"
#include "WbFrameRegistration.h"
#include "WbFrameResource.h"
#include "CStringList.h"

#include <richedit.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the fake video library was asked.
struct VIDEO_CALLS
{
    int captureResult = 1;
    int captures = 0;
    std::vector<std::string> captureSizes; // "device width height" of each capture start
    int audioCaptureResult = 1;
    std::vector<std::string> recorder; // what the recorder was given
    std::vector<HWND> ownPreviews;
    std::vector<std::string> sends;   // "id address port" of T_S_StartSend
    std::vector<std::string> targets; // "address port" of T_R_SendTo
    int receivers = 0;
} g_calls;

int __cdecl FakeTakeDevices(CStringList* list)
{
    list->RemoveAll();
    list->AddTail("Test camera");
    list->AddTail("Second camera");
    return 2;
}
int __cdecl FakeEnable(int) { return 1; }
void __cdecl FakeVoidInt(int) {}
int __cdecl FakeStartCapture(int device, int, int, int, int width, int height)
{
    ++g_calls.captures;
    g_calls.captureSizes.push_back(std::to_string(device) + " " + std::to_string(width) + " " +
                                   std::to_string(height));
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

// The audio manager: one microphone, one speaker, one format.
int __cdecl FakeOneDevice() { return 1; }
int __cdecl FakeDeviceName(int index, char* name, int size)
{
    if (index != 0 || size < 16)
        return 0;
    strcpy(name, "Test audio");
    return 1;
}
int __cdecl FakeFormatName(int index, unsigned char* code, char* name, int size)
{
    if (index != 0 || size < 16)
        return 0;
    *code = 7;
    strcpy(name, "Test format");
    return 1;
}
int __cdecl FakeAudioCapture(int) { return g_calls.audioCaptureResult; }
int __cdecl FakeAudioOk() { return 1; }
int __cdecl FakeAudioInt(int) { return 1; }
int __cdecl FakeGetParam(int, int* value)
{
    *value = 3;
    return 1;
}
int __cdecl FakeSetParam(int, const void*) { return 1; }
int __cdecl FakeAddSource(uint32_t) { return 1; }

// The recorder.
int __cdecl FakeStartRecord(const char*, const char*)
{
    g_calls.recorder.push_back("start");
    return 1;
}
int __cdecl FakeStopRecord()
{
    g_calls.recorder.push_back("stop");
    return 1;
}
int __cdecl FakeWriteChat(const char* text, uint32_t kind)
{
    g_calls.recorder.push_back("chat " + std::to_string(kind) + " " + text);
    return 1;
}
void __cdecl FakeSetAudioRecord(int, void*, void*) {}

void BindFakeVideo()
{
    FARPROC* e = g_MediaFunctions.entries;
    e[MF_AUDIO_MGR_GetCapDevicesCount] = (FARPROC)&FakeOneDevice;
    e[MF_AUDIO_MGR_GetPlayDevicesCount] = (FARPROC)&FakeOneDevice;
    e[MF_AUDIO_MGR_GetCapDeviceName] = (FARPROC)&FakeDeviceName;
    e[MF_AUDIO_MGR_GetPlayDeviceName] = (FARPROC)&FakeDeviceName;
    e[MF_AUDIO_MGR_GetEncodeFormatCount] = (FARPROC)&FakeOneDevice;
    e[MF_AUDIO_MGR_GetEncodeFormatName] = (FARPROC)&FakeFormatName;
    e[MF_AUDIO_MGR_StartCapture] = (FARPROC)&FakeAudioCapture;
    e[MF_AUDIO_MGR_StartPlay] = (FARPROC)&FakeAudioInt;
    e[MF_AUDIO_MGR_StopCapture] = (FARPROC)&FakeAudioOk;
    e[MF_AUDIO_MGR_StopPlay] = (FARPROC)&FakeAudioOk;
    e[MF_AUDIO_MGR_SetAEC] = (FARPROC)&FakeAudioInt;
    e[MF_AUDIO_MGR_AutoSetFEC] = (FARPROC)&FakeAudioInt;
    e[MF_AUDIO_MGR_SetVolumeControl] = (FARPROC)&FakeAudioInt;
    e[MF_AUDIO_MGR_SetPlayLocal] = (FARPROC)&FakeAudioInt;
    e[MF_AUDIO_MGR_Processer_GetParam] = (FARPROC)&FakeGetParam;
    e[MF_AUDIO_MGR_Processer_SetParam] = (FARPROC)&FakeSetParam;
    e[MF_AUDIO_MGR_AddSource] = (FARPROC)&FakeAddSource;
    e[MF_AUDIO_MGR_SetRecord] = (FARPROC)&FakeSetAudioRecord;
    e[MF_RV_StartRecord] = (FARPROC)&FakeStartRecord;
    e[MF_RV_StopRecord] = (FARPROC)&FakeStopRecord;
    e[MF_RV_WriteChatData] = (FARPROC)&FakeWriteChat;
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

// The window's own targets, but the recording's save dialog answers at once.
class RecordingPathTargets : public CFrameCommandTargets
{
public:
    bool AskRecordingPath(CWnd*, const std::string&, std::string* path) override
    {
        *path = "C:\\meeting.Pellrund";
        return true;
    }
};

// A whiteboard page that notes the documents it is asked to open.
class FakeBoard : public IFrameWhiteboard
{
public:
    static std::vector<std::string> opened;
    static IFrameWhiteboard* Make(CWnd* parent)
    {
        FakeBoard* board = new FakeBoard;
        board->m_page.reset(new CWnd);
        if (!board->m_page->Create("STATIC", "board", WS_CHILD, CRect(0, 0, 10, 10), parent,
                                   4711)) {
            delete board;
            return nullptr;
        }
        // Freed with the test's frame.
        s_boards.emplace_back(board);
        return board;
    }
    CWnd* GetPageWindow() override { return m_page.get(); }
    void SetSendCallback(FRAME_WHITEBOARD_SEND, void*) override {}
    void StopAllTransfers() override {}
    bool OpenDocument(const char* path) override
    {
        opened.push_back(path);
        return true;
    }
    size_t OnPeerData(const unsigned char*, size_t length) override { return length; }
    void SetEditRight(bool) override {}
    void SendPageSync() override {}

    static std::vector<std::unique_ptr<FakeBoard>> s_boards;

private:
    std::unique_ptr<CWnd> m_page;
};
std::vector<std::string> FakeBoard::opened;
std::vector<std::unique_ptr<FakeBoard>> FakeBoard::s_boards;

// Runs start (which opens a modal dialog) and, from inside the dialog's
// modal loop, drive with the first dialog box of this thread shown since
// the start that which picks; true when one came up. A dialog still up
// after drive is cancelled, as are all when none came within ten seconds.
HWND g_driven = nullptr;
int g_ticks = 0;
std::vector<HWND> g_shownBefore;
std::function<bool(HWND)> g_which;
std::function<void(HWND)> g_drive;
bool IsShownDialog(HWND wnd)
{
    char cls[16] = {};
    return ::IsWindowVisible(wnd) && ::GetClassNameA(wnd, cls, sizeof cls) &&
           strcmp(cls, "#32770") == 0;
}
BOOL CALLBACK NoteDialog(HWND wnd, LPARAM)
{
    if (IsShownDialog(wnd))
        g_shownBefore.push_back(wnd);
    return TRUE;
}
BOOL CALLBACK FindDialog(HWND wnd, LPARAM found)
{
    if (IsShownDialog(wnd) &&
        std::find(g_shownBefore.begin(), g_shownBefore.end(), wnd) == g_shownBefore.end() &&
        g_which(wnd)) {
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    return TRUE;
}
void CALLBACK DriveDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, (LPARAM)&dialog);
    if (!dialog) {
        if (++g_ticks > 200) {
            ::KillTimer(NULL, id);
            CTestKit::CloseThreadDialogs();
        }
        return; // not up yet: the next tick
    }
    ::KillTimer(NULL, id);
    g_driven = dialog;
    g_drive(dialog);
    // Cancel, as the framework's dialogs end (EndDialog would not end their loop).
    if (::IsWindow(dialog) && ::IsWindowVisible(dialog))
        ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
}
bool WhileModal(const std::function<void()>& start, const std::function<bool(HWND)>& which,
                const std::function<void(HWND)>& drive)
{
    g_driven = nullptr;
    g_ticks = 0;
    g_shownBefore.clear();
    ::EnumThreadWindows(::GetCurrentThreadId(), NoteDialog, 0);
    g_which = which;
    g_drive = drive;
    const UINT_PTR timer = ::SetTimer(NULL, 0, 50, DriveDialog);
    start();
    ::KillTimer(NULL, timer);
    return g_driven != nullptr;
}

// The screen capture's dialog: it covers the screen.
bool CoversTheScreen(HWND wnd)
{
    RECT r;
    ::GetWindowRect(wnd, &r);
    return r.left == 0 && r.top == 0 && r.right == ::GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom == ::GetSystemMetrics(SM_CYSCREEN);
}

// A region dragged on the screen capture's dialog and taken with a
// double click inside it.
void TakeRegion(HWND capture)
{
    CTestKit::SendMouse(capture, WM_LBUTTONDOWN, POINT{40, 40}, MK_LBUTTON);
    CTestKit::SendMouse(capture, WM_MOUSEMOVE, POINT{140, 100}, MK_LBUTTON);
    CTestKit::SendMouse(capture, WM_LBUTTONUP, POINT{140, 100});
    CTestKit::SendMouse(capture, WM_LBUTTONDBLCLK, POINT{80, 70}, MK_LBUTTON);
    CTestKit::PumpPending();
}

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
        savedSettings = g_Settings;
        g_Settings = CClientSettings();
        ASSERT_TRUE(server.Start(0));
    }
    void TearDown() override
    {
        Close();
        server.Stop();
        memset(&g_MediaFunctions, 0, sizeof g_MediaFunctions);
        g_Settings = savedSettings;
        CMainFrame::SetWhiteboardFactory(nullptr);
        FakeBoard::s_boards.clear();
        FakeBoard::opened.clear();
    }
    // Alice's window closes and both leave the meeting.
    void Close()
    {
        if (frame && ::IsWindow(frame->GetSafeHwnd()))
            frame->DestroyWindow();
        frame = nullptr;
        panes = nullptr;
        CTestKit::PumpPending();
        g_CmdManager.Close();
        host.manager.Close();
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
        s.commands.targets = &targets;
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

    // A message for the host, while alice's window goes on working.
    bool HostGets(uint16_t code, std::vector<uint8_t>& m, DWORD timeoutMs = 5000)
    {
        return CTestKit::PumpUntil([&] { return host.WaitFor(code, m, 20); }, timeoutMs);
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
    RecordingPathTargets targets;
    CProgramPanes* panes = nullptr;
    CMainFrame* frame = nullptr;
    CClientSettings savedSettings;
    // Tests that drive a modal dialog themselves end it in its place.
    std::unique_ptr<CTestKit::AutoCloseDialogs> boxes{new CTestKit::AutoCloseDialogs};
};

TEST_F(ProgramPanes, ParticipantsChatAndNoticesReachTheRealPanes)
{
    Open(1);
    HostJoins(1);
    CDlgChat& chat = *panes->ChatPane();
    CDlgLeft& left = *panes->LeftPane();

    // The join: a notice, a row in the list (own row first), a recipient.
    EXPECT_TRUE(CTestKit::PumpUntil(
        [&] { return RichText(chat.GetNotices()).find("host") != std::string::npos; }));
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
        [&] {
            return RichText(chat.GetHistory()).find(std::string("host \xb6\xd4 ")) !=
                   std::string::npos;
        },
        5000));
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
    EXPECT_EQ(
        (std::vector<std::string>{std::to_string(own) + " 127.0.0.1 " + std::to_string(alicePort)}),
        g_calls.sends);
    // She is told of her own broadcast too: her flag is set and her wall
    // shows her picture as the room receives it.
    CVideoWallPane& wall = *panes->VideoWall();
    ASSERT_TRUE(
        CTestKit::PumpUntil([&] { return wall.Wall().FindUserWindow(own) != nullptr; }, 5000));
    EXPECT_EQ(own, wall.GetMainVideoUser());
    USER_INFO info = {};
    ASSERT_TRUE(g_UserTable.GetUser(own, &info));
    EXPECT_EQ(1, info.broadcastFlag);

    // The host broadcasts: a wall window for him, receiving from his port.
    ASSERT_TRUE(host.manager.SendVideoBroadcast(hostId, 1));
    ASSERT_TRUE(host.WaitFor(CMD_START_SEND_VIDEO, m, 5000));
    const uint16_t hostPort = ReadU16(m, 2);
    const std::string hostTarget = "127.0.0.1 " + std::to_string(hostPort);
    ASSERT_TRUE(CTestKit::PumpUntil(
        [&] {
            return std::find(g_calls.targets.begin(), g_calls.targets.end(), hostTarget) !=
                   g_calls.targets.end();
        },
        5000));
    ASSERT_NE(nullptr, wall.Wall().FindUserWindow(hostId));
    EXPECT_TRUE(wall.Wall().FindUserWindow(hostId)->IsWindowVisible());
    EXPECT_EQ(own, wall.GetMainVideoUser());
    ASSERT_TRUE(g_UserTable.GetUser(hostId, &info));
    EXPECT_EQ(2, info.videoState);
    EXPECT_EQ(1, info.broadcastFlag);

    // He stops: his window leaves the wall; hers stays.
    ASSERT_TRUE(host.manager.SendVideoBroadcast(hostId, 0));
    EXPECT_TRUE(
        CTestKit::PumpUntil([&] { return wall.Wall().FindUserWindow(hostId) == nullptr; }, 5000));
    EXPECT_EQ(own, wall.GetMainVideoUser());
}

// The start step opens the saved devices through the settings dialog: the
// server and the own record hear what the capture gave, and the chat pane
// shows the dialogs' notices.
struct START_CASE
{
    const char* name;
    int capture;
    DWORD storedDevice;
    uint8_t hasVideo;
    uint8_t selected;
    const char* notice;
};
const START_CASE kStartCases[] = {
    {"CameraOpens", 1, 1, 1, 1, "初始化视频设备成功"},
    {"CameraFails", 0, 0, 0, 0, "打开视频采集设备失败"},
    {"StoredDeviceBeyondTheList", 1, 5, 1, 0, "初始化视频设备成功"},
};

void PrintTo(const START_CASE& c, std::ostream* os) { *os << c.name; }

class StartStep : public ProgramPanes, public ::testing::WithParamInterface<START_CASE>
{};

TEST_P(StartStep, OpensTheSavedDevicesAndReportsThem)
{
    const START_CASE& c = GetParam();
    g_calls.captureResult = c.capture;
    g_Settings.videoCaptureDev = c.storedDevice;
    ASSERT_TRUE(host.Login(server.GetPort(), "host", "pw", 1)) << host.text;
    Open(1);
    std::vector<uint8_t> m;
    ASSERT_TRUE(host.WaitFor(CMD_USER_DEVICES, m, 5000));
    EXPECT_EQ(g_LoginInfo.userId, ReadU32(m, 4));
    EXPECT_EQ(1, m[8]) << "has audio";
    EXPECT_EQ(c.hasVideo, m[9]);
    EXPECT_EQ(2, m[10]) << "device count";
    EXPECT_EQ(c.selected, m[11]);
    EXPECT_EQ(c.hasVideo, g_UserTable.HasVideo(g_LoginInfo.userId));
    EXPECT_EQ(c.selected, g_Settings.videoCaptureDev);
    const std::string notices = RichText(panes->ChatPane()->GetNotices());
    EXPECT_NE(std::string::npos, notices.find(c.notice)) << notices;
    EXPECT_NE(std::string::npos, notices.find("初始化音频成功")) << notices;
}

INSTANTIATE_TEST_SUITE_P(Cases, StartStep, ::testing::ValuesIn(kStartCases),
                         [](const ::testing::TestParamInfo<START_CASE>& info) {
                             return info.param.name;
                         });

// The menu command, the video windows' commands and the participants
// list's commands open the real dialogs of the running window.
TEST_F(ProgramPanes, CommandsOpenTheSettingsDialogs)
{
    Open(1);
    HostJoins(1);
    CSettingsDialogs& dialogs = panes->Settings().Dialogs();
    CDlgDevice& device = dialogs.Device();
    CDlgDeviceRemote& remote = dialogs.Remote();
    EXPECT_EQ(&device, frame->GetPane(PANE_DEVICE));
    EXPECT_EQ(&remote, frame->GetPane(PANE_DEVICE_REMOTE));
    EXPECT_EQ(&dialogs.RecordTimer(), frame->GetPane(PANE_RECORD_TIMER));
    EXPECT_FALSE(device.IsWindowVisible());

    // "系统功能设置" shows the dialog and checks its item, then hides it.
    bool enabled = false, checked = false;
    frame->SendMessage(WM_COMMAND, ID_SYSTEM_SETTINGS);
    EXPECT_TRUE(device.IsWindowVisible());
    ASSERT_TRUE(frame->GetCommandState(ID_SYSTEM_SETTINGS, &enabled, &checked));
    EXPECT_TRUE(checked);
    frame->SendMessage(WM_COMMAND, ID_SYSTEM_SETTINGS);
    EXPECT_FALSE(device.IsWindowVisible());
    ASSERT_TRUE(frame->GetCommandState(ID_SYSTEM_SETTINGS, &enabled, &checked));
    EXPECT_FALSE(checked);

    // "云台设置" brings the hidden pan-tilt settings up, centred over the
    // main window, from wherever it was left.
    CWnd* panTilt = frame->GetPane(PANE_PAN_TILT);
    ASSERT_TRUE(panTilt && panTilt->GetSafeHwnd());
    EXPECT_FALSE(panTilt->IsWindowVisible());
    panTilt->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->SendMessage(WM_COMMAND, ID_PAN_TILT_SETTINGS);
    EXPECT_TRUE(panTilt->IsWindowVisible());
    CRect shown, main;
    panTilt->GetWindowRect(&shown);
    frame->GetWindowRect(&main);
    EXPECT_NEAR(main.CenterPoint().x, shown.CenterPoint().x, 2);
    EXPECT_NEAR(main.CenterPoint().y, shown.CenterPoint().y, 2);
    panTilt->ShowWindow(SW_HIDE);

    // The own video window's settings command shows it too.
    GetVideoHost()->ShowDeviceDialog();
    EXPECT_TRUE(device.IsWindowVisible());
    device.ShowWindow(SW_HIDE);

    // Another participant's window: his settings are asked for.
    std::vector<uint8_t> m;
    GetVideoHost()->ShowRemoteDeviceDialog(hostId);
    EXPECT_TRUE(remote.IsWindowVisible());
    EXPECT_EQ(hostId, remote.ShownUser());
    ASSERT_TRUE(host.WaitFor(CMD_PARTICIPANT_DATA, m, 5000));
    EXPECT_EQ(g_LoginInfo.userId, ReadU32(m, 4));
    EXPECT_EQ(2u, ReadU16(m, 8)) << "the query";
    EXPECT_EQ(1u, ReadU16(m, 12));
    remote.ShowWindow(SW_HIDE);

    // The participants list: his remote settings, and as chair the own
    // video device.
    CUserListBox& list = panes->LeftPane()->GetUserList();
    list.SetMenuUser(hostId);
    list.SendMessage(WM_COMMAND, ID_MENU_REMOTE_SETTINGS, 0);
    EXPECT_TRUE(remote.IsWindowVisible());
    EXPECT_EQ(hostId, remote.ShownUser());
    g_UserTable.FindUser(g_LoginInfo.userId)->role = 1;
    list.SetMenuUser(g_LoginInfo.userId);
    list.SendMessage(WM_COMMAND, ID_MENU_VIDEO_FIRST + 1, 0);
    EXPECT_EQ(1u, g_Settings.videoCaptureDev);
    ASSERT_TRUE(host.WaitFor(CMD_USER_DEVICES, m, 5000));
    EXPECT_EQ(1, m[11]) << "the device chosen";

    // The language button runs the language dialog modally.
    boxes.reset();
    LRESULT languages = -1, current = -1;
    EXPECT_TRUE(
        WhileModal([&] { frame->SendMessage(WM_COMMAND, ID_LANGUAGE_DIALOG); },
                   [](HWND dialog) { return ::GetDlgItem(dialog, IDC_LANGUAGE_LIST) != NULL; },
                   [&](HWND dialog) {
                       HWND list = ::GetDlgItem(dialog, IDC_LANGUAGE_LIST);
                       languages = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
                       current = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
                   }));
    EXPECT_EQ(g_LangManager.GetCount(), languages);
    EXPECT_EQ(g_LangManager.GetCurrentIndex(), current);
    EXPECT_TRUE(frame->IsWindowEnabled()) << "the dialog ended";
}

// The server's 2106 and 2110 reach the dialogs of the running window: the
// chair's device choice, his query (answered with the own report) and his
// settings, applied to the own camera.
TEST_F(ProgramPanes, SettingsMessagesFromTheChairReachTheDialogs)
{
    Open(1);
    HostJoins(1);
    const uint32_t own = g_LoginInfo.userId;
    std::vector<uint8_t> m;
    while (host.WaitFor(CMD_USER_DEVICES, m, 100)) // the start step's report
        ;

    ASSERT_TRUE(host.manager.SendCommand2105(own, 1));
    ASSERT_TRUE(HostGets(CMD_USER_DEVICES, m));
    EXPECT_EQ(1, m[11]);
    EXPECT_EQ(1u, g_Settings.videoCaptureDev);

    const std::vector<uint8_t> query = CRemoteSettings::BuildQuery();
    ASSERT_TRUE(host.manager.SendBroadcastData(&own, 1, query.data(), (uint16_t)query.size()));
    ASSERT_TRUE(HostGets(CMD_PARTICIPANT_DATA, m));
    EXPECT_EQ(own, ReadU32(m, 4));
    ASSERT_EQ(12u + 1244u, m.size()) << "the report";
    EXPECT_EQ(2u, ReadU16(m, 12));

    DEVICE_SETTINGS wanted = DEVICE_SETTINGS::From(g_Settings);
    wanted.VideoSize = 4;
    const std::vector<uint8_t> apply = CRemoteSettings::BuildApply(wanted);
    g_calls.captureSizes.clear();
    ASSERT_TRUE(host.manager.SendBroadcastData(&own, 1, apply.data(), (uint16_t)apply.size()));
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return !g_calls.captureSizes.empty(); }, 5000));
    EXPECT_EQ((std::vector<std::string>{"1 640 480"}), g_calls.captureSizes);
    EXPECT_EQ(4u, g_Settings.videoSize);
}

// The recording: the recorder, the panes and the dispatcher read the
// window's recording state; the timer dialog shows while it runs and its
// "完成" ends it.
TEST_F(ProgramPanes, RecordingIsTheWindowsAndTheTimerEndsIt)
{
    Open(1);
    HostJoins(1);
    // The timer is a dialog that stays open while the recording runs: the
    // closer of stray dialogs would end the recording through it.
    boxes.reset();
    EXPECT_FALSE(panes->IsRecording());
    frame->SendMessage(WM_COMMAND, ID_RECORD);
    ASSERT_TRUE(frame->IsRecording());
    EXPECT_TRUE(panes->IsRecording());
    CDlgRecordTimer& timer = panes->Settings().Dialogs().RecordTimer();
    EXPECT_TRUE(timer.IsWindowVisible());

    // A line of the other participant goes into the recording.
    const char* line = "a line to record";
    std::vector<uint8_t> payload(21 + strlen(line), 0);
    payload[16] = 10;
    strcpy((char*)payload.data() + 20, line);
    ASSERT_TRUE(host.manager.SendChat(0, 0, payload.data(), (uint16_t)payload.size()));
    auto recorded = [&] {
        for (const std::string& call : g_calls.recorder)
            if (call.find("chat 0 ") == 0 && call.find(line) != std::string::npos)
                return true;
        return false;
    };
    // (Through the server and the window's message queue: generous on a
    // loaded machine.)
    EXPECT_TRUE(CTestKit::PumpUntil(recorded, 15000)) << [&] {
        std::string calls;
        for (const std::string& call : g_calls.recorder)
            calls += call + "\n";
        return calls;
    }();

    CTestKit::ClickButton(timer.GetDlgItem(IDCANCEL)->GetSafeHwnd());
    EXPECT_FALSE(frame->IsRecording());
    EXPECT_FALSE(panes->IsRecording());
    EXPECT_FALSE(timer.IsWindowVisible());
    EXPECT_EQ("stop", g_calls.recorder.back());

    // Ended by the record command instead, the timer goes too.
    frame->SendMessage(WM_COMMAND, ID_RECORD);
    ASSERT_TRUE(frame->IsRecording());
    EXPECT_TRUE(timer.IsWindowVisible());
    frame->SendMessage(WM_COMMAND, ID_RECORD);
    EXPECT_FALSE(frame->IsRecording());
    EXPECT_FALSE(timer.IsWindowVisible());
}

// The capture hot key: a region of the screen saved into the client's Temp
// folder opens in the whiteboard page (the own user holds the control).
TEST_F(ProgramPanes, CaptureHotKeyPutsTheRegionIntoTheWhiteboard)
{
    CMainFrame::SetWhiteboardFactory(&FakeBoard::Make);
    const std::string folder = GetAppDirectory() + "Temp";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string picture = folder + "\\CapturePicture.bmp";
    ::DeleteFileA(picture.c_str());
    Open(2);
    g_UserTable.FindUser(g_LoginInfo.userId)->controlState = 2;
    boxes.reset();

    // Escape: nothing saved, nothing opened.
    EXPECT_TRUE(WhileModal([&] { frame->SendMessage(WM_HOTKEY, 256, 0); }, CoversTheScreen,
                           [](HWND capture) { ::SendMessage(capture, WM_COMMAND, IDCANCEL, 0); }));
    EXPECT_TRUE(FakeBoard::opened.empty());

    // A region dragged and double-clicked.
    EXPECT_TRUE(
        WhileModal([&] { frame->SendMessage(WM_HOTKEY, 256, 0); }, CoversTheScreen, TakeRegion));
    EXPECT_EQ((std::vector<std::string>{picture}), FakeBoard::opened);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(picture.c_str()));
    ::DeleteFileA(picture.c_str());
}

// The real whiteboard page: its tool panel's capture button reaches the
// main window, whose region capture becomes a document of the board, and
// only while the own user holds the meeting control.
TEST_F(ProgramPanes, WhiteboardCaptureButtonPutsTheRegionIntoTheBoard)
{
    RegisterWhiteboardFrame();
    // The pictures stay here: no file-transfer library in this test.
    SetWhiteboardTransfersFactory(nullptr);
    const std::string folder = GetAppDirectory() + "Temp";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string picture = folder + "\\CapturePicture.bmp";
    ::DeleteFileA(picture.c_str());
    Open(2);
    boxes.reset();
    CWBMeetingFrame* board = static_cast<CWBMeetingFrame*>(frame->Whiteboard());
    ASSERT_NE(nullptr, board);
    HWND button = ::GetDlgItem(board->ToolPanel().GetSafeHwnd(), IDC_WB_T_CAPTURE);
    ASSERT_NE(nullptr, button);
    const int before = board->Tabs().GetTabCount();

    // Without the meeting control the region is taken but not opened.
    g_UserTable.FindUser(g_LoginInfo.userId)->controlState = 0;
    EXPECT_TRUE(WhileModal([&] { CTestKit::ClickButton(button); }, CoversTheScreen, TakeRegion));
    EXPECT_EQ(before, board->Tabs().GetTabCount());

    // With it, the region becomes the board's shown document.
    g_UserTable.FindUser(g_LoginInfo.userId)->controlState = 2;
    EXPECT_TRUE(WhileModal([&] { CTestKit::ClickButton(button); }, CoversTheScreen, TakeRegion));
    EXPECT_EQ(before + 1, board->Tabs().GetTabCount());
    ASSERT_NE(nullptr, board->ActiveView());
    EXPECT_EQ("CapturePicture", std::string(board->ActiveView()->GetTitle()));
    EXPECT_EQ(1, board->ActiveView()->GetPageCount());

    Close();
    SetWhiteboardTransfersFactory(&CWBFrameTransfers::MakeForClient);
    ::DeleteFileA(picture.c_str());
}

} // namespace
