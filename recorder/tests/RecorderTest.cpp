// The recorder as its callers use it: records of every stream and layout
// command go into the file and come back out unchanged and in order.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <set>
#include <thread>

#include "CRecordFileOutput.h"
#include "CRecordWriter.h"
#include "CRecorder.h"
#include "RecordingFixture.h"

namespace {

Bytes Counted(uint32_t sequence, size_t size)
{
    Bytes b(size < 4 ? 4 : size, static_cast<unsigned char>(sequence * 7));
    PutWord(b, 0, sequence);
    return b;
}

bool OpenRecording(CRecordFileReader& reader, const std::string& path)
{
    bool ok = reader.Open(path.c_str());
    EXPECT_TRUE(ok) << reader.Error();
    return ok;
}

TEST(Recorder, EveryCallBeforeStartIsRefused)
{
    CRecorder rec;
    const unsigned char data[8] = {};
    std::function<int()> calls[] = {
        [&] { return rec.WriteAudioData(data, 8, 1); },
        [&] { return rec.WriteVideoData(data, 8, 1); },
        [&] { return rec.WriteBoardData(data, 8); },
        [&] { return rec.WriteCommandData(data, 8); },
        [&] { return rec.WriteChatData("x", 0); },
        [&] { return rec.WriteFile("C:\\windows\\win.ini", 1, 1); },
        [&] { return rec.AddVideo(1); },
        [&] { return rec.FullVideo(1, 1); },
        [&] { return rec.SwapVideo(1, 2); },
        [&] { return rec.SplitVideoWnd(4); },
        [&] { return rec.DelAudio(3); },
    };
    for (auto& call : calls)
        EXPECT_EQ(0, call());
    EXPECT_EQ(0u, rec.GetErrorCode());
    EXPECT_EQ(1, rec.StopRecord());
}

TEST(Recorder, RecordingStoppedAtOnceHoldsOnlyTheHeader)
{
    TempFolder dir;
    const std::string path = dir.File("empty.Pellrund");
    CRecorder rec;
    ASSERT_EQ(1, rec.StartRecord(path.c_str(), ""));
    Sleep(30);
    EXPECT_EQ(1, rec.StopRecord());
    Bytes b = ReadWholeFile(path);
    ASSERT_EQ(156u, b.size());
    EXPECT_EQ(0xFFFFFFFFu, WordAt(b, 80));
    EXPECT_EQ(0xFFFFFFFFu, WordAt(b, 84));
    EXPECT_GE(WordAt(b, 76), 20u);
    EXPECT_LT(WordAt(b, 76), 5000u);
    CRecordFileReader reader;
    ASSERT_TRUE(OpenRecording(reader, path));
    EXPECT_EQ(path, reader.Name());
    EXPECT_EQ(WordAt(b, 76), reader.TotalTime());
    EXPECT_EQ(WordAt(b, 76), CRecordFileReader::ReadTotalTime(path.c_str()));
    EXPECT_TRUE(reader.Blocks().empty());
}

// The writer takes messages before the start returns, so a stop right after
// a start ends at once and leaves a whole file.
TEST(Recorder, StopRightAfterStartNeverWaits)
{
    TempFolder dir;
    const std::string path = dir.File("quick.Pellrund");
    CRecorder rec;
    rec.SetWaitLimit(2000);
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(1, rec.StartRecord(path.c_str(), ""));
        EXPECT_EQ(1, rec.WriteChatData("x", REC_CHAT_LINE));
        DWORD before = GetTickCount();
        EXPECT_EQ(1, rec.StopRecord());
        EXPECT_LT(GetTickCount() - before, 1000u);
        CRecordFileReader reader;
        ASSERT_TRUE(OpenRecording(reader, path));
        EXPECT_EQ(1u, reader.Blocks().size());
    }
}

TEST(Recorder, EveryStreamAndLayoutCommandRoundTrips)
{
    TempFolder dir;
    const std::string path = dir.File("all.Pellrund");
    CRecorder rec;
    ASSERT_EQ(1, rec.StartRecord(path.c_str(), ""));
    const Bytes packet = {0x21, 1, 0, 0, 0, 9, 9};
    const Bytes frame(3000, 0x5A);
    const Bytes board = {1, 2, 3, 4, 7};
    const Bytes raw = {0x30, 0x31};
    EXPECT_EQ(1, rec.WriteAudioData(packet.data(), static_cast<int>(packet.size()), 101));
    EXPECT_EQ(1, rec.WriteAudioData(nullptr, 0, 102));
    EXPECT_EQ(1, rec.WriteVideoData(frame.data(), static_cast<int>(frame.size()), 201));
    EXPECT_EQ(1, rec.WriteBoardData(board.data(), static_cast<int>(board.size())));
    EXPECT_EQ(1, rec.WriteCommandData(raw.data(), static_cast<int>(raw.size())));
    EXPECT_EQ(1, rec.WriteChatData("张三 对 李四 说:  你好", REC_CHAT_LINE));
    EXPECT_EQ(1, rec.WriteChatData("王五", REC_CHAT_USER_LEFT));

    struct Layout
    {
        std::function<int()> call;
        Bytes stored;
    } layouts[] = {
        {[&] { return rec.AddVideo(0x01020304); }, {1, 4, 3, 2, 1}},
        {[&] { return rec.DelVideo(5); }, {2, 5, 0, 0, 0}},
        {[&] { return rec.FloatVideo(6); }, {3, 6, 0, 0, 0}},
        {[&] { return rec.MainVideo(7); }, {4, 7, 0, 0, 0}},
        {[&] { return rec.FullVideo(8, 1); }, {5, 8, 0, 0, 0, 1}},
        {[&] { return rec.SwapVideo(9, 10); }, {6, 9, 0, 0, 0, 10, 0, 0, 0}},
        {[&] { return rec.LastVideo(11); }, {7, 11, 0, 0, 0}},
        {[&] { return rec.SplitVideoWnd(4); }, {16, 4}},
        {[&] { return rec.ShowVideoWnd(1); }, {17, 1}},
        {[&] { return rec.ShowBoardWnd(0); }, {18, 0}},
        {[&] { return rec.ShowChatWnd(1); }, {19, 1}},
        {[&] { return rec.AddAudio(12); }, {20, 12, 0, 0, 0}},
        {[&] { return rec.DelAudio(13); }, {21, 13, 0, 0, 0}},
    };
    for (auto& l : layouts)
        EXPECT_EQ(1, l.call());
    EXPECT_EQ(1, rec.StopRecord());

    CRecordFileReader reader;
    ASSERT_TRUE(OpenRecording(reader, path));
    std::vector<ReadRecord> audio, video, boardRecs, commands, chat;
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_AUDIO, audio));
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_VIDEO, video));
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_BOARD, boardRecs));
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_COMMAND, commands));
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_CHAT, chat));
    ASSERT_EQ(2u, audio.size());
    EXPECT_EQ(101u, audio[0].prefix);
    EXPECT_EQ(packet, audio[0].payload);
    EXPECT_EQ(102u, audio[1].prefix);
    EXPECT_TRUE(audio[1].payload.empty()); // stored with L = 4
    ASSERT_EQ(1u, video.size());
    EXPECT_EQ(201u, video[0].prefix);
    EXPECT_EQ(frame, video[0].payload);
    ASSERT_EQ(1u, boardRecs.size());
    EXPECT_EQ(board, boardRecs[0].payload);
    ASSERT_EQ(14u, commands.size());
    EXPECT_EQ(raw, commands[0].payload);
    for (size_t i = 0; i < 13; ++i)
        EXPECT_EQ(layouts[i].stored, commands[i + 1].payload) << i;
    ASSERT_EQ(2u, chat.size());
    const char* line = "张三 对 李四 说:  你好";
    EXPECT_EQ(Bytes(line, line + strlen(line) + 1), chat[0].payload);
    EXPECT_EQ(REC_CHAT_USER_LEFT, chat[1].prefix);
    // Blocks written at stop, in the order audio, video, board, chat, command.
    std::vector<uint32_t> kinds;
    for (const REC_BLOCK_ENTRY& e : reader.Blocks())
        kinds.push_back(e.kind);
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3, 5, 4}), kinds);
    // The whole raw audio record: time, L = 4 + packet, source, packet.
    Bytes file = ReadWholeFile(path);
    const REC_BLOCK_ENTRY& a = reader.Blocks()[0];
    EXPECT_EQ(4u + packet.size(), WordAt(file, a.offset + 4));
    EXPECT_EQ(101u, WordAt(file, a.offset + 8));
    EXPECT_EQ(4u, WordAt(file, a.offset + 8 + 4 + packet.size() + 4));
}

// A record that exactly fills what is left of the buffer joins the block; one
// byte more starts a new block.
TEST(Recorder, BufferIsFlushedOnlyWhenTheNextRecordDoesNotFit)
{
    struct Case
    {
        uint32_t first, second; // board payload lengths
        size_t blocks;
    } cases[] = {
        {0x8000 - 8, 0x8000 - 8, 1},
        {0x8000 - 8, 0x8000 - 7, 2},
        {0x10000 - 9, 1, 2},
        {1, 0x10000 - 17, 1},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        const std::string path = dir.File("fill.Pellrund");
        CRecorder rec;
        ASSERT_EQ(1, rec.StartRecord(path.c_str(), ""));
        Bytes a(c.first, 1), b(c.second, 2);
        EXPECT_EQ(1, rec.WriteBoardData(a.data(), static_cast<int>(a.size())));
        EXPECT_EQ(1, rec.WriteBoardData(b.data(), static_cast<int>(b.size())));
        rec.StopRecord();
        CRecordFileReader reader;
        ASSERT_TRUE(OpenRecording(reader, path));
        EXPECT_EQ(c.blocks, reader.Blocks().size()) << c.first << " + " << c.second;
        for (const REC_BLOCK_ENTRY& e : reader.Blocks())
            EXPECT_LE(e.length, 0x10000u);
        std::vector<ReadRecord> records;
        ASSERT_TRUE(ReadStream(reader, REC_STREAM_BOARD, records));
        ASSERT_EQ(2u, records.size());
        EXPECT_EQ(a, records[0].payload);
        EXPECT_EQ(b, records[1].payload);
    }
}

TEST(Recorder, RecordLongerThanItsStreamIsRefusedAndRecordingGoesOn)
{
    TempFolder dir;
    const std::string path = dir.File("long.Pellrund");
    CRecorder rec;
    ASSERT_EQ(1, rec.StartRecord(path.c_str(), ""));
    Bytes tooLong(0x10000 - 7, 1), tooLongVideo(0x40000 - 11, 2), bad(4, 3);
    EXPECT_EQ(0, rec.WriteBoardData(tooLong.data(), static_cast<int>(tooLong.size())));
    EXPECT_EQ(0, rec.WriteVideoData(tooLongVideo.data(), static_cast<int>(tooLongVideo.size()), 1));
    EXPECT_EQ(0, rec.WriteBoardData(bad.data(), -1));
    EXPECT_EQ(0, rec.WriteBoardData(nullptr, 4));
    EXPECT_EQ(0, rec.WriteChatData(nullptr, 0));
    // Records a player would refuse: an empty board run, a command without
    // an argument.
    EXPECT_EQ(0, rec.WriteBoardData(bad.data(), 0));
    EXPECT_EQ(0, rec.WriteCommandData(bad.data(), 1));
    EXPECT_EQ(0, rec.WriteCommandData(bad.data(), 0));
    EXPECT_EQ(0u, rec.GetErrorCode());
    EXPECT_EQ(1, rec.WriteBoardData(bad.data(), 4));
    rec.StopRecord();
    CRecordFileReader reader;
    ASSERT_TRUE(OpenRecording(reader, path));
    std::vector<ReadRecord> records;
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_BOARD, records));
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(bad, records[0].payload);
}

TEST(Recorder, DocumentsAreEmbeddedOncePerKeyPairAndMissingOnesSkipped)
{
    TempFolder dir;
    const std::string doc = dir.File("slide.doc");
    Bytes body(300000); // more than two copy pieces
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<unsigned char>(i * 31 + i / 977);
    ASSERT_TRUE(WriteWholeFile(doc, body));
    const std::string path = dir.File("docs.Pellrund");
    CRecorder rec;
    ASSERT_EQ(1, rec.StartRecord(path.c_str(), ""));
    EXPECT_EQ(1, rec.WriteFile(doc.c_str(), 10, 1));
    EXPECT_EQ(1, rec.WriteFile(doc.c_str(), 10, 1));
    EXPECT_EQ(1, rec.WriteFile(doc.c_str(), 10, 2));
    EXPECT_EQ(1, rec.WriteFile(dir.File("gone.doc").c_str(), 11, 1));
    EXPECT_EQ(1, rec.WriteChatData("after the missing one", REC_CHAT_LINE));
    EXPECT_EQ(1, rec.StopRecord());

    CRecordFileReader reader;
    ASSERT_TRUE(OpenRecording(reader, path));
    ASSERT_EQ(2u, reader.Documents().size());
    Bytes got;
    ASSERT_TRUE(reader.ReadDocument(10, 1, got));
    EXPECT_EQ(body, got);
    ASSERT_TRUE(reader.ReadDocument(10, 2, got));
    EXPECT_EQ(body, got);
    EXPECT_EQ(nullptr, reader.FindDocument(11, 1));
    std::vector<ReadRecord> chat;
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_CHAT, chat));
    EXPECT_EQ(1u, chat.size());
}

// Audio, video, board and chat written from their own threads, the layout
// from this one: every stream comes back whole and in the order written.
TEST(Recorder, ConcurrentWritersLoseAndReorderNothing)
{
    TempFolder dir;
    const std::string path = dir.File("busy.Pellrund");
    CRecorder rec;
    ASSERT_EQ(1, rec.StartRecord(path.c_str(), ""));
    const uint32_t audioCount = 3000, videoCount = 150, boardCount = 2000, chatCount = 500;
    std::atomic<int> refused{0};
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (uint32_t i = 0; i < audioCount; ++i) {
            Bytes p = Counted(i, 640);
            refused += !rec.WriteAudioData(p.data(), 640, 1 + i % 2);
        }
    });
    threads.emplace_back([&] {
        for (uint32_t i = 0; i < videoCount; ++i) {
            Bytes f = Counted(i, 20000 + i);
            refused += !rec.WriteVideoData(f.data(), static_cast<int>(f.size()), 7);
        }
    });
    threads.emplace_back([&] {
        for (uint32_t i = 0; i < boardCount; ++i) {
            Bytes b = Counted(i, 60);
            refused += !rec.WriteBoardData(b.data(), static_cast<int>(b.size()));
        }
    });
    threads.emplace_back([&] {
        for (uint32_t i = 0; i < chatCount; ++i)
            refused += !rec.WriteChatData(std::to_string(i).c_str(), REC_CHAT_LINE);
    });
    for (uint32_t i = 0; i < 200; ++i)
        refused += !rec.AddVideo(i);
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(0, refused.load());
    // Ten blocks queued and one in the writer's hands, at most 256 KiB each.
    EXPECT_LE(rec.PeakQueuedBytes(), 11u * 0x40000);
    ASSERT_EQ(1, rec.StopRecord());

    CRecordFileReader reader;
    ASSERT_TRUE(OpenRecording(reader, path));
    struct Expect
    {
        uint32_t kind, count;
    } expects[] = {{REC_STREAM_AUDIO, audioCount},
                   {REC_STREAM_VIDEO, videoCount},
                   {REC_STREAM_BOARD, boardCount}};
    for (const Expect& e : expects) {
        std::vector<ReadRecord> records;
        std::string error;
        ASSERT_TRUE(ReadStream(reader, e.kind, records, &error)) << error;
        ASSERT_EQ(e.count, records.size()) << e.kind;
        for (uint32_t i = 0; i < e.count; ++i)
            ASSERT_EQ(i, WordAt(records[i].payload, 0)) << "stream " << e.kind;
    }
    std::vector<ReadRecord> chat, commands;
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_CHAT, chat));
    ASSERT_EQ(chatCount, chat.size());
    for (uint32_t i = 0; i < chatCount; ++i)
        ASSERT_EQ(std::to_string(i), reinterpret_cast<const char*>(chat[i].payload.data()));
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_COMMAND, commands));
    ASSERT_EQ(200u, commands.size());
    for (uint32_t i = 0; i < 200; ++i)
        ASSERT_EQ(i, WordAt(commands[i].payload, 1));
}

// A stop while other threads keep writing: every write that was accepted is
// in the file, nothing after the stop is, and no call crashes or hangs.
TEST(Recorder, StopDuringHeavyWritingKeepsEveryAcceptedRecord)
{
    TempFolder dir;
    const std::string path = dir.File("stop.Pellrund");
    CRecorder rec;
    ASSERT_EQ(1, rec.StartRecord(path.c_str(), ""));
    std::atomic<bool> go{true};
    std::atomic<uint32_t> accepted[2] = {{0}, {0}};
    std::vector<std::thread> threads;
    for (int k = 0; k < 2; ++k) {
        threads.emplace_back([&, k] {
            uint32_t next = 0;
            while (go.load()) {
                Bytes p = Counted(next, k == 0 ? 640 : 20000);
                int ok = k == 0 ? rec.WriteAudioData(p.data(), static_cast<int>(p.size()), 1)
                                : rec.WriteVideoData(p.data(), static_cast<int>(p.size()), 2);
                if (ok)
                    accepted[k] = ++next;
            }
        });
    }
    Sleep(150);
    EXPECT_EQ(1, rec.StopRecord());
    Sleep(20);
    go = false;
    for (auto& t : threads)
        t.join();

    CRecordFileReader reader;
    ASSERT_TRUE(OpenRecording(reader, path));
    for (int k = 0; k < 2; ++k) {
        std::vector<ReadRecord> records;
        ASSERT_TRUE(ReadStream(reader, k == 0 ? REC_STREAM_AUDIO : REC_STREAM_VIDEO, records));
        EXPECT_GT(accepted[k].load(), 0u);
        ASSERT_EQ(accepted[k].load(), records.size()) << k;
        for (uint32_t i = 0; i < records.size(); ++i)
            ASSERT_EQ(i, WordAt(records[i].payload, 0));
    }
}

TEST(Recorder, StartingAgainClosesTheFirstRecordingProperly)
{
    TempFolder dir;
    const std::string first = dir.File("first.Pellrund"), second = dir.File("second.Pellrund");
    const std::string doc = dir.File("page.bmp");
    ASSERT_TRUE(WriteWholeFile(doc, Bytes(100, 9)));
    CRecorder rec;
    ASSERT_EQ(1, rec.StartRecord(first.c_str(), ""));
    EXPECT_EQ(1, rec.WriteChatData("one", REC_CHAT_LINE));
    EXPECT_EQ(1, rec.WriteFile(doc.c_str(), 1, 1));
    Sleep(20);
    ASSERT_EQ(1, rec.StartRecord(second.c_str(), ""));
    EXPECT_EQ(1, rec.WriteChatData("two", REC_CHAT_LINE));
    EXPECT_EQ(1, rec.WriteFile(doc.c_str(), 1, 1)); // key list emptied by the start
    rec.StopRecord();

    CRecordFileReader a, b;
    ASSERT_TRUE(OpenRecording(a, first));
    ASSERT_TRUE(OpenRecording(b, second));
    EXPECT_GE(a.TotalTime(), 20u);
    std::vector<ReadRecord> chatA, chatB;
    ASSERT_TRUE(ReadStream(a, REC_STREAM_CHAT, chatA));
    ASSERT_TRUE(ReadStream(b, REC_STREAM_CHAT, chatB));
    ASSERT_EQ(1u, chatA.size());
    ASSERT_EQ(1u, chatB.size());
    EXPECT_STREQ("two", reinterpret_cast<const char*>(chatB[0].payload.data()));
    EXPECT_EQ(1u, a.Documents().size());
    EXPECT_EQ(1u, b.Documents().size());
}

TEST(Recorder, ErrorTextsByCode)
{
    const char* texts[] = {"无错误发生", "磁盘空间不够,请检查磁盘剩余空间", "未知错误"};
    for (uint32_t code = 0; code < 3; ++code)
        EXPECT_STREQ(texts[code], CRecorder::ErrorText(code));
    EXPECT_EQ(nullptr, CRecorder::ErrorText(3));
    CRecorder rec;
    const char* text = nullptr;
    EXPECT_EQ(1, rec.GetErrorMsg(&text));
    EXPECT_STREQ(texts[0], text);
}

// Every block of a full queue and the one being written comes back for
// reuse once written: a recording that keeps its writer busy then fills
// the same blocks again instead of allocating new ones.
TEST(Recorder, WrittenBlocksOfAFullQueueAreAllKeptForReuse)
{
    CRecordWriter writer(std::unique_ptr<IRecordOutput>(new MemoryOutput), nullptr);
    ASSERT_TRUE(writer.StartWriter("memory", 5000));
    const uint32_t capacity = 4096;
    std::set<unsigned char*> posted;
    for (int i = 0; i < CRecordWriter::QUEUE_LIMIT + 2; ++i) {
        unsigned char* block = new unsigned char[capacity];
        memset(block, i, 100);
        ASSERT_TRUE(writer.PostOwnedBlock(REC_STREAM_VIDEO, i, block, 100, capacity, 5000));
        posted.insert(block);
    }
    ASSERT_TRUE(writer.StopWriter(5000));
    std::set<unsigned char*> spares;
    while (unsigned char* block = writer.TakeSpare(capacity))
        spares.insert(block);
    EXPECT_TRUE(writer.TakeSpare(2 * capacity) == nullptr);
    EXPECT_EQ(posted, spares);
    for (unsigned char* block : spares)
        delete[] block;
}

// Blocks handed over right after the writer wrote the last one (it naps)
// and after a long pause (it has gone to sleep) all reach the file while the
// recording runs: no hand-over is lost between nap, sleep and wake-up.
TEST(Recorder, WriterTakesBlocksWhetherNappingOrAsleep)
{
    TempFolder dir;
    const std::string path = dir.File("naps.Pellrund");
    CRecordWriter writer(std::unique_ptr<IRecordOutput>(new CRecordFileOutput), nullptr);
    ASSERT_TRUE(writer.StartWriter(path.c_str(), 5000));
    const Bytes block(1000, 0x5A);
    const DWORD sleeps = 20 * CRecordWriter::IDLE_NAPS * CRecordWriter::NAP_MS;
    const DWORD pausesMs[] = {0, 0, sleeps, 0, 0, sleeps, 0};
    uint32_t blocks = 0;
    for (DWORD pause : pausesMs) {
        Sleep(pause);
        ASSERT_TRUE(writer.PostBlock(REC_STREAM_VIDEO, blocks, block.data(), 1000, 5000));
        ++blocks;
        EXPECT_TRUE(WaitForFileLength(path, REC_DATA_OFFSET + blocks * 1000, 10000))
            << "block " << blocks << ", handed over after a pause of " << pause << " ms";
    }
    ASSERT_TRUE(writer.StopWriter(5000));
    CRecordFileReader reader;
    ASSERT_TRUE(OpenRecording(reader, path));
    EXPECT_EQ(blocks, reader.Blocks().size());
}

} // namespace
