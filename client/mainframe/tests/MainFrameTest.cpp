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

std::vector<unsigned char> Layout(uint8_t fsVideo, uint8_t fsWindow, uint8_t mode, uint8_t page, uint32_t split,
                                  uint32_t user)
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
    const std::vector<int> expected = {
        PANE_DEVICE,          PANE_DEVICE_REMOTE,     PANE_CHAT,          RecordingPanes::WALL,
        PANE_LEFT,            PANE_SCREEN_DIALOG,     PANE_PAGE_WHITEBOARD, PANE_PAGE_PRESENTATION,
        PANE_PAGE_BROWSING,   PANE_PAGE_NET_DISK,     PANE_PAGE_SCREEN,   PANE_PAGE_VOTES,
        PANE_PRINT_PROGRESS,  PANE_CAMERA,            PANE_PAN_TILT,      PANE_SCREEN_CONFIG,
        PANE_ROOM_LIST,       PANE_RECORD_TIMER};
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
    for (const Case& c : cases)
    {
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
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return f.dispatched.size() == 3; }, 3000));
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
    const std::vector<std::string> expected = {"C:\\Program Files\\Halvern\\Halvern.exe", "127.0.0.1", "Room A", "1",
                                               "alice", "pw"};
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
