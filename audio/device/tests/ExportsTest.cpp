#include <gtest/gtest.h>

#include <cstring>

#include "CMMAudioManager.h"
#include "DeviceTestSupport.h"
#include "FakeDirectSound.h"
#include "FakeMixerApi.h"
#include "CFakeWaveApi.h"
#include "Sonvex.h"
#include "SonvexLibrary.h"

using namespace SonvexDevice;

// The exports, in-process, over stand-in devices.
class SonvexExports : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SonvexLibrary::Load(nullptr);
        wave.requiredRate = 48000;
        SonvexLibrary::SetDeviceApis(&wave, &ds, &mixer);
    }
    void TearDown() override
    {
        SONVEX_Release();
        SonvexLibrary::SetDeviceApis(nullptr, nullptr, nullptr);
        SonvexLibrary::Unload(false);
    }
    AudioCommon::CFakeWaveApi wave;
    FakeDirectSound ds;
    FakeMixerApi mixer;
    CallerProbe caller;
};

TEST_F(SonvexExports, WithoutAManagerNothingHappens)
{
    char name[32] = "untouched";
    EXPECT_EQ(0, SONVEX_GetCapDevicesCount());
    EXPECT_EQ(0, SONVEX_GetPlayDeviceName(0, name, sizeof(name)));
    EXPECT_STREQ("untouched", name);
    EXPECT_EQ(0, SONVEX_StartCapture(0, &CallerProbe::Capture, &caller));
    EXPECT_EQ(0, SONVEX_StartPlay(0, &CallerProbe::Play, &caller));
    SONVEX_StopCapture();
    SONVEX_StopPlay();
    SONVEX_SetAEC(1);
    SONVEX_SetVolumeControl(0);
    EXPECT_EQ(1, SONVEX_Release());
    EXPECT_EQ(1, SONVEX_Release());
    EXPECT_EQ(0, wave.inOpens + wave.outOpens);
}

TEST_F(SonvexExports, CaptureAndPlayThroughTheExports)
{
    ASSERT_EQ(1, SONVEX_Init(0, 16000));
    EXPECT_EQ(1, SONVEX_GetCapDevicesCount());
    char name[32];
    EXPECT_EQ(13, SONVEX_GetPlayDeviceName(0, name, sizeof(name)));
    EXPECT_STREQ("Fake Speakers", name);
    SONVEX_SetAEC(1);
    EXPECT_EQ(1, SonvexLibrary::Manager()->g_audProc.GetAEC());
    ASSERT_EQ(1, SONVEX_StartPlay(0, &CallerProbe::Play, &caller));
    ASSERT_EQ(1, SONVEX_StartCapture(0, &CallerProbe::Capture, &caller));
    for (int k = 0; k < 20; ++k) {
        wave.CompletePlayed();
        wave.RecordSilence();
    }
    EXPECT_EQ(20, caller.PlayRequests());
    EXPECT_GE(caller.Captured(), 18);
    SONVEX_StopCapture();
    EXPECT_FALSE(wave.IsInOpen());
    EXPECT_TRUE(wave.IsOutOpen());
    EXPECT_EQ(1, SONVEX_Release());
    EXPECT_FALSE(wave.IsOutOpen());
    EXPECT_EQ(nullptr, SonvexLibrary::Manager());
}

// A second Init stops and deletes the first manager before making the next.
TEST_F(SonvexExports, InitAgainReplacesTheManager)
{
    ASSERT_EQ(1, SONVEX_Init(0, 16000));
    ASSERT_EQ(1, SONVEX_StartPlay(0, &CallerProbe::Play, &caller));
    ASSERT_EQ(1, SONVEX_StartCapture(0, &CallerProbe::Capture, &caller));
    ASSERT_EQ(1, SONVEX_Init(1, 16000));
    EXPECT_FALSE(wave.IsInOpen());
    EXPECT_FALSE(wave.IsOutOpen());
    EXPECT_EQ(2, SONVEX_GetCapDevicesCount()); // the DirectSound lists now
    ASSERT_EQ(1, SONVEX_StartPlay(0, &CallerProbe::Play, &caller));
    EXPECT_NE(nullptr, ds.play);
    EXPECT_EQ(1, SONVEX_Release());
    EXPECT_EQ(nullptr, ds.play);
}

TEST_F(SonvexExports, RatesWithoutWholeBlocksReportFailure)
{
    for (int rate : {8000, 22050}) {
        for (int directSound : {0, 1}) {
            ASSERT_EQ(1, SONVEX_Init(directSound, rate));
            EXPECT_EQ(0, SONVEX_StartCapture(0, &CallerProbe::Capture, &caller)) << rate;
            EXPECT_EQ(0, SONVEX_StartPlay(0, &CallerProbe::Play, &caller)) << rate;
        }
    }
    EXPECT_EQ(0, wave.inOpens + wave.outOpens);
    EXPECT_EQ(nullptr, ds.capture);
    EXPECT_EQ(nullptr, ds.play);
}
