#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CDSAudioManager.h"
#include "DeviceTestSupport.h"
#include "FakeDirectSound.h"
#include "FakeMixerApi.h"
#include "SyntheticRoom.h"

using namespace SonvexDevice;

using namespace SyntheticRoom;

namespace {
const GUID kZero = {};

bool SameGuid(const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }

struct DsRig
{
    FakeDirectSound ds;
    FakeMixerApi mixer;
    CallerProbe caller;
};
} // namespace

TEST(DSManager, EnumerationListsTenDevicesWithThePrimaryAsDefault)
{
    DsRig rig;
    for (int i = 0; i < 10; ++i) {
        GUID g = {0xABC00000u + i, 1, 2, {0, 0, 0, 0, 0, 0, 0, 1}};
        rig.ds.playDevices.push_back({false, g, "Extra " + std::to_string(i)});
    }
    rig.ds.captureDevices.push_back({false, {7, 7, 7, {7}}, ""});
    rig.ds.captureDevices.push_back({false, {8, 8, 8, {8}}, std::string(300, 'x')});
    CDSAudioManager manager(16000, rig.ds, rig.mixer);
    EXPECT_EQ(10, manager.GetPlayDevicesCount());
    EXPECT_EQ(4, manager.GetCapDevicesCount());
    EXPECT_TRUE(SameGuid(kZero, g_dsPlayDevices.entries[0].guid));
    EXPECT_EQ(1u, g_dsPlayDevices.entries[1].index);
    char name[64];
    EXPECT_EQ(20, manager.GetPlayDeviceName(0, name, sizeof(name)));
    EXPECT_STREQ("Primary Sound Driver", name);
    EXPECT_EQ(0, manager.GetPlayDeviceName(0, name, 20));
    EXPECT_EQ(0, manager.GetPlayDeviceName(10, name, sizeof(name)));
    // Descriptions that are empty or too long are not copied.
    EXPECT_EQ(0, manager.GetCapDeviceName(2, name, sizeof(name)));
    EXPECT_EQ(0, manager.GetCapDeviceName(3, name, sizeof(name)));
    // Outside the list the default device is meant.
    EXPECT_TRUE(SameGuid(kZero, CDSAudioManager::DeviceGuid(g_dsCaptureDevices, 9)));
    EXPECT_TRUE(SameGuid(kZero, CDSAudioManager::DeviceGuid(g_dsCaptureDevices, -1)));
    EXPECT_TRUE(SameGuid(rig.ds.captureDevices[1].guid,
                         CDSAudioManager::DeviceGuid(g_dsCaptureDevices, 1)));
}

TEST(DSManager, CaptureDeliversEveryWholeBlockInOrder)
{
    DsRig rig;
    CDSAudioManager manager(16000, rig.ds, rig.mixer);
    ASSERT_EQ(1, manager.StartCapture(1, &CallerProbe::Capture, &rig.caller));
    EXPECT_TRUE(SameGuid(rig.ds.captureDevices[1].guid, rig.ds.lastCaptureGuid));
    ASSERT_NE(nullptr, rig.ds.capture);
    EXPECT_TRUE(rig.ds.capture->started);
    EXPECT_EQ(19200u, rig.ds.capture->Size());

    std::vector<int16_t> tone = Sine(16000 * 2, 16000, 500.0, 9000.0);
    // Whole blocks, then blocks in two halves, across the end of the ring.
    // Paced like a device: the ring never runs more than a few blocks ahead.
    for (int k = 0; k < 40; ++k) {
        rig.ds.capture->Capture(std::vector<int16_t>(&tone[k * 320], &tone[(k + 1) * 320]));
        ASSERT_TRUE(rig.caller.WaitFor(k - 4, 0));
    }
    for (int k = 40; k < 80; ++k) {
        rig.ds.capture->Capture(std::vector<int16_t>(&tone[k * 320], &tone[k * 320 + 160]));
        rig.ds.capture->Capture(std::vector<int16_t>(&tone[k * 320 + 160], &tone[(k + 1) * 320]));
        ASSERT_TRUE(rig.caller.WaitFor(k - 4, 0));
    }
    // The newest two blocks wait in the echo canceller's queue.
    ASSERT_TRUE(rig.caller.WaitFor(78, 0));
    std::vector<uint32_t> sequences = rig.caller.CapturedSequences();
    for (size_t i = 1; i < sequences.size(); ++i)
        EXPECT_EQ(sequences[i - 1] + 1, sequences[i]);
    std::vector<int16_t> captured = rig.caller.CapturedSamples();
    EXPECT_NEAR(500.0, ToneFrequency(captured, 3200, captured.size() - 3200, 16000), 0.5);

    manager.StopCapture();
    EXPECT_EQ(nullptr, rig.ds.capture);
    // A device number past the list opens the default device.
    ASSERT_EQ(1, manager.StartCapture(5, &CallerProbe::Capture, &rig.caller));
    EXPECT_TRUE(SameGuid(kZero, rig.ds.lastCaptureGuid));
}

TEST(DSManager, CaptureMovesTheMicrophoneOfTheWaveDeviceBehindTheListEntry)
{
    DsRig rig;
    rig.mixer.devices = 2;
    rig.ds.captureDevices.push_back({false, {9, 9, 9, {9}}, "Second Microphone"});
    CDSAudioManager manager(16000, rig.ds, rig.mixer);
    ASSERT_GE(manager.GetCapDevicesCount(), 3);
    // Entry 0 is the primary device; a number past the list means the default.
    const struct
    {
        int device;
        UINT wave;
    } cases[] = {{1, 0}, {2, 1}, {0, 0}, {9, 0}};
    for (const auto& c : cases) {
        rig.mixer.openedIds.clear();
        ASSERT_EQ(1, manager.StartCapture(c.device, &CallerProbe::Capture, &rig.caller));
        ASSERT_FALSE(rig.mixer.openedIds.empty()) << "device " << c.device;
        EXPECT_EQ(c.wave, rig.mixer.openedIds.back()) << "device " << c.device;
        manager.StopCapture();
    }
}

TEST(DSManager, PlayReadsBackWhatWasPlayedAndWritesTwoBlocksAhead)
{
    DsRig rig;
    rig.caller.toPlay = Sine(16000 * 2, 16000, 1000.0, 8000.0);
    CDSAudioManager manager(16000, rig.ds, rig.mixer);
    ASSERT_EQ(1, manager.StartPlay(1, &CallerProbe::Play, &rig.caller));
    ASSERT_NE(nullptr, rig.ds.play);
    EXPECT_TRUE(rig.ds.play->playing);
    EXPECT_TRUE(SameGuid(rig.ds.playDevices[1].guid, rig.ds.lastPlayGuid));
    for (int k = 1; k <= 60; ++k) {
        rig.ds.play->Advance(640);
        ASSERT_TRUE(rig.caller.WaitFor(0, k)) << "notification " << k;
    }
    std::vector<int16_t> played = rig.ds.play->played;
    ASSERT_EQ(60u * 320u, played.size());
    // The first blocks are the silence the buffer starts with; the tone
    // follows two to three blocks after its request.
    EXPECT_LT(EnergyDb(played, 0, 320), 0.0);
    size_t first = 0;
    while (first < played.size() && std::abs(played[first]) < 500)
        ++first;
    EXPECT_GE(first, 2u * 320u);
    EXPECT_LT(first, 5u * 320u);
    EXPECT_NEAR(1000.0, ToneFrequency(played, 10 * 320, 40 * 320, 16000), 1.0);

    // A notification with less than a block played still gets its block.
    const int before = rig.caller.PlayRequests();
    rig.ds.play->NotifyNow();
    ASSERT_TRUE(rig.caller.WaitFor(0, before + 1));

    manager.StopPlay();
    EXPECT_EQ(nullptr, rig.ds.play);
}

// A second start while playing stops the first device before the caller
// changes: every later block goes to the new caller, none to the old one.
TEST(DSManager, SecondStartPlayHandsLaterBlocksToTheNewCallerOnly)
{
    DsRig rig;
    CallerProbe second;
    CDSAudioManager manager(16000, rig.ds, rig.mixer);
    ASSERT_EQ(1, manager.StartPlay(0, &CallerProbe::Play, &rig.caller));
    for (int k = 1; k <= 5; ++k) {
        rig.ds.play->Advance(640);
        ASSERT_TRUE(rig.caller.WaitFor(0, k));
    }
    ASSERT_EQ(1, manager.StartPlay(0, &CallerProbe::Play, &second));
    const int first = rig.caller.PlayRequests();
    ASSERT_NE(nullptr, rig.ds.play);
    for (int k = 1; k <= 5; ++k) {
        rig.ds.play->Advance(640);
        ASSERT_TRUE(second.WaitFor(0, k));
    }
    EXPECT_EQ(first, rig.caller.PlayRequests());
    manager.StopPlay();
    EXPECT_EQ(nullptr, rig.ds.play);
}

// Failures to open a DirectSound device are reported, and the manager can
// start again once the device is there.
TEST(DSManager, DevicesThatCannotOpenFailTheStart)
{
    DsRig rig;
    CDSAudioManager manager(16000, rig.ds, rig.mixer);
    rig.ds.captureResult = DSERR_NODRIVER;
    rig.ds.playResult = DSERR_NODRIVER;
    EXPECT_EQ(0, manager.StartCapture(0, &CallerProbe::Capture, &rig.caller));
    EXPECT_EQ(0, manager.StartPlay(0, &CallerProbe::Play, &rig.caller));
    EXPECT_FALSE(manager.IsCapturing());
    EXPECT_FALSE(manager.IsPlaying());
    rig.ds.captureResult = DS_OK;
    rig.ds.playResult = DS_OK;
    EXPECT_EQ(1, manager.StartCapture(0, &CallerProbe::Capture, &rig.caller));
    EXPECT_EQ(1, manager.StartPlay(0, &CallerProbe::Play, &rig.caller));
    // At a rate without 640-byte blocks nothing opens.
    DsRig other;
    CDSAudioManager slow(8000, other.ds, other.mixer);
    EXPECT_EQ(0, slow.StartCapture(0, &CallerProbe::Capture, &other.caller));
    EXPECT_EQ(0, slow.StartPlay(0, &CallerProbe::Play, &other.caller));
    EXPECT_EQ(nullptr, other.ds.capture);
    EXPECT_EQ(nullptr, other.ds.play);
}
