// The player's engine: the time to load the block index of recordings of
// 1k, 10k and 100k blocks beside one plain read of the same bytes; the time
// of a seek at 10, 50 and 90 % of a one-hour recording beside one plain
// read of a block; and how late records are handed over while a recording
// plays (p50 and p99) beside plain timed waits of the same gaps.
//
//   player_bench [folder] [pacing seconds]   (defaults: current folder, 60)
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CBlockLoader.h"
#include "CPlayStreamReader.h"
#include "CRecordFileSource.h"
#include "CRecordIndexTable.h"
#include "CRecordPlayer.h"
#include "RecordFormat.h"
#include "WireWriter.h"

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

using Bytes = std::vector<unsigned char>;

void Put(Bytes& b, size_t at, uint32_t v)
{
    WireWriter w(b.data() + at, 4);
    w.U32(v);
}

void AddRecord(Bytes& block, uint32_t time, uint32_t prefix, size_t payload)
{
    size_t at = block.size();
    block.resize(at + 12 + payload, 0x55);
    Put(block, at, time);
    Put(block, at + 4, static_cast<uint32_t>(payload + 4));
    Put(block, at + 8, prefix);
}

// A recording of audio records every `step` ms up to `total` ms, in blocks
// of at most `blockBytes`, indexed at the end.
Bytes BuildRecording(uint32_t total, uint32_t step, size_t payload, size_t blockBytes,
                     size_t* blockCount)
{
    unsigned char start[REC_DATA_OFFSET];
    RecBuildFileStart(start, "bench", 1700000000);
    Bytes file(start, start + sizeof start);
    Put(file, REC_TOTAL_TIME_OFFSET, total);
    std::vector<REC_BLOCK_ENTRY> entries;
    Bytes block;
    uint32_t first = 0;
    auto flush = [&] {
        if (block.empty())
            return;
        entries.push_back(REC_BLOCK_ENTRY{REC_STREAM_AUDIO, first,
                                          static_cast<uint32_t>(file.size()),
                                          static_cast<uint32_t>(block.size()), 0});
        file.insert(file.end(), block.begin(), block.end());
        block.clear();
    };
    for (uint32_t t = 0; t <= total; t += step) {
        if (block.size() + 12 + payload > blockBytes)
            flush();
        if (block.empty())
            first = t;
        AddRecord(block, t, 1, payload);
    }
    flush();
    // The chain, 1024 entries a chunk.
    uint32_t link = REC_BLOCK_CHAIN_OFFSET;
    for (size_t i = 0; i < entries.size(); i += REC_CHUNK_ENTRIES) {
        size_t n = std::min<size_t>(REC_CHUNK_ENTRIES, entries.size() - i);
        uint32_t offset = static_cast<uint32_t>(file.size());
        Put(file, link, offset);
        Bytes chunk(12 + 20 * n);
        WireWriter w(chunk.data(), chunk.size());
        REC_INDEX_CHUNK_HEAD head = {REC_NO_CHUNK, 0, static_cast<uint32_t>(n)};
        w.Record(head);
        for (size_t k = 0; k < n; ++k)
            w.Record(entries[i + k]);
        file.insert(file.end(), chunk.begin(), chunk.end());
        link = offset;
    }
    *blockCount = entries.size();
    return file;
}

bool Save(const std::string& path, const Bytes& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
              done == bytes.size();
    CloseHandle(h);
    return ok;
}

double PlainRead(const std::string& path, uint64_t offset, uint32_t length)
{
    double t0 = Now();
    CRecordFileSource file;
    Bytes buffer(length);
    if (!file.Open(path.c_str()) || !file.ReadAt(offset, buffer.data(), length))
        return -1;
    return Now() - t0;
}

void OpenTimes(const std::string& folder)
{
    printf("Index load (one record per block)\n");
    printf("%10s %12s %14s %14s\n", "blocks", "index bytes", "load ms", "plain read ms");
    for (size_t want : {1000u, 10000u, 100000u}) {
        size_t blocks = 0;
        Bytes file = BuildRecording(static_cast<uint32_t>(want * 10 - 10), 10, 8, 20, &blocks);
        const std::string path = folder + "\\player_bench_index.Pellrund";
        if (!Save(path, file)) {
            printf("cannot write %s\n", path.c_str());
            return;
        }
        const uint32_t indexBytes =
            static_cast<uint32_t>(12 * ((blocks + 1023) / 1024) + 20 * blocks);
        double best = 1e9, reference = 1e9;
        for (int run = 0; run < 3; ++run) {
            double t0 = Now();
            CRecordFileSource source;
            CRecordIndexTable table;
            if (!source.Open(path.c_str()) || !table.Load(source, REC_BLOCK_CHAIN_OFFSET)) {
                printf("load failed: %s\n", table.Error().c_str());
                return;
            }
            best = std::min(best, Now() - t0);
            reference = std::min(reference, PlainRead(path, file.size() - indexBytes, indexBytes));
        }
        printf("%10u %12u %14.2f %14.2f\n", static_cast<unsigned>(blocks), indexBytes, best * 1000,
               reference * 1000);
        DeleteFileA(path.c_str());
    }
}

void SeekTimes(const std::string& folder)
{
    // One hour of 20 ms audio packets of 60 bytes in 128 KiB blocks.
    size_t blocks = 0;
    const uint32_t hour = 3600000;
    Bytes file = BuildRecording(hour, 20, 60, 0x20000, &blocks);
    const std::string path = folder + "\\player_bench_hour.Pellrund";
    if (!Save(path, file)) {
        printf("cannot write %s\n", path.c_str());
        return;
    }
    printf("\nSeek in a one-hour recording (%u blocks, %.1f MB)\n", static_cast<unsigned>(blocks),
           file.size() / 1e6);
    printf("%8s %12s %20s\n", "at", "seek ms", "plain block read ms");
    CRecordFileSource source;
    CRecordIndexTable table;
    if (!source.Open(path.c_str()) || !table.Load(source, REC_BLOCK_CHAIN_OFFSET))
        return;
    CBlockLoader loader;
    if (!loader.Open(path.c_str()))
        return;
    CPlayStreamReader reader(REC_STREAM_AUDIO, loader, 0x20000, table);
    for (int percent : {10, 50, 90}) {
        const uint32_t t = static_cast<uint32_t>(static_cast<uint64_t>(hour) * percent / 100);
        double t0 = Now();
        if (!reader.Seek(t)) {
            printf("seek failed: %s\n", reader.Error().c_str());
            break;
        }
        double seek = Now() - t0;
        const REC_BLOCK_ENTRY& e = table.Entries()[blocks * percent / 100];
        printf("%7d%% %12.2f %20.2f\n", percent, seek * 1000,
               PlainRead(path, e.offset, e.length) * 1000);
    }
    loader.Stop();
    DeleteFileA(path.c_str());
}

// Notes when each audio record is handed over.
class TimingSink : public IPlayerSink
{
public:
    int Build(HWND) override { return 1; }
    void DestroyChildren() override {}
    int SetLayoutRect(int, int, int, int) override { return 1; }
    void Clear() override { start = timeGetTime(); }
    void SetPlaybackTap(bool) override {}
    int OnAudioRecord(const unsigned char* record, uint32_t) override
    {
        // The record's time is the word before the length, 8 bytes back.
        uint32_t due = record[-8] | record[-7] << 8 | record[-6] << 16 |
                       static_cast<uint32_t>(record[-5]) << 24;
        late.push_back(static_cast<int32_t>(timeGetTime() - start - due));
        return 1;
    }
    int OnVideoRecord(const unsigned char*, uint32_t) override { return 1; }
    int OnBoardRecord(const unsigned char*, uint32_t) override { return 1; }
    int OnCommandRecord(const unsigned char*, uint32_t) override { return 1; }
    int OnChatRecord(const unsigned char*, uint32_t) override { return 1; }
    uint32_t start = 0;
    std::vector<int32_t> late;
};

int Percentile(std::vector<int32_t> v, int p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * p / 100)];
}

void Pacing(const std::string& folder, uint32_t seconds)
{
    size_t blocks = 0;
    Bytes file = BuildRecording(seconds * 1000, 20, 60, 0x20000, &blocks);
    const std::string path = folder + "\\player_bench_pacing.Pellrund";
    if (!Save(path, file))
        return;
    timeBeginPeriod(1);
    TimingSink sink;
    HWND owner =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    CRecordPlayer player(&sink);
    if (!player.StartPlay(owner, path.c_str())) {
        printf("cannot play: %s\n", player.GetLastError().c_str());
        return;
    }
    while (player.IsRunning())
        Sleep(50);
    player.StopPlay();
    // The floor: timed waits of the same 20 ms gaps, against the same clock.
    std::vector<int32_t> floor;
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const uint32_t start = timeGetTime();
    for (uint32_t due = 20; due <= 2000; due += 20) {
        int32_t wait = static_cast<int32_t>(due - (timeGetTime() - start));
        if (wait > 0)
            WaitForSingleObject(never, static_cast<DWORD>(wait));
        floor.push_back(static_cast<int32_t>(timeGetTime() - start - due));
    }
    CloseHandle(never);
    timeEndPeriod(1);
    printf("\nPacing over %u s (%u records every 20 ms), lateness in ms\n", seconds,
           static_cast<unsigned>(sink.late.size()));
    printf("%12s %6s %6s %6s\n", "", "p50", "p99", "max");
    printf("%12s %6d %6d %6d\n", "player", Percentile(sink.late, 50), Percentile(sink.late, 99),
           Percentile(sink.late, 100));
    printf("%12s %6d %6d %6d\n", "plain waits", Percentile(floor, 50), Percentile(floor, 99),
           Percentile(floor, 100));
    DestroyWindow(owner);
    DeleteFileA(path.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    const uint32_t seconds = argc > 2 ? static_cast<uint32_t>(atoi(argv[2])) : 60;
    OpenTimes(folder);
    SeekTimes(folder);
    Pacing(folder, seconds ? seconds : 60);
    return 0;
}
