#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "CDSAudioManager.h"
#include "CFakeDuplexDevice.h"
#include "CFakeRavo.h"

using namespace RavoTDevice;

namespace {
struct Sink
{
    std::atomic<int> packets{0};
    std::atomic<int> taps{0};
    static void Callback(void* context, void*, uint8_t*, int)
    {
        static_cast<Sink*>(context)->packets++;
    }
    static int Tap(void* context, void*, uint8_t*, int length)
    {
        static_cast<Sink*>(context)->taps++;
        return length;
    }
    bool WaitFor(int n)
    {
        DWORD start = GetTickCount();
        while (packets.load() < n) {
            if (GetTickCount() - start > 2000)
                return false;
            Sleep(1);
        }
        return true;
    }
};

GUID Guid(int n)
{
    GUID g = {0xABC00000u + static_cast<unsigned>(n), 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    return g;
}

class DsManager : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CFakeRavo::Get().Reset();
        ravo = new CRavoBinding(CFakeRavo::Api());
        for (int i = 0; i < 3; ++i) {
            GUID p = Guid(i), c = Guid(10 + i);
            CDirectSoundLib::AddDevice(&p, "Speakers", nullptr, &ds.PlaybackDeviceList);
            CDirectSoundLib::AddDevice(&c, "Microphone", nullptr, &ds.CaptureDeviceList);
        }
        manager = new CDSAudioManager(ravo, &ds, &CFakeDuplexFactory::Create, &duplex);
    }
    void TearDown() override
    {
        delete manager;
        delete ravo;
    }
    bool SameGuid(const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }

    CDirectSoundLib ds;
    CFakeDuplexFactory duplex;
    CRavoBinding* ravo = nullptr;
    CDSAudioManager* manager = nullptr;
    Sink sink;
};
} // namespace

TEST_F(DsManager, ChangingTheDevicePairRecreatesTheDeviceWithWhatRuns)
{
    ASSERT_EQ(1, manager->StartPlay(2));
    EXPECT_EQ(1, duplex.created);
    EXPECT_TRUE(SameGuid(Guid(2), duplex.lastRender));
    ASSERT_EQ(1, manager->StartCapture(0, 3, &sink, &Sink::Callback));
    // Another codec row: a new device, the player restarted on it.
    EXPECT_EQ(2, duplex.created);
    EXPECT_EQ(1, duplex.destroyed);
    EXPECT_TRUE(SameGuid(Guid(2), duplex.lastRender));
    EXPECT_TRUE(SameGuid(Guid(10), duplex.lastCapture));
    EXPECT_EQ(16000u, duplex.lastCaptureFormat.nSamplesPerSec);
    EXPECT_EQ(640, duplex.lastCaptureBlockBytes);
    EXPECT_TRUE(manager->IsPlaying());
    EXPECT_TRUE(manager->IsCapturing());
    ASSERT_TRUE(duplex.PulsePlay());
    ASSERT_TRUE(duplex.PulseCapture(300));
    EXPECT_TRUE(sink.WaitFor(1));

    // Stopping playback keeps the capture on the same device.
    manager->StopPlay();
    EXPECT_EQ(2, duplex.created);
    EXPECT_FALSE(manager->IsPlaying());
    ASSERT_TRUE(duplex.PulseCapture(301));
    EXPECT_TRUE(sink.WaitFor(2));
    manager->StopCapture();
    EXPECT_FALSE(manager->HasDevice());
    EXPECT_EQ(2, duplex.destroyed);
    EXPECT_EQ(CFakeRavo::Get().processersCreated, CFakeRavo::Get().processersDestroyed);
}

TEST_F(DsManager, NegativePlayIdsMeanTheFirstDeviceAndOutOfRangeIdsTheDefault)
{
    ASSERT_EQ(1, manager->StartPlay(-5));
    EXPECT_TRUE(SameGuid(Guid(0), duplex.lastRender));
    ASSERT_EQ(1, manager->StartPlay(7));
    const GUID defaultPlayback = {
        0xDEF00000, 0x9C6D, 0x47ED, {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};
    EXPECT_TRUE(SameGuid(defaultPlayback, duplex.lastRender));
}

TEST_F(DsManager, AShortMixIsWrittenAsSilenceAndTheTapSeesEveryBlock)
{
    ASSERT_EQ(1, manager->StartPlay(0));
    manager->SetPlayCallback(&sink, &Sink::Tap);
    CFakeRavo::Get().mixSample = 700;
    ASSERT_TRUE(duplex.PulsePlay());
    CFakeRavo::Get().readBytes = 200;
    ASSERT_TRUE(duplex.PulsePlay());
    std::lock_guard<std::mutex> l(duplex.lock);
    ASSERT_EQ(2u, duplex.written.size());
    int16_t s;
    memcpy(&s, &duplex.written[1][198], 2);
    EXPECT_EQ(700, s);
    memcpy(&s, &duplex.written[1][200], 2);
    EXPECT_EQ(0, s);
    memcpy(&s, &duplex.written[1][478], 2);
    EXPECT_EQ(0, s);
    EXPECT_EQ(2, sink.taps.load());
    WAVEFORMATEX f;
    manager->GetPlayFormat(&f);
    EXPECT_EQ(8000u, f.nSamplesPerSec);
}

TEST_F(DsManager, ASecondCaptureStartSwapsTheProcesserSafelyUnderARunningCapture)
{
    ASSERT_EQ(1, manager->StartCapture(0, 3, &sink, &Sink::Callback));
    std::atomic<bool> done{false};
    std::thread pulser([&] {
        for (int i = 0; i < 200 && !done; ++i) {
            duplex.PulseCapture(static_cast<int16_t>(i));
            Sleep(0);
        }
    });
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(1, manager->StartCapture(0, 3, &sink, &Sink::Callback));
    done = true;
    pulser.join();
    // Same device and row: the device stays, only the processer is renewed.
    EXPECT_EQ(1, duplex.created);
    EXPECT_EQ(21, CFakeRavo::Get().processersCreated);
    EXPECT_EQ(20, CFakeRavo::Get().processersDestroyed);
    int before = sink.packets.load();
    ASSERT_TRUE(duplex.PulseCapture(5));
    EXPECT_TRUE(sink.WaitFor(before + 1));
}

TEST_F(DsManager, ADeviceThatCannotStartLeavesNothingBehind)
{
    duplex.initFails = true;
    EXPECT_EQ(0, manager->StartPlay(0));
    EXPECT_EQ(0, manager->StartCapture(0, 3, &sink, &Sink::Callback));
    EXPECT_FALSE(manager->HasDevice());
    EXPECT_FALSE(manager->IsPlaying());
    EXPECT_EQ(duplex.created, duplex.destroyed);
    char name[16];
    EXPECT_EQ(10, manager->GetCapDeviceName(0, name, sizeof(name)));
    EXPECT_STREQ("Microphone", name);
    EXPECT_EQ(0, manager->GetPlayDeviceName(0, name, 8));
    EXPECT_EQ(0, manager->GetPlayDeviceName(3, name, sizeof(name)));
    EXPECT_EQ(3, manager->GetPlayDevicesCount());
}
