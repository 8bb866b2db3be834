// Recorder throughput: records per second and MB/s through the recorder
// (copy, writer thread, index) beside plain WriteFile of the same bytes in
// the same run; the caller's cost per record; the memory held by copies
// waiting for the writer.
//
//   recorder_bench [folder]   (default: the current folder)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "../BenchRow.h"
#include "CRecordFileOutput.h"
#include "CRecordFileReader.h"
#include "CRecorder.h"
#include "RecordFormat.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Result
{
    double seconds = 0;     // first call to the file closed
    double callSeconds = 0; // time spent inside the write calls
    double worstCall = 0;
    uint64_t fileBytes = 0;
    uint32_t peakQueued = 0;
    uint32_t records = 0;
};

uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The recorder's file without the flush before each block, to show what
// that flush costs.
class UnflushedOutput : public CRecordFileOutput
{
public:
    bool Flush() override { return IsOpen(); }
};

// A file that takes every write and keeps nothing: what is left is the
// recorder's own cost.
class DiscardingOutput : public CRecordFileOutput
{
public:
    bool Create(const char*) override { return true; }
    bool IsOpen() const override { return true; }
    bool Append(const void*, uint32_t length) override
    {
        m_size += length;
        return true;
    }
    bool WriteAt(uint32_t, const void*, uint32_t) override { return true; }
    uint32_t Length() const override { return m_size; }
    bool Truncate(uint32_t length) override
    {
        m_size = length;
        return true;
    }
    bool Flush() override { return true; }
    void Close() override {}
    bool QueryFreeBytes(uint64_t&) override { return false; }

private:
    uint32_t m_size = 0;
};

// The caller's cost per video record with a writer that writes nothing,
// beside one memcpy of the record into a block.
void CallerCost()
{
    const uint32_t size = 20480, count = 2000;
    std::vector<unsigned char> payload(size, 0x5A), block(0x40000);
    CRecorder rec;
    rec.SetOutputFactory([] { return std::unique_ptr<IRecordOutput>(new DiscardingOutput); });
    if (!rec.StartRecord("discarded", ""))
        return;
    double t0 = Now();
    for (uint32_t i = 0; i < count; ++i)
        rec.WriteVideoData(payload.data(), size, 2);
    double t1 = Now();
    rec.StopRecord();
    double t2 = Now();
    for (uint32_t i = 0; i < count; ++i) {
        payload[0] = static_cast<unsigned char>(i);
        memcpy(&block[(i % 12) * size], payload.data(), size);
    }
    double t3 = Now();
    printf("video record of %u bytes, caller's cost with a writer that keeps nothing: %.1f us; "
           "memcpy of it: %.1f us\n",
           size, (t1 - t0) * 1e6 / count, (t3 - t2) * 1e6 / count);
}

Result ThroughRecorder(const std::string& path, uint32_t kind, uint32_t size, uint32_t count,
                       bool flushEachBlock)
{
    std::vector<unsigned char> payload(size, 0x5A);
    CRecorder rec;
    if (!flushEachBlock)
        rec.SetOutputFactory([] { return std::unique_ptr<IRecordOutput>(new UnflushedOutput); });
    Result r;
    DeleteFileA(path.c_str());
    double start = Now();
    if (!rec.StartRecord(path.c_str(), "")) {
        fprintf(stderr, "cannot start a recording into %s\n", path.c_str());
        return r;
    }
    for (uint32_t i = 0; i < count; ++i) {
        payload[0] = static_cast<unsigned char>(i);
        double t0 = Now();
        int ok = kind == REC_STREAM_AUDIO ? rec.WriteAudioData(payload.data(), size, 1)
                                          : rec.WriteVideoData(payload.data(), size, 2);
        double spent = Now() - t0;
        r.callSeconds += spent;
        if (spent > r.worstCall)
            r.worstCall = spent;
        if (!ok) {
            fprintf(stderr, "record %u refused (error code %u)\n", i, rec.GetErrorCode());
            break;
        }
        ++r.records;
    }
    r.peakQueued = rec.PeakQueuedBytes();
    rec.StopRecord();
    r.seconds = Now() - start;
    r.fileBytes = FileSize(path);
    CRecordFileReader reader;
    if (!reader.Open(path.c_str()))
        printf("  the recording does not read back: %s\n", reader.Error().c_str());
    reader.Close();
    DeleteFileA(path.c_str());
    return r;
}

// The same records, heads included, written one WriteFile call each; with
// flushEachBlock, the file is flushed whenever the records written since
// the last flush fill one of the recorder's blocks, as its writer does
// before each block.
Result ThroughWriteFile(const std::string& path, uint32_t kind, uint32_t size, uint32_t count,
                        bool flushEachBlock)
{
    std::vector<unsigned char> record(8 + 4 + size, 0x5A);
    const uint32_t block = RecStreamCapacity(kind);
    uint32_t inBlock = 0;
    Result r;
    DeleteFileA(path.c_str());
    double start = Now();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot create %s\n", path.c_str());
        return r;
    }
    for (uint32_t i = 0; i < count; ++i) {
        record[12] = static_cast<unsigned char>(i);
        double t0 = Now();
        if (inBlock + record.size() > block) {
            if (flushEachBlock)
                FlushFileBuffers(file);
            inBlock = 0;
        }
        inBlock += static_cast<uint32_t>(record.size());
        DWORD written = 0;
        BOOL ok =
            WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
        double spent = Now() - t0;
        r.callSeconds += spent;
        if (spent > r.worstCall)
            r.worstCall = spent;
        if (!ok)
            break;
        ++r.records;
    }
    if (flushEachBlock && inBlock)
        FlushFileBuffers(file);
    CloseHandle(file);
    r.seconds = Now() - start;
    r.fileBytes = FileSize(path);
    DeleteFileA(path.c_str());
    return r;
}

void Print(const char* what, const Result& r)
{
    const double mb = static_cast<double>(r.fileBytes) / (1024.0 * 1024.0);
    printf("  %-22s %8u records  %8.1f MB  %9.0f rec/s  %8.1f MB/s  call %7.2f us avg "
           "%8.1f us worst  queued peak %7.1f KiB\n",
           what, r.records, mb, r.seconds > 0 ? r.records / r.seconds : 0.0,
           r.seconds > 0 ? mb / r.seconds : 0.0, r.records ? 1e6 * r.callSeconds / r.records : 0.0,
           1e6 * r.worstCall, r.peakQueued / 1024.0);
}

double Rate(const Result& r) { return r.seconds > 0 ? r.records / r.seconds : 0.0; }

// One figure of a case: the recorder's rate and the reference's, measured
// next to each other in one round.
struct Pair
{
    double recorder = 0;
    double plain = 0;
    double Ratio() const { return plain > 0 ? recorder / plain : 0.0; }
};

// The round whose ratio is the median: one slow round on a busy machine, or
// a disk that writes back late, moves neither figure.
Pair MedianRound(std::vector<Pair> rounds)
{
    std::sort(rounds.begin(), rounds.end(),
              [](const Pair& a, const Pair& b) { return a.Ratio() < b.Ratio(); });
    return rounds[rounds.size() / 2];
}

void RunCase(const std::string& folder, const char* name, uint32_t kind, uint32_t size,
             uint32_t count)
{
    printf("%s: %u records of %u bytes\n", name, count, size);
    const std::string recPath = folder + "\\bench.Pellrund";
    const std::string plainPath = folder + "\\bench.plain";
    // Like is compared with like: the recorder with the flush before each
    // block against WriteFile with the same flushes, and both without. Every
    // run makes a new file (no old one to cut short) and deletes it at once,
    // so that no run leaves unwritten data for the next to wait behind; the
    // order alternates between rounds so that neither side always comes
    // first.
    const int rounds = 5;
    std::vector<Pair> flushed, unflushed;
    for (int round = 0; round < rounds; ++round) {
        Result a, b, c, d;
        if (round % 2 == 0) {
            a = ThroughRecorder(recPath, kind, size, count, true);
            b = ThroughWriteFile(plainPath, kind, size, count, true);
            c = ThroughRecorder(recPath, kind, size, count, false);
            d = ThroughWriteFile(plainPath, kind, size, count, false);
        } else {
            b = ThroughWriteFile(plainPath, kind, size, count, true);
            a = ThroughRecorder(recPath, kind, size, count, true);
            d = ThroughWriteFile(plainPath, kind, size, count, false);
            c = ThroughRecorder(recPath, kind, size, count, false);
        }
        Print("recorder", a);
        Print("WriteFile, same flushes", b);
        Print("recorder, no flush", c);
        Print("WriteFile, no flush", d);
        flushed.push_back({Rate(a), Rate(b)});
        unflushed.push_back({Rate(c), Rate(d)});
    }
    const Pair f = MedianRound(flushed), u = MedianRound(unflushed);
    char row[96];
    snprintf(row, sizeof row, "recorder, %s records of %u bytes", name, size);
    BenchRow(row, f.recorder, f.plain, "rec/s", ">=", 0.8);
    snprintf(row, sizeof row, "recorder, %s records, neither flushing", name);
    BenchRow(row, u.recorder, u.plain, "rec/s", ">=", 0.8);
}

// Audio and video from their own threads at once, as in a meeting.
void RunMixed(const std::string& folder, uint32_t audioCount, uint32_t videoCount)
{
    printf("mixed: %u audio records of 640 bytes and %u video records of 20480 bytes "
           "from two threads\n",
           audioCount, videoCount);
    const std::string path = folder + "\\mixed.Pellrund";
    DeleteFileA(path.c_str());
    CRecorder rec;
    if (!rec.StartRecord(path.c_str(), ""))
        return;
    double start = Now();
    double audioCall = 0, videoCall = 0;
    std::thread audio([&] {
        std::vector<unsigned char> p(640, 1);
        for (uint32_t i = 0; i < audioCount; ++i) {
            double t0 = Now();
            rec.WriteAudioData(p.data(), 640, 1);
            audioCall += Now() - t0;
        }
    });
    std::thread video([&] {
        std::vector<unsigned char> p(20480, 2);
        for (uint32_t i = 0; i < videoCount; ++i) {
            double t0 = Now();
            rec.WriteVideoData(p.data(), 20480, 2);
            videoCall += Now() - t0;
        }
    });
    audio.join();
    video.join();
    uint32_t peak = rec.PeakQueuedBytes();
    rec.StopRecord();
    double seconds = Now() - start;
    const double mb = static_cast<double>(FileSize(path)) / (1024.0 * 1024.0);
    printf("  %-22s %8u records  %8.1f MB  %9.0f rec/s  %8.1f MB/s  audio call %.2f us, "
           "video call %.2f us avg  queued peak %.1f KiB\n",
           "recorder", audioCount + videoCount, mb, (audioCount + videoCount) / seconds,
           mb / seconds, 1e6 * audioCall / audioCount, 1e6 * videoCall / videoCount, peak / 1024.0);
    DeleteFileA(path.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    std::string folder = ".";
    if (argc > 1)
        folder = argv[1];
    printf("Recorder throughput (writer flushes the file before each block)\n");
    {
        // What the writer asks before each block besides the flush.
        CRecordFileOutput probe;
        const std::string probePath = folder + "\\probe.Pellrund";
        if (probe.Create(probePath.c_str())) {
            uint64_t free = 0;
            const int asks = 200;
            double t0 = Now();
            for (int i = 0; i < asks; ++i)
                probe.QueryFreeBytes(free);
            printf("free-space query before each block: %.1f us\n", (Now() - t0) * 1e6 / asks);
            probe.Close();
            DeleteFileA(probePath.c_str());
        }
    }
    CallerCost();
    RunCase(folder, "audio", REC_STREAM_AUDIO, 640, 100000);
    // 240 MB a run: what each recording does once (its thread, its first
    // blocks, its stop) weighs little beside the records, as in a recording
    // of any length.
    RunCase(folder, "video", REC_STREAM_VIDEO, 20480, 12000);
    RunMixed(folder, 100000, 4000);
    // A block is made only when no written one is left to reuse, that is
    // when every other block of its stream is queued, being written or
    // filling in the stream: 10 + 1 + 1, and the new one.
    printf("Blocks held for the writer are bounded by 10 queued plus the one being written, "
           "the one filling and one more made while all those are taken; written ones are "
           "kept for reuse: at most %u KiB for video.\n",
           13 * 0x40000 / 1024);
    return 0;
}
