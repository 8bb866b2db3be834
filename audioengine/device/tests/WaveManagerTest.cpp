#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "CAudioCapture.h"
#include "CFakeRavo.h"
#include "CFakeWaveApi.h"
#include "CMMAudioManager.h"

using namespace RavoTDevice;

namespace {
// What the caller's capture callback saw.
struct PacketSink
{
    std::mutex lock;
    std::vector<std::vector<uint8_t>> packets;
    HANDLE slow = nullptr; // when set, the callback waits on it

    static void Callback(void* context, void*, uint8_t* packet, int length)
    {
        PacketSink* self = static_cast<PacketSink*>(context);
        if (self->slow)
            WaitForSingleObject(self->slow, 5000);
        std::lock_guard<std::mutex> l(self->lock);
        self->packets.emplace_back(packet, packet + length);
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> l(lock);
        return packets.size();
    }
    bool WaitFor(size_t n)
    {
        DWORD start = GetTickCount();
        while (Count() < n) {
            if (GetTickCount() - start > 3000)
                return false;
            Sleep(1);
        }
        return true;
    }
    uint32_t Sequence(size_t i)
    {
        std::lock_guard<std::mutex> l(lock);
        uint32_t s;
        memcpy(&s, &packets[i][1], 4);
        return s;
    }
};

std::vector<int16_t> Block(size_t samples, int16_t value)
{
    return std::vector<int16_t>(samples, value);
}

class WaveManager : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CFakeRavo::Get().Reset();
        wave.inNames = wave.outNames = {"Fake Wave Device"};
        ravo = new CRavoBinding(CFakeRavo::Api());
    }
    void TearDown() override
    {
        delete manager;
        delete ravo;
    }
    CMMAudioManager* Make()
    {
        manager = new CMMAudioManager(ravo, &wave);
        return manager;
    }

    AudioCommon::CFakeWaveApi wave;
    CRavoBinding* ravo = nullptr;
    CMMAudioManager* manager = nullptr;
    PacketSink sink;
};
} // namespace

TEST_F(WaveManager, CapturedBlocksBecomePacketsInOrderAndBuffersGoBackFromTheThread)
{
    Make();
    ASSERT_EQ(1, manager->StartCapture(0, 3, &sink, &PacketSink::Callback));
    EXPECT_EQ(16000u, wave.lastInFormat.nSamplesPerSec);
    ASSERT_TRUE(wave.WaitInQueued(3));
    for (int i = 0; i < 12; ++i) {
        std::vector<int16_t> b = Block(320, static_cast<int16_t>(100 + i));
        ASSERT_TRUE(wave.WaitInQueued(1));
        ASSERT_TRUE(wave.DeliverCapture(b.data(), 640));
        // One block at a time: a capture thread slowed by a loaded machine
        // must not overflow the pool, which drops blocks by design.
        ASSERT_TRUE(sink.WaitFor(static_cast<size_t>(i) + 1)) << i;
    }
    ASSERT_TRUE(sink.WaitFor(12));
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(i, sink.Sequence(i));
        int16_t first;
        memcpy(&first, &sink.packets[i][5], 2);
        EXPECT_EQ(100 + static_cast<int>(i), first);
    }
    // Every header went back to the driver, never from inside its callback.
    EXPECT_TRUE(wave.WaitInQueued(3));
    EXPECT_EQ(0, wave.callsFromCallback);
    EXPECT_EQ(1, CFakeRavo::Get().processersCreated);
    EXPECT_EQ(3, CFakeRavo::Get().lastFormatIndex);
}

TEST_F(WaveManager, ASlowCallerLosesTheOldestThirdOfTheQueueNotTheDriver)
{
    Make();
    sink.slow = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_EQ(1, manager->StartCapture(0, 3, &sink, &PacketSink::Callback));
    // The first block holds the capture thread in the callback; the driver
    // keeps getting its buffers back and the pool (5) overflows.
    int delivered = 0;
    for (int i = 0; i < 10; ++i) {
        std::vector<int16_t> b = Block(320, static_cast<int16_t>(i));
        ASSERT_TRUE(wave.WaitInQueued(1)) << i;
        ASSERT_TRUE(wave.DeliverCapture(b.data(), 640));
        ++delivered;
    }
    ASSERT_TRUE(wave.WaitInQueued(3));
    SetEvent(sink.slow);
    // Wait (bounded) for the newest block to come through.
    DWORD start = GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> l(sink.lock);
            int16_t v = -1;
            if (!sink.packets.empty())
                memcpy(&v, &sink.packets.back()[5], 2);
            if (v == 9)
                break;
        }
        if (GetTickCount() - start > 3000)
            break;
        Sleep(1);
    }
    manager->StopCapture();
    CloseHandle(sink.slow);
    // Block 0 was in the callback; of the rest some of the oldest went, the
    // newest arrived.
    ASSERT_GE(sink.Count(), 2u);
    EXPECT_LT(sink.Count(), static_cast<size_t>(delivered));
    int16_t last;
    memcpy(&last, &sink.packets.back()[5], 2);
    EXPECT_EQ(9, last);
}

TEST_F(WaveManager, StopCaptureReturnsAtOnceWhenTheDriverKeepsItsBlocks)
{
    Make();
    wave.holdOnReset = true;
    ASSERT_EQ(1, manager->StartCapture(0, 0, &sink, &PacketSink::Callback));
    DWORD start = GetTickCount();
    EXPECT_EQ(1, manager->StopCapture());
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_EQ(1, wave.inCloses);
    EXPECT_EQ(1, CFakeRavo::Get().processersDestroyed);
    EXPECT_FALSE(manager->IsCapturing());
}

TEST_F(WaveManager, FailedStartsLeaveNothingBehind)
{
    Make();
    wave.inOpenResult = MMSYSERR_ALLOCATED;
    EXPECT_EQ(0, manager->StartCapture(0, 3, &sink, &PacketSink::Callback));
    EXPECT_FALSE(manager->IsCapturing());
    wave.inOpenResult = MMSYSERR_NOERROR;
    CFakeRavo::Get().refuseProcesser = true;
    EXPECT_EQ(0, manager->StartCapture(0, 3, &sink, &PacketSink::Callback));
    EXPECT_FALSE(manager->IsCapturing());
    EXPECT_EQ(wave.inOpens, wave.inCloses);
    CFakeRavo::Get().refuseProcesser = false;
    EXPECT_EQ(0, manager->StartCapture(0, 9, &sink, &PacketSink::Callback)); // no such codec row

    wave.outOpenResult = MMSYSERR_ALLOCATED;
    EXPECT_EQ(0, manager->StartPlay(0));
    EXPECT_FALSE(manager->IsPlaying());
    WAVEFORMATEX f;
    memset(&f, 0x5A, sizeof(f));
    manager->GetPlayFormat(&f); // no player: left unchanged
    EXPECT_EQ(0x5A5A, f.wFormatTag);
}

TEST_F(WaveManager, StartAndStopInEveryOrder)
{
    Make();
    struct Step
    {
        char what; // C start capture, c stop capture, P start play, p stop play
    };
    const char* orders[] = {"CPcp", "CPpc", "PCcp", "PCpc", "CCcc", "PPpp", "cpCP", "pc"};
    for (const char* order : orders) {
        for (const char* s = order; *s; ++s) {
            switch (*s) {
            case 'C':
                EXPECT_EQ(1, manager->StartCapture(0, 3, &sink, &PacketSink::Callback)) << order;
                break;
            case 'c':
                manager->StopCapture();
                break;
            case 'P':
                EXPECT_EQ(1, manager->StartPlay(-1)) << order;
                break;
            case 'p':
                manager->StopPlay();
                break;
            }
        }
        manager->StopCapture();
        manager->StopPlay();
        EXPECT_FALSE(manager->IsCapturing()) << order;
        EXPECT_FALSE(manager->IsPlaying()) << order;
        EXPECT_EQ(wave.inOpens, wave.inCloses) << order;
        EXPECT_EQ(wave.outOpens, wave.outCloses) << order;
    }
    EXPECT_EQ(CFakeRavo::Get().processersCreated, CFakeRavo::Get().processersDestroyed);
}

namespace {
struct TapSink
{
    std::atomic<int> calls{0};
    static int Tap(void* context, void*, uint8_t*, int length)
    {
        static_cast<TapSink*>(context)->calls++;
        return length;
    }
};
} // namespace

TEST_F(WaveManager, PlaysTheGroupMixAndPadsAShortMixWithSilence)
{
    Make();
    CFakeRavo::Get().mixSample = 1234;
    ASSERT_EQ(1, manager->StartPlay(0));
    TapSink tap;
    manager->SetPlayCallback(&tap, &TapSink::Tap);
    // Five blocks go out at once (150 ms of queue), each 480 bytes of 8 kHz.
    ASSERT_TRUE(wave.WaitOutWritten(5));
    EXPECT_EQ(8000u, wave.lastOutFormat.nSamplesPerSec);
    auto played = wave.Written();
    ASSERT_EQ(480u, played[0].size());
    int16_t s;
    memcpy(&s, &played[0][0], 2);
    EXPECT_EQ(1234, s);
    // The mix falls short: the rest of the block is silence, not old audio.
    CFakeRavo::Get().readBytes = 100;
    ASSERT_TRUE(wave.CompletePlayed());
    ASSERT_TRUE(wave.WaitOutWritten(6));
    played = wave.Written();
    memcpy(&s, &played[5][98], 2);
    EXPECT_EQ(1234, s);
    memcpy(&s, &played[5][100], 2);
    EXPECT_EQ(0, s);
    memcpy(&s, &played[5][478], 2);
    EXPECT_EQ(0, s);
    EXPECT_GE(tap.calls.load(), 1);
    WAVEFORMATEX f;
    manager->GetPlayFormat(&f);
    EXPECT_EQ(16000u, f.nAvgBytesPerSec);
    manager->StopPlay();
    EXPECT_EQ(1, wave.outCloses);
}

TEST_F(WaveManager, PlayTapSetBeforeStartPlayHasNoEffect)
{
    Make();
    TapSink tap;
    manager->SetPlayCallback(&tap, &TapSink::Tap);
    ASSERT_EQ(1, manager->StartPlay(0));
    ASSERT_TRUE(wave.WaitOutWritten(5));
    EXPECT_EQ(0, tap.calls.load());
}

TEST_F(WaveManager, EchoCancellingOnTheWavePath)
{
    Make();
    // 16 kHz capture: the canceller works on 8 kHz copies; a capture start
    // always brings it back in mode 1.
    manager->SetAEC(3);
    ASSERT_EQ(1, manager->StartCapture(0, 3, &sink, &PacketSink::Callback));
    EXPECT_EQ(1, manager->GetEchoMode());
    EXPECT_EQ(1, manager->GetEchoFilterMode());
    EXPECT_TRUE(manager->HasEchoConverters());
    // 8 kHz capture: in place, no converters.
    ASSERT_EQ(1, manager->StartCapture(0, 2, &sink, &PacketSink::Callback));
    EXPECT_EQ(1, manager->GetEchoFilterMode());
    EXPECT_FALSE(manager->HasEchoConverters());
    manager->SetAEC(0);
    EXPECT_FALSE(manager->HasEchoCanceller());

    // With the canceller on and far-end audio flowing, captured blocks that
    // carry the echo reach the engine changed.
    manager->SetAEC(3);
    EXPECT_EQ(3, manager->GetEchoFilterMode());
    std::vector<uint8_t> farBlock(480);
    for (int i = 0; i < 4; ++i)
        manager->ReadData(farBlock.data(), 480);
    std::vector<int16_t> mic = Block(240, 900);
    manager->HandleLocalAudioData(reinterpret_cast<uint8_t*>(mic.data()), 480);
    ASSERT_FALSE(CFakeRavo::Get().processedBlocks.empty());
    std::vector<uint8_t> seen = CFakeRavo::Get().processedBlocks.back();
    EXPECT_NE(0, memcmp(seen.data(), Block(240, 900).data(), 480));
}

TEST_F(WaveManager, PlayLocalLoopsPacketsBackWithoutCancelling)
{
    Make();
    ASSERT_EQ(1, manager->StartCapture(0, 2, &sink, &PacketSink::Callback));
    manager->SetAEC(3);
    manager->SetPlayLocal(1);
    EXPECT_EQ(1, CFakeRavo::Get().enableLocal);
    std::vector<uint8_t> farBlock(480);
    for (int i = 0; i < 4; ++i)
        manager->ReadData(farBlock.data(), 480);
    std::vector<int16_t> mic = Block(240, 900);
    manager->HandleLocalAudioData(reinterpret_cast<uint8_t*>(mic.data()), 480);
    EXPECT_EQ(Block(240, 900), mic);
    EXPECT_EQ(1u, CFakeRavo::Get().localPackets.size());
    EXPECT_EQ(1u, sink.Count());
    // Silence dropped by the processer: neither the loop-back nor the caller.
    CFakeRavo::Get().silence = true;
    manager->HandleLocalAudioData(reinterpret_cast<uint8_t*>(mic.data()), 480);
    EXPECT_EQ(1u, CFakeRavo::Get().localPackets.size());
    EXPECT_EQ(1u, sink.Count());
}

TEST_F(WaveManager, SettingsReachTheProcesserWhenItIsCreated)
{
    Make();
    manager->SetDenoise(2);
    manager->SetAGC(1);
    manager->EnableSilenceDetect(1);
    manager->SetFECMode(3);
    EXPECT_EQ(-1, CFakeRavo::Get().denoise); // no processer yet
    ASSERT_EQ(1, manager->StartCapture(0, 3, &sink, &PacketSink::Callback));
    EXPECT_EQ(2, CFakeRavo::Get().denoise);
    EXPECT_EQ(1, CFakeRavo::Get().agc);
    EXPECT_EQ(1, CFakeRavo::Get().silenceDetect);
    EXPECT_EQ(3, CFakeRavo::Get().fecMode);
    manager->SetDenoiseChain(2);
    EXPECT_EQ(2, CFakeRavo::Get().denoiseChain);
    EXPECT_EQ(55, manager->GetCapEnergy());
    EXPECT_EQ(42, manager->GetPlayEnergy());
    EXPECT_EQ(1, CFakeRavo::Get().calEnergy);
}

TEST_F(WaveManager, DeviceNamesMustFitTheBuffer)
{
    Make();
    char name[64];
    EXPECT_EQ(1, manager->GetCapDevicesCount());
    EXPECT_EQ(16, manager->GetCapDeviceName(0, name, sizeof(name)));
    EXPECT_STREQ("Fake Wave Device", name);
    EXPECT_EQ(0, manager->GetCapDeviceName(0, name, 16));
    EXPECT_EQ(16, manager->GetPlayDeviceName(0, name, 17));
    EXPECT_EQ(0, manager->GetPlayDeviceName(1, name, sizeof(name)));
    EXPECT_EQ(0, manager->GetCapDeviceName(-1, name, sizeof(name)));
}

TEST_F(WaveManager, ADeviceThatStopsMidStreamStillStopsAtOnce)
{
    Make();
    ASSERT_EQ(1, manager->StartPlay(0));
    ASSERT_EQ(1, manager->StartCapture(0, 3, &sink, &PacketSink::Callback));
    std::vector<int16_t> b = Block(320, 1);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(wave.WaitInQueued(1));
        ASSERT_TRUE(wave.DeliverCapture(b.data(), 640));
    }
    ASSERT_TRUE(wave.WaitOutWritten(5));
    ASSERT_TRUE(wave.CompletePlayed());
    ASSERT_TRUE(wave.WaitOutWritten(6));
    ASSERT_TRUE(sink.WaitFor(3));
    // From here neither device hands anything back, not even on reset.
    wave.holdOnReset = true;
    Sleep(50);
    DWORD start = GetTickCount();
    manager->StopCapture();
    manager->StopPlay();
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(3u, sink.Count());
    EXPECT_EQ(1, wave.inCloses);
    EXPECT_EQ(1, wave.outCloses);
}
