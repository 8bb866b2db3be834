// The recording file as written and read: header, name field, index chains,
// and the reader's walk over streams and blocks.
#include <gtest/gtest.h>

#include <cstring>

#include "CRecordFileWalker.h"
#include "CRecordIndexList.h"
#include "CRecordStreamReader.h"
#include "RecordingFixture.h"

namespace {

TEST(RecordFileFormat, NameFieldTakesAtMostSixtyFourCharacters)
{
    struct Case
    {
        size_t length;
        bool terminated;
    } cases[] = {{0, true}, {63, true}, {64, false}, {70, false}};
    for (const Case& c : cases) {
        std::string name(c.length, 'n');
        for (size_t i = 0; i < name.size(); ++i)
            name[i] = static_cast<char>('a' + i % 26);
        unsigned char start[REC_DATA_OFFSET];
        RecBuildFileStart(start, name.c_str(), 1234);
        const size_t stored = c.length < 64 ? c.length : 64;
        EXPECT_EQ(0, memcmp(start + 8, name.data(), stored)) << c.length;
        if (c.terminated) {
            for (size_t i = stored; i < 64; ++i)
                ASSERT_EQ(0, start[8 + i]) << c.length;
        }

        CRecordFileReader reader;
        ASSERT_TRUE(OpenFromMemory(reader, Bytes(start, start + sizeof start))) << reader.Error();
        EXPECT_EQ(name.substr(0, stored), reader.Name());
    }
}

TEST(RecordFileFormat, HeaderAndDescriptorsAreLaidOutByteForByte)
{
    unsigned char start[REC_DATA_OFFSET];
    RecBuildFileStart(start, "C:\\m.Pellrund", 0x11223344);
    Bytes b(start, start + sizeof start);
    EXPECT_EQ(0, memcmp(b.data(), "V))A", 4));
    EXPECT_EQ(0x03050000u, WordAt(b, 4));
    EXPECT_EQ(0x11223344u, WordAt(b, 72));
    EXPECT_EQ(0u, WordAt(b, 76));
    EXPECT_EQ(0xFFFFFFFFu, WordAt(b, 80));
    EXPECT_EQ(0xFFFFFFFFu, WordAt(b, 84));
    EXPECT_EQ(0u, WordAt(b, 88));
    EXPECT_EQ(5u, WordAt(b, 92));
    const uint32_t capacity[] = {0x20000, 0x40000, 0x10000, 0x10000, 0x10000};
    for (uint32_t k = 0; k < 5; ++k) {
        EXPECT_EQ(k + 1, WordAt(b, 96 + 12 * k));
        EXPECT_EQ(capacity[k], WordAt(b, 100 + 12 * k));
        EXPECT_EQ(0u, WordAt(b, 104 + 12 * k));
    }
}

TEST(RecordFileFormat, ReaderAcceptsVersionsUpToItsOwn)
{
    struct Case
    {
        uint32_t version;
        bool accepted;
    } cases[] = {{0x03050000, true},
                 {0x01000000, true},
                 {0, true},
                 {0x03050001, false},
                 {0xFFFFFFFF, false}};
    for (const Case& c : cases) {
        FileBuilder f;
        PutWord(f.bytes, 4, c.version);
        CRecordFileReader reader;
        EXPECT_EQ(c.accepted, OpenFromMemory(reader, f.bytes)) << std::hex << c.version;
        if (!c.accepted) {
            EXPECT_NE(std::string::npos, reader.Error().find("newer")) << reader.Error();
        }
    }
}

// 1024 entries stay pending until the end; the 1025th writes the full chunk
// and links it, the rest follows in a second chunk linked from the first.
TEST(RecordFileFormat, BlockChainChunksHoldAtMost1024Entries)
{
    for (uint32_t count : {1u, 1024u, 1025u, 2049u}) {
        MemoryOutput out;
        unsigned char start[REC_DATA_OFFSET];
        RecBuildFileStart(start, "x", 0);
        out.Append(start, sizeof start);
        Bytes block(20, 0);
        FileBuilder::AddRecord(block, 0, Bytes(12, 7));
        CRecordIndexList index(REC_BLOCK_CHAIN_OFFSET);
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t offset = out.Length();
            out.Append(block.data(), static_cast<uint32_t>(block.size()));
            ASSERT_TRUE(index.Add(out, REC_BLOCK_ENTRY{REC_STREAM_BOARD, i, offset,
                                                       static_cast<uint32_t>(block.size()), 0}));
            if (i == 1023) {
                EXPECT_EQ(0xFFFFFFFFu, WordAt(out.bytes, 80)) << "nothing written before stop";
            }
            if (i == 1024) {
                uint32_t first = WordAt(out.bytes, 80);
                ASSERT_NE(0xFFFFFFFFu, first);
                EXPECT_EQ(1024u, WordAt(out.bytes, first + 8));
                EXPECT_EQ(0xFFFFFFFFu, WordAt(out.bytes, first));
            }
        }
        ASSERT_TRUE(index.WritePending(out));
        // Walk the chain by hand: chunk sizes and links.
        uint32_t at = WordAt(out.bytes, 80), seen = 0, chunks = 0;
        while (at != 0xFFFFFFFF && chunks < 10) {
            uint32_t n = WordAt(out.bytes, at + 8);
            EXPECT_LE(n, 1024u);
            seen += n;
            ++chunks;
            at = WordAt(out.bytes, at);
        }
        EXPECT_EQ(count, seen);
        EXPECT_EQ((count + 1023) / 1024, chunks);
        EXPECT_EQ(0xFFFFFFFFu, WordAt(out.bytes, 84));

        CRecordFileReader reader;
        ASSERT_TRUE(OpenFromMemory(reader, out.bytes)) << reader.Error();
        ASSERT_EQ(count, reader.Blocks().size());
        EXPECT_EQ(count - 1, reader.Blocks().back().firstTime);
    }
}

// Blocks of one stream that begin in the same millisecond are all played,
// in the order they were written.
TEST(RecordFileReader, BlocksStartingInTheSameMillisecondAreAllRead)
{
    FileBuilder f;
    Bytes a, b, c;
    uint32_t id = 9;
    FileBuilder::AddRecord(a, 40, {1}, &id);
    FileBuilder::AddRecord(a, 40, {2}, &id);
    FileBuilder::AddRecord(b, 40, {3}, &id);
    FileBuilder::AddRecord(c, 41, {4}, &id);
    REC_BLOCK_ENTRY ea = f.AddBlock(REC_STREAM_AUDIO, 40, a);
    REC_BLOCK_ENTRY eb = f.AddBlock(REC_STREAM_AUDIO, 40, b);
    REC_BLOCK_ENTRY ec = f.AddBlock(REC_STREAM_AUDIO, 41, c);
    PutWord(f.bytes, 80, f.AddChunk(std::vector<REC_BLOCK_ENTRY>{ea, eb, ec}));

    CRecordFileReader reader;
    ASSERT_TRUE(OpenFromMemory(reader, f.bytes)) << reader.Error();
    std::vector<ReadRecord> records;
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_AUDIO, records));
    ASSERT_EQ(4u, records.size());
    for (uint8_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Bytes{static_cast<unsigned char>(i + 1)}, records[i].payload);
        EXPECT_EQ(9u, records[i].prefix);
    }
}

TEST(RecordFileReader, WalkerMergesStreamsInTimeOrder)
{
    FileBuilder f;
    uint32_t id = 1;
    Bytes audio, board, chat;
    FileBuilder::AddRecord(audio, 5, {0xA1}, &id);
    FileBuilder::AddRecord(audio, 20, {0xA2}, &id);
    FileBuilder::AddRecord(board, 10, {0xB1});
    FileBuilder::AddRecord(board, 20, {0xB2});
    uint32_t kind = REC_CHAT_LINE;
    FileBuilder::AddRecord(chat, 1, {'h', 'i', 0}, &kind);
    std::vector<REC_BLOCK_ENTRY> entries = {f.AddBlock(REC_STREAM_BOARD, 10, board),
                                            f.AddBlock(REC_STREAM_AUDIO, 5, audio),
                                            f.AddBlock(REC_STREAM_CHAT, 1, chat)};
    PutWord(f.bytes, 80, f.AddChunk(entries));

    CRecordFileReader reader;
    ASSERT_TRUE(OpenFromMemory(reader, f.bytes)) << reader.Error();
    CRecordFileWalker walker(reader);
    RecRecord r;
    std::vector<std::pair<uint32_t, uint32_t>> order; // {time, kind}
    while (walker.Next(r) == CRecordStreamReader::RECORD)
        order.push_back({r.time, r.kind});
    EXPECT_TRUE(walker.Error().empty()) << walker.Error();
    std::vector<std::pair<uint32_t, uint32_t>> expected = {
        {1, 5}, {5, 1}, {10, 3}, {20, 1}, {20, 3}};
    EXPECT_EQ(expected, order);
}

TEST(RecordFileReader, DocumentsAreFoundByTheirExactKeyPair)
{
    FileBuilder f;
    Bytes doc1 = {'o', 'n', 'e'}, doc2 = {'t', 'w', 'o', '!'};
    uint32_t o1 = f.Append(doc1), o2 = f.Append(doc2);
    PutWord(f.bytes, 84,
            f.AddChunk(std::vector<REC_FILE_ENTRY>{{7, 1, o1, 3, 0}, {7, 2, o2, 4, 0}}));
    CRecordFileReader reader;
    ASSERT_TRUE(OpenFromMemory(reader, f.bytes)) << reader.Error();
    Bytes got;
    ASSERT_TRUE(reader.ReadDocument(7, 2, got));
    EXPECT_EQ(doc2, got);
    ASSERT_TRUE(reader.ReadDocument(7, 1, got));
    EXPECT_EQ(doc1, got);
    EXPECT_FALSE(reader.ReadDocument(1, 7, got));
    EXPECT_NE(std::string::npos, reader.Error().find("no document"));
}

} // namespace
