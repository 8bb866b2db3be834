#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "CNamedThread.h"
#include "CRecordIndexList.h"
#include "IRecordOutput.h"
#include "RecordFileError.h"

class CLogFile;

// Messages of the writer thread's queue.
enum : UINT {
    WM_RECORD_QUIT = WM_USER + 100,
    WM_RECORD_BLOCK = WM_USER + 101,
    WM_RECORD_FILE = WM_USER + 102,
};

// The one thread that writes a recording after its header: it takes the
// copied blocks and document paths from its message queue, appends them, keeps
// both index chains and finishes the file when told to quit. At most ten
// pieces wait in its queue; a caller that gets ahead of it waits, for a
// bounded time. When a write fails the writer finishes the file at once and
// from then on takes every piece off its queue and drops it, so that no
// caller waits for it and no copy is left behind.
class CRecordWriter : public CNamedThread
{
public:
    enum { QUEUE_LIMIT = 10 };
    // The writer refuses to write when no more than this is free on the disk.
    static const uint64_t MIN_FREE_BYTES = 0x500000;

    CRecordWriter(std::unique_ptr<IRecordOutput> output, CLogFile* log);
    ~CRecordWriter() override;

    // Creates the file, writes its header and starts the thread; returns once
    // the thread can take messages. False on any failure; a file error while
    // writing the header is kept (GetStoredError).
    bool StartWriter(const char* path, uint32_t waitLimitMs);
    // Copies the block and queues it. False when the writer has failed, does
    // not run, or its queue stayed full for waitLimitMs.
    bool PostBlock(uint32_t kind, uint32_t firstTime, const void* data, uint32_t length,
                   uint32_t waitLimitMs);
    // Queues a block of capacity bytes the caller allocated with new[] (or
    // took from TakeSpare), without copying it. True when the writer took
    // it over; false as above, the block then still belongs to the caller.
    bool PostOwnedBlock(uint32_t kind, uint32_t firstTime, unsigned char* block,
                        uint32_t length, uint32_t capacity, uint32_t waitLimitMs);
    // A written block of capacity bytes to fill again, or null: the writer
    // keeps a few, so that a recording does not allocate a block each time.
    // The caller owns it (delete[]).
    unsigned char* TakeSpare(uint32_t capacity);
    // Queues the path of a document to embed under the key pair.
    bool PostFile(const char* path, uint32_t key1, uint32_t key2, uint32_t waitLimitMs);
    // Lets the queued pieces be written, finishes the file and ends the
    // thread. False when the thread did not end within waitLimitMs; the
    // writer must then be left alone (not deleted).
    bool StopWriter(uint32_t waitLimitMs);
    void Stop() override;

    bool IsRunning() const;
    bool HasFailed() const { return m_failed.load(); }
    bool GetStoredError(RecordFileError& error) const;
    uint32_t StartTick() const { return m_startTick; }

    // Bytes of block copies waiting in the queue, now and at most so far.
    uint32_t QueuedBytes() const { return m_queuedBytes.load(); }
    uint32_t PeakQueuedBytes() const { return m_peakQueuedBytes.load(); }

protected:
    uint32_t Run() override;

private:
    bool Post(UINT message, uint32_t* descriptor, void* copy, uint32_t copyBytes);
    bool WaitForRoom(uint32_t waitLimitMs);
    void Handle(const MSG& msg);
    void Release(const MSG& msg);
    bool WriteBlock(const uint32_t* descriptor, const unsigned char* data);
    // False only on a file error of the recording; a document that cannot be
    // read is skipped.
    bool WriteDocument(const uint32_t* descriptor, const char* path);
    bool CheckBeforeWrite();
    void Finish();
    void StoreError(uint32_t cause, int32_t osError);
    void StoreOutputError();
    void DeleteObjects();
    void Log(const char* format, ...);

    // The stored error is read by the callers' threads.
    mutable CRITICAL_SECTION m_errorLock;
    bool m_hasError = false;
    RecordFileError m_error;
    std::unique_ptr<CRecordIndexList> m_blockIndex;
    std::unique_ptr<CRecordIndexList> m_fileIndex;
    std::unique_ptr<IRecordOutput> m_output;
    HANDLE m_semaphore = nullptr;
    uint32_t m_startTick = 0;

    HANDLE m_ready = nullptr;
    CLogFile* m_log;
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_cancelled{false};
    bool m_finished = false;
    std::vector<unsigned char> m_piece;
    enum { SPARE_LIMIT = 4 };
    struct Spare
    {
        unsigned char* block;
        uint32_t capacity;
    };
    CRITICAL_SECTION m_spareLock;
    Spare m_spares[SPARE_LIMIT] = {};
    int m_spareCount = 0;
    std::atomic<uint32_t> m_queuedBytes{0};
    std::atomic<uint32_t> m_peakQueuedBytes{0};
};
