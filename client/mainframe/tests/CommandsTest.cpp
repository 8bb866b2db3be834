#include <gtest/gtest.h>

#include "CLanguageManager.h"
#include "CMainFrameCommands.h"
#include "IRecorder.h"
#include "MainFrameFixture.h"
#include "MainFrameMessages.h"

#include <algorithm>

using namespace mainframetest;

namespace {
// Key flags of a key going down and of its release.
const LPARAM kPressed = 0x00000001;
const LPARAM kReleased = (LPARAM)0xC0000001;

// The participant alice (7) in a chair-controlled meeting, with role and
// meeting control as given.
void SetOwn(Fixture& f, uint8_t role, uint8_t mode, uint8_t control)
{
    f.login.role = role;
    f.users.SetRole(7, role);
    f.login.meetingMode = mode;
    f.users.SetControlState(7, control);
}

void Command(Fixture& f, UINT id) { f.frame->SendMessage(WM_COMMAND, id, 0); }

std::string Joined(const std::vector<std::string>& calls)
{
    std::string out;
    for (const std::string& c : calls)
        out += (out.empty() ? "" : " ") + c;
    return out;
}

uint32_t U32At(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24;
}

// A folder of the test's own under the system's temporary folder.
std::string TestFolder(const char* name)
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + name + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}
} // namespace

TEST(FrameCommands, LayoutCommandsNeedTheControlRight)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    auto* wall = static_cast<CStandInVideoWall*>(f.frame->VideoWall());
    struct Case
    {
        UINT id;
        bool right;
        uint8_t displayMode, split, fullScreenWindow, wallSplit;
    } cases[] = {
        // Split commands: the videos at the split, the window over the screen for the full ones.
        {ID_SPLIT_4, true, DISPLAY_VIDEOS, 4, 0, 4},
        {ID_SPLIT_8, true, DISPLAY_VIDEOS, 8, 0, 8},
        {ID_SPLIT_25, true, DISPLAY_VIDEOS, 25, 0, 25},
        {ID_SPLIT_9_FULL, true, DISPLAY_VIDEOS, 9, 1, 9},
        {ID_SPLIT_25_FULL, true, DISPLAY_VIDEOS, 25, 1, 25},
        // Window modes: videos, data window, videos over the screen, data only over the screen.
        {ID_WINDOW_MODE_1, true, DISPLAY_VIDEOS, 4, 0, 4},
        {ID_WINDOW_MODE_2, true, DISPLAY_DATA, 0, 0, 0},
        {ID_WINDOW_MODE_3, true, DISPLAY_VIDEOS, 4, 1, 4},
        {ID_WINDOW_MODE_4, true, DISPLAY_DATA_ONLY, 0, 1, 0},
        // Without the right nothing changes.
        {ID_SPLIT_16, false, DISPLAY_DATA, 0, 0, 0},
        {ID_SPLIT_16_FULL, false, DISPLAY_DATA, 0, 0, 0},
        {ID_WINDOW_MODE_1, false, DISPLAY_DATA, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "id " << c.id << " right " << c.right);
        SetOwn(f, 1, 0, 0);
        f.frame->ShowDataWindow();
        SetOwn(f, 0, c.right ? 0 : 2, 0);
        Command(f, c.id);
        EXPECT_EQ(c.displayMode, f.frame->GetLayout().displayMode);
        EXPECT_EQ(c.split, f.frame->GetLayout().split);
        EXPECT_EQ(c.fullScreenWindow, f.frame->GetLayout().fullScreenWindow);
        EXPECT_EQ(c.wallSplit, wall->GetSplitCount());
    }
    // The page commands show their page of the tab strip, with the right only.
    SetOwn(f, 0, 0, 0);
    f.frame->ShowDataWindow();
    Command(f, ID_PAGE_BROWSING);
    EXPECT_EQ(2, f.frame->TabStrip().GetCurPage());
    SetOwn(f, 0, 2, 0);
    Command(f, ID_PAGE_WHITEBOARD);
    EXPECT_EQ(2, f.frame->TabStrip().GetCurPage());
}

TEST(FrameCommands, ChairCommandsSendTheirMessagesOnlyForTheChair)
{
    struct Case
    {
        UINT id;
        uint8_t role;
        uint32_t locked;        // the meeting-locked flag before
        bool otherHoldsControl; // another participant holds the meeting control
        uint16_t code;          // 0: nothing sent
        int firstByte;          // the sent value, -1 for the state record
        bool layoutControl;     // this client holds the layout control after
        uint8_t localMode;
    } cases[] = {
        {ID_CHAIR_MODE, 1, 0, false, 2053, 2, true, 2},
        {ID_CHAIR_MODE, 1, 0, true, 2053, 2, false, 2},
        {ID_FREE_MODE, 1, 0, false, 2053, 0, false, 0},
        {ID_LOCK_MEETING, 1, 0, false, 2054, 1, false, 0},
        {ID_LOCK_MEETING, 1, 1, false, 2054, 0, false, 0},
        {ID_FORBID_FILES, 1, 0, false, 4357, -1, false, 0},
        {ID_CHAIR_MODE, 0, 0, false, 0, 0, false, 0},
        {ID_FREE_MODE, 3, 0, false, 0, 0, false, 0},
        {ID_LOCK_MEETING, 0, 0, false, 0, 0, false, 0},
        {ID_FORBID_FILES, 0, 0, false, 0, 0, false, 0},
        {ID_FORBID_PRIVATE_CHAT, 2, 0, false, 0, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "id " << c.id << " role " << (int)c.role);
        Fixture f;
        if (c.otherHoldsControl) {
            f.users.AddUser(9, "bob", 0);
            f.users.SetControlState(9, 2);
        }
        ASSERT_NE(nullptr, f.Open(false));
        SetOwn(f, c.role, 0, 0);
        *f.frame->MeetingLockedFlag() = c.locked;
        Command(f, c.id);
        if (!c.code) {
            EXPECT_TRUE(f.senders.sent.empty());
            EXPECT_FALSE(f.frame->HoldsLayoutControl());
            continue;
        }
        ASSERT_EQ(1u, f.senders.sent.size());
        EXPECT_EQ(c.code, f.senders.sent[0].code);
        if (c.firstByte >= 0)
            EXPECT_EQ(c.firstByte, f.senders.sent[0].bytes[0]);
        EXPECT_EQ(c.layoutControl, f.frame->HoldsLayoutControl());
        EXPECT_EQ(c.localMode, f.login.meetingMode);
    }
}

TEST(FrameCommands, MeetingSwitchesAreInvertedAndSentWhole)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    SetOwn(f, 1, 0, 0);
    unsigned char* state = f.frame->MeetingState();
    strcpy((char*)state + 1304, "Notice");
    struct Step
    {
        UINT id;
        uint32_t files, privateChat;
    } steps[] = {
        {ID_FORBID_FILES, 1, 0},
        {ID_FORBID_PRIVATE_CHAT, 1, 1},
        {ID_FORBID_FILES, 0, 1},
    };
    for (const Step& s : steps) {
        Command(f, s.id);
        ASSERT_FALSE(f.senders.sent.empty());
        const std::vector<unsigned char>& sent = f.senders.sent.back().bytes;
        EXPECT_EQ(s.files, U32At(&sent[1384])) << s.id;
        EXPECT_EQ(s.privateChat, U32At(&sent[1388])) << s.id;
        EXPECT_STREQ("Notice", (const char*)&sent[1304]);
        // The menu's check follows the held record.
        bool enabled = false, checked = false;
        ASSERT_TRUE(f.frame->GetCommandState(ID_FORBID_FILES, &enabled, &checked));
        EXPECT_EQ(s.files != 0, checked);
    }
    EXPECT_EQ(3u, f.senders.sent.size());
}

TEST(FrameCommands, MenuStatesOfTheChairAgainstOthers)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    const UINT chairOnly[] = {ID_CHAIR_MODE,       ID_FREE_MODE,    ID_LOCK_MEETING,
                              ID_MEETING_SETTINGS, ID_FORBID_FILES, ID_FORBID_PRIVATE_CHAT};
    for (uint8_t role : {1, 0, 2, 3}) {
        SetOwn(f, role, 0, 0);
        for (UINT id : chairOnly) {
            bool enabled = false, checked = false;
            ASSERT_TRUE(f.frame->GetCommandState(id, &enabled, &checked)) << id;
            EXPECT_EQ(role == 1, enabled) << "role " << (int)role << " id " << id;
        }
    }
    // The record item is checked while recording, the settings item while the
    // device dialog shows.
    bool enabled = false, checked = true;
    ASSERT_TRUE(f.frame->GetCommandState(ID_RECORD, &enabled, &checked));
    EXPECT_TRUE(enabled);
    EXPECT_FALSE(checked);
    f.frame->StartRecording();
    ASSERT_TRUE(f.frame->GetCommandState(ID_RECORD, &enabled, &checked));
    EXPECT_TRUE(checked);
    Command(f, ID_SYSTEM_SETTINGS);
    ASSERT_TRUE(f.frame->GetCommandState(ID_SYSTEM_SETTINGS, &enabled, &checked));
    EXPECT_TRUE(checked);
    Command(f, ID_SYSTEM_SETTINGS);
    ASSERT_TRUE(f.frame->GetCommandState(ID_SYSTEM_SETTINGS, &enabled, &checked));
    EXPECT_FALSE(checked);
    EXPECT_NE(std::string::npos, Joined(f.journal).find("ShowDeviceDialog(1) ShowDeviceDialog(0)"));
}

TEST(FrameCommands, FilesProgramsAndDialogs)
{
    CTestKit::MessageBoxes boxes(IDOK);
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    SetOwn(f, 1, 0, 0);
    // Giving the control up needs the meeting control, asking for it needs its
    // absence: the menu's state guards them. Sending a file needs neither
    // (only the file popup greys it, see the popup states).
    struct Case
    {
        UINT id;
        const char* call;  // the target call, or empty
        const char* start; // the program line started, or empty
        uint8_t control = 2;
    } cases[] = {
        {ID_SEND_FILE, "StartFileSend", ""},
        {ID_SEND_FILE, "StartFileSend", "", 0},
        {ID_OPEN_RECEIVE_FOLDER, "OpenReceiveFolder", ""},
        {ID_REQUEST_CONTROL, "RequestControl", "", 0},
        {ID_REQUEST_CONTROL, "", "", 2},
        {ID_RELEASE_CONTROL, "ReleaseControl", ""},
        {ID_RELEASE_CONTROL, "", "", 0},
        {ID_ABOUT, "ShowAbout", ""},
        {ID_PAN_TILT_SETTINGS, "ShowPanTiltSettings", ""},
        {ID_SCREEN_SETTINGS, "ShowScreenConfig", ""},
        {ID_MEETING_SETTINGS, "ShowMeetingSettings", ""},
        {ID_LANGUAGE_DIALOG, "ShowLanguageDialog", ""},
        // Paths with spaces are quoted; the folder's quote is not escaped by its backslash.
        {ID_OPEN_PLAYER, "", "\"C:\\Program Files\\Halvern\\Ovrant.exe\""},
        {ID_RECORDINGS_FOLDER, "", "Explorer \"C:\\Program Files\\Halvern\\Record\""},
    };
    for (const Case& c : cases) {
        f.journal.clear();
        f.launcher.starts.clear();
        SetOwn(f, 1, 0, c.control);
        Command(f, c.id);
        EXPECT_EQ(c.call, Joined(f.journal)) << c.id;
        EXPECT_EQ(std::string(c.start), f.launcher.starts.empty() ? "" : f.launcher.starts[0])
            << c.id;
    }
    EXPECT_TRUE(boxes.Shown().empty());

    // Sending files while the meeting forbids it: the message, no transfer.
    f.journal.clear();
    SetOwn(f, 1, 0, 2);
    f.frame->MeetingState()[1384] = 1;
    Command(f, ID_SEND_FILE);
    EXPECT_TRUE(f.journal.empty());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("会议禁止发送文件!", boxes.Shown()[0].text);

    // Remote control ends only when this computer is controlled.
    f.journal.clear();
    Command(f, ID_STOP_CONTROLLED);
    EXPECT_TRUE(f.journal.empty());
    f.targets.controllingUser = 0x01020304;
    const size_t before = f.senders.sent.size();
    Command(f, ID_STOP_CONTROLLED);
    ASSERT_EQ(before + 1, f.senders.sent.size());
    EXPECT_EQ(2080, f.senders.sent.back().code);
    EXPECT_EQ((std::vector<unsigned char>{4, 3, 2, 1, 0}), f.senders.sent.back().bytes);
    EXPECT_EQ("EndControlled", Joined(f.journal));
}

TEST(FrameCommands, LanguageItemsSelectTheLanguageAndRetitleTheWindows)
{
    if (g_LangManager.GetCount() == 0)
        g_LangManager.ScanLanguageFiles();
    int english = -1, chinese = -1;
    for (int i = 0; i < g_LangManager.GetCount(); ++i)
        (g_LangManager.GetCodePage(i) == 936 ? chinese : english) = i;
    ASSERT_GE(english, 0);
    ASSERT_GE(chinese, 0);
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    auto firstTab = [&] {
        char text[64] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        f.frame->TabStrip().GetItem(0, &item);
        return std::string(text);
    };
    Command(f, ID_LANGUAGE_FIRST + english);
    EXPECT_EQ(english, g_LangManager.GetCurrentIndex());
    EXPECT_EQ("Whiteboard", firstTab());
    bool enabled = false, checked = false;
    ASSERT_TRUE(f.frame->GetCommandState(ID_LANGUAGE_FIRST + english, &enabled, &checked));
    EXPECT_TRUE(checked);
    Command(f, ID_LANGUAGE_FIRST + chinese);
    EXPECT_EQ(chinese, g_LangManager.GetCurrentIndex());
    EXPECT_EQ("白板", firstTab());
    // An item past the languages is no command.
    EXPECT_FALSE(f.frame->Commands().Handles(ID_LANGUAGE_FIRST + g_LangManager.GetCount()));
}

TEST(FrameCommands, FunctionKeysActOnReleaseWithTheirPopups)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    CRect client;
    f.frame->GetClientRect(&client);
    CPoint at(client.Width() / 2 - 20, client.Height() / 2 - 30);
    f.frame->ClientToScreen(&at);
    struct Case
    {
        UINT key;
        uint8_t role, mode, control;
        CMainFrame::POPUP popup; // the popup shown
        bool shown;
        UINT item; // one item of it, and its state
        const char* state;
    } cases[] = {
        {VK_F2, 0, 0, 0, CMainFrame::POPUP_WINDOW_MODE, true, ID_WINDOW_MODE_3, "on"},
        {VK_F2, 0, 2, 0, CMainFrame::POPUP_WINDOW_MODE, true, ID_WINDOW_MODE_3, "grey"},
        {VK_F3, 0, 0, 0, CMainFrame::POPUP_SPLIT, true, ID_SPLIT_6, "on"},
        {VK_F3, 0, 2, 0, CMainFrame::POPUP_SPLIT, true, ID_SPLIT_6, "grey"},
        {VK_F5, 0, 0, 0, CMainFrame::POPUP_REQUEST, true, ID_REQUEST_CONTROL, "on"},
        {VK_F5, 0, 0, 2, CMainFrame::POPUP_REQUEST, true, ID_RELEASE_CONTROL, "on"},
        {VK_F5, 0, 0, 2, CMainFrame::POPUP_REQUEST, true, ID_REQUEST_CONTROL, "grey"},
        {VK_F5, 3, 0, 0, CMainFrame::POPUP_REQUEST, false, 0, ""},
        {VK_F6, 1, 2, 0, CMainFrame::POPUP_MEETING_MODE, true, ID_CHAIR_MODE, "on+check"},
        {VK_F6, 0, 0, 0, CMainFrame::POPUP_MEETING_MODE, true, ID_MEETING_MODE_1, "grey"},
        {VK_F9, 0, 0, 2, CMainFrame::POPUP_DATA_WINDOW, true, ID_DATA_WINDOW, "on"},
        {VK_F9, 0, 0, 0, CMainFrame::POPUP_DATA_WINDOW, true, ID_PAGE_WHITEBOARD, "on+check"},
        {VK_F10, 0, 0, 0, CMainFrame::POPUP_FILE, true, ID_SEND_FILE, "grey"},
        {VK_F10, 0, 0, 2, CMainFrame::POPUP_FILE, true, ID_SEND_FILE, "on"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "key " << c.key << " role " << (int)c.role << " mode "
                                          << (int)c.mode << " control " << (int)c.control);
        SetOwn(f, c.role, c.mode, c.control);
        f.targets.popups.clear();
        // A key going down does nothing.
        EXPECT_EQ(1, f.frame->SendMessage(WM_KEY_NOTICE, c.key, kPressed));
        EXPECT_TRUE(f.targets.popups.empty());
        EXPECT_EQ(1, f.frame->SendMessage(WM_KEY_NOTICE, c.key, kReleased));
        if (!c.shown) {
            EXPECT_TRUE(f.targets.popups.empty());
            continue;
        }
        ASSERT_EQ(1u, f.targets.popups.size());
        const FakeTargets::Popup& p = f.targets.popups[0];
        ASSERT_EQ(f.frame->GetPopup(c.popup)->GetSafeHmenu(), p.menu);
        EXPECT_EQ(at.x, p.at.x);
        EXPECT_EQ(at.y, p.at.y);
        EXPECT_EQ(f.frame->VideoWall()->Window()->GetSafeHwnd(), p.owner);
        const UINT s = ::GetMenuState(p.menu, c.item, MF_BYCOMMAND);
        EXPECT_EQ(c.state,
                  std::string(s & MF_GRAYED ? "grey" : "on") + (s & MF_CHECKED ? "+check" : ""));
    }
    // The split popup checks the split count even over the whole screen.
    SetOwn(f, 1, 0, 0);
    f.frame->ApplyLayoutCode(11); // split 6 over the screen
    f.targets.popups.clear();
    f.frame->SendMessage(WM_KEY_NOTICE, VK_F3, kReleased);
    ASSERT_EQ(1u, f.targets.popups.size());
    EXPECT_TRUE(::GetMenuState(f.targets.popups[0].menu, ID_SPLIT_6, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(::GetMenuState(f.targets.popups[0].menu, ID_SPLIT_4, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(FrameCommands, FunctionKeysThatRunCommands)
{
    CTestKit::MessageBoxes boxes(IDCANCEL);
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    // F4 the device dialog, F7 the recording, F11 the lock for the chair.
    SetOwn(f, 1, 0, 0);
    f.frame->SendMessage(WM_KEY_NOTICE, VK_F4, kReleased);
    f.frame->SendMessage(WM_KEY_NOTICE, VK_F7, kReleased);
    f.frame->SendMessage(WM_KEY_NOTICE, VK_F11, kReleased);
    EXPECT_EQ(0u,
              Joined(f.journal).find("ShowDeviceDialog(1) AskRecordingPath(Room A) StartRecord("));
    EXPECT_TRUE(f.frame->IsRecording());
    ASSERT_EQ(1u, f.senders.sent.size());
    EXPECT_EQ(2054, f.senders.sent[0].code);
    // F8: the wall's popup, with the control right only.
    f.journal.clear();
    SetOwn(f, 0, 2, 0);
    f.frame->SendMessage(WM_KEY_NOTICE, VK_F8, kReleased);
    EXPECT_TRUE(f.journal.empty());
    SetOwn(f, 0, 2, 2);
    f.frame->SendMessage(WM_KEY_NOTICE, VK_F8, kReleased);
    EXPECT_EQ("PopupVideoMenu", Joined(f.journal));
    // F1 asks before leaving; Cancel keeps the window.
    f.frame->SendMessage(WM_KEY_NOTICE, VK_F1, kReleased);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("是否真的要退出会议室?", boxes.Shown()[0].text);
    EXPECT_EQ("系统提示", boxes.Shown()[0].caption);
    CTestKit::PumpFor(100);
    EXPECT_TRUE(f.Alive());
}

TEST(FrameCommands, CameraKeysSteerWithAltAndStopOnRelease)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    bool alt = false;
    f.frame->Commands().SetAltKeyTest([&] { return alt; });
    struct Case
    {
        UINT key;
        LPARAM flags;
        bool alt;
        const char* call;
    } cases[] = {
        {VK_LEFT, kPressed, true, "Camera(1)"},
        {VK_RIGHT, kPressed, true, "Camera(2)"},
        {VK_UP, kPressed, true, "Camera(3)"},
        {VK_DOWN, kPressed, true, "Camera(4)"},
        {'T', kPressed, true, "Camera(5)"},
        {'W', kPressed, true, "Camera(6)"},
        {VK_LEFT, kPressed, false, ""},
        {'W', kReleased, false, "StopCamera"},
        {VK_UP, 0, true, "StopCamera"},
        {'A', kPressed, true, ""},
        {'A', kReleased, true, ""},
        {VK_F12, kReleased, true, ""},
    };
    for (const Case& c : cases) {
        f.journal.clear();
        alt = c.alt;
        EXPECT_EQ(1, f.frame->SendMessage(WM_KEY_NOTICE, c.key, c.flags));
        EXPECT_EQ(c.call, Joined(f.journal)) << c.key << " " << c.flags;
    }
}

TEST(FrameRecording, StartsOnlyOnceTheRecorderAccepts)
{
    struct Case
    {
        const char* path; // the save dialog's answer ("": cancelled)
        bool startResult;
        const char* error; // the recorder's text for its failure
        const char* calls;
        const char* box;
        bool recording;
    } cases[] = {
        {"C:\\rec\\a.Pellrund", true, "",
         "AskRecordingPath(Room_A_1) StartRecord(C:\\rec\\a.Pellrund) StartRecordTimer "
         "SetAudioRecord(1) "
         "RecordVideos(1) SplitVideoWnd(0) ShowVideoWnd(1) ShowBoardWnd(1) ShowChatWnd(1) "
         "WriteChatData(alice,1) WriteChatData(bob,1) AddAudio(9) WriteChatData(carol,1)",
         nullptr, true},
        {"", true, "", "AskRecordingPath(Room_A_1)", nullptr, false},
        {"C:\\rec\\a.Pellrund", false, "磁盘已满",
         "AskRecordingPath(Room_A_1) StartRecord(C:\\rec\\a.Pellrund) StopRecord", "磁盘已满",
         false},
        {"C:\\rec\\a.Pellrund", false, "",
         "AskRecordingPath(Room_A_1) StartRecord(C:\\rec\\a.Pellrund) StopRecord", "录制失败",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CTestKit::MessageBoxes boxes(IDOK);
        Fixture f;
        // The room's name holds characters a file name cannot.
        strcpy(f.login.roomName, "Room/A:1");
        f.users.AddUser(9, "bob", 0);
        f.users.SetSpeakState(9, 2);
        f.users.AddUser(10, "carol", 0);
        f.users.SetSpeakState(10, 1);
        ASSERT_NE(nullptr, f.Open(false));
        f.targets.recordingPath = c.path;
        f.recorder.startResult = c.startResult;
        f.recorder.errorText = c.error;
        Command(f, ID_RECORD);
        EXPECT_EQ(std::string(c.calls) + " RedrawRecordButton", Joined(f.journal));
        EXPECT_EQ(c.recording, f.frame->IsRecording());
        EXPECT_EQ(c.recording, f.frame->Commands().Recorder().IsRecording());
        ASSERT_EQ(c.box ? 1u : 0u, boxes.Shown().size());
        if (c.box)
            EXPECT_EQ(c.box, boxes.Shown()[0].text);
    }
}

TEST(FrameRecording, WritesWhileRecordingAndStopsInOrder)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    IRecorder& recorder = f.frame->Commands().Recorder();
    const unsigned char board[] = {1, 2, 3};
    // Nothing reaches the recorder before the recording starts.
    recorder.WriteChatData("line\r\n", 0);
    recorder.AddAudio(7);
    CMainFrame::OnWhiteboardSend(board, sizeof board, f.frame);
    EXPECT_TRUE(f.journal.empty());

    f.frame->StartRecording();
    ASSERT_TRUE(f.frame->IsRecording());
    ASSERT_NE(nullptr, f.recorder.audioCallback);
    const AUDIO_RECORD_CALLBACK callback = f.recorder.audioCallback;
    void* const context = f.recorder.audioContext;
    f.journal.clear();
    // The audio manager's callback, the dispatcher's writes, the board's records.
    EXPECT_EQ(0, f.recorder.audioCallback(f.recorder.audioContext, 77, 9, "pcm", 3));
    recorder.WriteChatData("line\r\n", 0);
    recorder.DelAudio(9);
    CMainFrame::OnWhiteboardSend(board, sizeof board, f.frame);
    EXPECT_EQ("WriteAudioData(pcm,77) WriteChatData(line\r\n,0) DelAudio(9) WriteBoardData(3)",
              Joined(f.journal));
    EXPECT_EQ(2u, f.link.board.size());

    f.journal.clear();
    f.frame->StopRecording();
    EXPECT_EQ("StopRecord SetAudioRecord(0) RecordVideos(0) HideRecordTimer", Joined(f.journal));
    EXPECT_FALSE(f.frame->IsRecording());
    // A late callback of the audio manager writes nothing.
    f.journal.clear();
    EXPECT_EQ(nullptr, f.recorder.audioCallback);
    callback(context, 77, 9, "pcm", 3);
    f.frame->StopRecording();
    EXPECT_TRUE(f.journal.empty());
}

TEST(FrameRecording, TheRecorderLearnsEachLayoutChangeOnce)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    SetOwn(f, 1, 0, 0);
    f.frame->StartRecording();
    struct Step
    {
        unsigned code;
        const char* told;
    } steps[] = {
        {1, "ShowVideoWnd(0) ShowChatWnd(0)"},                   // data only
        {1, ""},                                                 // nothing new
        {5, "SplitVideoWnd(6) ShowVideoWnd(1) ShowBoardWnd(0)"}, // videos at 6
        {0, "SplitVideoWnd(0) ShowBoardWnd(1) ShowChatWnd(1)"},  // data window
    };
    for (const Step& s : steps) {
        f.journal.clear();
        f.frame->ApplyLayoutCode(s.code);
        EXPECT_EQ(s.told, Joined(f.journal)) << s.code;
    }
    // Full-screen video shows the video alone.
    f.journal.clear();
    f.frame->ShowUserFullScreen(7, true);
    EXPECT_EQ("ShowBoardWnd(0) ShowChatWnd(0)", Joined(f.journal));
}

TEST(FrameClose, WhileRecordingTheRecordingEndsBeforeTheConnectionCloses)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    f.frame->StartRecording();
    f.journal.clear();
    f.frame->PostMessage(WM_CLOSE);
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return !f.Alive(); }, 3000));
    f.frame = nullptr;
    EXPECT_EQ(1, f.media.stops);
    EXPECT_EQ("StopRecord SetAudioRecord(0) RecordVideos(0) HideRecordTimer Close ClearVideos "
              "StopTransfers",
              Joined(f.journal));
}

TEST(FrameClose, ExitQuestionAndCaptionButtons)
{
    CTestKit::MessageBoxes boxes(IDCANCEL);
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    // The caption's close button and the exit command ask; Cancel stays.
    f.frame->OnCloseButton();
    Command(f, ID_EXIT);
    CTestKit::PumpFor(100);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ("是否真的要退出会议室?", boxes.Shown()[1].text);
    EXPECT_TRUE(f.Alive());
    EXPECT_EQ(0, f.link.closes);
    // The maximise button opens the help pages.
    f.frame->OnMaxRestore();
    Command(f, ID_ONLINE_HELP);
    EXPECT_EQ(std::vector<std::string>(2, CMainFrameCommands::kHelpAddress), f.launcher.opens);
    // The minimise button minimises.
    Command(f, ID_MINIMIZE_BUTTON);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !!f.frame->IsIconic(); }, 2000));
    // OK closes the window.
    boxes.SetAnswer(IDOK);
    Command(f, ID_EXIT);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !f.Alive(); }, 3000));
    f.frame = nullptr;
    EXPECT_EQ(1, f.link.closes);
}

TEST(FrameCommands, ScreenCaptureGoesThroughTheTempFolderIntoTheWhiteboard)
{
    const std::string folder = TestFolder("halvern_capture_test");
    ::CreateDirectoryA((folder + "Temp").c_str(), nullptr);
    const std::string picture = folder + "Temp\\CapturePicture.bmp";
    ::DeleteFileA(picture.c_str());
    Fixture f;
    f.programPath = folder + "Halvern.exe";
    ASSERT_NE(nullptr, f.Open(false));
    EXPECT_EQ(picture, f.frame->Commands().CapturePicturePath());
    struct Case
    {
        uint8_t control;
        bool captured;
        bool opened;
    } cases[] = {
        {2, true, true},
        {0, true, false},  // without the meeting control
        {2, false, false}, // the capture was cancelled
    };
    // The call itself, the capture hot key (256) and the whiteboard's
    // capture button (command 2135, as the board passes it up) alike.
    enum Way { CALL, HOT_KEY, BUTTON };
    for (const Case& c : cases) {
        for (Way way : {CALL, HOT_KEY, BUTTON}) {
            ::DeleteFileA(picture.c_str());
            f.journal.clear();
            SetOwn(f, 0, 0, c.control);
            f.targets.captureResult = c.captured;
            if (way == HOT_KEY)
                EXPECT_EQ(0, f.frame->SendMessage(WM_HOTKEY, 256, 0));
            else if (way == BUTTON)
                f.frame->SendMessage(WM_COMMAND, 2135, 0);
            else
                f.frame->CaptureScreenToFile();
            std::string expected = "CaptureScreenRegion(" + picture + ")";
            if (c.opened)
                expected += " OpenWhiteboard(" + picture + ")";
            EXPECT_EQ(expected, Joined(f.journal)) << (int)c.control << c.captured << way;
        }
    }
    // Another hot key is not the capture's.
    f.journal.clear();
    f.frame->SendMessage(WM_HOTKEY, 257, 0);
    EXPECT_TRUE(f.journal.empty());
    // A file that is not there is not opened.
    f.journal.clear();
    SetOwn(f, 0, 0, 2);
    f.frame->OpenInWhiteboard((folder + "missing.bmp").c_str());
    EXPECT_TRUE(f.journal.empty());
    ::DeleteFileA(picture.c_str());
    ::RemoveDirectoryA((folder + "Temp").c_str());
    ::RemoveDirectoryA(folder.c_str());
}

TEST(FrameCommands, BigVideoSplitFollowsTheWallsSize)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    auto* wall = static_cast<CStandInVideoWall*>(f.frame->VideoWall());
    struct Case
    {
        uint8_t split;   // the split before
        int windows;     // the wall's windows
        uint32_t layout; // the layout's split after
        uint8_t wallSplit;
    } cases[] = {
        {9, 3, 262, 6},   {4, 6, 262, 6}, {16, 7, 12, 12},
        {25, 20, 12, 12}, {6, 20, 6, 6},  {12, 2, 12, 12},
    };
    for (const Case& c : cases) {
        f.frame->SetSplitMode(c.split);
        wall->SetWindowCount(c.windows);
        f.frame->SetBigVideoUser(42);
        EXPECT_EQ(c.layout, f.frame->GetLayout().split) << (int)c.split << " " << c.windows;
        EXPECT_EQ(c.wallSplit, wall->GetSplitCount()) << (int)c.split << " " << c.windows;
        EXPECT_EQ(42u, wall->GetMainVideoUser());
    }
}
