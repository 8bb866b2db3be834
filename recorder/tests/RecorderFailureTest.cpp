// Failures of the recording's file: each is reported through the error code
// as the callers know it, no call waits without end, and the file keeps
// everything it indexes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CRecorder.h"
#include "RecordingFixture.h"

namespace {

struct FaultyRecorder
{
    std::shared_ptr<FaultyOutput::Control> control = std::make_shared<FaultyOutput::Control>();
    CRecorder rec;
    FaultyRecorder()
    {
        auto c = control;
        rec.SetOutputFactory([c] { return std::unique_ptr<IRecordOutput>(new FaultyOutput(c)); });
    }
};

// A board record that fills the stream's buffer on its own, so that each
// one after the first hands a full block to the writer.
int WriteFullBlock(CRecorder& rec, unsigned char mark)
{
    Bytes big(0x10000 - 8, mark);
    return rec.WriteBoardData(big.data(), static_cast<int>(big.size()));
}

// Writes full blocks until one is refused, giving the writer a moment
// between them; the number written.
int WriteUntilRefused(CRecorder& rec, int limit, DWORD pauseMs = 0)
{
    for (int i = 0; i < limit; ++i) {
        if (!WriteFullBlock(rec, static_cast<unsigned char>(i)))
            return i;
        Sleep(pauseMs);
    }
    return limit;
}

TEST(RecorderFailure, UnwritablePathFailsTheStartWithoutAnErrorCode)
{
    CRecorder rec;
    EXPECT_EQ(0, rec.StartRecord("Z:\\no such folder\\x\\m.Pellrund", ""));
    EXPECT_EQ(0, rec.StartRecord(nullptr, ""));
    EXPECT_EQ(0u, rec.GetErrorCode());
    EXPECT_FALSE(rec.IsRecording());
    EXPECT_EQ(0, rec.WriteChatData("x", 0));
}

TEST(RecorderFailure, HeaderWriteFailureSetsTheErrorCodeByCause)
{
    struct Case
    {
        uint32_t osError;
        uint32_t code;
    } cases[] = {{ERROR_DISK_FULL, CRecorder::CODE_DISK_FULL},
                 {ERROR_HANDLE_DISK_FULL, CRecorder::CODE_DISK_FULL},
                 {ERROR_ACCESS_DENIED, CRecorder::CODE_OTHER},
                 {ERROR_IO_DEVICE, CRecorder::CODE_OTHER}};
    TempFolder dir;
    for (const Case& c : cases) {
        FaultyRecorder f;
        f.control->appendBudget = 50;
        f.control->failError = c.osError;
        EXPECT_EQ(0, f.rec.StartRecord(dir.File("h.Pellrund").c_str(), ""));
        EXPECT_EQ(c.code, f.rec.GetErrorCode()) << c.osError;
        EXPECT_FALSE(f.rec.IsRecording());
        f.rec.StopRecord();
        EXPECT_EQ(0u, f.rec.GetErrorCode());
    }
}

// At most 5 MiB free: the writer refuses the block, closes the file with its
// index, and the next flush turns that into the disk-full code; every write
// is then refused at once until the error is reset.
TEST(RecorderFailure, NearlyFullDiskStopsWritingWithTheDiskFullCode)
{
    TempFolder dir;
    const std::string path = dir.File("full.Pellrund");
    FaultyRecorder f;
    ASSERT_EQ(1, f.rec.StartRecord(path.c_str(), ""));
    EXPECT_EQ(1, WriteFullBlock(f.rec, 1));
    EXPECT_EQ(1, WriteFullBlock(f.rec, 2)); // the first block reaches the disk
    const uint32_t goodLength = 156 + 0x10000;
    ASSERT_TRUE(WaitForFileLength(path, goodLength, 10000));
    f.control->freeBytes = 0x500000;
    EXPECT_EQ(1, WriteFullBlock(f.rec, 3));          // the second block is refused by the writer
    EXPECT_LT(WriteUntilRefused(f.rec, 50, 20), 50); // and a later flush learns of it
    EXPECT_EQ(CRecorder::CODE_DISK_FULL, f.rec.GetErrorCode());
    const char* text = nullptr;
    EXPECT_EQ(1, f.rec.GetErrorMsg(&text));
    EXPECT_STREQ("磁盘空间不够,请检查磁盘剩余空间", text);
    DWORD before = GetTickCount();
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(0, f.rec.WriteAudioData("x", 1, 1));
    EXPECT_LT(GetTickCount() - before, 1000u);
    f.rec.ResetError();
    EXPECT_EQ(1, f.rec.GetErrorMsg(&text));
    EXPECT_STREQ("无错误发生", text);
    EXPECT_EQ(1, f.rec.StopRecord());

    CRecordFileReader reader;
    ASSERT_TRUE(reader.Open(path.c_str())) << reader.Error();
    ASSERT_EQ(1u, reader.Blocks().size());
    EXPECT_NE(0u, reader.TotalTime());
    std::vector<ReadRecord> board;
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_BOARD, board));
    EXPECT_EQ(1u, board.size());
}

// A write that fails half-way leaves no part of the block in the file and no
// entry for it; what was indexed before stays readable.
TEST(RecorderFailure, FailedBlockWriteIsCutBackAndReported)
{
    TempFolder dir;
    const std::string path = dir.File("cut.Pellrund");
    FaultyRecorder f;
    ASSERT_EQ(1, f.rec.StartRecord(path.c_str(), ""));
    EXPECT_EQ(1, WriteFullBlock(f.rec, 1));
    EXPECT_EQ(1, WriteFullBlock(f.rec, 2));
    const uint32_t goodLength = 156 + 0x10000;
    // The writer thread puts the first block out before the fault is set.
    ASSERT_TRUE(WaitForFileLength(path, goodLength, 10000));
    f.control->failLongerThan = 1000; // blocks break off after 1000 bytes
    f.control->failError = ERROR_DISK_FULL;
    EXPECT_EQ(1, WriteFullBlock(f.rec, 3));
    EXPECT_LT(WriteUntilRefused(f.rec, 50, 20), 50);
    EXPECT_EQ(CRecorder::CODE_DISK_FULL, f.rec.GetErrorCode());
    f.rec.StopRecord();

    Bytes file = ReadWholeFile(path);
    // Header, one block and the one-entry chunk written when the writer gave up.
    EXPECT_EQ(goodLength + 12 + 20, file.size());
    CRecordFileReader reader;
    ASSERT_TRUE(reader.Open(path.c_str())) << reader.Error();
    ASSERT_EQ(1u, reader.Blocks().size());
    EXPECT_EQ(156u, reader.Blocks()[0].offset);
}

// A writer that does not keep up makes the caller wait, but not for ever:
// after the wait limit the flush fails with code 2. Once the writer moves
// again, the stop finishes the file.
TEST(RecorderFailure, StalledWriterFailsTheFlushAfterTheWaitLimit)
{
    TempFolder dir;
    const std::string path = dir.File("slow.Pellrund");
    FaultyRecorder f;
    HANDLE gate = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    f.control->gate = gate;
    ASSERT_EQ(1, f.rec.StartRecord(path.c_str(), ""));
    // The short limit is for the flushes only: the writer's start may take
    // longer on a busy machine.
    f.rec.SetWaitLimit(200);
    ResetEvent(gate);
    DWORD before = GetTickCount();
    // One block in the writer's hands and ten queued: the next flush waits
    // and gives up.
    EXPECT_EQ(12, WriteUntilRefused(f.rec, 20));
    EXPECT_EQ(CRecorder::CODE_OTHER, f.rec.GetErrorCode());
    EXPECT_LT(GetTickCount() - before, 3000u);
    EXPECT_GE(f.rec.PeakQueuedBytes(), 10u * 0x10000);
    SetEvent(gate);
    f.rec.SetWaitLimit(5000);
    EXPECT_EQ(1, f.rec.StopRecord());
    CloseHandle(gate);

    CRecordFileReader reader;
    ASSERT_TRUE(reader.Open(path.c_str())) << reader.Error();
    std::vector<ReadRecord> board;
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_BOARD, board));
    EXPECT_EQ(12u, reader.Blocks().size());
    EXPECT_EQ(12u, board.size());
}

// A stream whose full block waits for room at a stalled writer holds up no
// other stream: an audio packet is taken at once while the board's flush is
// still waiting, and once the writer moves again both are in the file.
TEST(RecorderFailure, AStreamWaitingForTheWriterHoldsUpNoOtherStream)
{
    TempFolder dir;
    const std::string path = dir.File("wait.Pellrund");
    FaultyRecorder f;
    HANDLE gate = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    f.control->gate = gate;
    f.rec.SetWaitLimit(4000);
    ASSERT_EQ(1, f.rec.StartRecord(path.c_str(), ""));
    ResetEvent(gate);
    // One block in the writer's hands and ten queued.
    for (int i = 0; i < 12; ++i)
        ASSERT_EQ(1, WriteFullBlock(f.rec, static_cast<unsigned char>(i)));
    std::atomic<int> boardResult{-1};
    std::thread board([&] { boardResult = WriteFullBlock(f.rec, 12); });
    Sleep(300); // let the board's flush reach its wait
    EXPECT_EQ(1, f.rec.WriteAudioData("pcm", 3, 5));
    EXPECT_EQ(-1, boardResult.load()) << "the audio packet had to wait for the board's flush";
    SetEvent(gate);
    board.join();
    EXPECT_EQ(1, boardResult.load());
    EXPECT_EQ(0u, f.rec.GetErrorCode());
    EXPECT_EQ(1, f.rec.StopRecord());
    CloseHandle(gate);

    CRecordFileReader reader;
    ASSERT_TRUE(reader.Open(path.c_str())) << reader.Error();
    std::vector<ReadRecord> audio, boardRecords;
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_AUDIO, audio));
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_BOARD, boardRecords));
    ASSERT_EQ(1u, audio.size());
    EXPECT_EQ(5u, audio[0].prefix);
    EXPECT_EQ(Bytes({'p', 'c', 'm'}), audio[0].payload);
    EXPECT_EQ(13u, boardRecords.size());
}

// The disk fills up just as the stop writes the index: the stop still
// closes the file, which then reads as a recording without blocks.
TEST(RecorderFailure, IndexWriteFailureAtStopStillClosesTheFile)
{
    TempFolder dir;
    const std::string path = dir.File("index.Pellrund");
    FaultyRecorder f;
    f.control->appendBudget = 156 + 0x10000;
    ASSERT_EQ(1, f.rec.StartRecord(path.c_str(), ""));
    EXPECT_EQ(1, WriteFullBlock(f.rec, 1));
    EXPECT_EQ(1, f.rec.StopRecord());
    EXPECT_EQ(0u, f.rec.GetErrorCode());

    CRecordFileReader reader;
    ASSERT_TRUE(reader.Open(path.c_str())) << reader.Error();
    EXPECT_TRUE(reader.Blocks().empty());
    EXPECT_EQ(156u + 0x10000, reader.FileSize());
}

} // namespace
