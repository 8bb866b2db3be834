#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AudioManagerApi.h"
#include "CClientSettings.h"
#include "CMicMeter.h"
#include "CQuilletAudio.h"
#include "CRavoTMSlots.h"
#include "CUserTable.h"
#include "FakeRavoTM.h"
#include "ServerWire.h"

namespace {

typedef std::vector<std::string> Calls;

class QuilletAudioTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FakeRavoTM::Reset();
        settings.audioCapture = 1;
        settings.audioPlay = 2;
        settings.audioFormat = 3;
        settings.playLocal = 0;
        settings.denoise = 2;
        settings.fecType = 1;
        settings.autoFec = 0;
        settings.asc = 1;
        settings.aec = 1;
        settings.agc = 0;
    }

    CQuilletAudio::MessageFn Messages()
    {
        return [this](UINT id) { messages.push_back(id); };
    }

    RAVOTM_FUNCTIONS ravotm = FakeRavoTM::Functions();
    MEDIA_FUNCTIONS media = FakeRavoTM::Media();
    CClientSettings settings;
    std::vector<UINT> messages;
    CQuilletAudio audio{ravotm, media, settings, Messages()};
};

} // namespace

TEST_F(QuilletAudioTest, ApplyAllSetsEveryValueInOrderThenAddsTheSpeakers)
{
    CUserTable users;
    users.AddUser(10, "own", 1);
    users.AddUser(11, "speaker", 0);
    users.AddUser(12, "asking", 0);
    users.AddUser(13, "second speaker", 0);
    users.SetSpeakState(10, 2);
    users.SetSpeakState(11, 2);
    users.SetSpeakState(12, 1);
    users.SetSpeakState(13, 2);
    EXPECT_TRUE(audio.ApplyAll(users, 10));
    EXPECT_EQ(FakeRavoTM::calls,
              (Calls{"D_G_StopCapture()", "D_G_StartCapture(1,3)", "D_G_SetDeNoise(2)",
                     "D_G_SetASC(1)", "D_G_SetFECType(1,0)", "D_G_SetAEC(1)", "D_G_SetAGC(0)",
                     "D_G_StopPlay()", "D_G_StartPlay(2)", "D_G_SetPlayLocal(0)",
                     "D_G_AddSource(11)", "D_G_AddSource(13)"}));
    EXPECT_TRUE(messages.empty());

    // While recording, the recorder hears of each source right after it.
    audio.StartRecording();
    FakeRavoTM::calls.clear();
    audio.ApplyAll(users, 10);
    EXPECT_EQ(FakeRavoTM::Only("D_G_AddSource").size(), 2u);
    const Calls& c = FakeRavoTM::calls;
    ASSERT_GE(c.size(), 4u);
    EXPECT_EQ((Calls{c.end() - 4, c.end()}), (Calls{"D_G_AddSource(11)", "RV_AddAudio(11)",
                                                    "D_G_AddSource(13)", "RV_AddAudio(13)"}));
}

TEST_F(QuilletAudioTest, CaptureFailureShowsItsMessageOnceAndTheOtherSettingsStillApply)
{
    FakeRavoTM::captureResult = 0;
    CUserTable users;
    EXPECT_FALSE(audio.ApplyAll(users, 1));
    EXPECT_EQ(messages, (std::vector<UINT>{61483}));
    EXPECT_EQ(FakeRavoTM::Only("D_G_Set").size(), 6u) << "every setter after the failed start";
    EXPECT_EQ(FakeRavoTM::Only("D_G_StartPlay"), Calls{"D_G_StartPlay(2)"});
}

TEST_F(QuilletAudioTest, RestartsStopFirstAndShowTheirOwnFailure)
{
    struct Case
    {
        const char* what;
        int capture;
        int play;
        std::vector<UINT> shown;
    } cases[] = {
        {"both start", 1, 1, {}},
        {"capture fails", 0, 1, {61483}},
        {"playback fails", 1, 0, {61482}},
        {"both fail", 0, 0, {61483, 61482}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRavoTM::Reset();
        FakeRavoTM::captureResult = c.capture;
        FakeRavoTM::playResult = c.play;
        messages.clear();
        EXPECT_EQ(audio.RestartCapture(), c.capture != 0);
        EXPECT_EQ(audio.RestartPlay(), c.play != 0);
        EXPECT_EQ(messages, c.shown);
        EXPECT_EQ(FakeRavoTM::calls, (Calls{"D_G_StopCapture()", "D_G_StartCapture(1,3)",
                                            "D_G_StopPlay()", "D_G_StartPlay(2)"}));
    }
}

TEST_F(QuilletAudioTest, ConnectTriesEvenWithoutAPortAndStopAllKeepsItsOrder)
{
    struct Case
    {
        const char* what;
        uint16_t port;
        uint16_t port2;
        int result;
        std::vector<UINT> shown;
    } cases[] = {
        {"ports given", 7100, 7101, 1, {}},
        {"audio port 0", 0, 7101, 1, {61596}},
        {"second port 0", 7100, 0, 1, {61596}},
        {"library refuses", 7100, 7101, 0, {61593}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRavoTM::Reset();
        FakeRavoTM::connectResult = c.result;
        messages.clear();
        LOGIN_INFO login = {};
        strcpy(login.serverAddress, "10.0.0.5");
        login.roomId = 3;
        login.userId = 1001;
        login.audioPort = c.port;
        login.audioPort2 = c.port2;
        EXPECT_EQ(audio.Connect(login), c.result != 0);
        EXPECT_EQ(messages, c.shown);
        EXPECT_EQ(FakeRavoTM::calls,
                  Calls{"D_G_Connect(3,1001,10.0.0.5," + std::to_string(c.port) + ")"});
    }
    FakeRavoTM::Reset();
    audio.StopAll();
    EXPECT_EQ(FakeRavoTM::calls, (Calls{"T_S_StopSend()", "D_G_Disconnect()", "D_G_StopCapture()",
                                        "D_G_StopPlay()", "T_S_StopCapture()"}));
}

TEST_F(QuilletAudioTest, RecordTapWritesOnlyWhileRecordingAndLetsGoBeforeTheRecorderStops)
{
    // Not recording: nothing reaches the recorder, and the answer is 0.
    EXPECT_EQ(CQuilletAudio::RecordCallback(&audio, 11, "pkt", 3), 0);
    EXPECT_TRUE(FakeRavoTM::Only("RV_").empty());

    audio.StartRecording();
    EXPECT_EQ(FakeRavoTM::calls, Calls{"D_G_SetRecord(1,callback,context)"});
    EXPECT_EQ(CQuilletAudio::RecordCallback(&audio, 11, "pkt", 3), 0);
    EXPECT_EQ(FakeRavoTM::Only("RV_"), Calls{"RV_WriteAudioData(pkt,3,11)"});

    // A packet that RavoTM's thread hands over while the tap is let go
    // must not reach the recorder.
    static CQuilletAudio* s_audio;
    s_audio = &audio;
    FakeRavoTM::duringRecordOff = [] { CQuilletAudio::RecordCallback(s_audio, 12, "late", 4); };
    FakeRavoTM::calls.clear();
    audio.StopRecording();
    EXPECT_EQ(FakeRavoTM::calls, (Calls{"D_G_SetRecord(0,null,null)", "RV_StopRecord()"}));
    EXPECT_FALSE(audio.IsRecording());
}

TEST_F(QuilletAudioTest, SpeakStatesAddAndRemoveSourcesAndTheRecorderFollowsWhileRecording)
{
    struct Case
    {
        uint8_t state;
        bool recording;
        Calls calls;
    } cases[] = {
        {2, false, {"D_G_AddSource(7)"}},
        {0, false, {"D_G_DelSource(7)"}},
        {1, false, {}},
        {2, true, {"D_G_AddSource(7)", "RV_AddAudio(7)"}},
        {0, true, {"D_G_DelSource(7)", "RV_DelAudio(7)"}},
        {1, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.state) + (c.recording ? " recording" : ""));
        if (c.recording)
            audio.StartRecording();
        FakeRavoTM::calls.clear();
        audio.OnSpeakState(7, c.state);
        EXPECT_EQ(FakeRavoTM::calls, c.calls);
        if (c.recording)
            audio.StopRecording();
    }
}

TEST_F(QuilletAudioTest, SharedCodeReachesRavoTMThroughTheAudioManagersPlaces)
{
    MEDIA_FUNCTIONS table = FakeRavoTM::Media();
    table.entries[MF_AUDIO_MGR_Init] = table.entries[MF_T_S_StopSend];
    CRavoTMSlots::Fill(ravotm, &audio, &table);
    EXPECT_EQ(table.entries[MF_AUDIO_MGR_Init], nullptr) << "no start-up call in this edition";
    EXPECT_EQ(table.entries[MF_AUDIO_MGR_StartCapture], nullptr)
        << "capture starts with a format here";
    EXPECT_NE(table.entries[MF_RV_StopRecord], nullptr) << "the recorder's places stay";

    FakeRavoTM::captureLevel = 42;
    int level = 0;
    ASSERT_EQ(table.Get<PFN_AUDIO_MGR_Processer_GetParam>(MF_AUDIO_MGR_Processer_GetParam)(
                  AUDIO_PARAM_CAPTURE_LEVEL, &level),
              1);
    EXPECT_EQ(level, 42);
    EXPECT_EQ(table.Get<PFN_AUDIO_MGR_Processer_GetParam>(MF_AUDIO_MGR_Processer_GetParam)(
                  AUDIO_PARAM_DENOISE, &level),
              0);
    FakeRavoTM::calls.clear();
    table.Get<PFN_AUDIO_MGR_AddSource>(MF_AUDIO_MGR_AddSource)(9);
    table.Get<PFN_AUDIO_MGR_SetSendAudio>(MF_AUDIO_MGR_SetSendAudio)(1);
    table.Get<PFN_AUDIO_MGR_SetAEC>(MF_AUDIO_MGR_SetAEC)(0);
    table.Get<PFN_AUDIO_MGR_SetRecord>(MF_AUDIO_MGR_SetRecord)(1, nullptr, nullptr);
    table.Get<PFN_AUDIO_MGR_SetRecord>(MF_AUDIO_MGR_SetRecord)(0, nullptr, nullptr);
    EXPECT_EQ(FakeRavoTM::calls, (Calls{"D_G_AddSource(9)", "D_G_SetSendAudio(1)", "D_G_SetAEC(0)",
                                        "D_G_SetRecord(1,callback,context)",
                                        "D_G_SetRecord(0,null,null)", "RV_StopRecord()"}));
    EXPECT_EQ(settings.aec, 0u) << "the box's value is kept";
}

TEST(MicMeter, CaptureLevelIsPaintedOnTheProgressScaleWithinTheSlider)
{
    struct Case
    {
        int level, lower, upper, painted;
    } cases[] = {
        {0, 0, 100, 0},    {1, 0, 100, 1},     {57, 0, 100, 57},
        {99, 0, 100, 99},  {100, 0, 100, 100}, {130, 0, 100, 100},
        {50, 0, 200, 100}, {50, 10, 60, 35},   {-5, 0, 100, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMicMeter::SliderLevel(c.level, c.lower, c.upper), c.painted)
            << c.level << " on " << c.lower << ".." << c.upper;
}
