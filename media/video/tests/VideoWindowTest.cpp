#include <gtest/gtest.h>

#include "CDlgLocalVideo.h"
#include "CDlgRemoteVideo.h"
#include "CDlgRight.h"
#include "CDlgVideoRender.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "MediaVideoResource.h"
#include "VideoTestKit.h"

using namespace videotest;

namespace {
const uint32_t kOwn = 1001, kBob = 1002, kAlice = 1003;

struct RenderFixture : ::testing::Test
{
    CTestHost host;
    CMeeting meeting{kOwn, 2};
    CTopWindow top;
    CDlgVideoRender render;
    void SetUp() override
    {
        InstallMediaFakes();
        meeting.Add(kBob, "bob");
        meeting.Add(kAlice, "alice");
        ASSERT_TRUE(top.Make());
        ASSERT_TRUE(render.Create(&top));
    }
    void TearDown() override
    {
        if (render.m_hWnd)
            render.DestroyWindow();
        UninstallMediaFakes();
    }
    std::string Notices()
    {
        std::string text;
        for (auto& n : host.notices)
            text += std::to_string(n.user) + ":" + std::to_string(n.first) + "-" +
                    std::to_string(n.second) + " ";
        return text;
    }
};
} // namespace

TEST(VideoRender, WidthClasses)
{
    const struct
    {
        int width, widthClass;
    } cases[] = {{0, 0},   {199, 0}, {200, 1}, {239, 1}, {240, 2},
                 {319, 2}, {320, 3}, {559, 3}, {560, 4}, {1920, 4}};
    for (auto& c : cases)
        EXPECT_EQ(c.widthClass, CDlgVideoRender::WidthClass(c.width)) << c.width;
}

TEST_F(RenderFixture, WidthClassChangesAndStopAreReported)
{
    render.SetUserId(kBob);
    ASSERT_EQ(1, render.Start());
    render.Position(0, 0, 300, 200);  // class 0 -> 2
    render.Position(0, 0, 310, 200);  // still class 2: nothing
    render.Position(10, 0, 190, 200); // 180 wide: class 0
    render.Position(-1, 0, 400, 200); // a negative edge is ignored
    render.Stop();
    EXPECT_EQ("1002:200-300 1002:300-180 1002:180-0 ", Notices());
    EXPECT_EQ(0u, render.GetUserId());
    EXPECT_EQ(1, CountCalls("T_R_StopPreview"));
}

TEST_F(RenderFixture, ReusedWindowStartsFromTheNarrowClass)
{
    render.SetUserId(kBob);
    ASSERT_EQ(1, render.Start());
    render.Position(0, 0, 600, 400);
    render.Stop();
    host.notices.clear();
    render.SetUserId(kAlice);
    ASSERT_EQ(1, render.Start());
    render.Position(0, 0, 600, 400);
    render.Stop();
    EXPECT_EQ("1003:200-600 1003:600-0 ", Notices());
}

TEST_F(RenderFixture, OwnAndRemoteStartCallTheirLibrarySide)
{
    render.SetUserId(kOwn);
    ASSERT_EQ(1, render.Start());
    render.Position(0, 0, 320, 240);
    render.Stop();
    std::vector<std::string> own = {"T_S_StartPreview 1127", "T_S_SetPreviewPos 0,1,0,1",
                                    "T_S_SetRecord 0", "T_S_SetPreviewPos 0,0,320,240",
                                    "T_S_StopPreview"};
    EXPECT_EQ(own, Calls());
    EXPECT_TRUE(host.notices.empty());

    Calls().clear();
    render.SetUserId(kBob);
    ASSERT_EQ(1, render.Start());
    EXPECT_EQ(1, render.SendTo(7000));
    std::vector<std::string> remote = {"T_R_StartPreview", "T_R_BindLocalPort 1 1001 1002",
                                       "T_R_SetPreviewPos 0,1,0,1", "T_R_SetRecord 0",
                                       "T_R_SendTo 127.0.0.1 7000"};
    EXPECT_EQ(remote, Calls());
    render.Stop();
}

TEST_F(RenderFixture, FailedStartsLeaveNoVideoAndStopReleasesTheReceiver)
{
    FailReceiverStart(true);
    render.SetUserId(kBob);
    EXPECT_EQ(0, render.Start());
    EXPECT_EQ(0, render.SendTo(7000));
    FailReceiverStart(false);
    FailBindLocalPort(true);
    EXPECT_EQ(0, render.Start());
    EXPECT_NE(nullptr, render.GetReceiver());
    render.Stop();
    EXPECT_EQ(nullptr, render.GetReceiver());
    EXPECT_EQ(1, CountCalls("T_R_StopPreview"));
}

TEST_F(RenderFixture, RecordedFramesReachTheRecorderOnlyWhileRecording)
{
    host.recording = true;
    render.SetUserId(kBob);
    ASSERT_EQ(1, render.Start());
    EXPECT_EQ(1, CountCalls("T_R_SetRecord 1"));
    const unsigned char frame[5] = {1, 2, 3, 4, 5};
    DeliverRecordedFrame(frame, 5);
    host.recording = false;
    DeliverRecordedFrame(frame, 5);
    EXPECT_EQ(1, CountCalls("RV_WriteVideoData 5 1002"));
    EXPECT_EQ(1, CountCalls("RV_WriteVideoData"));
    render.Stop();
}

TEST_F(RenderFixture, LibraryNoticesKeepTheRateOrRepeatThePosition)
{
    render.SetUserId(kBob);
    ASSERT_EQ(1, render.Start());
    render.SendMessage(WM_VIDEO_NOTIFY, 0, MAKELPARAM(0, 250));
    EXPECT_EQ(250, render.GetRate());
    Calls().clear();
    render.SetPositionFlag(FALSE);
    render.SendMessage(WM_VIDEO_NOTIFY, 0, 0);
    EXPECT_EQ(1, CountCalls("T_R_SetPreviewPos"));
    render.Stop();
}

namespace {
struct RemoteFixture : RenderFixture
{
    CDlgRemoteVideo first, second;
    CTopWindow big;
    void SetUp() override
    {
        RenderFixture::SetUp();
        ASSERT_TRUE(first.Create(&top));
        ASSERT_TRUE(second.Create(&top));
        ASSERT_TRUE(big.Make(320, 240));
        host.bigWindow = &big;
    }
    void TearDown() override
    {
        first.Clear();
        second.Clear();
        RenderFixture::TearDown();
    }
};
} // namespace

TEST_F(RemoteFixture, ShowUserNeedsAKnownParticipant)
{
    EXPECT_EQ(0, first.ShowUser(nullptr, 4242));
    EXPECT_EQ(0u, first.GetUserId());
    EXPECT_EQ(1, first.ShowUser(nullptr, kBob));
    EXPECT_EQ(kBob, first.GetUserId());
    EXPECT_STREQ("bob", first.GetUserName());
    EXPECT_TRUE(first.GetDlgItem(IDC_VIDEO_ENLARGE)->IsWindowEnabled());
    first.Clear();
    EXPECT_EQ(0u, first.GetUserId());
    EXPECT_FALSE(first.GetDlgItem(IDC_VIDEO_ENLARGE)->IsWindowEnabled());
}

TEST_F(RemoteFixture, OnlyOneWindowIsEnlarged)
{
    ASSERT_EQ(1, first.ShowUser(nullptr, kBob));
    ASSERT_EQ(1, second.ShowUser(nullptr, kAlice));
    EXPECT_TRUE(first.Enlarge());
    EXPECT_EQ(big.m_hWnd, ::GetParent(first.GetRender().m_hWnd));
    EXPECT_FALSE(first.GetDlgItem(IDC_VIDEO_ENLARGE)->IsWindowEnabled());
    EXPECT_FALSE(second.Enlarge());
    ASSERT_EQ(1u, host.messages.size());
    EXPECT_EQ("只能放大一个窗口!", host.messages[0]);
    first.TakeBack();
    EXPECT_EQ(first.m_hWnd, ::GetParent(first.GetRender().m_hWnd));
    EXPECT_TRUE(second.Enlarge());
    second.TakeBack();
}

TEST_F(RemoteFixture, SpeakButtonIsTheChairsOnly)
{
    ASSERT_EQ(1, first.ShowUser(nullptr, kBob));
    CTestKit::ClickButton(first.GetDlgItem(IDC_VIDEO_START_STOP)->m_hWnd);
    CTestKit::PumpPending();
    EXPECT_TRUE(host.events.empty());
    g_UserTable.SetRole(kOwn, 1);
    CTestKit::ClickButton(first.GetDlgItem(IDC_VIDEO_START_STOP)->m_hWnd);
    CTestKit::PumpPending();
    ASSERT_EQ(1u, host.events.size());
    EXPECT_EQ("SendVideoBroadcast 1002 0", host.events[0]);
}

TEST_F(RenderFixture, LocalPaneStartsStopsAndRefusesASecondWindow)
{
    CDlgLocalVideo local;
    ASSERT_TRUE(local.Create(&top));
    host.local = &local;
    CWnd* enlarge = local.GetDlgItem(IDC_VIDEO_ENLARGE);
    CWnd* startStop = local.GetDlgItem(IDC_VIDEO_START_STOP);
    CWnd* camera = local.GetDlgItem(IDC_VIDEO_CAMERA);
    EXPECT_FALSE(startStop->IsWindowEnabled());
    ASSERT_EQ(1, local.StartOwnVideo());
    EXPECT_EQ(kOwn, local.GetUserId());
    EXPECT_TRUE(enlarge->IsWindowEnabled() && startStop->IsWindowEnabled() &&
                camera->IsWindowEnabled());

    CTestKit::ClickButton(startStop->m_hWnd); // stop
    CTestKit::PumpPending();
    EXPECT_EQ(0u, local.GetUserId());
    EXPECT_TRUE(local.IsStartStopChecked());
    EXPECT_TRUE(startStop->IsWindowEnabled());
    EXPECT_FALSE(enlarge->IsWindowEnabled() || camera->IsWindowEnabled());

    // The own video already shown in the wall: no second start.
    CDlgRight wall;
    ASSERT_TRUE(wall.Create(&top));
    host.wall = &wall;
    ASSERT_EQ(1, wall.AddUserVideo("me", kOwn));
    CTestKit::ClickButton(startStop->m_hWnd);
    CTestKit::PumpPending();
    ASSERT_EQ(1u, host.messages.size());
    EXPECT_EQ("当前用户已打开", host.messages[0]);
    EXPECT_EQ(0u, local.GetUserId());
    wall.RemoveUser(kOwn);
    wall.DestroyWindow();
    local.DestroyWindow();
}
