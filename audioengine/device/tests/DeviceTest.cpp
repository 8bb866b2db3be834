#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "CDSAudioManager.h"
#include "CFakeRavo.h"
#include "CMMAudioManager.h"
#include "IWaveApi.h"
#include "TCaptureEffect.h"

using namespace RavoTDevice;

// The managers on the system's own devices (under Wine, the null sound
// device), with the fake engine in this process.
namespace {
struct Sink
{
    std::atomic<int> packets{0};
    static void Callback(void* context, void*, uint8_t*, int)
    {
        static_cast<Sink*>(context)->packets++;
    }
};

bool WaitUntil(const std::atomic<int>& v, int n, DWORD ms)
{
    DWORD start = GetTickCount();
    while (v.load() < n) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(5);
    }
    return true;
}

bool WaitReads(int n, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> l(CFakeRavo::Get().lock);
            if (CFakeRavo::Get().reads >= n)
                return true;
        }
        if (GetTickCount() - start > ms)
            return false;
        Sleep(5);
    }
}

class SystemDevices : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CFakeRavo::Get().Reset();
        ravo = new CRavoBinding(CFakeRavo::Api());
    }
    void TearDown() override { delete ravo; }
    CRavoBinding* ravo = nullptr;
    Sink sink;
};
} // namespace

TEST_F(SystemDevices, WavePathCapturesAndPlays)
{
    CMMAudioManager m(ravo, &AudioCommon::IWaveApi::System());
    if (m.GetCapDevicesCount() < 1 || m.GetPlayDevicesCount() < 1)
        GTEST_SKIP() << "no wave devices";
    ASSERT_EQ(1, m.StartPlay(-1));
    EXPECT_TRUE(WaitReads(8, 3000));
    ASSERT_EQ(1, m.StartCapture(0, 3, &sink, &Sink::Callback));
    EXPECT_TRUE(WaitUntil(sink.packets, 5, 3000));
    // Echo cancelling at 16 kHz on real blocks.
    m.SetAEC(3);
    int before = sink.packets.load();
    EXPECT_TRUE(WaitUntil(sink.packets, before + 5, 3000));
    // Restart in every order on the real devices.
    ASSERT_EQ(1, m.StartCapture(0, 2, &sink, &Sink::Callback));
    m.StopPlay();
    ASSERT_EQ(1, m.StartPlay(0));
    EXPECT_EQ(1, m.StopCapture());
    m.StopPlay();
    EXPECT_FALSE(m.IsCapturing());
    EXPECT_FALSE(m.IsPlaying());
}

TEST_F(SystemDevices, DirectSoundPathRunsWhatThePlatformOffers)
{
    CDirectSoundLib ds;
    if (!ds.Load())
        GTEST_SKIP() << "dsound.dll or its devices are not there";
    for (const DS_DEVICE_ENTRY& e : ds.PlaybackDeviceList)
        EXPECT_LT(strlen(e.description), 32u);

    // The device itself: with effects when the platform has them, else the
    // plain fallback; both buffers take and give whole blocks only.
    TCaptureEffect device(&ds);
    WAVEFORMATEX f16;
    memset(&f16, 0, sizeof(f16));
    f16.wFormatTag = WAVE_FORMAT_PCM;
    f16.nChannels = 1;
    f16.nSamplesPerSec = 16000;
    f16.nAvgBytesPerSec = 32000;
    f16.nBlockAlign = 2;
    f16.wBitsPerSample = 16;
    device.SetCaptureFormat(&f16);
    device.SetCaptureBlocks(640, 8);
    if (!device.Init(1, GetDesktopWindow(), nullptr, nullptr))
        GTEST_SKIP() << "no DirectSound device could be opened";
    bool effects = device.SetParameter(1) == 1;
    RecordProperty("full_duplex", device.IsFullDuplex() ? 1 : 0);
    RecordProperty("capture_effects", effects ? 1 : 0);
    EXPECT_EQ(effects, device.HasEchoEffect());
    ASSERT_EQ(1, device.OpenOut());
    EXPECT_EQ(0, device.OpenOut()); // a second open is refused
    uint8_t block[640] = {0};
    EXPECT_EQ(1, device.WriteBlock(block, 480));
    EXPECT_EQ(0, device.WriteBlock(block, 400));
    if (device.OpenIn()) {
        EXPECT_EQ(0, device.ReadBlock(block, 480));
        EXPECT_EQ(1, device.ReadBlock(block, 640));
        device.CloseIn();
    }
    device.CloseOut();
    device.Close();

    // The plain fallback on the same default devices.
    if (device.InitNoAEC(GetDesktopWindow(), nullptr, nullptr)) {
        EXPECT_FALSE(device.IsFullDuplex());
        EXPECT_EQ(0, device.SetParameter(1));
        EXPECT_FALSE(device.HasEchoEffect());
        ASSERT_EQ(1, device.OpenOut());
        EXPECT_EQ(1, device.WriteBlock(block, 480));
        device.CloseOut();
        device.Close();
    }

    // The manager on it: playback pulls the mix, capture (when there is
    // one) delivers packets.
    CDSAudioManager m(ravo, &ds);
    ASSERT_EQ(1, m.StartPlay(0));
    EXPECT_TRUE(WaitReads(4, 3000));
    bool capture = m.StartCapture(0, 3, &sink, &Sink::Callback) == 1;
    RecordProperty("capture", capture ? 1 : 0);
    if (capture) {
        EXPECT_TRUE(WaitUntil(sink.packets, 3, 3000));
        m.SetAEC(6);
        EXPECT_EQ(m.HasEchoCanceller(), !effects);
        EXPECT_EQ(effects ? 6 : 3, m.GetEchoState());
        m.StopCapture();
    }
    m.StopPlay();
    EXPECT_FALSE(m.HasDevice());
}
