// The send side against a fake engine and a fake network: rate words,
// width steps, adaptation, the queue and the send thread.
#include <gtest/gtest.h>

#include <process.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "CFakeEngine.h"
#include "CFakeNetwork.h"
#include "CVideoManagerS.h"
#include "CVideoPacket.h"
#include "CVideoRateControl.h"

namespace {

std::vector<uint8_t> Frame(uint32_t length, uint8_t fill = 0x5A)
{
    return std::vector<uint8_t>(length, fill);
}

} // namespace

TEST(VideoRateControlTest, DerivedWordsFollowRateAndWidth)
{
    struct Case
    {
        int kbit;
        std::vector<int> widths; // new widths shown
        int target, percent, value;
    } cases[] = {
        {512, {}, 409600, 68, 18},    // no width: scale 400
        {512, {640}, 512000, 85, 18}, // one window at step 2000: scale 500
        {512, {450}, 512000, 85, 18}, // step 500
        {512, {150}, 409600, 68, 18}, // step 200 clamps to 400
        {2000, {}, 1600000, 78, 20},  // row 0: 98 * 0.8
        {1, {}, 1000, 48, 1},         // 800 bit/s: target floor, last row
        {64, {3000}, 51200, 68, 5},   // a width above 2000 counts nowhere
        {-5, {}, 1000, 68, 18},       // negative: no row fits, the default row 3
    };
    for (const Case& c : cases) {
        CVideoRateControl r;
        r.SetBitRate(c.kbit);
        for (int w : c.widths)
            r.SetVideoWidth(0, w);
        const DRAVO_CAPTURE_PARAMS& p = r.Params();
        EXPECT_EQ(c.target, p.targetRate) << c.kbit;
        EXPECT_EQ(c.percent, p.percent) << c.kbit;
        EXPECT_EQ(c.value, p.rateValue) << c.kbit;
        EXPECT_EQ(c.value, p.rateValue2) << c.kbit;
        EXPECT_EQ(c.kbit * 1000, p.configuredRate);
    }
    CVideoRateControl r;
    r.Params().currentRate = 900;
    r.Recompute();
    EXPECT_EQ(1000, r.Params().targetRate);
}

TEST(VideoRateControlTest, WidthStepsCountWindowsAndReportChangesOfTheWidest)
{
    CVideoRateControl r;
    EXPECT_FALSE(r.SetVideoWidth(0, 0));
    EXPECT_TRUE(r.SetVideoWidth(0, 640));  // 2000 in use
    EXPECT_FALSE(r.SetVideoWidth(0, 320)); // 400 in use too, widest unchanged
    EXPECT_EQ(1, r.GetStepCount(4));
    EXPECT_EQ(1, r.GetStepCount(2));
    EXPECT_TRUE(r.SetVideoWidth(640, 0)); // widest now 400
    EXPECT_EQ(0, r.GetStepCount(4));
    EXPECT_EQ(409600, r.Params().targetRate);
    EXPECT_FALSE(r.SetVideoWidth(640, 0));  // nothing left to take away
    EXPECT_TRUE(r.SetVideoWidth(320, 480)); // moves to step 500
    EXPECT_EQ(512000, r.Params().targetRate);
}

TEST(VideoRateControlTest, AdaptationLowersAfterSixWindowsOverAndRecoversAfterAHundredUnder)
{
    CVideoRateControl r;
    r.SetBitRate(100); // 100000 bit/s
    uint32_t now = 1000;
    // 5 s windows of 125000 bytes = 200000 bit/s, over the configured rate.
    auto window = [&](uint32_t bytes) {
        bool changed = r.Adapt(bytes, now);
        now += 5000;
        return changed || r.Adapt(0, now);
    };
    r.Adapt(0, now);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(window(125000)) << i;
    EXPECT_TRUE(window(125000));
    EXPECT_EQ(90000, r.Params().currentRate);
    EXPECT_EQ(100000, r.Params().configuredRate);
    // The rate keeps falling while the engine overshoots, but not below the floor.
    for (int i = 0; i < 6 * 40; ++i)
        window(125000);
    EXPECT_EQ(CVideoRateControl::MIN_RATE, r.Params().currentRate);
    // A hundred quiet windows raise it by a tenth.
    for (int i = 0; i < 99; ++i)
        EXPECT_FALSE(window(10));
    EXPECT_TRUE(window(10));
    EXPECT_EQ(CVideoRateControl::MIN_RATE * 11 / 10, r.Params().currentRate);
}

TEST(VideoRateControlTest, LargeWindowsAndLongRunsDoNotOverflow)
{
    CVideoRateControl r;
    r.SetBitRate(2000000); // 2 Gbit/s configured
    r.Adapt(0, 0);
    // 4 GB in one window would overflow 32-bit arithmetic.
    for (int i = 0; i < 4; ++i)
        r.Adapt(0xFFFFFFFFu, 1);
    EXPECT_FALSE(r.Adapt(0, 5001));
    EXPECT_EQ(1, r.GetOverCount());

    CVideoRateControl up;
    up.SetBitRate(100000);
    uint32_t now = 0;
    up.Adapt(0, now);
    for (int i = 0; i < 100 * 50; ++i) {
        now += 5000;
        up.Adapt(0, now);
    }
    EXPECT_GT(up.Params().currentRate, 0);
    EXPECT_LE(up.Params().currentRate, static_cast<int32_t>(CVideoRateControl::MAX_RATE));
}

TEST(VideoFrameQueueTest, EntriesCarryTheStreamIdAndDiscardTakesTheOldest)
{
    CVideoFrameQueue q(5);
    for (uint8_t i = 1; i <= 5; ++i)
        EXPECT_TRUE(q.Push(0x01020304, Frame(10 + i, i).data(), 10 + i));
    EXPECT_FALSE(q.Push(7, Frame(3).data(), 3));
    EXPECT_EQ(5u, q.GetFilledCount());
    EXPECT_EQ(2u, q.Discard(2));
    CQueueBuffer* b = q.GetFilled(0);
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(4u + 13u, b->GetLength());
    EXPECT_EQ(0x04, b->GetData()[0]);
    EXPECT_EQ(0x01, b->GetData()[3]);
    EXPECT_EQ(3, b->GetData()[4]);
    q.PutFree(b);
    EXPECT_EQ(2u, q.Discard(10));
    EXPECT_EQ(0u, q.GetFilledCount());
}

class VideoSenderTest : public ::testing::Test
{
protected:
    CFakeEngine engine;
    CFakeNetwork net;
    CVideoManagerS sender{engine, net.MakeSocket()};
};

TEST_F(VideoSenderTest, StartCaptureFillsTheBlockAndReusesAnOpenCapture)
{
    ASSERT_EQ(1, sender.StartCapture(1, 0, 1, 256, 352, 288));
    ASSERT_EQ(1u, engine.applied.size());
    const DRAVO_CAPTURE_PARAMS& p = engine.applied[0];
    EXPECT_EQ(1, p.device);
    EXPECT_EQ(352, p.width);
    EXPECT_EQ(288, p.height);
    EXPECT_EQ(0, p.input);
    EXPECT_EQ(1, p.encodeMode);
    EXPECT_EQ(256000, p.configuredRate);
    EXPECT_EQ(256000, p.currentRate);
    EXPECT_EQ(204800, p.targetRate);
    EXPECT_EQ(12, p.rateValue);
    EXPECT_TRUE(engine.Called("SetCaptureOverlay"));
    EXPECT_EQ(0, engine.encode.load());

    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 512, 640, 480));
    EXPECT_EQ(1u, engine.Count("OpenCapture"));
    EXPECT_EQ(640, engine.applied.back().width);

    CFakeEngine failing;
    failing.failOpen = true;
    CVideoManagerS other(failing, net.MakeSocket());
    EXPECT_EQ(0, other.StartCapture(0, 0, 1, 512, 352, 288));
}

TEST_F(VideoSenderTest, PreviewRestartsWithTheCaptureAndEncodingFollowsSendAndRecord)
{
    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 512, 352, 288));
    EXPECT_EQ(1, sender.StartPreview(3, nullptr, 0x401));
    RECT rc{1, 2, 3, 4};
    sender.SetPreviewPos(rc);
    EXPECT_EQ(5, sender.SetRender(0));
    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 256, 352, 288));
    EXPECT_EQ(2u, engine.Count("StartPreview"));
    EXPECT_EQ(1, engine.previewRender);
    EXPECT_EQ(3, engine.previewRect.right);

    EXPECT_EQ(0, engine.encode.load());
    sender.SetRecord(1, nullptr, nullptr);
    EXPECT_EQ(1, engine.encode.load());
    sender.SetRecord(0, nullptr, nullptr);
    EXPECT_EQ(0, engine.encode.load());
    ASSERT_EQ(1, sender.StartSend(9, "127.0.0.1", 20000));
    EXPECT_EQ(1, engine.encode.load());
    sender.StopSend();
    EXPECT_EQ(0, engine.encode.load());
    EXPECT_EQ(42, sender.SavePicture("x.bmp"));
    std::vector<std::string> names;
    EXPECT_EQ(2, sender.GetVideoSources(names));
    EXPECT_EQ((std::vector<std::string>{"In 1", "In 3"}), names);
    EXPECT_EQ(7, sender.SetVideoSourceIndex(2));
    EXPECT_EQ(2, sender.GetParams().input);

    sender.StopCapture();
    EXPECT_TRUE(engine.Called("CloseCapture"));
    EXPECT_TRUE(engine.Called("StopPreview"));
    EXPECT_FALSE(sender.IsPreviewActive());
    EXPECT_EQ(0u, sender.GetCapture());
    EXPECT_EQ(0, sender.GetVideoSources(names));
}

TEST_F(VideoSenderTest, FramesGoOutBehindTheStreamId)
{
    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 512, 352, 288));
    EXPECT_EQ(0, sender.StartSend(9, "127.0.0.256", 20000));
    sender.StopSend();
    ASSERT_EQ(1, sender.StartSend(0xA1B2C3D4, "127.0.0.1", 20000));
    std::vector<uint8_t> frame = Frame(1300, 0x33);
    engine.Frame(frame);
    for (int i = 0; i < 200 && net.Waiting(20000) < 3; ++i)
        Sleep(5);
    sender.StopSend();
    std::vector<CFakeNetwork::Datagram> got = net.Unbound(20000);
    ASSERT_EQ(3u, got.size());
    CVideoReassembler r;
    for (const auto& d : got)
        r.Add(CVideoPacket::Parse(d.bytes.data(), d.bytes.size(), 0, 0));
    auto f = r.Pop();
    ASSERT_TRUE(f);
    ASSERT_EQ(1304u, f->payloadLength);
    EXPECT_EQ(0xD4, f->Payload()[0]);
    EXPECT_EQ(0xA1, f->Payload()[3]);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), f->Payload() + 4));
    EXPECT_EQ(110, f->payloadType);
}

TEST_F(VideoSenderTest, AFailedStartSendLeavesNoPortBehind)
{
    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 512, 352, 288));
    for (const char* bad : {"127.0.0.256", "", "localhost"})
        EXPECT_EQ(0, sender.StartSend(9, bad, 20000)) << bad;
    EXPECT_FALSE(sender.Socket().IsOpen());
    EXPECT_EQ(1, sender.StartSend(9, "127.0.0.1", 20000)) << "a corrected address is taken";
    EXPECT_EQ(0, sender.StartSend(9, "127.0.0.1", 20001)) << "one send at a time";
    EXPECT_TRUE(sender.IsSending());
    sender.StopSend();
    EXPECT_FALSE(sender.Socket().IsOpen());
}

TEST_F(VideoSenderTest, QueueDropsNewestWhenFullAndAFlaggedFrameClearsIt)
{
    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 512, 352, 288));
    // Not sending: frames wait in the queue.
    for (int i = 0; i < 4; ++i)
        engine.Frame(Frame(100));
    EXPECT_EQ(4u, sender.Queue().GetFilledCount());
    engine.Frame(Frame(100), 0x101); // only the low byte counts
    EXPECT_EQ(1u, sender.Queue().GetFilledCount());
    engine.Frame(Frame(100), 0x100);
    EXPECT_EQ(2u, sender.Queue().GetFilledCount());
    for (int i = 0; i < 5; ++i)
        engine.Frame(Frame(100));
    EXPECT_EQ(5u, sender.Queue().GetFilledCount());
    EXPECT_EQ(2u, sender.GetFramesDropped());
    // A frame that could never be sent is not queued.
    sender.Queue().Discard(5);
    EXPECT_EQ(61437, engine.Frame(Frame(61437)));
    EXPECT_EQ(0u, sender.Queue().GetFilledCount());
    engine.Frame(Frame(61436));
    EXPECT_EQ(1u, sender.Queue().GetFilledCount());
}

namespace {

struct Recorded
{
    int calls = 0;
    int length = 0;
};

void __cdecl OnRecord(void* user, const unsigned char*, int length)
{
    Recorded* r = static_cast<Recorded*>(user);
    ++r->calls;
    r->length = length;
}

} // namespace

TEST_F(VideoSenderTest, RecordingCallbackRunsOnlyWhilePreviewing)
{
    Recorded rec;
    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 512, 352, 288));
    sender.SetRecord(1, &rec, &OnRecord);
    engine.Frame(Frame(77));
    EXPECT_EQ(0, rec.calls);
    ASSERT_EQ(1, sender.StartPreview(0, nullptr, 0));
    engine.Frame(Frame(77));
    EXPECT_EQ(1, rec.calls);
    EXPECT_EQ(77, rec.length);
    sender.SetRecord(0, &rec, &OnRecord);
    engine.Frame(Frame(77));
    EXPECT_EQ(1, rec.calls);
}

namespace {

struct BlockingRecord
{
    HANDLE entered;
    HANDLE release;
};

void __cdecl OnRecordBlocking(void* user, const unsigned char*, int)
{
    BlockingRecord* b = static_cast<BlockingRecord*>(user);
    SetEvent(b->entered);
    WaitForSingleObject(b->release, 5000);
}

struct FrameFeed
{
    CFakeEngine* engine;
};

unsigned __stdcall FeedOneFrame(void* arg)
{
    static_cast<FrameFeed*>(arg)->engine->Frame(std::vector<uint8_t>(64, 1));
    return 0;
}

unsigned __stdcall ClearRecord(void* arg)
{
    static_cast<CVideoManagerS*>(arg)->SetRecord(0, nullptr, nullptr);
    return 0;
}

} // namespace

// Once recording is switched off, the caller may free what it gave: a
// callback running on the engine's thread is finished before SetRecord
// returns.
TEST_F(VideoSenderTest, SwitchingRecordingOffWaitsForARunningCallback)
{
    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 512, 352, 288));
    ASSERT_EQ(1, sender.StartPreview(0, nullptr, 0));
    BlockingRecord rec{CreateEventA(nullptr, TRUE, FALSE, nullptr),
                       CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    sender.SetRecord(1, &rec, &OnRecordBlocking);
    FrameFeed feed{&engine};
    HANDLE engineThread =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &FeedOneFrame, &feed, 0, nullptr));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(rec.entered, 5000));
    HANDLE clearing =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &ClearRecord, &sender, 0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(clearing, 200))
        << "SetRecord returned while the callback still ran";
    SetEvent(rec.release);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(clearing, 5000));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(engineThread, 5000));
    CloseHandle(clearing);
    CloseHandle(engineThread);
    CloseHandle(rec.entered);
    CloseHandle(rec.release);
}

namespace {

uint32_t g_fakeNow = 0;
uint32_t __cdecl FakeTick() { return g_fakeNow; }

struct CaptureThread
{
    CFakeEngine* engine;
    HANDLE closing;
    int framesAfterClose;
};

// Plays the engine's thread: five windows over the configured rate, then,
// once the capture is being closed (the sender holds its capture lock), a
// sixth that asks for a lower rate.
unsigned __stdcall EngineThread(void* arg)
{
    CaptureThread* t = static_cast<CaptureThread*>(arg);
    std::vector<uint8_t> big(60000, 1);
    for (int i = 0; i < 5; ++i) {
        t->engine->Frame(big);
        g_fakeNow += 5001;
    }
    WaitForSingleObject(t->closing, 5000);
    t->engine->Frame(big);
    g_fakeNow += 5001;
    t->engine->Frame(big);
    t->framesAfterClose = 2;
    return 0;
}

unsigned __stdcall StopCaptureThread(void* arg)
{
    static_cast<CVideoManagerS*>(arg)->StopCapture();
    return 0;
}

} // namespace

TEST_F(VideoSenderTest, RateChangeOnTheEngineThreadNeverDeadlocksWithStopCapture)
{
    sender.SetTickSource(&FakeTick);
    g_fakeNow = 100;
    ASSERT_EQ(1, sender.StartCapture(0, 0, 0, 64, 352, 288)); // adaptation on
    engine.Frame(Frame(1));                                   // opens the first window
    g_fakeNow += 5001;

    CaptureThread t{&engine, CreateEventA(nullptr, TRUE, FALSE, nullptr), 0};
    HANDLE engineThread = nullptr;
    // Closing the capture waits for the engine's thread, as a real engine does.
    engine.onClose = [&] {
        SetEvent(t.closing);
        WaitForSingleObject(engineThread, 10000);
    };
    engineThread =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, EngineThread, &t, 0, nullptr));
    HANDLE stopper = reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, StopCaptureThread, &sender, CREATE_SUSPENDED, nullptr));
    // Stop only once the five windows are in.
    for (int i = 0; i < 400 && g_fakeNow < 100 + 6 * 5001; ++i)
        Sleep(5);
    ResumeThread(stopper);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(stopper, 5000)) << "StopCapture deadlocked";
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(engineThread, 5000));
    EXPECT_EQ(2, t.framesAfterClose);
    // The lowered rate is kept and goes to the engine with the next capture.
    EXPECT_EQ(57600, sender.GetParams().currentRate);
    CloseHandle(stopper);
    CloseHandle(engineThread);
    CloseHandle(t.closing);
}

TEST_F(VideoSenderTest, AdaptationAppliesTheNewRateToTheEngine)
{
    sender.SetTickSource(&FakeTick);
    g_fakeNow = 0;
    ASSERT_EQ(1, sender.StartCapture(0, 0, 0, 64, 352, 288));
    engine.Frame(Frame(1));
    const size_t before = engine.applied.size();
    for (int i = 0; i < 6; ++i) {
        g_fakeNow += 5000;
        engine.Frame(Frame(50000));
    }
    ASSERT_EQ(before + 1, engine.applied.size());
    EXPECT_EQ(57600, engine.applied.back().currentRate);
    EXPECT_EQ(64000, engine.applied.back().configuredRate);

    // Encode mode 1: no adaptation.
    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 64, 352, 288));
    const size_t fixed = engine.applied.size();
    for (int i = 0; i < 12; ++i) {
        g_fakeNow += 5000;
        engine.Frame(Frame(50000));
    }
    EXPECT_EQ(fixed, engine.applied.size());
}

TEST_F(VideoSenderTest, BitRateAndWidthChangesGoToTheEngine)
{
    ASSERT_EQ(1, sender.StartCapture(0, 0, 1, 512, 352, 288));
    sender.SetBitRate(1024);
    EXPECT_EQ(1024000, engine.applied.back().configuredRate);
    EXPECT_EQ(819200, engine.applied.back().targetRate);
    const size_t n = engine.applied.size();
    sender.SetVideoWidth(0, 640);
    ASSERT_EQ(n + 1, engine.applied.size());
    EXPECT_EQ(1024000, engine.applied.back().targetRate);
    sender.SetVideoWidth(0, 320);
    EXPECT_EQ(n + 1, engine.applied.size());
}

namespace {

struct LockedEngineThread
{
    CFakeEngine* engine;
    std::atomic<bool> stop{false};
    std::atomic<int> frames{0};
};

unsigned __stdcall DeliverUnderEngineLock(void* arg)
{
    LockedEngineThread* t = static_cast<LockedEngineThread*>(arg);
    std::vector<uint8_t> frame(3000, 1);
    while (!t->stop) {
        t->engine->LockedFrame(frame);
        ++t->frames;
    }
    return 0;
}

struct RateChanger
{
    CVideoManagerS* sender;
    int changes;
};

unsigned __stdcall ChangeRates(void* arg)
{
    RateChanger* c = static_cast<RateChanger*>(arg);
    for (int i = 0; i < c->changes; ++i) {
        if (i % 10 == 0)
            c->sender->StartCapture(0, 0, 0, 384, 352, 288);
        c->sender->SetBitRate(i % 2 ? 256 : 512);
        c->sender->SetVideoWidth(0, i % 2 ? 320 : 640);
    }
    return 0;
}

} // namespace

TEST_F(VideoSenderTest, RateChangesNeverDeadlockWithAnEngineThatCallsBackUnderItsLock)
{
    ASSERT_EQ(1, sender.StartCapture(0, 0, 0, 512, 352, 288));
    LockedEngineThread t;
    t.engine = &engine;
    HANDLE engineThread = reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, DeliverUnderEngineLock, &t, 0, nullptr));
    for (int i = 0; i < 400 && t.frames < 10; ++i)
        Sleep(5);
    RateChanger c{&sender, 200};
    HANDLE changer =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ChangeRates, &c, 0, nullptr));
    if (WaitForSingleObject(changer, 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "a rate change deadlocked with the engine's thread";
        fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3); // nothing could end the two threads
    }
    t.stop = true;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(engineThread, 10000)) << "the engine thread hung";
    EXPECT_GT(t.frames.load(), 10);
    EXPECT_EQ(256000, sender.GetParams().configuredRate);
    EXPECT_EQ(256000, engine.applied.back().configuredRate);
    CloseHandle(changer);
    CloseHandle(engineThread);
}
