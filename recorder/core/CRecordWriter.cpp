#include "CRecordWriter.h"

#include <mmsystem.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "CLogFile.h"
#include "CScopedLock.h"
#include "RecordFormat.h"
#include "WireWriter.h"

CRecordWriter::CRecordWriter(std::unique_ptr<IRecordOutput> output, CLogFile* log)
    : m_output(std::move(output)), m_log(log)
{
    InitializeCriticalSection(&m_errorLock);
    InitializeCriticalSection(&m_spareLock);
    InitializeCriticalSection(&m_queueLock);
}

CRecordWriter::~CRecordWriter()
{
    DeleteObjects();
    for (int i = 0; i < m_spareCount; ++i)
        delete[] m_spares[i].block;
    DeleteCriticalSection(&m_queueLock);
    DeleteCriticalSection(&m_spareLock);
    DeleteCriticalSection(&m_errorLock);
}

unsigned char* CRecordWriter::TakeSpare(uint32_t capacity)
{
    CScopedLock lock(&m_spareLock);
    for (int i = 0; i < m_spareCount; ++i) {
        if (m_spares[i].capacity == capacity) {
            unsigned char* block = m_spares[i].block;
            m_spares[i] = m_spares[--m_spareCount];
            return block;
        }
    }
    return nullptr;
}

void CRecordWriter::Log(const char* format, ...)
{
    if (!m_log)
        return;
    va_list args;
    va_start(args, format);
    char line[512];
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    m_log->Write(1, "%s", line);
}

void CRecordWriter::DeleteObjects()
{
    if (m_output)
        m_output->Close();
    if (m_work) {
        CloseHandle(m_work);
        m_work = nullptr;
    }
    if (m_room) {
        CloseHandle(m_room);
        m_room = nullptr;
    }
    if (m_ready) {
        CloseHandle(m_ready);
        m_ready = nullptr;
    }
    m_blockIndex.reset();
    m_fileIndex.reset();
}

bool CRecordWriter::StartWriter(const char* path, uint32_t waitLimitMs)
{
    if (m_handle || !m_output)
        return false;
    m_work = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_room = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_blockIndex.reset(new (std::nothrow) CRecordIndexList(REC_BLOCK_CHAIN_OFFSET));
    m_fileIndex.reset(new (std::nothrow) CRecordIndexList(REC_FILE_CHAIN_OFFSET));
    {
        CScopedLock lock(&m_errorLock);
        m_hasError = false;
        m_error = RecordFileError();
    }
    m_failed = false;
    m_cancelled = false;
    m_finished = false;
    m_startTick = timeGetTime();
    {
        CScopedLock lock(&m_queueLock);
        m_queueHead = 0;
        m_queueCount = 0;
        m_quit = false;
        m_writerIdle = false;
        m_writerNapping = false;
        m_roomWaiters = 0;
    }
    if (!m_work || !m_room || !m_ready || !m_blockIndex || !m_fileIndex) {
        DeleteObjects();
        return false;
    }

    if (!m_output->Create(path)) {
        Log("<CRecordWriter::StartWriter>, cannot create %s (system error %u)\n", path ? path : "",
            static_cast<unsigned>(m_output->LastError()));
        DeleteObjects();
        return false;
    }
    unsigned char start[REC_DATA_OFFSET];
    RecBuildFileStart(start, path, static_cast<uint32_t>(time(nullptr)));
    if (!m_output->Append(start, sizeof start)) {
        StoreOutputError();
        Log("<CRecordWriter::StartWriter>, cannot write the header of %s\n", path);
        DeleteObjects();
        return false;
    }

    SetRunning(true);
    if (!Start()) {
        SetRunning(false);
        DeleteObjects();
        return false;
    }
    // The thread signals once it runs.
    HANDLE waits[2] = {m_ready, m_handle};
    DWORD r = WaitForMultipleObjects(2, waits, FALSE, waitLimitMs);
    if (r != WAIT_OBJECT_0) {
        Log("<CRecordWriter::StartWriter>, the writer thread did not get ready\n");
        if (r == WAIT_TIMEOUT) {
            // It may still come up: it sees the flag before it takes
            // anything.
            m_cancelled = true;
            SetRunning(false);
            SetEvent(m_work);
            if (WaitForSingleObject(m_handle, waitLimitMs) != WAIT_OBJECT_0)
                return false; // left running; the caller must not delete it
        }
        SetRunning(false);
        CNamedThread::Stop();
        DeleteObjects();
        return false;
    }
    return true;
}

void CRecordWriter::SetRunning(bool running)
{
    CScopedLock lock(&m_queueLock);
    m_running = running;
}

bool CRecordWriter::IsRunning()
{
    CScopedLock lock(&m_queueLock);
    return m_handle && m_running && !m_failed.load();
}

bool CRecordWriter::Post(const Piece& piece, uint32_t waitLimitMs)
{
    const DWORD start = GetTickCount();
    EnterCriticalSection(&m_queueLock);
    for (;;) {
        if (!m_running || m_quit || m_failed.load()) {
            LeaveCriticalSection(&m_queueLock);
            return false;
        }
        if (m_queueCount < QUEUE_LIMIT)
            break;
        const DWORD spent = GetTickCount() - start;
        if (spent >= waitLimitMs) {
            LeaveCriticalSection(&m_queueLock);
            Log("<CRecordWriter::Post>, the writer has not taken a block for %u ms\n",
                static_cast<unsigned>(waitLimitMs));
            return false;
        }
        // The thread sets the event when it takes a piece off the full
        // queue; resetting it under the lock loses no such moment.
        ResetEvent(m_room);
        ++m_roomWaiters;
        LeaveCriticalSection(&m_queueLock);
        HANDLE waits[2] = {m_room, m_handle};
        const DWORD r = WaitForMultipleObjects(2, waits, FALSE, waitLimitMs - spent);
        EnterCriticalSection(&m_queueLock);
        --m_roomWaiters;
        if (r == WAIT_OBJECT_0 + 1) {
            LeaveCriticalSection(&m_queueLock);
            return false; // the thread has ended
        }
    }
    m_queue[(m_queueHead + m_queueCount) % QUEUE_LIMIT] = piece;
    ++m_queueCount;
    if (piece.what == PIECE_BLOCK) {
        uint32_t queued = m_queuedBytes += piece.length;
        uint32_t peak = m_peakQueuedBytes.load();
        while (queued > peak && !m_peakQueuedBytes.compare_exchange_weak(peak, queued)) {}
    }
    // A busy or napping thread finds the piece by itself; a sleeping one is
    // woken, and a napping one once half the queue waits, so that a long
    // nap never lets the queue fill.
    const bool wake = m_writerIdle || (m_writerNapping && m_queueCount >= QUEUE_LIMIT / 2);
    if (wake)
        m_writerIdle = m_writerNapping = false;
    LeaveCriticalSection(&m_queueLock);
    if (wake)
        SetEvent(m_work);
    return true;
}

bool CRecordWriter::PostBlock(uint32_t kind, uint32_t firstTime, const void* data, uint32_t length,
                              uint32_t waitLimitMs)
{
    if (!IsRunning())
        return false;
    unsigned char* copy = new (std::nothrow) unsigned char[length ? length : 1];
    if (!copy)
        return false;
    if (length)
        memcpy(copy, data, length);
    const Piece piece = {PIECE_BLOCK, kind, firstTime, length, 0, copy};
    if (!Post(piece, waitLimitMs)) {
        delete[] copy;
        return false;
    }
    return true;
}

bool CRecordWriter::PostOwnedBlock(uint32_t kind, uint32_t firstTime, unsigned char* block,
                                   uint32_t length, uint32_t capacity, uint32_t waitLimitMs)
{
    if (!block)
        return false;
    // The capacity travels along, so that the block can be kept as a spare
    // once written (copies carry 0).
    const Piece piece = {PIECE_BLOCK, kind, firstTime, length, capacity, block};
    return Post(piece, waitLimitMs);
}

bool CRecordWriter::PostFile(const char* path, uint32_t key1, uint32_t key2, uint32_t waitLimitMs)
{
    if (!path || !IsRunning())
        return false;
    size_t n = strlen(path) + 1;
    unsigned char* copy = new (std::nothrow) unsigned char[n];
    if (!copy)
        return false;
    memcpy(copy, path, n);
    const Piece piece = {PIECE_FILE, key1, key2, 0, 0, copy};
    if (!Post(piece, waitLimitMs)) {
        delete[] copy;
        return false;
    }
    return true;
}

bool CRecordWriter::StopWriter(uint32_t waitLimitMs)
{
    if (m_handle) {
        // Everything queued ahead of the quit is written first.
        {
            CScopedLock lock(&m_queueLock);
            m_quit = true;
            m_writerIdle = m_writerNapping = false;
        }
        SetEvent(m_work);
        if (WaitForSingleObject(m_handle, waitLimitMs) != WAIT_OBJECT_0) {
            Log("<CRecordWriter::Stop>, the writer thread has not ended after %u ms\n",
                static_cast<unsigned>(waitLimitMs));
            return false;
        }
        CNamedThread::Stop();
    }
    DeleteObjects();
    return true;
}

void CRecordWriter::Stop() { StopWriter(INFINITE); }

bool CRecordWriter::GetStoredError(RecordFileError& error) const
{
    CScopedLock lock(&m_errorLock);
    if (!m_hasError)
        return false;
    error = m_error;
    return true;
}

void CRecordWriter::StoreError(uint32_t cause, int32_t osError)
{
    CScopedLock lock(&m_errorLock);
    m_hasError = true;
    m_error.cause = cause;
    m_error.osError = osError;
    m_error.fileName = m_output ? m_output->Path() : "";
}

void CRecordWriter::StoreOutputError()
{
    uint32_t os = m_output->LastError();
    StoreError(RecFileErrorCauseOf(os), static_cast<int32_t>(os));
}

uint32_t CRecordWriter::Run()
{
    SetEvent(m_ready);
    uint32_t naps = 0; // since the queue last held a piece
    while (!m_cancelled.load()) {
        Piece piece = {};
        DWORD wait = 0;
        {
            CScopedLock lock(&m_queueLock);
            if (m_queueCount == 0) {
                if (m_quit)
                    break;
                if (naps < IDLE_NAPS) {
                    ++naps;
                    m_writerNapping = true;
                    wait = NAP_MS;
                } else {
                    m_writerNapping = false;
                    m_writerIdle = true;
                    wait = INFINITE;
                }
            } else {
                naps = 0;
                m_writerNapping = false;
                piece = m_queue[m_queueHead];
                m_queueHead = (m_queueHead + 1) % QUEUE_LIMIT;
                --m_queueCount;
                if (m_roomWaiters)
                    SetEvent(m_room);
            }
        }
        if (wait) {
            WaitForSingleObject(m_work, wait);
            continue;
        }
        Handle(piece);
        Release(piece);
    }
    if (!m_finished)
        Finish();
    // Nothing is queued from now on; drop whatever a failed or cancelled
    // queue still holds so that no copy is lost track of.
    std::vector<Piece> left;
    {
        CScopedLock lock(&m_queueLock);
        m_running = false;
        for (; m_queueCount; --m_queueCount) {
            left.push_back(m_queue[m_queueHead]);
            m_queueHead = (m_queueHead + 1) % QUEUE_LIMIT;
        }
        if (m_roomWaiters)
            SetEvent(m_room);
    }
    for (const Piece& piece : left)
        Release(piece);
    return 0;
}

void CRecordWriter::Release(const Piece& piece)
{
    unsigned char* data = piece.data;
    if (piece.what == PIECE_BLOCK) {
        m_queuedBytes -= piece.length;
        if (piece.capacity && data) {
            CScopedLock lock(&m_spareLock);
            if (m_spareCount < SPARE_LIMIT) {
                m_spares[m_spareCount++] = {data, piece.capacity};
                data = nullptr;
            }
        }
    }
    delete[] data;
}

void CRecordWriter::Handle(const Piece& piece)
{
    if (m_failed.load())
        return;
    bool ok = piece.what == PIECE_BLOCK ? WriteBlock(piece) : WriteDocument(piece);
    if (!ok) {
        // Close the file with what it holds; later pieces are dropped and the
        // callers learn of the failure at their next flush.
        m_failed = true;
        Finish();
    }
}

bool CRecordWriter::CheckBeforeWrite()
{
    if (!m_output->IsOpen())
        return false;
    if (!m_output->Flush()) {
        StoreOutputError();
        Log("<CRecordWriter::WriteBlock>, flushing %s failed\n", m_output->Path());
        return false;
    }
    uint64_t free = 0;
    if (m_output->QueryFreeBytes(free) && free <= MIN_FREE_BYTES) {
        StoreError(REC_CAUSE_DISK_FULL, -1);
        Log("<CRecordWriter::WriteBlock>, only %llu bytes free for %s\n",
            static_cast<unsigned long long>(free), m_output->Path());
        return false;
    }
    return true;
}

bool CRecordWriter::WriteBlock(const Piece& block)
{
    if (!CheckBeforeWrite())
        return false;
    const uint32_t offset = m_output->Length();
    if (!m_output->Append(block.data, block.length)) {
        StoreOutputError();
        Log("<CRecordWriter::WriteBlock>, writing a block of %u bytes failed\n", block.length);
        // No part of a block stays without its index entry.
        m_output->Truncate(offset);
        return false;
    }
    REC_BLOCK_ENTRY entry = {block.kind, block.firstTime, offset, block.length, 0};
    if (!m_blockIndex->Add(*m_output, entry)) {
        StoreOutputError();
        Log("<CRecordWriter::WriteBlock>, writing the block index failed\n");
        return false;
    }
    return true;
}

bool CRecordWriter::WriteDocument(const Piece& document)
{
    const char* path = reinterpret_cast<const char*>(document.data);
    if (!CheckBeforeWrite())
        return false;
    HANDLE doc = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (doc == INVALID_HANDLE_VALUE) {
        // One unreadable document must not end the recording: skip it.
        Log("<CRecordWriter::WriteDocument>, cannot open %s (system error %u), skipped\n", path,
            static_cast<unsigned>(GetLastError()));
        return true;
    }
    if (m_piece.size() != REC_DOCUMENT_PIECE)
        m_piece.resize(REC_DOCUMENT_PIECE);
    const uint32_t offset = m_output->Length();
    uint32_t length = 0;
    bool readFailed = false;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(doc, m_piece.data(), REC_DOCUMENT_PIECE, &got, nullptr)) {
            readFailed = true;
            break;
        }
        if (got && !m_output->Append(m_piece.data(), got)) {
            StoreOutputError();
            Log("<CRecordWriter::WriteDocument>, copying %s failed\n", path);
            CloseHandle(doc);
            m_output->Truncate(offset);
            return false;
        }
        length += got;
        if (got < REC_DOCUMENT_PIECE)
            break;
    }
    CloseHandle(doc);
    if (readFailed) {
        Log("<CRecordWriter::WriteDocument>, reading %s failed, skipped\n", path);
        if (!m_output->Truncate(offset)) {
            StoreOutputError();
            return false;
        }
        return true;
    }
    REC_FILE_ENTRY entry = {document.kind, document.firstTime, offset, length, 0};
    if (!m_fileIndex->Add(*m_output, entry)) {
        StoreOutputError();
        Log("<CRecordWriter::WriteDocument>, writing the document index failed\n");
        return false;
    }
    return true;
}

void CRecordWriter::Finish()
{
    m_finished = true;
    if (!m_output || !m_output->IsOpen())
        return;
    if (!m_blockIndex->WritePending(*m_output)) {
        StoreOutputError();
        Log("<CRecordWriter::Finish>, writing the block index failed\n");
    }
    if (!m_fileIndex->WritePending(*m_output)) {
        StoreOutputError();
        Log("<CRecordWriter::Finish>, writing the document index failed\n");
    }
    unsigned char total[4];
    WireWriter w(total, sizeof total);
    w.U32(timeGetTime() - m_startTick);
    if (!m_output->WriteAt(REC_TOTAL_TIME_OFFSET, total, sizeof total) || !m_output->Flush()) {
        StoreOutputError();
        Log("<CRecordWriter::Finish>, writing the total time failed\n");
    }
    m_output->Close();
}
