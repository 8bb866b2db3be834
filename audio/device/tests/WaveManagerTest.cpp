#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "CMMAudioManager.h"
#include "DeviceTestSupport.h"
#include "FakeMixerApi.h"
#include "CFakeWaveApi.h"
#include "SyntheticRoom.h"

using namespace SonvexDevice;

using namespace SyntheticRoom;

namespace {
struct WaveRig
{
    // The devices run at 48000 Hz whatever the caller's rate.
    WaveRig() { wave.requiredRate = 48000; }
    AudioCommon::CFakeWaveApi wave;
    FakeMixerApi mixer;
    CallerProbe caller;
};
} // namespace

// Playback and capture at 16000 Hz through 48000 Hz devices: every buffer
// played comes back as a far-end block and goes out again with the caller's
// next block; every buffer recorded becomes one 640-byte block; a tone keeps
// its frequency both ways.
TEST(WaveManager, BlocksFlowBothWaysAndTonesKeepTheirFrequency)
{
    WaveRig rig;
    rig.caller.toPlay = Sine(16000 * 2, 16000, 1000.0, 8000.0);
    CMMAudioManager manager(16000, rig.wave, rig.mixer);
    ASSERT_EQ(1, manager.StartPlay(0, &CallerProbe::Play, &rig.caller));
    ASSERT_EQ(1, manager.StartCapture(0, &CallerProbe::Capture, &rig.caller));
    EXPECT_EQ(5u, rig.wave.QueuedOut());
    EXPECT_EQ(5u, rig.wave.QueuedIn());

    std::vector<int16_t> recorded = Sine(48000 * 2, 48000, 440.0, 9000.0);
    for (int k = 0; k < 60; ++k) {
        ASSERT_TRUE(rig.wave.CompletePlayed());
        ASSERT_TRUE(
            rig.wave.Record(std::vector<int16_t>(&recorded[k * 960], &recorded[(k + 1) * 960])));
    }
    // Every buffer went back to its device.
    EXPECT_EQ(5u, rig.wave.QueuedOut());
    EXPECT_EQ(5u, rig.wave.QueuedIn());
    EXPECT_EQ(60, rig.caller.PlayRequests());

    // The first 100 ms played are the silence queued at start, then the tone.
    const std::vector<int16_t> played = rig.wave.PlayedSamples();
    ASSERT_EQ(60u * 960u, played.size());
    EXPECT_LT(EnergyDb(played, 0, 5 * 960), 0.0);
    EXPECT_NEAR(1000.0, ToneFrequency(played, 10 * 960, 40 * 960, 48000), 2.0);

    std::vector<int> lengths = rig.caller.CapturedLengths();
    ASSERT_GE(lengths.size(), 55u);
    for (int length : lengths)
        EXPECT_EQ(640, length);
    std::vector<int16_t> captured = rig.caller.CapturedSamples();
    EXPECT_NEAR(440.0, ToneFrequency(captured, 10 * 320, captured.size() - 10 * 320, 16000), 1.0);

    manager.StopCapture();
    manager.StopPlay();
    EXPECT_FALSE(rig.wave.IsInOpen());
    EXPECT_FALSE(rig.wave.IsOutOpen());
}

TEST(WaveManager, StartAndStopInAnyOrder)
{
    // P start play, C start capture, p stop play, c stop capture, X delete
    const char* sequences[] = {"PCcpX", "PCpcX", "CPpcX",  "CPcpX", "pcX",  "PPpX",
                               "CCcX",  "PCX",   "cPpCcX", "CcCcX", "PpPpX"};
    for (const char* sequence : sequences) {
        WaveRig rig;
        CMMAudioManager* manager = new CMMAudioManager(16000, rig.wave, rig.mixer);
        bool playing = false, capturing = false;
        for (const char* op = sequence; *op; ++op) {
            switch (*op) {
            case 'P':
                EXPECT_EQ(1, manager->StartPlay(0, &CallerProbe::Play, &rig.caller));
                playing = true;
                break;
            case 'C':
                EXPECT_EQ(1, manager->StartCapture(0, &CallerProbe::Capture, &rig.caller));
                capturing = true;
                break;
            case 'p':
                manager->StopPlay();
                playing = false;
                break;
            case 'c':
                manager->StopCapture();
                capturing = false;
                break;
            case 'X':
                delete manager;
                manager = nullptr;
                playing = capturing = false;
                break;
            }
            for (int k = 0; k < 3; ++k) {
                rig.wave.CompletePlayed();
                rig.wave.RecordSilence();
            }
            EXPECT_EQ(playing, rig.wave.IsOutOpen()) << sequence << " at " << op - sequence;
            EXPECT_EQ(capturing, rig.wave.IsInOpen()) << sequence << " at " << op - sequence;
            EXPECT_EQ(playing ? 5u : 0u, rig.wave.QueuedOut()) << sequence;
            EXPECT_EQ(capturing ? 5u : 0u, rig.wave.QueuedIn()) << sequence;
        }
    }
}

// A device that stops handing buffers back cannot hang a stop.
TEST(WaveManager, StallingDeviceStopsAtOnce)
{
    WaveRig rig;
    CMMAudioManager manager(16000, rig.wave, rig.mixer);
    ASSERT_EQ(1, manager.StartCapture(0, &CallerProbe::Capture, &rig.caller));
    ASSERT_EQ(1, manager.StartPlay(0, &CallerProbe::Play, &rig.caller));
    for (int k = 0; k < 3; ++k)
        rig.wave.RecordSilence();
    // From here on the device delivers nothing.
    auto start = std::chrono::steady_clock::now();
    manager.StopCapture();
    manager.StopPlay();
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 500);
    EXPECT_FALSE(rig.wave.IsInOpen());
    EXPECT_FALSE(rig.wave.IsOutOpen());
}

// At 8000 or 22050 Hz no 640-byte block can ever flow: the starts say so
// and open nothing.
TEST(WaveManager, RatesWithoutWholeBlocksFailToStart)
{
    for (int rate : {8000, 22050, 44100}) {
        WaveRig rig;
        CMMAudioManager manager(rate, rig.wave, rig.mixer);
        EXPECT_EQ(0, manager.StartCapture(0, &CallerProbe::Capture, &rig.caller)) << rate;
        EXPECT_EQ(0, manager.StartPlay(0, &CallerProbe::Play, &rig.caller)) << rate;
        EXPECT_EQ(0, rig.wave.inOpens + rig.wave.outOpens) << rate;
        EXPECT_EQ(rate == 44100 ? 0 : (rate == 8000 ? 480 : 882), manager.BlockSize());
    }
}

TEST(WaveManager, FailedStartsLeaveNothingOpenAndTheManagerUsable)
{
    struct Case
    {
        const char* what;
        MMRESULT open;
        int failAdd;
        MMRESULT start;
    } cases[] = {
        {"open", MMSYSERR_ALLOCATED, -1, MMSYSERR_NOERROR},
        {"third buffer", MMSYSERR_NOERROR, 2, MMSYSERR_NOERROR},
        {"start", MMSYSERR_NOERROR, -1, MMSYSERR_ERROR},
    };
    for (const Case& c : cases) {
        WaveRig rig;
        CMMAudioManager manager(16000, rig.wave, rig.mixer);
        rig.wave.inOpenResult = c.open;
        rig.wave.failInAddAfter = c.failAdd;
        rig.wave.inStartResult = c.start;
        EXPECT_EQ(0, manager.StartCapture(0, &CallerProbe::Capture, &rig.caller)) << c.what;
        EXPECT_FALSE(rig.wave.IsInOpen()) << c.what;
        EXPECT_EQ(0u, rig.wave.QueuedIn()) << c.what;
        EXPECT_EQ(nullptr, manager.Capture());
        manager.StopCapture(); // harmless
        rig.wave.inOpenResult = MMSYSERR_NOERROR;
        rig.wave.failInAddAfter = -1;
        rig.wave.inStartResult = MMSYSERR_NOERROR;
        EXPECT_EQ(1, manager.StartCapture(0, &CallerProbe::Capture, &rig.caller)) << c.what;
    }
    WaveRig rig;
    CMMAudioManager manager(16000, rig.wave, rig.mixer);
    rig.wave.outOpenResult = MMSYSERR_BADDEVICEID;
    EXPECT_EQ(0, manager.StartPlay(3, &CallerProbe::Play, &rig.caller));
    EXPECT_EQ(nullptr, manager.Player());
}

TEST(WaveManager, DeviceNamesFitTheCallersBuffer)
{
    WaveRig rig;
    rig.wave.inNames = {"Mic", "Line In"};
    rig.wave.outNames = {"Speakers"};
    CMMAudioManager manager(16000, rig.wave, rig.mixer);
    EXPECT_EQ(2, manager.GetCapDevicesCount());
    EXPECT_EQ(1, manager.GetPlayDevicesCount());
    struct Case
    {
        bool capture;
        int index, size, result;
        const char* name;
    } cases[] = {
        {true, 1, 64, 7, "Line In"}, {true, 0, 4, 3, "Mic"}, {true, 0, 3, 0, ""},
        {true, 2, 64, 0, ""},        {true, -1, 64, 0, ""},  {false, 0, 9, 8, "Speakers"},
        {false, 0, 8, 0, ""},        {false, 1, 64, 0, ""},
    };
    for (const Case& c : cases) {
        char buffer[64];
        memset(buffer, 0, sizeof(buffer));
        int result = c.capture ? manager.GetCapDeviceName(c.index, buffer, c.size)
                               : manager.GetPlayDeviceName(c.index, buffer, c.size);
        EXPECT_EQ(c.result, result) << c.index << " " << c.size;
        EXPECT_STREQ(c.name, buffer);
    }
}

TEST(WaveManager, PlayFormatIsTheEighteenByteRecord)
{
    WaveRig rig;
    CMMAudioManager manager(16000, rig.wave, rig.mixer);
    unsigned char out[24];
    memset(out, 0xAB, sizeof(out));
    manager.GetPlayFormat(reinterpret_cast<tWAVEFORMATEX*>(out));
    EXPECT_EQ(0xAB, out[0]) << "left alone while nothing plays";
    ASSERT_EQ(1, manager.StartPlay(0, &CallerProbe::Play, &rig.caller));
    manager.GetPlayFormat(reinterpret_cast<tWAVEFORMATEX*>(out));
    tWAVEFORMATEX format;
    memcpy(&format, out, sizeof(format));
    EXPECT_EQ(16000u, format.nSamplesPerSec);
    EXPECT_EQ(32000u, format.nAvgBytesPerSec);
    EXPECT_EQ(1, format.nChannels);
    EXPECT_EQ(16, format.wBitsPerSample);
    for (size_t i = 18; i < sizeof(out); ++i)
        EXPECT_EQ(0xAB, out[i]);
}

// Blocks of any other length than 640 bytes are refused at the manager and
// reach neither the echo canceller nor the caller.
TEST(WaveManager, BlocksOfAnotherLengthAreRefused)
{
    WaveRig rig;
    CMMAudioManager manager(16000, rig.wave, rig.mixer);
    ASSERT_EQ(1, manager.StartCapture(0, &CallerProbe::Capture, &rig.caller));
    manager.StopCapture();
    manager.CAudioManagerBase::StartCapture(0, &CallerProbe::Capture, &rig.caller);
    CAudioBlock* odd = new CAudioBlock(480);
    CAudioBlock* right = new CAudioBlock(640);
    CAudioBlock* empty = new CAudioBlock(0);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(480, CAudioManagerBase::AudioCapCallBack(&manager, &odd));
        EXPECT_EQ(0, CAudioManagerBase::AudioReadCallBack(&manager, &odd));
        EXPECT_EQ(0, CAudioManagerBase::AudioCapCallBack(&manager, &empty));
        EXPECT_EQ(0, CAudioManagerBase::AudioCapCallBack(nullptr, &right));
        EXPECT_EQ(0, CAudioManagerBase::AudioReadCallBack(nullptr, &right));
    }
    EXPECT_EQ(0, rig.caller.Captured());
    EXPECT_EQ(480u, odd->m_length);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(640, CAudioManagerBase::AudioCapCallBack(&manager, &right));
    EXPECT_EQ(4, rig.caller.Captured());
    EXPECT_EQ(640u, right->m_length);
    delete odd;
    delete right;
    delete empty;
}
