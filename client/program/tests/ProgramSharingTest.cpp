// The sharing pages in the program's main window, in a meeting on an
// embedded stand-in server: the presentation board, co-browsing and the
// screen broadcast page sit on the tab strip and receive what the server
// sends, the main window's commands and the panes' calls reach them, and a
// file offered by the other participant is asked about.
#include <gtest/gtest.h>

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CDlgLeft.h"
#include "CDlgScreenConfig.h"
#include "CDocTransfer.h"
#include "CFileTransfers.h"
#include "CMainFrame.h"
#include "CProgramPanes.h"
#include "CProgramSharing.h"
#include "CRCManager.h"
#include "CScreenRelay.h"
#include "CServerDispatcher.h"
#include "CSharingCommandTargets.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "ClientWindowKit.h"
#include "CWebFrame.h"
#include "CWebShareFrame.h"
#include "DispatchTargets.h"
#include "IDocumentList.h"
#include "IFrameMedia.h"
#include "IPaneHost.h"
#include "IProcessLauncher.h"
#include "MainFrameResource.h"
#include "StandInTestKit.h"

#include <memory>
#include <string>

namespace {

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

// Alice's main window, built as the program builds it, in the free room of
// an embedded stand-in server with its screen relay; "host" is the other
// participant.
class ProgramSharing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WSADATA wsa;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &wsa));
        ASSERT_TRUE(server.Start(0));
        CStandInServer* s = &server;
        relay.reset(new CScreenRelay([s](uint32_t room, uint32_t user) {
            for (uint32_t id : s->GetRoomUsers(room))
                if (id == user)
                    return true;
            return false;
        }));
        ASSERT_TRUE(relay->Start(0));
        savedAppPort = g_Settings.applicationServerPort;
        g_Settings.applicationServerPort = relay->GetPort();

        ASSERT_TRUE(host.Login(server.GetPort(), "host", "pw", 2)) << host.text;
        char text[CCommandManager::TEXT_SIZE] = {};
        strcpy(g_LoginInfo.serverAddress, "127.0.0.1");
        g_LoginInfo.serverPort = server.GetPort();
        strcpy(g_LoginInfo.userName, "alice");
        strcpy(g_LoginInfo.password, "a");
        g_LoginInfo.roomId = 2;
        ASSERT_TRUE(g_CmdManager.Login(&g_LoginInfo, text)) << text;
        g_LoginInfo.audioPort = 7100;
        g_LoginInfo.audioPort2 = 7101;
        MAINFRAME_SERVICES s2;
        s2.media = &media;
        s2.launcher = &launcher;
        s2.commands.targets = &targets;
        s2.makePanes = [this](CMainFrame* f) -> IFramePanes* {
            panes = new CProgramPanes(f, DefaultPaneContext(nullptr));
            panes->Sharing().BindCommandTargets(&targets);
            return panes;
        };
        frame = new CMainFrame(s2);
        g_pMainFrame = frame;
        ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        frame->MoveWindow(0, 0, 1000, 700);
        frame->ShowWindow(SW_SHOW);
        ASSERT_TRUE(CTestKit::PumpUntil([&] { return g_UserTable.GetCount() == 2; }, 5000));
    }
    void TearDown() override
    {
        if (frame && ::IsWindow(frame->GetSafeHwnd()))
            frame->DestroyWindow();
        CTestKit::PumpPending();
        g_CmdManager.Close();
        host.manager.Close();
        relay->Stop();
        server.Stop();
        g_Settings.applicationServerPort = savedAppPort;
        WSACleanup();
    }

    CProgramSharing& Sharing() { return panes->Sharing(); }

    CStandInServer server{StandInTestConfig()};
    std::unique_ptr<CScreenRelay> relay;
    int savedAppPort = 0;
    StandInClient host;
    FakeMedia media;
    FakeLauncher launcher;
    CSharingCommandTargets targets;
    CProgramPanes* panes = nullptr;
    CMainFrame* frame = nullptr;
    CTestKit::MessageBoxes boxes{IDNO};
};

TEST_F(ProgramSharing, TheSharingPagesSitOnTheTabStripAndAreTheDispatchersTargets)
{
    CMainFrameTab& tab = frame->TabStrip();
    ASSERT_NE(nullptr, Sharing().Presentation());
    ASSERT_NE(nullptr, Sharing().Browsing());
    ASSERT_NE(nullptr, Sharing().Screen());
    // Pages 2, 3 and 5 of the strip, children of it.
    ASSERT_EQ(6, tab.GetItemCount());
    EXPECT_EQ(Sharing().Presentation()->GetSafeHwnd(),
              frame->GetPane(PANE_PAGE_PRESENTATION)->GetSafeHwnd());
    EXPECT_EQ(Sharing().Browsing()->GetSafeHwnd(),
              frame->GetPane(PANE_PAGE_BROWSING)->GetSafeHwnd());
    EXPECT_EQ(Sharing().Screen()->GetSafeHwnd(), frame->GetPane(PANE_PAGE_SCREEN)->GetSafeHwnd());
    for (FRAME_PANE page : {PANE_PAGE_PRESENTATION, PANE_PAGE_BROWSING, PANE_PAGE_SCREEN})
        EXPECT_EQ(tab.GetSafeHwnd(), ::GetParent(frame->GetPane(page)->GetSafeHwnd()));
    const DISPATCH_TARGETS& t = frame->Dispatcher().Targets();
    EXPECT_EQ(static_cast<IWebSharePane*>(Sharing().Presentation()), t.presentation);
    EXPECT_EQ(static_cast<IWebSharePane*>(Sharing().Browsing()), t.browsing);
    EXPECT_EQ(static_cast<IScreenShare*>(Sharing().Screen()), t.screen);
    EXPECT_EQ(static_cast<IFileReceiver*>(&Sharing().Files()), t.fileReceiver);
    // The screen-broadcast settings exist, hidden.
    ASSERT_NE(nullptr, Sharing().ScreenConfig());
    EXPECT_FALSE(Sharing().ScreenConfig()->IsWindowVisible());
}

TEST_F(ProgramSharing, TheMenuCommandsAndThePanesReachTheSharingPages)
{
    // 33054 shows the screen-broadcast settings.
    frame->SendMessage(WM_COMMAND, ID_SCREEN_SETTINGS, 0);
    EXPECT_TRUE(Sharing().ScreenConfig()->IsWindowVisible());

    // The page's own "设置" goes through the main window's command.
    Sharing().ScreenConfig()->ShowWindow(SW_HIDE);
    Sharing().Screen()->SendMessage(WM_COMMAND, MAKEWPARAM(2123, BN_CLICKED), 0);
    EXPECT_TRUE(
        CTestKit::PumpUntil([&] { return Sharing().ScreenConfig()->IsWindowVisible() != FALSE; }));

    // The web pages follow the control right the dispatcher gives, and lose
    // it when the left pane gives the meeting control up.
    Sharing().Presentation()->SetControlRight(true);
    Sharing().Browsing()->SetControlRight(true);
    IPaneHost* paneHost = panes->PaneHost();
    ASSERT_NE(nullptr, paneHost);
    paneHost->DropSharingRights();
    EXPECT_FALSE(Sharing().Presentation()->IsLeader());
    EXPECT_FALSE(Sharing().Browsing()->IsLeader());
    EXPECT_FALSE(paneHost->IsBroadcastingScreen());
    EXPECT_EQ(0u, paneHost->GetRemoteControlledUser());

    // Without a remote control of this computer "停止被远程控制" sends nothing.
    frame->SendMessage(WM_COMMAND, ID_STOP_CONTROLLED, 0);
    EXPECT_EQ(CRCManager::MODE_IDLE, Sharing().Screen()->GetMode());
}

TEST_F(ProgramSharing, TheNetDiskPageOpensOnTheBoardAndGivingUpTheControlStopsItsUpload)
{
    // A presentation file of the room, opened from the page's list, shows
    // on the presentation board.
    IDocumentList* files = frame->Dispatcher().Targets().files;
    ASSERT_NE(nullptr, files);
    files->AddFile(2, 77, 5, 0, "Agenda.txt", "second", "stored/PPTFile1.htm");
    HWND list = windowkit::Control(frame->m_hWnd, 2207, "SysListView32");
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(1, ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    CWebShareFrame* board = Sharing().Presentation();
    ASSERT_NE(nullptr, board);
    ASSERT_EQ(0, board->Tabs().GetTabCount());
    ::SendMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    ASSERT_EQ(0, ::SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    ::SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 30));
    EXPECT_EQ(1, board->Tabs().GetTabCount());
    EXPECT_NE(nullptr, board->ActiveView());

    // A conversion that hangs keeps the upload running until the meeting
    // control is given up.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string source =
        std::string(temp) + "sharing_slow_" + std::to_string(GetCurrentProcessId()) + ".txt";
    ASSERT_TRUE(windowkit::WriteWholeFile(source, "slow"));
    SetEnvironmentVariableA("HALVERN_CALL_SCRIPT", "hang 3000");
    ASSERT_TRUE(CDocTransfer::Instance().Begin(source, "slow.txt", 1));
    CTestKit::PumpFor(300);
    EXPECT_TRUE(CDocTransfer::Instance().IsBusy());
    panes->PaneHost()->StopDocumentTransfers();
    EXPECT_FALSE(CDocTransfer::Instance().IsBusy());
    SetEnvironmentVariableA("HALVERN_CALL_SCRIPT", NULL);
    CTestKit::PumpFor(300);
    DeleteFileA(source.c_str());
}

TEST_F(ProgramSharing, TheOthersBroadcastShowsOnTheScreenPage)
{
    // The host's broadcast reaches alice's page, which starts watching and
    // takes the sharing program's view window in.
    ASSERT_TRUE(host.manager.SendCommand2076(1));
    CRCManager& page = *Sharing().Screen();
    EXPECT_TRUE(
        CTestKit::PumpUntil([&] { return page.GetMode() == CRCManager::MODE_WATCHING; }, 10000));
    EXPECT_TRUE(CTestKit::PumpUntil(
        [&] {
            HWND view = (HWND)(UINT_PTR)page.Block().U32(RC_OFF_VIEW_WINDOW);
            return view && ::IsWindow(view) && ::GetParent(view) == page.GetSafeHwnd();
        },
        15000));
    // The page shows, with the data window.
    EXPECT_EQ(4, frame->TabStrip().GetCurPage());
    // The broadcast ends.
    ASSERT_TRUE(host.manager.SendCommand2076(0));
    EXPECT_TRUE(
        CTestKit::PumpUntil([&] { return page.GetMode() == CRCManager::MODE_IDLE; }, 10000));
}

TEST_F(ProgramSharing, AFileOfferOfTheOtherParticipantIsAskedAbout)
{
    const uint32_t ids[] = {g_LoginInfo.userId};
    ASSERT_TRUE(host.manager.SendFileOffer(10, 77, "notes.txt", ids, 1));
    // (The start step's boxes about the sound devices, which this test's
    // machine lacks, may come first.)
    const std::string question = "用户host向你发送了文件notes.txt,是否接收?";
    auto asked = [&] {
        size_t n = 0;
        for (const auto& box : boxes.Shown())
            n += box.text == question ? 1 : 0;
        return n;
    };
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return asked() > 0; }, 5000));
    EXPECT_EQ(1u, asked());
    // Refused: nothing left open.
    CTestKit::PumpFor(200);
    EXPECT_TRUE(Sharing().Files().OpenDialogs().empty());
}

} // namespace
