#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "CVolumeControl.h"
#include "CVolumeIn.h"
#include "CVolumeOut.h"
#include "FakeMixerApi.h"

using namespace SonvexDevice;

namespace {
// Delivers the window messages of this thread until done() or 2 s passed.
bool PumpUntil(const std::function<bool()>& done)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        if (GetTickCount() - start > 2000)
            return false;
        Sleep(1);
    }
    return true;
}

// Delivers what is waiting now.
void Drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Seen
{
    int volumeCalls = 0;
    DWORD volume = 0;
    int sourceCalls = 0;
    int source = -1;
    int muteCalls = 0;
    DWORD mute = 0;
    static void Volume(DWORD v, DWORD, void* c)
    {
        auto* s = static_cast<Seen*>(c);
        ++s->volumeCalls;
        s->volume = v;
    }
    static void Source(CVolumeIn*, int i, void* c)
    {
        auto* s = static_cast<Seen*>(c);
        ++s->sourceCalls;
        s->source = i;
    }
    static void Mute(DWORD m, void* c)
    {
        auto* s = static_cast<Seen*>(c);
        ++s->muteCalls;
        s->mute = m;
    }
};
} // namespace

TEST(VolumeIn, OpensOnTheSelectedRecordingSource)
{
    FakeMixerApi mixer;
    CVolumeIn in(mixer);
    ASSERT_EQ(1, in.Open(0));
    EXPECT_EQ(2, in.GetSourceCount());
    EXPECT_EQ(0, in.GetCurrentSource());
    EXPECT_EQ(DWORD(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE), in.GetCurrentSourceType());
    EXPECT_EQ(30000, in.GetCurrentVolume());
    EXPECT_EQ(0, in.GetMinimalVolume());
    EXPECT_EQ(65535, in.GetMaximalVolume());
    EXPECT_EQ(65536, in.GetVolumeSteps());
    EXPECT_EQ(1, in.IsAvailable());
    char name[8];
    EXPECT_EQ(4, in.GetSourceName(1, name, 5));
    EXPECT_STREQ("Line", name);
    EXPECT_EQ(0, in.GetSourceName(1, name, 4));
    EXPECT_EQ(0, in.GetSourceName(2, name, 8));

    in.SetCurrentVolume(70000); // outside the control's range: ignored
    EXPECT_EQ(30000u, mixer.values[FakeMixerApi::MIC_VOLUME][0]);
    in.SetCurrentVolume(1234);
    EXPECT_EQ(1234, in.GetCurrentVolume());

    ASSERT_EQ(1, in.SelectSourceByType(MIXERLINE_COMPONENTTYPE_SRC_LINE));
    EXPECT_EQ(1, in.GetCurrentSource());
    EXPECT_EQ((std::vector<DWORD>{0, 1}), mixer.values[FakeMixerApi::SELECTOR]);
    EXPECT_EQ(20000, in.GetCurrentVolume());
    in.Close();
    EXPECT_EQ(-1, in.GetCurrentVolume());
    EXPECT_EQ(0, in.IsAvailable());
}

TEST(VolumeIn, NoMixerOrNoSelector)
{
    FakeMixerApi none;
    none.devices = 0;
    CVolumeIn a(none);
    EXPECT_EQ(0, a.Open(0));
    FakeMixerApi refusing;
    refusing.openResult = MMSYSERR_ALLOCATED;
    CVolumeIn b(refusing);
    EXPECT_EQ(0, b.Open(0));
    EXPECT_FALSE(b.IsOpened());
    EXPECT_EQ(nullptr, b.GetWindow());
    // Without a selector no source is known to record: nothing to steer.
    FakeMixerApi plain;
    plain.withSelector = false;
    CVolumeIn c(plain);
    ASSERT_EQ(1, c.Open(0));
    EXPECT_EQ(-1, c.GetCurrentSource());
    EXPECT_EQ(-1, c.GetCurrentVolume());
    EXPECT_EQ(0, c.SelectSource(1, 0));
}

// Changes made elsewhere arrive through the hidden window: a new volume of
// the current source, a new selection, and a forced source that is put back.
TEST(VolumeIn, ChangeNotifications)
{
    FakeMixerApi mixer;
    CVolumeIn in(mixer);
    ASSERT_EQ(1, in.Open(0));
    Seen seen;
    in.SetVolumeCallback(&Seen::Volume, &seen);
    in.SetSourceCallback(&Seen::Source, &seen);

    mixer.UserSet(FakeMixerApi::LINE_VOLUME, {111}); // not the current source
    mixer.UserSet(FakeMixerApi::MIC_VOLUME, {4242});
    ASSERT_TRUE(PumpUntil([&] { return seen.volumeCalls > 0; }));
    Drain();
    EXPECT_EQ(1, seen.volumeCalls);
    EXPECT_EQ(4242u, seen.volume);

    mixer.UserSet(FakeMixerApi::SELECTOR, {0, 1});
    ASSERT_TRUE(PumpUntil([&] { return seen.sourceCalls > 0; }));
    EXPECT_EQ(1, seen.source);
    EXPECT_EQ(1, in.GetCurrentSource());

    ASSERT_EQ(1, in.SelectSource(0, 1));
    Drain();
    const int calls = seen.sourceCalls;
    mixer.UserSet(FakeMixerApi::SELECTOR, {0, 1});
    Drain();
    EXPECT_EQ((std::vector<DWORD>{1, 0}), mixer.values[FakeMixerApi::SELECTOR]);
    EXPECT_EQ(0, in.GetCurrentSource());
    EXPECT_EQ(calls, seen.sourceCalls);
}

TEST(VolumeOut, SpeakerVolumeAndMute)
{
    FakeMixerApi mixer;
    CVolumeOut out(mixer);
    EXPECT_EQ(-1, out.GetMaximalVolume());
    ASSERT_EQ(1, out.Open(0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS));
    EXPECT_EQ(1, out.IsAvailable());
    EXPECT_EQ(40000, out.GetCurrentVolume());
    out.SetCurrentVolume(50000);
    EXPECT_EQ((std::vector<DWORD>{50000, 50000}), mixer.values[FakeMixerApi::SPEAKER_VOLUME]);
    out.SetCurrentVolume(90000);
    EXPECT_EQ(50000, out.GetCurrentVolume());
    EXPECT_EQ(0, out.GetMute());
    EXPECT_EQ(1, out.SetMute(1));
    EXPECT_EQ(1, out.GetMute());

    Seen seen;
    out.SetVolumeCallback(&Seen::Volume, &seen);
    out.SetMuteCallback(&Seen::Mute, &seen);
    mixer.UserSet(FakeMixerApi::SPEAKER_MUTE, {0});
    mixer.UserSet(FakeMixerApi::SPEAKER_VOLUME, {777, 777});
    ASSERT_TRUE(PumpUntil([&] { return seen.muteCalls > 0 && seen.volumeCalls > 0; }));
    EXPECT_EQ(0u, seen.mute);
    EXPECT_EQ(777u, seen.volume);

    out.EnableLine(0);
    EXPECT_EQ(1u, mixer.values[FakeMixerApi::SPEAKER_MUTE][0]);
    out.EnableLine(1);
    EXPECT_EQ(0u, mixer.values[FakeMixerApi::SPEAKER_MUTE][0]);

    // A line the mixer does not have leaves the object closed.
    EXPECT_EQ(0, out.Open(0, MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE));
    EXPECT_EQ(-1, out.GetCurrentVolume());
    EXPECT_EQ(0, out.SetMute(1));
}

TEST(VolumeControl, OpensBothSidesByChoice)
{
    FakeMixerApi mixer;
    CVolumeControl control(mixer);
    ASSERT_EQ(1, control.OpenCapture(0));
    EXPECT_EQ(30000, control.InValues().current);
    EXPECT_EQ(65535, control.InValues().maximum);
    // The play device is unknown (-1) until set; the mixer takes 0 here.
    EXPECT_EQ(0, control.OpenSpeaker());
    control.SetPlayDevice(0);
    ASSERT_EQ(1, control.OpenSpeaker());
    EXPECT_EQ(40000, control.OutValues().current);
    EXPECT_EQ(0, control.OutValues().mute);
    control.SetOutputLine(9);
    EXPECT_EQ(0, control.OpenSpeaker());
    EXPECT_EQ(DWORD(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC), CVolumeControl::ComponentTypeFor(8));
    EXPECT_EQ(0u, CVolumeControl::ComponentTypeFor(-1));
}

// The platform's own mixer (under Wine, that of the null sound card): it
// opens or says it cannot, and what it reports is consistent.
TEST(VolumeIn, SystemMixerOpensOrSaysNo)
{
    CVolumeIn in;
    if (in.Open(0)) {
        const int volume = in.GetCurrentVolume();
        if (volume != -1) {
            EXPECT_GE(volume, in.GetMinimalVolume());
            EXPECT_LE(volume, in.GetMaximalVolume());
        }
        printf("recording sources: %d, current %d\n", in.GetSourceCount(), in.GetCurrentSource());
    } else {
        EXPECT_FALSE(in.IsOpened());
        printf("no recording mixer here\n");
    }
    CVolumeOut out;
    if (out.Open(0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS))
        EXPECT_GE(out.GetMaximalVolume(), out.GetMinimalVolume());
    else
        EXPECT_EQ(-1, out.GetCurrentVolume());
}
