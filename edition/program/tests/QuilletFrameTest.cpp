// The earlier edition's main window over the shared window's fakes: its
// menu, the devices brought up at the start step, and the capture hot key.
#include <gtest/gtest.h>

#include <algorithm>

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CLanguageManager.h"
#include "CQuilletAudio.h"
#include "CQuilletFrame.h"
#include "CUserTable.h"
#include "FakeRavoTM.h"
#include "MainFrameFixture.h"
#include "MainFrameResource.h"
#include "WbFrameResource.h"

using namespace mainframetest;

namespace {

int s_registered = 0;
int FakeAdd(HWND, int, int) { return ++s_registered; }
int FakeRemove(HWND, int, int) { return s_registered > 0 ? (--s_registered, 1) : 0; }

// The shared window's fixture, opening the earlier edition's window.
struct QuilletFixture : Fixture
{
    RAVOTM_FUNCTIONS ravotm = FakeRavoTM::Functions();
    MEDIA_FUNCTIONS mediaTable = FakeRavoTM::Media();
    CClientSettings settings;
    std::vector<UINT> messages;
    CQuilletAudio audio{ravotm, mediaTable, settings, [this](UINT id) { messages.push_back(id); }};
    CQuilletFrame* quillet = nullptr;

    CQuilletFrame* OpenQuillet()
    {
        MAINFRAME_SERVICES s;
        s.link = &link;
        s.media = &media;
        s.panes = &panes;
        s.launcher = &launcher;
        s.sleep = [this](DWORD ms) { sleeps.push_back(ms); };
        s.login = &login;
        s.users = &users;
        quillet = new CQuilletFrame(&audio, s);
        frame = quillet;
        frame->SetMessageHandler(
            [this](const unsigned char* d, size_t n) { dispatched.emplace_back(d, d + n); });
        if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
            frame = quillet = nullptr;
            return nullptr;
        }
        frame->ShowWindow(SW_SHOW);
        CTestKit::PumpPending();
        return quillet;
    }
};

// The commands of a menu and its popups, in order.
void Commands(HMENU menu, std::vector<UINT>* ids, int* popups)
{
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            ++*popups;
            Commands(sub, ids, popups);
        } else {
            ids->push_back(::GetMenuItemID(menu, i));
        }
    }
}

} // namespace

TEST(QuilletFrame, MenuHasNoLanguageChoiceAndNoTwentyFiveWindowLayouts)
{
    g_LangManager.ScanLanguageFiles();
    ASSERT_GT(g_LangManager.GetCount(), 0) << "a language choice could be built";
    QuilletFixture f;
    ASSERT_NE(f.OpenQuillet(), nullptr);
    std::vector<UINT> ids;
    int popups = 0;
    Commands(f.frame->MenuBar().GetMenuHandle(), &ids, &popups);
    EXPECT_EQ(popups, 5) << "the five menus, no language popup";
    auto has = [&](UINT id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    EXPECT_FALSE(has(ID_SPLIT_25));
    EXPECT_FALSE(has(ID_SPLIT_25_FULL));
    EXPECT_TRUE(has(ID_SPLIT_16_FULL));
    EXPECT_TRUE(has(ID_SPLIT_16));
}

TEST(QuilletFrame, StartStepBringsTheDevicesUpOnceWithTheSpeakersAsSources)
{
    FakeRavoTM::Reset();
    g_UserTable.RemoveAll();
    g_UserTable.AddUser(7, "alice", 0);
    g_UserTable.AddUser(8, "bob", 0);
    g_UserTable.SetSpeakState(7, 2);
    g_UserTable.SetSpeakState(8, 2);
    g_LoginInfo.userId = 7;
    QuilletFixture f;
    ASSERT_NE(f.OpenQuillet(), nullptr);
    for (DWORD start = GetTickCount();
         !f.quillet->DevicesStarted() && GetTickCount() - start < 5000;)
        CTestKit::PumpFor(20);
    ASSERT_TRUE(f.quillet->DevicesStarted());
    CTestKit::PumpFor(100);
    EXPECT_EQ(FakeRavoTM::Only("D_G_StartCapture").size(), 1u);
    EXPECT_EQ(FakeRavoTM::Only("D_G_StartPlay").size(), 1u);
    EXPECT_EQ(FakeRavoTM::Only("D_G_AddSource"), std::vector<std::string>{"D_G_AddSource(8)"});
    // The terminal has audio now, before the shared step reports its devices.
    EXPECT_EQ(g_UserTable.HasAudio(7), 1);
    EXPECT_TRUE(f.quillet->StartDevices()) << "a second start changes nothing";
    EXPECT_EQ(FakeRavoTM::Only("D_G_StartCapture").size(), 1u);
    g_UserTable.RemoveAll();
}

TEST(QuilletFrame, F9CapturesOncePerArmingIntoTheBoard)
{
    QuilletFixture f;
    ASSERT_NE(f.OpenQuillet(), nullptr);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "quillet_frame_" + std::to_string(GetCurrentProcessId()) + "\\";
    std::vector<std::string> opened;
    f.quillet->SetCaptureFolder(folder);
    f.quillet->SetPictureTarget([&](const std::string& path) { opened.push_back(path); });
    f.quillet->Hotkey() = CCaptureHotkey(&FakeAdd, &FakeRemove);
    s_registered = 0;
    {
        CTestKit::MessageBoxes boxes(IDOK);
        // The whiteboard's capture button arms the key.
        f.frame->SendMessage(WM_COMMAND, IDC_WB_T_CAPTURE, 0);
        EXPECT_EQ(boxes.Shown().size(), 1u);
    }
    EXPECT_EQ(f.frame->SendMessage(WM_HOTKEY, CCaptureHotkey::HOTKEY_ID, 0), 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].rfind(folder + "pict", 0), 0u) << opened[0];
    EXPECT_EQ(s_registered, 0);
    // Another key id is the frame's own business; a second F9 opens nothing.
    f.frame->SendMessage(WM_HOTKEY, 5, 0);
    f.frame->SendMessage(WM_HOTKEY, CCaptureHotkey::HOTKEY_ID, 0);
    EXPECT_EQ(opened.size(), 1u);
    DeleteFileA(opened[0].c_str());
}
