// The audio page of this edition over a fake RavoTM: what each change calls,
// the lists as RavoTM names them, and the hidden noise and gain switches
// that must keep the stored levels.
#include "CClientSettings.h"
#include "CDlgAudioConfig.h"
#include "CQuilletAudio.h"
#include "CQuilletAudioPage.h"
#include "FakeRavoTM.h"
#include "SettingsControls.h"
#include "SettingsResource.h"
#include "SettingsTestKit.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace settingsui;
using Calls = std::vector<std::string>;

namespace {

std::vector<std::string> s_capture, s_play, s_formats;

int FillNames(CStringList* names, const std::vector<std::string>& from, const char* name)
{
    FakeRavoTM::calls.push_back(std::string(name) + "()");
    for (const std::string& n : from)
        names->AddTail(CString(n.c_str()));
    return 1;
}

class QuilletAudioPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FakeRavoTM::Reset();
        s_capture = {"Mic A", "Mic B"};
        s_play = {"Speaker A", "Speaker B", "Speaker C"};
        s_formats = {"G.722.1", "PCM"};
        ravotm.D_G_GetCapDevices = [](CStringList* l) {
            return FillNames(l, s_capture, "D_G_GetCapDevices");
        };
        ravotm.D_G_GetPlayDevices = [](CStringList* l) {
            return FillNames(l, s_play, "D_G_GetPlayDevices");
        };
        ravotm.D_G_GetCapFormats = [](CStringList* l) {
            return FillNames(l, s_formats, "D_G_GetCapFormats");
        };
        m_saved = g_Settings;
        g_Settings = CClientSettings();
        g_Settings.audioCapture = 1;
        g_Settings.audioPlay = 2;
        g_Settings.audioFormat = 1;
        g_Settings.denoise = 2;
        g_Settings.agc = 1;
        g_Settings.aec = 1;
        g_Settings.asc = 1;
        g_Settings.playLocal = 0;
        g_Settings.autoFec = 0;
        g_Settings.fecType = 1;
        host.users.AddUser(1, "own", 1);
        host.users.SetHasAudio(1, 1);
        CDlgAudioConfig::SetBinding(&binding);
        ASSERT_TRUE(top.Make());
        ASSERT_TRUE(page.Create(&top));
    }
    void TearDown() override
    {
        if (page.m_hWnd)
            page.DestroyWindow();
        CDlgAudioConfig::SetBinding(nullptr);
        g_Settings = m_saved;
    }
    // The page shown: lists filled, the call log cleared.
    void Show()
    {
        page.Refresh();
        FakeRavoTM::calls.clear();
    }

    RAVOTM_FUNCTIONS ravotm = FakeRavoTM::Functions();
    MEDIA_FUNCTIONS media = FakeRavoTM::Media();
    std::vector<UINT> messages;
    CQuilletAudio audio{ravotm, media, g_Settings, [this](UINT id) { messages.push_back(id); }};
    int starts = 0;
    CQuilletAudioPage binding{ravotm, audio, g_Settings, [this] {
                                  ++starts;
                                  return true;
                              }};
    settingstest::CTestSettingsHost host;
    settingstest::CTopWindow top;
    CDlgAudioConfig page;
    CClientSettings m_saved;
};

} // namespace

TEST_F(QuilletAudioPage, EachChangeCallsRavoTMForItAloneAndKeepsTheHiddenLevels)
{
    struct Case
    {
        const char* name;
        void (*change)(CWnd* page);
        Calls calls;
    };
    const Case cases[] = {
        // The hidden noise and gain switches show the stored levels: they stay 2 and 1.
        {"nothing", [](CWnd*) {}, {"D_G_SetASC(1)"}},
        {"playback device",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_PLAY_LIST, 0); },
         {"D_G_StopPlay()", "D_G_StartPlay(0)", "D_G_SetASC(1)"}},
        {"capture device",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_CAPTURE_LIST, 0); },
         {"D_G_StopCapture()", "D_G_StartCapture(0,1)", "D_G_SetASC(1)"}},
        {"capture format",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_FORMAT_LIST, 0); },
         {"D_G_StopCapture()", "D_G_StartCapture(1,0)", "D_G_SetASC(1)"}},
        {"small delay",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_DELAY_LIST, 1); },
         {"D_G_SetFECType(0,0)", "D_G_SetASC(1)"}},
        {"default delay keeps the level",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_DELAY_LIST, 0); },
         {"D_G_SetFECType(1,1)", "D_G_SetASC(1)"}},
        {"no delay entry takes the slider",
         [](CWnd* p) {
             ListSetSel(p, IDC_AUDIO_DELAY_LIST, -1);
             SliderSetPos(p, IDC_AUDIO_FEC_SLIDER, 2);
         },
         {"D_G_SetFECType(2,0)", "D_G_SetASC(1)"}},
        {"echo off",
         [](CWnd* p) { SetChecked(p, IDC_AUDIO_AEC, false); },
         {"D_G_SetASC(1)", "D_G_SetAEC(0)"}},
        {"local playback on",
         [](CWnd* p) { SetChecked(p, IDC_AUDIO_PLAY_LOCAL, true); },
         {"D_G_SetPlayLocal(1)", "D_G_SetASC(1)"}},
        {"noise and gain switched off",
         [](CWnd* p) {
             SetChecked(p, IDC_AUDIO_DENOISE_CHECK, false);
             SetChecked(p, IDC_AUDIO_AGC_CHECK, false);
         },
         {"D_G_SetDeNoise(0)", "D_G_SetASC(1)", "D_G_SetAGC(0)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CClientSettings before = g_Settings;
        Show();
        c.change(&page);
        page.Apply();
        EXPECT_EQ(FakeRavoTM::calls, Calls(c.calls));
        EXPECT_TRUE(messages.empty());
        if (std::string(c.name) != "noise and gain switched off") {
            EXPECT_EQ(g_Settings.denoise, 2u);
            EXPECT_EQ(g_Settings.agc, 1u);
        } else {
            EXPECT_EQ(g_Settings.denoise, 0u);
            EXPECT_EQ(g_Settings.agc, 0u);
        }
        // The stored record follows the page, and a second OK changes nothing.
        FakeRavoTM::calls.clear();
        page.Apply();
        EXPECT_EQ(FakeRavoTM::calls, Calls({"D_G_SetASC(1)"}));
        g_Settings = before;
    }
}

TEST_F(QuilletAudioPage, AFailingCaptureIsShownOnceAndTheOtherValuesStillApply)
{
    Show();
    FakeRavoTM::captureResult = 0;
    ListSetSel(&page, IDC_AUDIO_CAPTURE_LIST, 0);
    ListSetSel(&page, IDC_AUDIO_DELAY_LIST, 3);
    SetChecked(&page, IDC_AUDIO_AEC, false);
    page.Apply();
    EXPECT_EQ(messages, std::vector<UINT>({CQuilletAudio::IDS_CAPTURE_FAILED}));
    EXPECT_FALSE(page.HasAudio());
    EXPECT_EQ(FakeRavoTM::calls, Calls({"D_G_StopCapture()", "D_G_StartCapture(0,1)",
                                        "D_G_SetFECType(2,0)", "D_G_SetASC(1)", "D_G_SetAEC(0)"}));
    EXPECT_EQ(g_Settings.audioCapture, 0u) << "the new index is kept";
    EXPECT_EQ(g_Settings.fecType, 2u);
    EXPECT_EQ(g_Settings.aec, 0u);
}

TEST_F(QuilletAudioPage, ListsAreRavoTMsNamesOnEveryShowing)
{
    page.Refresh();
    page.Refresh();
    EXPECT_EQ(ListCount(&page, IDC_AUDIO_PLAY_LIST), 3) << "a second showing adds no names twice";
    EXPECT_EQ(std::string(ListText(&page, IDC_AUDIO_PLAY_LIST, 2)), "Speaker C");
    EXPECT_EQ(ListSel(&page, IDC_AUDIO_PLAY_LIST), 2);
    EXPECT_EQ(ListSel(&page, IDC_AUDIO_CAPTURE_LIST), 1);
    EXPECT_EQ(std::string(ListSelText(&page, IDC_AUDIO_FORMAT_LIST)), "PCM");
    // The hidden level lists stay empty in this edition.
    EXPECT_EQ(ListCount(&page, IDC_AUDIO_DENOISE_LIST), 0);
    EXPECT_EQ(ListCount(&page, IDC_AUDIO_AGC_LIST), 0);
    EXPECT_TRUE(Checked(&page, IDC_AUDIO_DENOISE_CHECK));
    EXPECT_TRUE(Checked(&page, IDC_AUDIO_AGC_CHECK));

    // A stored device beyond the list becomes the first entry, stored as 0;
    // an empty list keeps what is stored.
    g_Settings.audioCapture = 7;
    s_play.clear();
    page.Refresh();
    EXPECT_EQ(ListSel(&page, IDC_AUDIO_CAPTURE_LIST), 0);
    EXPECT_EQ(g_Settings.audioCapture, 0u);
    EXPECT_EQ(ListCount(&page, IDC_AUDIO_PLAY_LIST), 0);
    EXPECT_EQ(g_Settings.audioPlay, 2u);
    FakeRavoTM::calls.clear();
    page.Apply();
    EXPECT_EQ(FakeRavoTM::calls, Calls({"D_G_SetASC(1)"}));
}

TEST_F(QuilletAudioPage, DelayListAndSliderShowTheStoredFecChoice)
{
    struct Case
    {
        DWORD automatic, level;
        int delay;
        bool sliderEnabled;
    };
    const Case cases[] = {
        {1, 2, 0, false}, {0, 0, 1, true}, {0, 1, 2, true}, {0, 2, 3, true}, {0, 5, -1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "auto " << c.automatic << " level " << c.level);
        g_Settings.autoFec = c.automatic;
        g_Settings.fecType = c.level;
        page.Refresh();
        EXPECT_EQ(ListSel(&page, IDC_AUDIO_DELAY_LIST), c.delay);
        EXPECT_EQ(Checked(&page, IDC_AUDIO_FEC_AUTO), c.automatic != 0);
        EXPECT_EQ(::IsWindowEnabled(Item(&page, IDC_AUDIO_FEC_SLIDER)) != FALSE, c.sliderEnabled);
    }
}

TEST_F(QuilletAudioPage, StartingTheDevicesIsTheEditionsOwnStartAndTheSliderSpansRavoTMsLevels)
{
    // The fake names three levels.
    EXPECT_EQ(::SendMessage(Item(&page, IDC_AUDIO_FEC_SLIDER), TBM_GETRANGEMAX, 0, 0), 2);
    page.InitAudio();
    EXPECT_EQ(starts, 1);
    EXPECT_TRUE(page.HasAudio());
    EXPECT_TRUE(FakeRavoTM::Only("D_G_Start").empty()) << "the page itself starts nothing";
}
