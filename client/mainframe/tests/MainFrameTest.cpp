#include <gtest/gtest.h>

#include "MainFrameFixture.h"
#include "MainFrameMessages.h"
#include "WireWriter.h"

using namespace mainframetest;

namespace {
std::vector<unsigned char> Message(uint16_t code, size_t length)
{
    std::vector<unsigned char> m(length, 0);
    WireWriter w(m.data(), m.size());
    w.U16(code);
    return m;
}

std::vector<unsigned char> Layout(uint8_t fsVideo, uint8_t fsWindow, uint8_t mode, uint8_t page,
                                  uint32_t split, uint32_t user)
{
    WINDOW_LAYOUT l{fsVideo, fsWindow, mode, page, split, user};
    std::vector<unsigned char> bytes(12);
    WriteWindowLayout(l, bytes.data());
    return bytes;
}
} // namespace

TEST(MainFrame, CreatesItsPartsInOrder)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    const std::vector<int> expected = {PANE_DEVICE,
                                       PANE_DEVICE_REMOTE,
                                       PANE_CHAT,
                                       RecordingPanes::WALL,
                                       PANE_LEFT,
                                       PANE_SCREEN_DIALOG,
                                       PANE_PAGE_WHITEBOARD,
                                       PANE_PAGE_PRESENTATION,
                                       PANE_PAGE_BROWSING,
                                       PANE_PAGE_NET_DISK,
                                       PANE_PAGE_SCREEN,
                                       PANE_PAGE_VOTES,
                                       PANE_PRINT_PROGRESS,
                                       PANE_CAMERA,
                                       PANE_PAN_TILT,
                                       PANE_SCREEN_CONFIG,
                                       PANE_ROOM_LIST,
                                       PANE_RECORD_TIMER};
    EXPECT_EQ(expected, f.panes.order);

    // The menu bar took the window's menu: five buttons, no menu on the window.
    EXPECT_EQ(nullptr, ::GetMenu(f.frame->GetSafeHwnd()));
    ASSERT_EQ(5, f.frame->MenuBar().GetButtonCount());
    EXPECT_STREQ("文件", f.frame->MenuBar().GetButtonTitle(0));
    EXPECT_STREQ("帮助", f.frame->MenuBar().GetButtonTitle(4));
    // The room list command is gone from the management menu.
    HMENU manage = ::GetSubMenu(f.frame->MenuBar().GetMenuHandle(), 2);
    EXPECT_EQ(-1, ::GetMenuState(manage, ID_ROOM_LIST, MF_BYCOMMAND));

    // The tab strip holds the six pages, the first one shown.
    CMainFrameTab& tab = f.frame->TabStrip();
    EXPECT_EQ(6, tab.GetItemCount());
    EXPECT_EQ(0, tab.GetCurPage());
    EXPECT_TRUE(f.frame->GetPane(PANE_PAGE_WHITEBOARD)->IsWindowVisible());
    EXPECT_FALSE(f.frame->GetPane(PANE_PAGE_VOTES)->IsWindowVisible());

    // The room's audio was joined on the first port; the title names the room.
    ASSERT_EQ(1u, f.media.connects.size());
    EXPECT_EQ("1/7/127.0.0.1/7100", f.media.connects[0]);
    EXPECT_EQ(std::string("Halvern--Room A,参与人数1,会议模式：自由会议"), f.frame->GetTitleText());
}

TEST(MainFrame, AudioPortsDecideTheAudioConnection)
{
    struct Case
    {
        uint16_t port1, port2;
        bool connectResult;
        size_t connects;
        const char* box;
    } cases[] = {
        {7100, 7101, true, 1, nullptr},
        {7100, 7101, false, 1, "建立音频通讯信道失败!"},
        {0, 7101, true, 0, "无效的音频传输端口"},
        {7100, 0, true, 0, "无效的音频传输端口"},
    };
    for (const Case& c : cases) {
        CTestKit::MessageBoxes boxes(IDOK);
        Fixture f;
        f.login.audioPort = c.port1;
        f.login.audioPort2 = c.port2;
        f.media.connectResult = c.connectResult;
        ASSERT_NE(nullptr, f.Open(false));
        EXPECT_EQ(c.connects, f.media.connects.size()) << c.port1 << " " << c.port2;
        ASSERT_EQ(c.box ? 1u : 0u, boxes.Shown().size());
        if (c.box)
            EXPECT_EQ(c.box, boxes.Shown()[0].text);
    }
}

TEST(MainFrame, TimersSendTheStartNoticeAndDrainTheQueueInOrder)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return f.link.startNotices == 1; }, 3000));
    for (uint16_t code : {2050, 2088, 4358})
        f.link.Receive(Message(code, 6));
    // One tick of the drain timer takes all three.
    f.frame->SendMessage(WM_TIMER, CMainFrame::TIMER_DRAIN, 0);
    ASSERT_EQ(3u, f.dispatched.size());
    EXPECT_EQ(0u, f.link.queue.GetFilledCount());
    EXPECT_EQ(2050, f.dispatched[0][0] | f.dispatched[0][1] << 8);
    EXPECT_EQ(2088, f.dispatched[1][0] | f.dispatched[1][1] << 8);
    EXPECT_EQ(4358, f.dispatched[2][0] | f.dispatched[2][1] << 8);
    EXPECT_EQ(1, f.link.startNotices);
}

TEST(MainFrame, LostConnectionAfterAMessageAsksAndCancelKeepsTheWindow)
{
    CTestKit::MessageBoxes boxes(IDCANCEL);
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return f.link.startNotices == 1; }, 3000));
    f.link.Receive(Message(2052, 8));
    f.link.Receive({});
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return boxes.Shown().size() == 1; }, 3000));
    EXPECT_EQ(1u, f.dispatched.size());
    EXPECT_EQ("与服务器连接意外中断,请重新启动运行系统!", boxes.Shown()[0].text);
    EXPECT_EQ("系统提示", boxes.Shown()[0].caption);
    EXPECT_EQ(1, f.media.stops);
    CTestKit::PumpFor(200);
    EXPECT_TRUE(f.Alive());
    EXPECT_TRUE(f.launcher.starts.empty());
    // The buffers went back: the queue takes new messages.
    EXPECT_EQ(0u, f.link.queue.GetFilledCount());
}

TEST(MainFrame, RestartAfterOkStartsTheProgramWithItsLoginAndCloses)
{
    CTestKit::MessageBoxes boxes(IDOK);
    Fixture f;
    strcpy(f.login.roomName, "Room A");
    ASSERT_NE(nullptr, f.Open(false));
    f.frame->OnConnectionLost();
    ASSERT_EQ(1u, f.launcher.starts.size());
    EXPECT_EQ(std::vector<DWORD>{5000}, f.sleeps);
    const std::vector<std::string> args = Fixture::Args(f.launcher.starts[0]);
    const std::vector<std::string> expected = {
        "C:\\Program Files\\Halvern\\Halvern.exe", "127.0.0.1", "Room A", "1", "alice", "pw"};
    EXPECT_EQ(expected, args);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !f.Alive(); }, 3000));
    f.frame = nullptr;
}

TEST(MainFrame, MinimumTrackingSize)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    MINMAXINFO info = {};
    f.frame->SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&info);
    EXPECT_EQ(640, info.ptMinTrackSize.x);
    EXPECT_EQ(480, info.ptMinTrackSize.y);
}

TEST(MainFrame, PanesFollowTheDisplayModeAndTheChatFlag)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CMainFrame* fr = f.frame;
    CWnd* left = fr->GetPane(PANE_LEFT);
    CWnd* chat = fr->GetPane(PANE_CHAT);
    CWnd* wall = fr->VideoWall()->Window();
    CWnd* tab = &fr->TabStrip();
    struct Case
    {
        unsigned code; // layout code applied
        bool chatShown;
        bool leftShown, wallShown, tabShown;
        int dataLeft; // the tab strip's left edge from the pane area's left
        bool fullScreenButton;
    } cases[] = {
        {0, true, true, true, true, 175, true},  // data window
        {0, false, true, true, true, 175, true}, // data window, chat closed
        {1, false, true, false, true, 5, true},  // data only, chat closed
        {1, true, true, false, true, 5, true},   // data only
        {4, true, true, true, false, 0, true},   // videos
        {3, true, false, false, true, 5, false}, // data only over the screen
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "code " << c.code << " chat " << c.chatShown);
        fr->ApplyLayoutCode(0); // back to the window from full screen
        fr->SetChatPaneShown(c.chatShown);
        fr->ApplyLayoutCode(c.code);
        CTestKit::PumpPending();
        const CRect area = fr->GetPaneArea();
        const int rightEdge = c.leftShown ? area.right - 200 : area.right;
        EXPECT_EQ(c.leftShown, !!left->IsWindowVisible());
        EXPECT_EQ(c.wallShown, !!wall->IsWindowVisible());
        EXPECT_EQ(c.tabShown, !!tab->IsWindowVisible());
        if (c.leftShown)
            EXPECT_EQ(CRect(area.right - 200, area.top, area.right, area.bottom), RectIn(fr, left));
        if (c.wallShown && c.code == 4)
            EXPECT_EQ(CRect(area.left, area.top, rightEdge, area.bottom), RectIn(fr, wall));
        else if (c.wallShown)
            EXPECT_EQ(CRect(area.left, area.top, area.left + 170, area.bottom), RectIn(fr, wall));
        const bool chatVisible = c.chatShown && c.tabShown;
        EXPECT_EQ(chatVisible, !!chat->IsWindowVisible());
        if (!c.tabShown)
            continue;
        const CRect t = RectIn(fr, tab);
        EXPECT_EQ(area.left + c.dataLeft, t.left);
        EXPECT_EQ(rightEdge, t.right);
        EXPECT_EQ(area.top, t.top);
        if (chatVisible) {
            const CRect ch = RectIn(fr, chat);
            EXPECT_EQ(CRect(area.left + c.dataLeft, area.bottom - CStandInPanes::CHAT_HEIGHT,
                            rightEdge, area.bottom),
                      ch);
            EXPECT_EQ(area.bottom - (CStandInPanes::CHAT_HEIGHT + 2), t.bottom);
            EXPECT_EQ(t.bottom, RectIn(fr, &fr->Splitter()).top);
        } else {
            EXPECT_EQ(area.bottom, t.bottom);
            EXPECT_FALSE(fr->Splitter().IsWindowVisible());
        }
        EXPECT_EQ(CRect(t.left - 5, area.top, t.left, area.bottom), RectIn(fr, &fr->ArrowBar()));
        EXPECT_EQ(c.fullScreenButton,
                  !!fr->TabStrip().Button(IDC_TAB_FULLSCREEN).IsWindowVisible());
        EXPECT_EQ(!c.fullScreenButton, !!fr->TabStrip().Button(IDC_TAB_RESTORE).IsWindowVisible());
        EXPECT_EQ(c.chatShown, !!fr->TabStrip().Button(IDC_TAB_CLOSE_CHAT).IsWindowVisible());
        EXPECT_EQ(!c.chatShown, !!fr->TabStrip().Button(IDC_TAB_OPEN_CHAT).IsWindowVisible());
    }
}

TEST(MainFrame, SplitterMoveResizesTabStripAndChat)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CMainFrame* fr = f.frame;
    const CRect chatBefore = RectIn(fr, fr->GetPane(PANE_CHAT));
    const int y = chatBefore.top - 100;
    fr->SendMessage(WM_SPLITTER_MOVED, y, 0);
    EXPECT_EQ(y, RectIn(fr, &fr->TabStrip()).bottom);
    EXPECT_EQ(y, RectIn(fr, &fr->Splitter()).top);
    const CRect chat = RectIn(fr, fr->GetPane(PANE_CHAT));
    EXPECT_EQ(y + 5, chat.top);
    EXPECT_EQ(chatBefore.bottom, chat.bottom);
}

TEST(MainFrame, TitleTexts)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    CMainFrame* fr = f.frame;
    unsigned char state[1392] = {};
    struct Case
    {
        const char* room;
        int count;
        uint8_t mode;
        const char* bulletin;
        const char* title;
    } cases[] = {
        {"Room A", 3, 0, "", "Halvern--Room A,参与人数3,会议模式：自由会议"},
        {"Room A", 12, 2, "", "Halvern--Room A,参与人数12,会议模式：主控会议"},
        {"会议室", 1, 1, "", "Halvern--会议室,参与人数1,会议模式："},
        {"Room A", 2, 2, "Break at ten",
         "Halvern--Room A,参与人数2,会议模式：主控会议，公告：Break at ten"},
        // A cleared bulletin leaves the title.
        {"Room A", 2, 2, "", "Halvern--Room A,参与人数2,会议模式：主控会议"},
    };
    for (const Case& c : cases) {
        memset(state + 1304, 0, 80);
        strcpy((char*)state + 1304, c.bulletin);
        fr->ReplaceMeetingState(state, sizeof state);
        fr->SetConferenceName(c.room);
        fr->SetParticipantCount(c.count);
        fr->SetMeetingModeText(c.mode);
        EXPECT_EQ(std::string(c.title), fr->GetTitleText());
        // The frame's idle title update keeps it.
        fr->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        CString window;
        fr->GetWindowText(window);
        EXPECT_STREQ(c.title, window);
    }
    // A bulletin filling its whole field is read within it; a record of
    // another size is dropped.
    memset(state + 1304, 'x', 80);
    state[1384] = 'y';
    fr->ReplaceMeetingState(state, sizeof state);
    EXPECT_EQ(std::string(80, 'x'), fr->GetBulletin());
    memset(state + 1304, 0, 80);
    fr->ReplaceMeetingState(state, sizeof state - 1);
    EXPECT_EQ(std::string(80, 'x'), fr->GetBulletin());
}

TEST(MainFrame, ReceivedLayoutAppliesOnlyInChairModeAtItsSize)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    CMainFrame* fr = f.frame;
    auto* wall = static_cast<CStandInVideoWall*>(fr->VideoWall());
    const std::vector<unsigned char> rec = Layout(0, 0, 0, 2, 0x0109, 42);

    f.login.meetingMode = 0;
    fr->ApplyWindowLayout(rec.data(), rec.size());
    EXPECT_EQ(DISPLAY_DATA, fr->GetLayout().displayMode);
    EXPECT_EQ(0, fr->TabStrip().GetCurPage());

    f.login.meetingMode = 2;
    for (size_t n : {11u, 13u}) {
        std::vector<unsigned char> cut = rec;
        cut.resize(n);
        fr->ApplyWindowLayout(cut.data(), cut.size());
        EXPECT_EQ(DISPLAY_DATA, fr->GetLayout().displayMode) << n;
    }

    fr->ApplyWindowLayout(rec.data(), rec.size());
    EXPECT_EQ(DISPLAY_VIDEOS, fr->GetLayout().displayMode);
    EXPECT_EQ(2, fr->TabStrip().GetCurPage());
    EXPECT_EQ(9, wall->GetSplitCount()); // the low byte only
    EXPECT_EQ(42u, wall->GetMainVideoUser());
    EXPECT_EQ(0, memcmp(&fr->GetLayout(), rec.data(), 12));
    EXPECT_EQ(0, memcmp(&fr->GetSavedLayout(), rec.data(), 12));
    EXPECT_TRUE(f.link.layouts.empty()); // not the holder: nothing sent
}

TEST(MainFrame, LayoutControlSendsTheCurrentLayout)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    CMainFrame* fr = f.frame;
    f.login.role = 1;
    fr->VideoWall()->SetMainVideo(9);
    fr->TabStrip().SelectPage(1);
    fr->TakeLayoutControl();
    ASSERT_EQ(1u, f.link.layouts.size());
    EXPECT_EQ(Layout(0, 0, DISPLAY_DATA, 1, 0, 9), f.link.layouts[0]);

    fr->RecalcPanes(TRUE);
    EXPECT_EQ(1u, f.link.layouts.size());
    fr->RecalcPanes(FALSE);
    EXPECT_EQ(2u, f.link.layouts.size());

    // Tab pages: only a real change sends.
    CMainFrameTab& tab = fr->TabStrip();
    for (int index : {1, -1, 6})
        tab.ShowPage(index);
    EXPECT_EQ(2u, f.link.layouts.size());
    tab.ShowPage(2);
    ASSERT_EQ(3u, f.link.layouts.size());
    EXPECT_EQ(2, f.link.layouts.back()[3]);

    fr->DropLayoutControl();
    fr->RecalcPanes(FALSE);
    tab.ShowPage(0);
    EXPECT_EQ(3u, f.link.layouts.size());
}

TEST(MainFrame, LayoutCodesNeedTheControlRight)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    CMainFrame* fr = f.frame;
    // Chair-controlled meeting, an ordinary participant without the control.
    f.login.meetingMode = 2;
    fr->SendMessage(WM_LAYOUT_CODE, 1, 0);
    EXPECT_EQ(DISPLAY_DATA, fr->GetLayout().displayMode);
    // With the meeting control the code applies.
    f.users.SetControlState(7, 2);
    fr->SendMessage(WM_LAYOUT_CODE, 1, 0);
    EXPECT_EQ(DISPLAY_DATA_ONLY, fr->GetLayout().displayMode);
    // Code 3 keeps the split count, code 2 clears it.
    fr->SendMessage(WM_LAYOUT_CODE, 7, 0); // videos, split 9
    fr->SendMessage(WM_LAYOUT_CODE, 3, 0);
    EXPECT_EQ(9u, fr->GetLayout().split);
    EXPECT_EQ(1, fr->GetLayout().fullScreenWindow);
    fr->SendMessage(WM_LAYOUT_CODE, 2, 0);
    EXPECT_EQ(0u, fr->GetLayout().split);
    // Escape leaves full screen.
    MSG esc = {fr->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(fr->PreTranslateMessage(&esc));
    EXPECT_EQ(0, fr->GetLayout().fullScreenWindow);
}

TEST(MainFrame, PopupMenusFollowRoleModeAndSplit)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    CMainFrame* fr = f.frame;
    auto state = [&](CMainFrame::POPUP popup, UINT id) {
        CMenu* menu = fr->PreparePopup(popup);
        EXPECT_NE(nullptr, menu);
        const UINT s = menu ? menu->GetMenuState(id, MF_BYCOMMAND) : 0;
        return std::string(s & MF_GRAYED ? "grey" : "on") + (s & MF_CHECKED ? "+check" : "");
    };
    struct Case
    {
        uint8_t role, mode, control;
        CMainFrame::POPUP popup;
        UINT id;
        const char* expected;
    } cases[] = {
        {1, 2, 0, CMainFrame::POPUP_MEETING_MODE, ID_CHAIR_MODE, "on+check"},
        {1, 0, 0, CMainFrame::POPUP_MEETING_MODE, ID_FREE_MODE, "on+check"},
        {0, 0, 0, CMainFrame::POPUP_MEETING_MODE, ID_FREE_MODE, "grey+check"},
        {0, 2, 0, CMainFrame::POPUP_MEETING_MODE, ID_CHAIR_MODE, "grey+check"},
        {0, 2, 0, CMainFrame::POPUP_SPLIT, ID_SPLIT_4, "grey"},
        {0, 0, 0, CMainFrame::POPUP_SPLIT, ID_SPLIT_9, "on"},
        {0, 2, 2, CMainFrame::POPUP_SPLIT, ID_SPLIT_9, "on"},
        {0, 0, 0, CMainFrame::POPUP_REQUEST, ID_REQUEST_CONTROL, "on"},
        {0, 0, 0, CMainFrame::POPUP_REQUEST, ID_RELEASE_CONTROL, "grey"},
        {0, 0, 2, CMainFrame::POPUP_REQUEST, ID_REQUEST_CONTROL, "grey"},
        {0, 0, 2, CMainFrame::POPUP_REQUEST, ID_RELEASE_CONTROL, "on"},
        {3, 0, 0, CMainFrame::POPUP_REQUEST, ID_REQUEST_CONTROL, "grey"},
        {0, 0, 0, CMainFrame::POPUP_FILE, ID_SEND_FILE, "grey"},
        {0, 0, 2, CMainFrame::POPUP_FILE, ID_SEND_FILE, "on"},
        {0, 0, 2, CMainFrame::POPUP_DATA_WINDOW, ID_DATA_WINDOW, "on"},
        {0, 0, 0, CMainFrame::POPUP_DATA_WINDOW, ID_PAGE_WHITEBOARD, "on+check"},
        {0, 2, 0, CMainFrame::POPUP_DATA_WINDOW, ID_PAGE_DOCUMENTS, "grey"},
        {0, 2, 0, CMainFrame::POPUP_WINDOW_MODE, ID_WINDOW_MODE_1, "grey"},
    };
    for (const Case& c : cases) {
        f.login.role = c.role;
        f.users.SetRole(7, c.role);
        f.login.meetingMode = c.mode;
        f.users.SetControlState(7, c.control);
        EXPECT_EQ(c.expected, state(c.popup, c.id))
            << "role " << (int)c.role << " mode " << (int)c.mode << " control " << (int)c.control
            << " id " << c.id;
    }
    // The split check follows the split count and the full-screen flag.
    f.login.role = 1;
    fr->SetSplitMode(9);
    EXPECT_EQ("on+check", state(CMainFrame::POPUP_SPLIT, ID_SPLIT_9));
    EXPECT_EQ("on", state(CMainFrame::POPUP_SPLIT, ID_SPLIT_4));
    bool enabled = false, checked = false;
    ASSERT_TRUE(fr->GetCommandState(ID_SPLIT_9_FULL, &enabled, &checked));
    EXPECT_FALSE(checked);
    fr->ApplyLayoutCode(10); // split 4 over the screen
    ASSERT_TRUE(fr->GetCommandState(ID_SPLIT_4_FULL, &enabled, &checked));
    EXPECT_TRUE(checked);
    ASSERT_TRUE(fr->GetCommandState(ID_SPLIT_4, &enabled, &checked));
    EXPECT_FALSE(checked);
}

TEST(MainFrame, PromptResultOneClosesTheWindow)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    f.frame->SendMessage(WM_AUTO_DIALOG_RESULT, 2, 0);
    CTestKit::PumpFor(100);
    EXPECT_TRUE(f.Alive());
    EXPECT_EQ(0, f.link.closes);
    f.frame->SendMessage(WM_AUTO_DIALOG_RESULT, 1, 0);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !f.Alive(); }, 2000));
    f.frame = nullptr;
    // Closing stops the media and closes the connection.
    EXPECT_EQ(1, f.media.stops);
    EXPECT_EQ(1, f.link.closes);
}

TEST(MainFrame, VideoLayoutOperationsOfTheWall)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open(false));
    CMainFrame* fr = f.frame;
    auto* wall = static_cast<CStandInVideoWall*>(fr->VideoWall());
    // Full-screen video wins over the full-screen window and is left first.
    fr->ShowUserFullScreen(42, true);
    EXPECT_EQ(1, fr->GetLayout().fullScreenVideo);
    EXPECT_EQ(42u, wall->GetFullScreenUser());
    EXPECT_FALSE(fr->TabStrip().GetStyle() & WS_VISIBLE);
    fr->EnterFullScreen();
    EXPECT_EQ(0, fr->GetLayout().fullScreenWindow);
    fr->LeaveFullScreen();
    EXPECT_EQ(0, fr->GetLayout().fullScreenVideo);
    EXPECT_EQ(LAYOUT_NO_USER, wall->GetFullScreenUser());

    fr->SetSplitMode(9);
    fr->SetBigVideoUser(5);
    EXPECT_EQ(DISPLAY_VIDEOS, fr->GetLayout().displayMode);
    EXPECT_EQ(5u, wall->GetMainVideoUser());
    // A small wall takes one large video among six (split 6, marked 262).
    EXPECT_EQ(262u, fr->GetLayout().split);
    EXPECT_EQ(6, wall->GetSplitCount());
    fr->SetFirstVideoUser(6);
    EXPECT_EQ(6u, wall->GetMainVideoUser());
    fr->ShowDataWindow();
    EXPECT_EQ(DISPLAY_DATA, fr->GetLayout().displayMode);
    EXPECT_EQ(0u, fr->GetLayout().split);
    EXPECT_EQ(0, wall->GetSplitCount());
    EXPECT_TRUE(fr->TabStrip().GetStyle() & WS_VISIBLE);
}
