#include <gtest/gtest.h>

#include <string>

#include "CClientSettings.h"
#include "CDlgLeft.h"
#include "CTestKit.h"
#include "InputAltVolume.h"
#include "InputDestVolume.h"
#include "LeftPaneFlags.h"
#include "MasterOutputVolume.h"
#include "MediaFunctionList.h"
#include "PaneTestKit.h"
#include "PanesResource.h"

using namespace panetest;

namespace {

// The audio manager's functions as the pane calls them.
std::vector<int> g_sendAudio;
std::vector<int> g_aec;
int g_inputLevel = 0;
int g_playEnergy = 0;
int FakeSetSendAudio(int on)
{
    g_sendAudio.push_back(on);
    return 1;
}
int FakeSetAec(int on)
{
    g_aec.push_back(on);
    return 1;
}
int FakeGetParam(int id, void* value)
{
    if (id == AUDIO_PARAM_CAPTURE_LEVEL)
        *static_cast<int*>(value) = g_inputLevel;
    return 1;
}
int FakePlayEnergy() { return g_playEnergy; }

class LeftPane : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_MediaFunctions.entries[MF_AUDIO_MGR_SetSendAudio] =
            reinterpret_cast<FARPROC>(&FakeSetSendAudio);
        g_MediaFunctions.entries[MF_AUDIO_MGR_SetAEC] = reinterpret_cast<FARPROC>(&FakeSetAec);
        g_MediaFunctions.entries[MF_AUDIO_MGR_Processer_GetParam] =
            reinterpret_cast<FARPROC>(&FakeGetParam);
        g_MediaFunctions.entries[MF_AUDIO_MGR_GetPlayEnergy] =
            reinterpret_cast<FARPROC>(&FakePlayEnergy);
        g_sendAudio.clear();
        g_aec.clear();
        g_bMicMuted = 0;
        g_bSpeaking = 0;
        ASSERT_TRUE(StartWinsockOnce());
        ASSERT_TRUE(server.Start(0));
        ASSERT_TRUE(host.Login("host", "pw"));
        self = host.client.login.userId;
        ASSERT_TRUE(parent.CreateTop(300, 700));
        left.reset(new CDlgLeft(host.Context(&fake)));
        ASSERT_TRUE(left->CreatePane(&parent));
        left->MoveWindow(0, 0, 260, 650);
        left->ShowWindow(SW_SHOW);
        CTestKit::PumpPending();
        host.ClearSent();
    }
    void TearDown() override
    {
        left->DestroyWindow();
        parent.DestroyWindow();
        CTestKit::PumpPending();
        memset(&g_MediaFunctions, 0, sizeof g_MediaFunctions);
    }
    USER_INFO& Own() { return *host.client.users.FindUser(self); }
    bool Visible(UINT id) { return (left->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }
    bool Enabled(UINT id) { return left->GetDlgItem(id)->IsWindowEnabled() != FALSE; }

    CStandInServer server{StandInTestConfig()};
    CMeetingClient host{server};
    CFakeHost fake;
    CParentWnd parent;
    std::unique_ptr<CDlgLeft> left;
    uint32_t self = 0;
};

} // namespace

TEST(LeftPaneSlider, PositionsMapIntoTheMixerRangeOnlyWhenBothRangesExist)
{
    struct Case
    {
        int pos, sMin, sMax, mMin, mMax;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {50, 0, 100, 0, 65535, true, 32767},
        {100, 0, 100, 0, 65535, true, 65535},
        {0, 0, 100, 100, 200, true, 100},
        {10, 0, 0, 0, 65535, false, 0}, // empty slider range
        {10, 0, 100, -1, -1, false, 0}, // no mixer behind the slider
        {10, 0, 100, 0, -1, false, 0},
        {-1, 0, 100, 0, 65535, false, 0}, // a getter's failure as position
    };
    for (const Case& c : cases) {
        int value = 0;
        EXPECT_EQ(c.ok, CDlgLeft::SliderToMixer(c.pos, c.sMin, c.sMax, c.mMin, c.mMax, &value))
            << c.pos;
        if (c.ok)
            EXPECT_EQ(c.value, value) << c.pos;
    }
}

TEST_F(LeftPane, ButtonsSendByTheOwnStateOrSayWhyNot)
{
    struct Case
    {
        const char* name;
        UINT button;
        uint8_t role, audio, video, speak, control, broadcast, mode;
        uint16_t code;       // 0: nothing sent
        uint8_t value;       // for 2058
        const char* message; // shown instead
    };
    const Case cases[] = {
        {"ask to speak", IDC_LEFT_SPEAK, 2, 1, 1, 0, 0, 0, 0, 2063, 0, nullptr},
        {"withdraw a pending request", IDC_LEFT_SPEAK, 2, 1, 1, 1, 0, 0, 0, 2064, 0, nullptr},
        {"stop speaking", IDC_LEFT_SPEAK_OFF, 2, 1, 1, 2, 0, 0, 0, 2064, 0, nullptr},
        {"role 3 may not ask", IDC_LEFT_SPEAK, 3, 1, 1, 0, 0, 0, 0, 0, 0, nullptr},
        {"no audio", IDC_LEFT_SPEAK, 2, 0, 1, 0, 0, 0, 0, 0, 0, nullptr},
        {"ask for control", IDC_LEFT_CONTROL, 2, 1, 1, 0, 0, 0, 0, 2065, 0, nullptr},
        {"withdraw control request", IDC_LEFT_CONTROL, 2, 1, 1, 0, 1, 0, 0, 2066, 0, nullptr},
        {"role 3 no control", IDC_LEFT_CONTROL, 3, 1, 1, 0, 0, 0, 0, 0, 0, nullptr},
        {"broadcast in a free meeting", IDC_LEFT_BROADCAST, 2, 1, 1, 0, 0, 0, 0, 2058, 1, nullptr},
        {"broadcast as host, chaired", IDC_LEFT_BROADCAST, 1, 1, 1, 0, 0, 0, 2, 2058, 1, nullptr},
        {"broadcast as participant, chaired", IDC_LEFT_BROADCAST, 2, 1, 1, 0, 0, 0, 2, 0, 0,
         "主控会议，一般用户不能广播"},
        {"broadcast without video", IDC_LEFT_BROADCAST, 2, 1, 0, 0, 0, 0, 0, 0, 0, "没有视频源!"},
        {"already broadcasting", IDC_LEFT_BROADCAST, 2, 1, 1, 0, 0, 1, 0, 0, 0, nullptr},
        {"stop broadcasting", IDC_LEFT_BROADCAST_OFF, 2, 1, 1, 0, 0, 1, 0, 2058, 0, nullptr},
        {"stop when not broadcasting", IDC_LEFT_BROADCAST_OFF, 2, 1, 1, 0, 0, 0, 0, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        CTestKit::MessageBoxes boxes;
        host.ClearSent();
        USER_INFO& own = Own();
        own.role = c.role;
        own.hasAudio = c.audio;
        own.hasVideo = c.video;
        own.speakState = c.speak;
        own.controlState = c.control;
        own.broadcastFlag = c.broadcast;
        host.client.login.meetingMode = c.mode;
        left->SendMessage(WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
        const std::vector<uint16_t> codes = host.SentCodes();
        if (c.code) {
            ASSERT_EQ(std::vector<uint16_t>{c.code}, codes) << c.name;
            if (c.code == 2058) {
                const auto frame = host.SentFrames(2058).at(0);
                EXPECT_EQ(self, ReadU32(frame, 4)) << c.name;
                EXPECT_EQ(c.value, frame[8]) << c.name;
            }
        } else
            EXPECT_TRUE(codes.empty()) << c.name;
        if (c.message) {
            ASSERT_EQ(1u, boxes.Shown().size()) << c.name;
            EXPECT_EQ(c.message, boxes.Shown()[0].text) << c.name;
        } else
            EXPECT_TRUE(boxes.Shown().empty()) << c.name;
    }
}

TEST_F(LeftPane, GivingUpTheControlEndsWhatItCarriedFirst)
{
    Own().controlState = 2;
    fake.broadcastingScreen = true;
    fake.controlledUser = 4242;
    left->OnMeetingControl();
    EXPECT_EQ((std::vector<uint16_t>{2076, 2078, 2066}), host.SentCodes());
    const auto remote = host.SentFrames(2078).at(0);
    EXPECT_EQ(4242u, ReadU32(remote, 4));
    EXPECT_EQ(0, remote[8]);
    EXPECT_EQ(0, host.SentFrames(2076).at(0)[2]);
    EXPECT_EQ(
        (std::vector<std::string>{"EndScreenBroadcast", "EndRemoteControl", "StopDocumentTransfers",
                                  "DropSharingRights", "DropLayoutControl"}),
        fake.calls);
}

TEST_F(LeftPane, RecordingNeedsTheRightAndStartsThroughTheMainWindow)
{
    CTestKit::MessageBoxes boxes;
    Own().allowRecord = 0;
    left->OnRecord();
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("你没有权限使用录制功能!", boxes.Shown()[0].text);
    Own().allowRecord = 1;
    left->OnRecord();
    fake.recording = true;
    left->OnRecord();
    EXPECT_EQ(std::vector<std::string>{"StartRecording"}, fake.calls);
    left->ShowRecordState();
    EXPECT_TRUE(Visible(IDC_LEFT_RECORD_OFF));
    EXPECT_FALSE(Visible(IDC_LEFT_RECORD));
}

TEST_F(LeftPane, SpeakStateSwitchesButtonsAndTheOwnAudio)
{
    left->ShowOwnSpeakState(2);
    EXPECT_TRUE(Visible(IDC_LEFT_SPEAK_OFF));
    EXPECT_FALSE(Visible(IDC_LEFT_SPEAK));
    EXPECT_EQ(1u, g_bSpeaking);
    left->CheckDlgButton(IDC_LEFT_MIC_MUTE, BST_CHECKED);
    left->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LEFT_MIC_MUTE, BN_CLICKED), 0);
    left->CheckDlgButton(IDC_LEFT_MIC_MUTE, BST_UNCHECKED);
    left->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LEFT_MIC_MUTE, BN_CLICKED), 0);
    left->ShowOwnSpeakState(0);
    EXPECT_TRUE(Visible(IDC_LEFT_SPEAK));
    EXPECT_EQ(0u, g_bSpeaking);
    EXPECT_EQ((std::vector<int>{1, 0, 1, 0}), g_sendAudio);

    left->ShowOwnControlState(2);
    EXPECT_TRUE(Visible(IDC_LEFT_CONTROL_OFF));
    left->ShowOwnControlState(1);
    EXPECT_TRUE(Visible(IDC_LEFT_CONTROL));
    EXPECT_EQ(2, std::count(fake.calls.begin(), fake.calls.end(), "UpdateRemoteControlButtons"));

    left->CheckDlgButton(IDC_LEFT_AEC, BST_UNCHECKED);
    left->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LEFT_AEC, BN_CLICKED), 0);
    EXPECT_EQ(std::vector<int>{0}, g_aec);
    EXPECT_EQ(0u, g_bAecOn);
}

TEST_F(LeftPane, AnOwnRoleChangeReEvaluatesSpeechAndControl)
{
    EXPECT_TRUE(Enabled(IDC_LEFT_SPEAK));
    host.client.users.SetRole(self, 3);
    left->RefreshUser(self);
    EXPECT_FALSE(Enabled(IDC_LEFT_SPEAK));
    EXPECT_FALSE(Enabled(IDC_LEFT_CONTROL));
    host.client.users.SetRole(self, 2);
    left->RefreshUser(self);
    EXPECT_TRUE(Enabled(IDC_LEFT_CONTROL));
}

TEST_F(LeftPane, LevelsComeFromTheAudioManagerAndStayWithinTheSlider)
{
    g_inputLevel = 55;
    g_playEnergy = 120;
    left->OnLevelTick();
    EXPECT_EQ(55, left->GetMicMeter().GetPos());
    EXPECT_EQ(100, left->GetSpeakerSlider().m_nLevel);
    g_playEnergy = -20;
    left->SendMessage(WM_USER + 113);
    EXPECT_EQ(0, left->GetSpeakerSlider().m_nLevel);
}

TEST_F(LeftPane, ParticipantsAndHeadCount)
{
    host.client.users.AddUser(901, "bob", 2);
    left->AddUser(901);
    left->AddUser(902); // unknown
    EXPECT_EQ(901u, left->GetUserList().GetItemData(left->GetUserList().GetCount() - 1));
    const int before = left->GetUserList().GetCount();
    left->RemoveUser(901);
    EXPECT_EQ(before - 1, left->GetUserList().GetCount());
    left->SetHeadCount(7);
    CString text;
    left->GetUserTab().GetHeadCountButton().GetWindowText(text);
    EXPECT_STREQ("当前7人次", text);
}

TEST(MixerVolume, WithoutAMixerEveryGetterSaysUnavailable)
{
    MasterOutputVolume master(0);
    InputDestVolume dest(0);
    InputAltVolume alt(0);
    if (mixerGetNumDevs() != 0 && master.IsAvailable()) {
        // A mixer is there: a value above the maximum changes nothing.
        const int before = master.GetCurrentVolume();
        master.SetCurrentVolume(static_cast<DWORD>(master.GetMaximalVolume()) + 1);
        EXPECT_EQ(before, master.GetCurrentVolume());
        return;
    }
    for (CMixerVolume* m : std::initializer_list<CMixerVolume*>{&master, &dest, &alt}) {
        EXPECT_FALSE(m->IsAvailable());
        EXPECT_EQ(-1, m->GetCurrentVolume());
        EXPECT_EQ(-1, m->GetMinimalVolume());
        EXPECT_EQ(-1, m->GetMaximalVolume());
        EXPECT_EQ(-1, m->GetVolumeMetric());
        m->SetCurrentVolume(5);
    }
    EXPECT_FALSE(master.GetMute());
    EXPECT_FALSE(alt.SelectRecordSource("Microphone"));
}

TEST_F(LeftPane, HostGrantsSpeechAndTheOthersButtonFollows)
{
    CMeetingClient alice{server};
    ASSERT_TRUE(alice.Login("alice", "a"));
    const uint32_t aliceId = alice.client.login.userId;
    host.client.users.AddUser(aliceId, "alice", 2);
    host.client.users.FindUser(aliceId)->hasAudio = 1;
    CFakeHost aliceHost;
    CDlgLeft aliceLeft(alice.Context(&aliceHost));
    ASSERT_TRUE(aliceLeft.CreatePane(&parent));
    left->GetUserList().SetMenuUser(aliceId);
    left->GetUserList().RunMenuCommand(ID_MENU_SPEAK);
    std::vector<uint8_t> m;
    bool granted = false;
    const uint64_t end = SteadyMs() + 5000;
    while (!granted && SteadyMs() < end && alice.client.WaitFor(CMD_SPEAK_STATE, m, 1000))
        granted = ReadU32(m, 4) == aliceId && m.size() > 8 && m[8] == 2;
    ASSERT_TRUE(granted);
    aliceLeft.ShowOwnSpeakState(m[8]);
    EXPECT_TRUE((aliceLeft.GetDlgItem(IDC_LEFT_SPEAK_OFF)->GetStyle() & WS_VISIBLE) != 0);
    EXPECT_FALSE((aliceLeft.GetDlgItem(IDC_LEFT_SPEAK)->GetStyle() & WS_VISIBLE) != 0);
    aliceLeft.DestroyWindow();
}

TEST_F(LeftPane, EchoAndGainSwitchesAreTheStoredSettings)
{
    EXPECT_EQ(left->IsDlgButtonChecked(IDC_LEFT_AEC),
              (UINT)(g_Settings.aec ? BST_CHECKED : BST_UNCHECKED));
    g_Settings.agc = 3;
    left->CheckDlgButton(IDC_LEFT_AEC, BST_UNCHECKED);
    left->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LEFT_AEC, BN_CLICKED), 0);
    left->CheckDlgButton(IDC_LEFT_AGC, BST_UNCHECKED);
    left->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LEFT_AGC, BN_CLICKED), 0);
    EXPECT_EQ(g_Settings.aec, 0u);
    EXPECT_EQ(g_Settings.agc, 0u);
    left->CheckDlgButton(IDC_LEFT_AGC, BST_CHECKED);
    left->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LEFT_AGC, BN_CLICKED), 0);
    EXPECT_EQ(g_Settings.agc, 1u);

    // A new pane shows what is stored.
    g_Settings.aec = 0;
    g_Settings.agc = 2;
    left->DestroyWindow();
    left.reset(new CDlgLeft(host.Context(&fake)));
    ASSERT_TRUE(left->CreatePane(&parent));
    EXPECT_EQ(left->IsDlgButtonChecked(IDC_LEFT_AEC), (UINT)BST_UNCHECKED);
    EXPECT_EQ(left->IsDlgButtonChecked(IDC_LEFT_AGC), (UINT)BST_CHECKED);
    g_Settings = CClientSettings();
}
