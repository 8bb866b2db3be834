// Damaged recordings: the reader must refuse them with a reason, never read
// outside the file, never loop and never crash.
#include <gtest/gtest.h>

#include <random>

#include "CRecordFileWalker.h"
#include "RecordingFixture.h"

namespace {

// A small valid recording: three streams over two chained block chunks and
// one embedded document.
Bytes SampleRecording()
{
    FileBuilder f;
    uint32_t source = 3, video = 4, chatKind = REC_CHAT_USER_JOINED;
    Bytes audio1, audio2, video1, board1, chat1;
    for (uint32_t t = 0; t < 6; ++t)
        FileBuilder::AddRecord(audio1, t * 20, Bytes(10 + t, static_cast<unsigned char>(t)),
                               &source);
    for (uint32_t t = 6; t < 9; ++t)
        FileBuilder::AddRecord(audio2, t * 20, Bytes(4, 0x55), &source);
    FileBuilder::AddRecord(video1, 30, Bytes(40, 0x77), &video);
    FileBuilder::AddRecord(board1, 35, {1, 2, 3, 7});
    FileBuilder::AddRecord(chat1, 0, {'u', 's', 'e', 'r', 0}, &chatKind);
    std::vector<REC_BLOCK_ENTRY> first = {f.AddBlock(REC_STREAM_AUDIO, 0, audio1),
                                          f.AddBlock(REC_STREAM_VIDEO, 30, video1)};
    uint32_t doc = f.Append(Bytes(33, 0x44));
    std::vector<REC_BLOCK_ENTRY> second = {f.AddBlock(REC_STREAM_AUDIO, 120, audio2),
                                           f.AddBlock(REC_STREAM_BOARD, 35, board1),
                                           f.AddBlock(REC_STREAM_CHAT, 0, chat1)};
    uint32_t c1 = f.AddChunk(first);
    uint32_t c2 = f.AddChunk(second);
    PutWord(f.bytes, c1, c2);
    PutWord(f.bytes, 80, c1);
    PutWord(f.bytes, 84, f.AddChunk(std::vector<REC_FILE_ENTRY>{{1, 2, doc, 33, 0}}));
    PutWord(f.bytes, 76, 200);
    return f.bytes;
}

// Opens and walks a whole file. The number of steps is bounded by the file's
// size, so a walk that does not end fails the test instead of hanging it.
struct WalkResult
{
    bool opened = false;
    int end = 0;
    size_t records = 0;
    std::string error;
};

WalkResult Walk(const Bytes& bytes)
{
    WalkResult w;
    CRecordFileReader reader;
    w.opened = OpenFromMemory(reader, bytes);
    if (!w.opened) {
        w.error = reader.Error();
        return w;
    }
    CRecordFileWalker walker(reader);
    RecRecord r;
    const size_t limit = bytes.size() / 8 + 1;
    while ((w.end = walker.Next(r)) == CRecordStreamReader::RECORD) {
        if (++w.records > limit) {
            ADD_FAILURE() << "walk does not end";
            break;
        }
    }
    w.error = walker.Error();
    for (const REC_FILE_ENTRY& e : reader.Documents()) {
        Bytes doc;
        reader.ReadDocument(e.key1, e.key2, doc);
    }
    return w;
}

TEST(RecordReaderFaults, SampleRecordingReadsWhole)
{
    WalkResult w = Walk(SampleRecording());
    ASSERT_TRUE(w.opened) << w.error;
    EXPECT_EQ(CRecordStreamReader::END, w.end) << w.error;
    EXPECT_EQ(12u, w.records);
}

TEST(RecordReaderFaults, EveryTruncationIsRefusedWithAReason)
{
    const Bytes whole = SampleRecording();
    for (size_t length = 0; length < whole.size(); ++length) {
        WalkResult w = Walk(Bytes(whole.begin(), whole.begin() + length));
        // The last chunk sits at the end, so any cut damages the index.
        EXPECT_FALSE(w.opened && w.end == CRecordStreamReader::END) << length;
        EXPECT_FALSE(w.error.empty()) << length;
    }
}

TEST(RecordReaderFaults, RandomDamageNeverCrashesOrLoops)
{
    const Bytes whole = SampleRecording();
    std::mt19937 random(20261210);
    size_t refused = 0;
    for (int round = 0; round < 5000; ++round) {
        Bytes damaged = whole;
        int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            size_t at = random() % damaged.size();
            switch (random() % 3) {
            case 0:
                damaged[at] = static_cast<unsigned char>(random());
                break;
            case 1:
                damaged[at] ^= static_cast<unsigned char>(1u << (random() % 8));
                break;
            default: // a word set to a value that looks like an offset
                if (at + 4 <= damaged.size())
                    PutWord(damaged, at, static_cast<uint32_t>(random() % (damaged.size() + 64)));
            }
        }
        WalkResult w = Walk(damaged);
        if (!w.opened || w.end == CRecordStreamReader::FAILED) {
            ++refused;
            EXPECT_FALSE(w.error.empty()) << "round " << round;
        }
    }
    EXPECT_GT(refused, 0u);
}

TEST(RecordReaderFaults, DamagedIndexChainsAreRefused)
{
    const Bytes whole = SampleRecording();
    const uint32_t c1 = WordAt(whole, 80);
    const uint32_t c2 = WordAt(whole, c1);
    const uint32_t fileChunk = WordAt(whole, 84);
    struct Case
    {
        const char* what;
        uint32_t offset;
        uint32_t value;
        const char* reason;
    } cases[] = {
        {"chunk links to itself", c2, c2, "turns back"},
        {"chunk links back to the first", c2, c1, "turns back"},
        {"chain starts inside the header", 80, 40, "header"},
        {"chain starts past the end", 80, static_cast<uint32_t>(whole.size()) + 8,
         "beyond the end"},
        {"chunk holds no entry", c1 + 8, 0, "entries"},
        {"chunk claims 1025 entries", c1 + 8, 1025, "entries"},
        {"chunk runs past the end", c2 + 8, 900, "cut short"},
        {"entry of an unknown stream", c1 + 12, 9, "stream kind"},
        {"entry past the end", c1 + 12 + 8, 0x7FFFFFFF, "outside"},
        {"block longer than any reader takes", c1 + 12 + 12, 0x200001, "at most"},
        {"document past the end", fileChunk + 12 + 8, static_cast<uint32_t>(whole.size()),
         "outside"},
        {"document chain loops", fileChunk, fileChunk, "turns back"},
    };
    for (const Case& c : cases) {
        Bytes damaged = whole;
        PutWord(damaged, c.offset, c.value);
        CRecordFileReader reader;
        EXPECT_FALSE(OpenFromMemory(reader, damaged)) << c.what;
        EXPECT_NE(std::string::npos, reader.Error().find(c.reason))
            << c.what << ": " << reader.Error();
        EXPECT_TRUE(reader.Blocks().empty() && reader.Documents().empty()) << c.what;
    }
}

TEST(RecordReaderFaults, DamagedRecordsEndTheStreamWithAReason)
{
    struct Case
    {
        const char* what;
        uint32_t kind;
        Bytes block;
        const char* reason;
    };
    uint32_t id = 1;
    Bytes overrun, noPrefix, noTerminator, backwards, shortHead;
    FileBuilder::AddRecord(overrun, 0, {1, 2, 3});
    PutWord(overrun, 4, 50);
    FileBuilder::AddRecord(noPrefix, 0, {1, 2, 3});
    FileBuilder::AddRecord(noTerminator, 0, {'a', 'b'}, &id);
    FileBuilder::AddRecord(backwards, 10, {1}, &id);
    FileBuilder::AddRecord(backwards, 9, {2}, &id);
    FileBuilder::AddRecord(shortHead, 0, {1});
    shortHead.insert(shortHead.end(), {0, 0, 0});
    Case cases[] = {
        {"record longer than its block", REC_STREAM_BOARD, overrun, "runs past"},
        {"audio record without room for its source", REC_STREAM_AUDIO, noPrefix, "prefix"},
        {"chat text without terminator", REC_STREAM_CHAT, noTerminator, "terminator"},
        {"time going back", REC_STREAM_VIDEO, backwards, "comes after"},
        {"block ending inside a head", REC_STREAM_COMMAND, shortHead, "inside a record head"},
    };
    for (const Case& c : cases) {
        FileBuilder f;
        PutWord(f.bytes, 80,
                f.AddChunk(std::vector<REC_BLOCK_ENTRY>{f.AddBlock(c.kind, 0, c.block)}));
        CRecordFileReader reader;
        ASSERT_TRUE(OpenFromMemory(reader, f.bytes)) << c.what << ": " << reader.Error();
        std::vector<ReadRecord> records;
        std::string error;
        EXPECT_FALSE(ReadStream(reader, c.kind, records, &error)) << c.what;
        EXPECT_NE(std::string::npos, error.find(c.reason)) << c.what << ": " << error;
    }
}

TEST(RecordReaderFaults, ForeignAndShortFilesAreRefused)
{
    const Bytes whole = SampleRecording();
    Bytes foreign = whole;
    foreign[1] = 'X';
    struct Case
    {
        const char* what;
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {"empty", {}, "header"},
        {"95 bytes", Bytes(whole.begin(), whole.begin() + 95), "header"},
        {"foreign mark", foreign, "mark"},
    };
    for (const Case& c : cases) {
        CRecordFileReader reader;
        EXPECT_FALSE(OpenFromMemory(reader, c.bytes)) << c.what;
        EXPECT_NE(std::string::npos, reader.Error().find(c.reason))
            << c.what << ": " << reader.Error();
    }
    CRecordFileReader reader;
    EXPECT_FALSE(reader.Open("Z:\\no such folder\\none.Pellrund"));
    EXPECT_NE(std::string::npos, reader.Error().find("cannot open")) << reader.Error();
}

} // namespace
