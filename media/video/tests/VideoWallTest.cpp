#include <gtest/gtest.h>

#include "CClientSettings.h"
#include "CDlgLocalVideo.h"
#include "CDlgRight.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "CVideoLayout.h"
#include "MediaVideoResource.h"
#include "VideoTestKit.h"

#include <set>

using namespace videotest;

namespace {
const uint32_t kOwn = 1001;

// Shown by the wall (the wall itself stays hidden in these tests).
bool Shown(CWnd* window) { return (window->GetStyle() & WS_VISIBLE) != 0; }

struct WallFixture : ::testing::Test
{
    CTestHost host;
    CMeeting meeting{kOwn, 2};
    CTopWindow top;
    CDlgRight wall;
    void SetUp() override
    {
        InstallMediaFakes();
        for (uint32_t id = 2001; id <= 2030; ++id)
            meeting.Add(id, ("user" + std::to_string(id)).c_str());
        ASSERT_TRUE(top.Make(400, 600));
        ASSERT_TRUE(wall.Create(&top));
        wall.MoveWindow(0, 0, 400, 600);
        host.wall = &wall;
    }
    void TearDown() override
    {
        for (int i = 0; i < CDlgRight::WINDOW_COUNT; ++i)
            wall.GetVideoWindow(i)->Clear();
        wall.DestroyWindow();
        UninstallMediaFakes();
    }
    void AddUsers(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(1, wall.AddUserVideo("u", 2001 + i));
    }
    std::string Order()
    {
        std::string text;
        for (int i = 0; i < wall.GetVideoCount(); ++i)
            text += std::to_string(wall.GetActiveUser(i) - 2000) + " ";
        return text;
    }
};
} // namespace

TEST_F(WallFixture, TwentySixthVideoIsRefused)
{
    AddUsers(25);
    EXPECT_EQ(0, wall.AddUserVideo("u", 2026));
    EXPECT_EQ(25, wall.GetVideoCount());
    EXPECT_FALSE(wall.HasUser(2026));
    // A user already shown keeps his one window.
    EXPECT_EQ(1, wall.AddUserVideo("u", 2003));
    EXPECT_EQ(25, wall.GetVideoCount());
}

// User id 0 marks a free window: it is never shown, and every window stays
// free for the real participants.
TEST_F(WallFixture, UserZeroTakesNoWindow)
{
    EXPECT_EQ(0, wall.AddUserVideo("u", 0));
    EXPECT_EQ(0, wall.GetVideoCount());
    AddUsers(CDlgRight::WINDOW_COUNT);
    EXPECT_EQ(CDlgRight::WINDOW_COUNT, wall.GetVideoCount());
}

TEST_F(WallFixture, WindowsTakeTheirLayoutCells)
{
    AddUsers(3);
    wall.SetSplitCount(9);
    CRect client;
    wall.GetClientRect(&client);
    CVideoLayout::Result layout = CVideoLayout::Compute(9, client.Width(), client.Height(), 3);
    for (int i = 0; i < 3; ++i) {
        CDlgRemoteVideo* window = wall.FindUserWindow(2001 + i);
        EXPECT_EQ(CRect(layout.active[i].rect), window->GetRect()) << i;
        EXPECT_TRUE(Shown(window));
    }
    // Six free windows fill the remaining cells, shown empty.
    int visibleFree = 0;
    for (int i = 0; i < CDlgRight::WINDOW_COUNT; ++i)
        if (wall.GetVideoWindow(i)->GetUserId() == 0 && Shown(wall.GetVideoWindow(i)))
            ++visibleFree;
    EXPECT_EQ(6, visibleFree);
    EXPECT_EQ(2002u,
              wall.UserAtPoint(layout.active[1].rect.left + 1, layout.active[1].rect.top + 1));
    EXPECT_EQ(0u, wall.UserAtPoint(layout.empty[0].left + 1, layout.empty[0].top + 1));
}

TEST_F(WallFixture, PollingMovesTheFourthToTheEnd)
{
    g_Settings.frameRate = 2;
    host.recording = true;
    AddUsers(6);
    wall.SetSplitCount(4);
    wall.TogglePolling();
    wall.PollTick();
    EXPECT_EQ("1 2 3 4 5 6 ", Order());
    wall.PollTick();
    EXPECT_EQ("1 2 3 5 6 4 ", Order());
    EXPECT_EQ(1, CountCalls("RV_LastVideo 2004"));
    wall.PollTick();
    wall.PollTick();
    EXPECT_EQ("1 2 3 6 4 5 ", Order());
    // Off, or another split: no rotation.
    wall.TogglePolling();
    wall.PollTick();
    wall.PollTick();
    EXPECT_EQ("1 2 3 6 4 5 ", Order());
    wall.TogglePolling();
    wall.SetSplitCount(9);
    wall.PollTick();
    wall.PollTick();
    EXPECT_EQ("1 2 3 6 4 5 ", Order());
    g_Settings.frameRate = 15;
}

TEST_F(WallFixture, FullScreenModeMarksTheWindowOnceWithoutRecursion)
{
    host.recording = true;
    AddUsers(3);
    host.fullScreenMode = true;
    host.fullScreenUser = 2002;
    wall.SetSplitCount(4);
    wall.Relayout();
    EXPECT_EQ(2002, wall.GetBigVideoUserId());
    EXPECT_EQ(1, CountCalls("RV_FullVideo 2002 1"));
    CRect client;
    wall.GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, client.Width(), client.Height()), wall.FindUserWindow(2002)->GetRect());
    EXPECT_FALSE(Shown(wall.FindUserWindow(2001)));
    host.fullScreenMode = false;
    EXPECT_EQ(1, wall.SetFullVideo(2002, FALSE));
    EXPECT_EQ(-1, wall.GetBigVideoUserId());
    EXPECT_EQ(1, CountCalls("RV_FullVideo 2002 0"));
    EXPECT_TRUE(Shown(wall.FindUserWindow(2001)));
    EXPECT_EQ(0, wall.SetFullVideo(4242, TRUE));
}

TEST_F(WallFixture, RecorderHearsOfEveryChange)
{
    host.recording = true;
    AddUsers(3);
    wall.SetMainVideo(2003);
    wall.SetMainVideo(2003); // already first: nothing
    wall.RemoveUser(2002);
    wall.RemoveUser(4242); // no window: nothing
    std::vector<std::string> rv;
    for (auto& call : Calls())
        if (call.compare(0, 3, "RV_") == 0)
            rv.push_back(call);
    std::vector<std::string> expected = {"RV_AddVideo 2001", "RV_AddVideo 2002", "RV_AddVideo 2003",
                                         "RV_MainVideo 2003", "RV_DelVideo 2002"};
    EXPECT_EQ(expected, rv);
    EXPECT_EQ("3 1 ", Order());
    EXPECT_EQ(2003, wall.GetFirstVideoUserId());
}

TEST_F(WallFixture, PopupStatesFollowRoleAndBroadcast)
{
    AddUsers(2);
    g_UserTable.SetBroadcastFlag(2002, 1);
    struct Case
    {
        uint8_t role;
        bool right;
        uint32_t user;
        bool full, fullEnabled, closeGrayed, cameraGrayed;
    } cases[] = {
        {2, false, 2001, false, false, false, true}, {2, true, 2002, false, true, true, true},
        {2, true, kOwn, false, true, false, false},  {1, true, 2002, false, true, false, false},
        {1, true, 2001, true, true, false, false},
    };
    for (const Case& c : cases) {
        g_UserTable.SetRole(kOwn, c.role);
        host.controlRight = c.right;
        wall.SetFullVideo(2001, c.full);
        CDlgRight::MenuStates s = wall.GetMenuStates(c.user);
        SCOPED_TRACE(std::to_string(c.role) + " " + std::to_string(c.user));
        EXPECT_EQ(c.fullEnabled, s.fullScreenEnabled);
        EXPECT_EQ(c.full && c.user == 2001, s.fullScreenChecked);
        EXPECT_EQ(c.closeGrayed, s.closeGrayed);
        EXPECT_EQ(c.cameraGrayed, s.cameraGrayed);
    }
    // The states land on the menu's items.
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_VIDEO_POPUP));
    CMenu* popup = menu.GetSubMenu(0);
    g_UserTable.SetRole(kOwn, 2);
    host.controlRight = false;
    wall.SetFullVideo(2001, FALSE);
    wall.ApplyMenuStates(popup, 2002);
    EXPECT_TRUE(popup->GetMenuState(ID_VIDEO_FULL_SCREEN, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup->GetMenuState(ID_VIDEO_CLOSE_USER, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup->GetMenuState(ID_VIDEO_CAMERA, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(10, popup->GetMenuItemCount());
}

TEST_F(WallFixture, MenuCommandsReachTheMainWindow)
{
    AddUsers(2);
    wall.SetSelectedUser(2002);
    const struct
    {
        UINT id;
        const char* event;
    } cases[] = {
        {ID_VIDEO_FIRST_WINDOW_MAIN, "SetFirstVideoUser 2002"},
        {ID_VIDEO_FIRST_WINDOW, "SetFirstVideoUser 2002"},
        {ID_VIDEO_BIG_SCREEN, "SetBigVideoUser 2002"},
        {ID_VIDEO_FULL_SCREEN, "ShowUserFullScreen 2002 1"},
        {ID_VIDEO_DEVICE, "ShowRemoteDeviceDialog 2002"},
    };
    for (auto& c : cases) {
        host.events.clear();
        wall.SendMessage(WM_COMMAND, c.id, 0);
        ASSERT_EQ(1u, host.events.size()) << c.id;
        EXPECT_EQ(c.event, host.events[0]);
    }
    host.controlRight = false;
    host.events.clear();
    wall.SendMessage(WM_COMMAND, ID_VIDEO_FIRST_WINDOW, 0);
    wall.SendMessage(WM_COMMAND, ID_VIDEO_FULL_SCREEN, 0);
    EXPECT_TRUE(host.events.empty());
}

TEST_F(WallFixture, DeviceCommandOpensLocalOrRemoteSettingsByEdition)
{
    AddUsers(2);
    const struct
    {
        bool asks;
        uint32_t user;
        const char* event;
    } cases[] = {
        {false, kOwn, "ShowDeviceDialog"},
        {false, 2002, "ShowRemoteDeviceDialog 2002"},
        {true, kOwn, "ShowRemoteDeviceDialog 1001"},
        {true, 2002, "ShowRemoteDeviceDialog 2002"},
        {true, 0, nullptr},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.asks << " " << c.user);
        CDlgRight::SetDeviceCommandAsksParticipant(c.asks);
        wall.SetSelectedUser(c.user);
        host.events.clear();
        wall.SendMessage(WM_COMMAND, ID_VIDEO_DEVICE, 0);
        if (c.event) {
            ASSERT_EQ(1u, host.events.size());
            EXPECT_EQ(c.event, host.events[0]);
        } else {
            EXPECT_TRUE(host.events.empty());
        }
    }
    CDlgRight::SetDeviceCommandAsksParticipant(false);
}

TEST_F(WallFixture, ClosingAVideoRespectsBroadcastingUsers)
{
    AddUsers(2);
    g_UserTable.SetBroadcastFlag(2002, 1);
    wall.SetSelectedUser(2002);
    wall.SendMessage(WM_COMMAND, ID_VIDEO_CLOSE_USER, 0);
    EXPECT_TRUE(wall.HasUser(2002));
    g_UserTable.SetRole(kOwn, 1);
    wall.SendMessage(WM_COMMAND, ID_VIDEO_CLOSE_USER, 0);
    EXPECT_FALSE(wall.HasUser(2002));
    ASSERT_GE(host.events.size(), 2u);
    EXPECT_EQ("SendCommand2068 2002", host.events[0]);
    EXPECT_EQ("RefreshUser 2002", host.events[1]);
    uint8_t state = 9;
    g_UserTable.GetVideoState(2002, &state);
    EXPECT_EQ(0, state);
}

TEST_F(WallFixture, RemovingTheOwnVideoRestartsTheOwnPane)
{
    CDlgLocalVideo local;
    ASSERT_TRUE(local.Create(&top));
    host.local = &local;
    ASSERT_EQ(1, local.StartOwnVideo());
    ASSERT_EQ(1, wall.AddUserVideo("me", kOwn));
    EXPECT_EQ(0u, local.GetUserId()); // the wall took the own video
    wall.RemoveUser(kOwn);
    EXPECT_EQ(kOwn, local.GetUserId());
    local.StopOwnVideo();
    local.DestroyWindow();
}

TEST_F(WallFixture, LeftParticipantsAndNonBroadcastersAreDropped)
{
    AddUsers(3);
    g_UserTable.RemoveUser(2002);
    wall.RemoveUserVideo();
    EXPECT_EQ("1 3 ", Order());
    g_UserTable.SetBroadcastFlag(2003, 1);
    wall.DropNonBroadcastVideos();
    EXPECT_EQ("3 ", Order());
    g_UserTable.SetRole(kOwn, 1);
    g_UserTable.RemoveUser(2003);
    wall.RemoveUserVideo(); // the chair keeps every window
    EXPECT_EQ("3 ", Order());
}

TEST_F(WallFixture, RatesAddUpAndTargetsReachTheReceiver)
{
    AddUsers(2);
    wall.FindUserWindow(2001)->GetRender().SendMessage(WM_VIDEO_NOTIFY, 0, MAKELPARAM(0, 100));
    wall.FindUserWindow(2002)->GetRender().SendMessage(WM_VIDEO_NOTIFY, 0, MAKELPARAM(0, 28));
    EXPECT_EQ(128, wall.SumWindowCounters());
    wall.SetUserVideoTarget(2002, 7010);
    wall.SetUserVideoTarget(4242, 7011);
    EXPECT_EQ(1, CountCalls("T_R_SendTo 127.0.0.1 7010"));
    EXPECT_EQ(1, CountCalls("T_R_SendTo"));
}

TEST(VideoWallPictures, NamesCountUpWhileTheFileExists)
{
    struct tm t = {};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 11;
    t.tm_hour = 9;
    t.tm_min = 5;
    const std::string stamp = "(2026-12-11 09：05).bmp";
    struct Case
    {
        const char* folder;
        int existing; // names taken: the plain one and _1 .. _(existing-1)
        std::string expected;
    } cases[] = {
        {"C:\\Photos", 0, "C:\\Photos\\bob" + stamp},
        {"C:\\Photos\\\\", 0, "C:\\Photos\\bob" + stamp},
        {"C:\\Photos", 1, "C:\\Photos\\bob_1" + stamp},
        {"C:\\Photos", 3, "C:\\Photos\\bob_3" + stamp},
        {"C:\\Photos", 10000, ""},
    };
    for (const Case& c : cases) {
        std::set<std::string> taken;
        if (c.existing > 0)
            taken.insert("C:\\Photos\\bob" + stamp);
        for (int i = 1; i < c.existing; ++i)
            taken.insert("C:\\Photos\\bob_" + std::to_string(i) + stamp);
        std::string name = CDlgRight::MakePictureName(
            c.folder, "bob", t, [&](const std::string& path) { return taken.count(path) > 0; });
        EXPECT_EQ(c.expected, name) << c.folder << " " << c.existing;
    }
}

TEST_F(WallFixture, GrabbedPicturesGoToThePhotoFolder)
{
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    g_Settings.photoFilePath = folder;
    AddUsers(1);
    ASSERT_EQ(1, wall.AddUserVideo("me", kOwn));
    wall.SetSelectedUser(2001);
    std::string remote = wall.GrabPicture();
    ASSERT_FALSE(remote.empty());
    EXPECT_NE(std::string::npos, remote.find("user2001("));
    EXPECT_EQ(1, CountCalls("T_R_SavePicture " + remote));
    wall.SetSelectedUser(kOwn);
    std::string own = wall.GrabPicture();
    EXPECT_EQ(1, CountCalls("T_S_SavePicture " + own));
    wall.SetSelectedUser(4242);
    EXPECT_TRUE(wall.GrabPicture().empty());
}
