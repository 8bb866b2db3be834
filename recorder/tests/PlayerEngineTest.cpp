// The play engine against a fake set of windows and a clock the test moves:
// stream order, pacing, seek, pause, stop, the owner's end and error
// messages, and damaged recordings.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "CRecordPlayer.h"
#include "CRecorder.h"
#include "PlayerMessages.h"
#include "RecordingFixture.h"
#include "WireWriter.h"

namespace {

// A clock that moves only when the test says so (manual), or that jumps
// straight to the end of every wait (instant).
class TestClock : public IPlayClock
{
public:
    explicit TestClock(bool instant) : m_instant(instant)
    {
        m_tick = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    ~TestClock() override { CloseHandle(m_tick); }
    uint32_t Now() override { return m_now.load(); }
    DWORD Wait(DWORD count, const HANDLE* events, uint32_t ms) override
    {
        ++m_waits;
        if (m_instant) {
            DWORD r = WaitForMultipleObjects(count, events, FALSE, 0);
            if (r < WAIT_OBJECT_0 + count)
                return r - WAIT_OBJECT_0;
            m_now += ms;
            return WAIT_TIMEOUT;
        }
        HANDLE all[4];
        for (DWORD i = 0; i < count; ++i)
            all[i] = events[i];
        all[count] = m_tick;
        DWORD r = WaitForMultipleObjects(count + 1, all, FALSE, 5000);
        if (r < WAIT_OBJECT_0 + count)
            return r - WAIT_OBJECT_0;
        return WAIT_TIMEOUT;
    }
    void Advance(uint32_t ms)
    {
        m_now += ms;
        SetEvent(m_tick);
    }
    int Waits() const { return m_waits.load(); }

private:
    bool m_instant;
    std::atomic<uint32_t> m_now{1000000};
    std::atomic<int> m_waits{0};
    HANDLE m_tick;
};

struct Dispatched
{
    uint32_t kind;
    uint32_t at; // the clock when it was handed over
    Bytes bytes;
};

class FakeSink : public IPlayerSink
{
public:
    explicit FakeSink(TestClock& clock) : m_clock(clock) {}
    int Build(HWND) override
    {
        ++built;
        return buildResult;
    }
    void DestroyChildren() override { ++destroyed; }
    int SetLayoutRect(int l, int t, int r, int b) override
    {
        layout = {l, t, r, b};
        return 1;
    }
    void Clear() override
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_seen.push_back(Dispatched{0, m_clock.Now(), {}});
        ++clears;
    }
    void SetPlaybackTap(bool on) override { tap = on; }
    int OnAudioRecord(const unsigned char* p, uint32_t n) override { return Add(1, p, n); }
    int OnVideoRecord(const unsigned char* p, uint32_t n) override { return Add(2, p, n); }
    int OnBoardRecord(const unsigned char* p, uint32_t n) override { return Add(3, p, n); }
    int OnCommandRecord(const unsigned char* p, uint32_t n) override { return Add(4, p, n); }
    int OnChatRecord(const unsigned char* p, uint32_t n) override { return Add(5, p, n); }

    std::vector<Dispatched> Seen()
    {
        std::lock_guard<std::mutex> g(m_mutex);
        return m_seen;
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> g(m_mutex);
        return m_seen.size();
    }

    std::atomic<int> built{0}, destroyed{0}, clears{0};
    std::atomic<bool> tap{false};
    int buildResult = 1;
    std::atomic<uint32_t> refuseKind{0};
    RECT layout = {};

private:
    int Add(uint32_t kind, const unsigned char* p, uint32_t n)
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_seen.push_back(Dispatched{kind, m_clock.Now(), Bytes(p, p + n)});
        return refuseKind.load() == kind ? 0 : 1;
    }
    TestClock& m_clock;
    std::mutex m_mutex;
    std::vector<Dispatched> m_seen;
};

// A message-only window counting the player's end and error messages.
class Owner
{
public:
    Owner()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PlayerTestOwner";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("PlayerTestOwner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Owner() { DestroyWindow(hwnd); }
    // Pumps until pred holds, at most ms.
    template <typename Pred>
    bool PumpUntil(Pred pred, DWORD ms = 5000)
    {
        DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            if (pred())
                return true;
            if (GetTickCount() - start > ms)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    void PumpFor(DWORD ms)
    {
        PumpUntil([] { return false; }, ms);
    }
    HWND hwnd;
    int errors = 0;
    int finished = 0;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        Owner* self = reinterpret_cast<Owner*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self && m == WM_PLAY_ERROR)
            ++self->errors;
        if (self && m == WM_PLAY_FINISHED)
            ++self->finished;
        return DefWindowProcA(h, m, w, l);
    }
};

Bytes Text(const char* s) { return Bytes(s, s + strlen(s) + 1); }

// A recording written record by record: each stream's records go into one
// block per call of Block, and Finish indexes them all.
class Recording
{
public:
    explicit Recording(uint32_t total) { PutWord(file.bytes, REC_TOTAL_TIME_OFFSET, total); }
    void Block(uint32_t kind, const std::vector<std::pair<uint32_t, Bytes>>& records,
               uint32_t prefix = 7)
    {
        Bytes block;
        for (const auto& r : records)
            FileBuilder::AddRecord(block, r.first, r.second,
                                   RecStreamHasPrefix(kind) ? &prefix : nullptr);
        entries.push_back(file.AddBlock(kind, records.front().first, block));
    }
    std::string Save(TempFolder& dir, const char* name = "play.Pellrund")
    {
        if (!entries.empty())
            PutWord(file.bytes, REC_BLOCK_CHAIN_OFFSET, file.AddChunk(entries));
        std::string path = dir.File(name);
        EXPECT_TRUE(WriteWholeFile(path, file.bytes));
        return path;
    }
    FileBuilder file;
    std::vector<REC_BLOCK_ENTRY> entries;
};

struct Engine
{
    explicit Engine(bool instant) : clock(instant), sink(clock), player(&sink, &clock) {}
    TestClock clock;
    FakeSink sink;
    Owner owner;
    CRecordPlayer player;
};

std::vector<uint32_t> KindsAfterLastClear(const std::vector<Dispatched>& seen)
{
    std::vector<uint32_t> kinds;
    for (const Dispatched& d : seen) {
        if (d.kind == 0)
            kinds.clear();
        else
            kinds.push_back(d.kind);
    }
    return kinds;
}

} // namespace

TEST(PlayerEngine, RecordingWithoutBlocksFinishesAtOnce)
{
    TempFolder dir;
    Recording rec(5000);
    std::string path = rec.Save(dir);
    Engine e(true);
    ASSERT_EQ(1, e.player.StartPlay(e.owner.hwnd, path.c_str()));
    EXPECT_EQ(1, e.sink.built.load());
    ASSERT_TRUE(e.owner.PumpUntil([&] { return e.owner.finished > 0; }));
    EXPECT_EQ(0, e.owner.errors);
    EXPECT_EQ(1, e.sink.clears.load()); // the first pass seeks to 0
    EXPECT_EQ(1u, e.sink.Count());
    e.player.StopPlay();
    EXPECT_EQ(1, e.sink.destroyed.load());
}

TEST(PlayerEngine, StreamsMergeByTimeLowerKindFirstAndEachRecordWaitsForItsTime)
{
    TempFolder dir;
    Recording rec(400);
    rec.Block(REC_STREAM_CHAT, {{0, Text("hello")}, {300, Text("late")}}, REC_CHAT_LINE);
    rec.Block(REC_STREAM_VIDEO, {{100, Bytes(6, 2)}, {200, Bytes(6, 2)}});
    rec.Block(REC_STREAM_AUDIO, {{100, Bytes(3, 1)}, {250, Bytes(3, 1)}});
    rec.Block(REC_STREAM_COMMAND, {{100, Bytes{16, 4}}});
    rec.Block(REC_STREAM_BOARD, {{0, Bytes{5, 0, 0, 100, 0}}, {400, Bytes{7}}});
    std::string path = rec.Save(dir);
    Engine e(true);
    uint32_t start = e.clock.Now();
    ASSERT_EQ(1, e.player.StartPlay(e.owner.hwnd, path.c_str()));
    ASSERT_TRUE(e.owner.PumpUntil([&] { return e.owner.finished > 0; }));
    EXPECT_EQ(0, e.owner.errors);
    std::vector<Dispatched> seen = e.sink.Seen();
    const std::vector<std::pair<uint32_t, uint32_t>> want = {
        {0, 0},   {3, 0},   {5, 0},   {1, 100}, {2, 100},
        {4, 100}, {2, 200}, {1, 250}, {5, 300}, {3, 400},
    };
    ASSERT_EQ(want.size(), seen.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(want[i].first, seen[i].kind) << i;
        // Handed over exactly when due, never before.
        EXPECT_EQ(want[i].second, seen[i].at - start) << i;
    }
    // Records reach the handlers whole, prefix word first.
    ASSERT_EQ(4u + 6u, seen[2].bytes.size());
    EXPECT_EQ(0u, WordAt(seen[2].bytes, 0));
    EXPECT_STREQ("hello", reinterpret_cast<const char*>(seen[2].bytes.data() + 4));
    e.player.StopPlay();
}

TEST(PlayerEngine, BlocksStartingInTheSameMillisecondAreAllPlayedAndFoundBySeek)
{
    TempFolder dir;
    Recording rec(1000);
    rec.Block(REC_STREAM_AUDIO, {{10, Bytes(2, 1)}, {10, Bytes(2, 2)}});
    rec.Block(REC_STREAM_AUDIO, {{10, Bytes(2, 3)}, {20, Bytes(2, 4)}});
    rec.Block(REC_STREAM_AUDIO, {{30, Bytes(2, 5)}});
    std::string path = rec.Save(dir);
    for (uint32_t seekTo : {0u, 10u, 15u}) {
        Engine e(true);
        ASSERT_EQ(1, e.player.StartPlay(e.owner.hwnd, path.c_str()));
        if (seekTo)
            e.player.SetCurTime(seekTo);
        ASSERT_TRUE(e.owner.PumpUntil([&] { return e.owner.finished > 0; }));
        std::vector<unsigned char> firsts;
        for (const Dispatched& d : e.sink.Seen())
            if (d.kind == 0)
                firsts.clear();
            else
                firsts.push_back(d.bytes[4]);
        const std::vector<unsigned char> want = seekTo <= 10
                                                    ? std::vector<unsigned char>{1, 2, 3, 4, 5}
                                                    : std::vector<unsigned char>{4, 5};
        EXPECT_EQ(want, firsts) << "seek to " << seekTo;
    }
}

TEST(PlayerEngine, SeekReplaysBoardCommandsAndChatFromTheStartAndJumpsAudioAndVideo)
{
    TempFolder dir;
    Recording rec(10000);
    std::vector<std::pair<uint32_t, Bytes>> audio, video;
    for (uint32_t t = 0; t <= 10000; t += 100)
        audio.push_back({t, Bytes(4, 1)});
    for (uint32_t t = 50; t <= 10000; t += 500)
        video.push_back({t, Bytes(8, 2)});
    rec.Block(REC_STREAM_AUDIO, audio);
    rec.Block(REC_STREAM_VIDEO, video);
    rec.Block(
        REC_STREAM_BOARD,
        {{20, Bytes{4, 1, 0, 0, 0}}, {5000, Bytes{4, 2, 0, 0, 0}}, {9000, Bytes{4, 3, 0, 0, 0}}});
    rec.Block(REC_STREAM_COMMAND, {{10, Bytes{17, 1}}, {6000, Bytes{18, 0}}});
    rec.Block(REC_STREAM_CHAT, {{3000, Text("earlier")}, {8000, Text("later")}}, REC_CHAT_LINE);
    std::string path = rec.Save(dir);

    Engine e(false);
    ASSERT_EQ(1, e.player.StartPlay(e.owner.hwnd, path.c_str()));
    // Time stands still at the start: the records of 0 ms come, then the
    // thread waits for the clock.
    ASSERT_TRUE(e.owner.PumpUntil([&] { return e.sink.Count() >= 2; }));
    e.owner.PumpFor(100);
    EXPECT_EQ(2u, e.sink.Count()); // the clear and the audio record of 0 ms

    // The seek cuts the wait short without the clock moving.
    ASSERT_EQ(1, e.player.SetCurTime(6500));
    EXPECT_EQ(6500u, e.player.GetCurTime());
    // Well within the test clock's own fallback of 5 s.
    ASSERT_TRUE(
        e.owner.PumpUntil([&] { return e.sink.clears.load() == 2 && e.sink.Count() >= 9; }, 2000));
    e.owner.PumpFor(100);
    std::vector<Dispatched> seen = e.sink.Seen();
    std::vector<uint32_t> kinds = KindsAfterLastClear(seen);
    // Command 10, board 20, chat 3000, board 5000, command 6000 at once, then
    // audio from 6500 on.
    const std::vector<uint32_t> want = {4, 3, 5, 3, 4, 1};
    ASSERT_EQ(want, kinds);
    EXPECT_EQ(4u, seen.back().bytes.size() - 4);

    e.clock.Advance(50); // 6550: the next video frame
    ASSERT_TRUE(e.owner.PumpUntil([&] { return e.sink.Count() >= 10; }));
    EXPECT_EQ(2u, e.sink.Seen().back().kind);
    EXPECT_EQ(1, e.player.SetCurTime(10000));
    EXPECT_EQ(0, e.player.SetCurTime(10001));
    e.player.StopPlay();
    EXPECT_EQ(0, e.owner.errors);
}

TEST(PlayerEngine, PauseHoldsThePositionAndASeekWhilePausedWaitsForResume)
{
    TempFolder dir;
    Recording rec(5000);
    rec.Block(REC_STREAM_AUDIO, {{0, Bytes(2, 1)}, {1000, Bytes(2, 1)}, {4000, Bytes(2, 1)}});
    rec.Block(REC_STREAM_CHAT, {{0, Text("a")}}, REC_CHAT_LINE);
    std::string path = rec.Save(dir);
    Engine e(false);
    ASSERT_EQ(1, e.player.StartPlay(e.owner.hwnd, path.c_str()));
    ASSERT_TRUE(e.owner.PumpUntil([&] { return e.sink.Count() >= 3; }));
    e.clock.Advance(500);
    e.owner.PumpFor(50);
    EXPECT_EQ(500u, e.player.GetCurTime());
    EXPECT_EQ(1, e.player.PausePlay());
    EXPECT_EQ(1, e.player.PausePlay()); // already paused
    e.clock.Advance(2000);
    e.owner.PumpFor(100);
    EXPECT_EQ(500u, e.player.GetCurTime());
    EXPECT_EQ(3u, e.sink.Count()); // nothing played while paused

    ASSERT_EQ(1, e.player.SetCurTime(3000));
    e.owner.PumpFor(100);
    EXPECT_EQ(3000u, e.player.GetCurTime());
    EXPECT_EQ(1, e.sink.clears.load()); // served only on resume
    EXPECT_EQ(1, e.player.ResumePlay());
    ASSERT_TRUE(
        e.owner.PumpUntil([&] { return e.sink.clears.load() == 2 && e.sink.Count() >= 5; }));
    EXPECT_EQ((std::vector<uint32_t>{5}), KindsAfterLastClear(e.sink.Seen()));
    e.clock.Advance(1000); // 4000
    ASSERT_TRUE(e.owner.PumpUntil([&] { return e.sink.Count() >= 6; }));
    ASSERT_TRUE(e.owner.PumpUntil([&] { return e.owner.finished == 1; }));
    EXPECT_EQ(0, e.owner.errors);
}

TEST(PlayerEngine, StopWhilePausedOrWaitingEndsTheThreadAndPostsNothing)
{
    TempFolder dir;
    Recording rec(3600000);
    rec.Block(REC_STREAM_AUDIO, {{0, Bytes(2, 1)}, {3600000, Bytes(2, 1)}});
    std::string path = rec.Save(dir);
    for (bool paused : {true, false}) {
        Engine e(false);
        ASSERT_EQ(1, e.player.StartPlay(e.owner.hwnd, path.c_str()));
        ASSERT_TRUE(e.owner.PumpUntil([&] { return e.sink.Count() >= 2; }));
        if (paused)
            e.player.PausePlay();
        EXPECT_TRUE(e.player.IsRunning());
        e.player.StopPlay();
        EXPECT_FALSE(e.player.IsRunning());
        EXPECT_EQ(0u, e.player.GetCurTime());
        e.owner.PumpFor(100);
        EXPECT_EQ(0, e.owner.errors + e.owner.finished) << paused;
        EXPECT_EQ(1, e.sink.destroyed.load());
    }
}

TEST(PlayerEngine, FilesThatAreNoRecordingAreRefusedAtTheStart)
{
    TempFolder dir;
    Recording good(100);
    Bytes base = good.file.bytes;
    struct Case
    {
        const char* name;
        Bytes bytes;
        const char* error;
    };
    Bytes foreign = base;
    foreign[0] = 'W';
    Bytes newer = base;
    PutWord(newer, 4, REC_FILE_VERSION + 1);
    Bytes cut(base.begin(), base.begin() + 95);
    Bytes badDocs = base;
    PutWord(badDocs, REC_FILE_CHAIN_OFFSET, static_cast<uint32_t>(base.size()) + 100);
    const Case cases[] = {
        {"foreign", foreign, "recording mark"},
        {"newer", newer, "newer"},
        {"cut", cut, "header"},
        {"docs", badDocs, "document index"},
    };
    for (const Case& c : cases) {
        std::string path = dir.File(c.name);
        ASSERT_TRUE(WriteWholeFile(path, c.bytes));
        Engine e(true);
        EXPECT_EQ(0, e.player.StartPlay(e.owner.hwnd, path.c_str())) << c.name;
        EXPECT_NE(std::string::npos, e.player.GetLastError().find(c.error))
            << c.name << ": " << e.player.GetLastError();
        EXPECT_EQ(0, e.sink.built.load()) << c.name;
        EXPECT_EQ(0u, CRecordPlayer::GetFileTotalTime(path.c_str()) * (c.name[0] != 'd'));
    }
    Engine e(true);
    EXPECT_EQ(0, e.player.StartPlay(e.owner.hwnd, dir.File("missing").c_str()));
    EXPECT_EQ(0u, CRecordPlayer::GetFileTotalTime(dir.File("missing").c_str()));
}

TEST(PlayerEngine, DamageFoundWhilePlayingIsPostedAsAnError)
{
    TempFolder dir;
    struct Case
    {
        const char* name;
        std::function<void(Recording&)> build;
        size_t playedBefore; // records handed over before the error
    };
    const Case cases[] = {
        {"never stopped: total time 0",
         [](Recording& r) {
             PutWord(r.file.bytes, REC_TOTAL_TIME_OFFSET, 0);
             r.Block(REC_STREAM_AUDIO, {{0, Bytes(2, 1)}, {5, Bytes(2, 1)}});
         },
         1},
        {"block chain beyond the end",
         [](Recording& r) { PutWord(r.file.bytes, REC_BLOCK_CHAIN_OFFSET, 100000); }, 0},
        {"second block beyond the end",
         [](Recording& r) {
             r.Block(REC_STREAM_CHAT, {{0, Text("one")}}, 0);
             r.entries.push_back(REC_BLOCK_ENTRY{REC_STREAM_CHAT, 10, 200, 0x10000, 0});
         },
         1},
        {"record runs past its block",
         [](Recording& r) {
             Bytes block;
             FileBuilder::AddRecord(block, 0, Bytes{16, 1});
             FileBuilder::AddRecord(block, 1, Bytes{16, 1});
             block.resize(block.size() - 1);
             r.entries.push_back(r.file.AddBlock(REC_STREAM_COMMAND, 0, block));
         },
         1},
        {"oversized block",
         [](Recording& r) {
             r.entries.push_back(REC_BLOCK_ENTRY{REC_STREAM_VIDEO, 0, 200, REC_MAX_BLOCK + 1, 0});
         },
         0},
        {"handler refuses",
         [](Recording& r) {
             r.Block(REC_STREAM_BOARD, {{0, Bytes{7}}, {1, Bytes{9}}});
         },
         1},
    };
    for (const Case& c : cases) {
        Recording rec(100);
        c.build(rec);
        std::string path = rec.Save(dir, "damaged.Pellrund");
        Engine e(true);
        if (std::string(c.name) == "handler refuses")
            e.sink.refuseKind = REC_STREAM_BOARD;
        ASSERT_EQ(1, e.player.StartPlay(e.owner.hwnd, path.c_str())) << c.name;
        EXPECT_TRUE(e.owner.PumpUntil([&] { return e.owner.errors > 0; })) << c.name;
        EXPECT_EQ(0, e.owner.finished) << c.name;
        size_t played = 0;
        for (const Dispatched& d : e.sink.Seen())
            played += d.kind != 0;
        EXPECT_EQ(c.playedBefore, played) << c.name;
        EXPECT_FALSE(e.player.GetLastError().empty()) << c.name;
        e.player.StopPlay();
    }
}

TEST(PlayerEngine, ConversionInstallsTheTapUntilStoppedAndKeepsItsLayout)
{
    TempFolder dir;
    Recording rec(100);
    rec.Block(REC_STREAM_AUDIO, {{0, Bytes(2, 1)}});
    std::string path = rec.Save(dir);
    Engine e(true);
    ASSERT_EQ(1, e.player.StartConvert(e.owner.hwnd, path.c_str()));
    EXPECT_TRUE(e.sink.tap.load());
    EXPECT_EQ(352, e.sink.layout.right);
    EXPECT_EQ(288, e.sink.layout.bottom);
    EXPECT_EQ(1, e.player.SetWindowRect(0, 0, 10, 10));
    EXPECT_EQ(352, e.sink.layout.right);
    ASSERT_TRUE(e.owner.PumpUntil([&] { return e.owner.finished > 0; }));
    e.player.StopConvert();
    EXPECT_FALSE(e.sink.tap.load());
    EXPECT_FALSE(e.player.IsConverting());
    EXPECT_EQ(0, e.sink.destroyed.load());
}

TEST(PlayerEngine, ARecordingMadeByTheRecorderPlaysBackInOrder)
{
    TempFolder dir;
    const std::string path = dir.File("made.Pellrund");
    CRecorder recorder;
    ASSERT_EQ(1, recorder.StartRecord(path.c_str(), ""));
    const unsigned char packet[4] = {1, 2, 3, 4};
    ASSERT_EQ(1, recorder.AddVideo(9));
    ASSERT_EQ(1, recorder.WriteChatData("alice", REC_CHAT_USER_JOINED));
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(1, recorder.WriteAudioData(packet, 4, 5));
        ASSERT_EQ(1, recorder.WriteVideoData(packet, 4, 9));
    }
    ASSERT_EQ(1, recorder.WriteBoardData(packet, 4));
    ASSERT_EQ(1, recorder.WriteChatData("bye", REC_CHAT_LINE));
    Sleep(20);
    ASSERT_EQ(1, recorder.StopRecord());
    uint32_t total = CRecordPlayer::GetFileTotalTime(path.c_str());
    EXPECT_GE(total, 20u);

    Engine e(true);
    ASSERT_EQ(1, e.player.StartPlay(e.owner.hwnd, path.c_str()));
    EXPECT_EQ(total, e.player.GetTotalTime());
    EXPECT_EQ(path, e.player.GetMeetingName());
    EXPECT_EQ(16u, e.player.GetMeetingDate().size());
    ASSERT_TRUE(e.owner.PumpUntil([&] { return e.owner.finished > 0; }));
    EXPECT_EQ(0, e.owner.errors) << e.player.GetLastError();
    int counts[6] = {};
    for (const Dispatched& d : e.sink.Seen())
        ++counts[d.kind];
    EXPECT_EQ(30, counts[1]);
    EXPECT_EQ(30, counts[2]);
    EXPECT_EQ(1, counts[3]);
    EXPECT_EQ(1, counts[4]);
    EXPECT_EQ(2, counts[5]);
}
