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

// The one thread that writes a recording after its header: it takes the
// copied blocks and document paths from its queue, appends them, keeps both
// index chains and finishes the file when told to quit. At most ten pieces
// wait in its queue; a caller that gets ahead of it waits, for a bounded
// time. Handing a piece over takes only the queue's lock. A thread whose
// queue ran empty first naps a few times before it sleeps until woken: a
// piece handed over meanwhile is found at the end of the nap, and a caller
// wakes the thread only when it sleeps, or when half the queue waits for a
// napping one. When a write fails the
// writer finishes the file at once and from then on takes every piece off
// its queue and drops it, so that no caller waits for it and no copy is left
// behind.
class CRecordWriter : public CNamedThread
{
public:
    enum { QUEUE_LIMIT = 10 };
    // Naps of an idle thread before it sleeps until woken, and their
    // length. Records come in bursts, and under Wine every wake-up is a
    // round trip to its object server: a burst of blocks is taken without
    // one per block.
    enum { IDLE_NAPS = 20, NAP_MS = 1 };
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
    bool PostOwnedBlock(uint32_t kind, uint32_t firstTime, unsigned char* block, uint32_t length,
                        uint32_t capacity, uint32_t waitLimitMs);
    // A written block of capacity bytes to fill again, or null. The writer
    // keeps as many as a full queue and the block being written hold, so
    // that a recording stops allocating blocks once it runs: a fresh block
    // costs a fault on every page at its first fill. The caller owns it
    // (delete[]).
    unsigned char* TakeSpare(uint32_t capacity);
    // Queues the path of a document to embed under the key pair.
    bool PostFile(const char* path, uint32_t key1, uint32_t key2, uint32_t waitLimitMs);
    // Lets the queued pieces be written, finishes the file and ends the
    // thread. False when the thread did not end within waitLimitMs; the
    // writer must then be left alone (not deleted).
    bool StopWriter(uint32_t waitLimitMs);
    void Stop() override;

    bool IsRunning();
    bool HasFailed() const { return m_failed.load(); }
    bool GetStoredError(RecordFileError& error) const;
    uint32_t StartTick() const { return m_startTick; }

    // Bytes of block copies waiting in the queue, now and at most so far.
    uint32_t QueuedBytes() const { return m_queuedBytes.load(); }
    uint32_t PeakQueuedBytes() const { return m_peakQueuedBytes.load(); }

protected:
    uint32_t Run() override;

private:
    enum PieceKind { PIECE_BLOCK, PIECE_FILE };
    // One queued piece: a block of records (kind, first time, length, and
    // the capacity of a block the writer may keep, 0 for a copy) or the
    // path of a document (key pair).
    struct Piece
    {
        PieceKind what;
        uint32_t kind;      // stream kind, or first key
        uint32_t firstTime; // or second key
        uint32_t length;
        uint32_t capacity;
        unsigned char* data; // new[]: block or path
    };

    // Queues the piece, waiting up to waitLimitMs for room. False when the
    // writer has failed, has ended or the wait ran out: the piece is then
    // still the caller's.
    bool Post(const Piece& piece, uint32_t waitLimitMs);
    void SetRunning(bool running);
    void Handle(const Piece& piece);
    void Release(const Piece& piece);
    bool WriteBlock(const Piece& block);
    // False only on a file error of the recording; a document that cannot be
    // read is skipped.
    bool WriteDocument(const Piece& document);
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
    uint32_t m_startTick = 0;

    // The queue, a ring of QUEUE_LIMIT pieces, under m_queueLock.
    CRITICAL_SECTION m_queueLock;
    Piece m_queue[QUEUE_LIMIT] = {};
    uint32_t m_queueHead = 0;
    uint32_t m_queueCount = 0;
    bool m_quit = false;          // no piece comes after the queued ones
    bool m_writerIdle = false;    // the thread waits for m_work, without limit
    bool m_writerNapping = false; // the thread waits for m_work, NAP_MS
    bool m_running = false;       // pieces may be queued
    uint32_t m_roomWaiters = 0;
    HANDLE m_work = nullptr; // auto-reset: a piece or the quit for a waiting thread
    HANDLE m_room = nullptr; // manual-reset: the thread took a piece off a full queue

    HANDLE m_ready = nullptr;
    CLogFile* m_log;
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_cancelled{false};
    bool m_finished = false;
    std::vector<unsigned char> m_piece;
    enum { SPARE_LIMIT = QUEUE_LIMIT + 2 };
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
