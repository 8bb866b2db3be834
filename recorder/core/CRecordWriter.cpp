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

namespace {

// The descriptor that travels in wParam: five words.
enum { DESC_WORDS = 5 };

uint32_t* NewDescriptor(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e)
{
    uint32_t* desc = new (std::nothrow) uint32_t[DESC_WORDS];
    if (desc) {
        desc[0] = a;
        desc[1] = b;
        desc[2] = c;
        desc[3] = d;
        desc[4] = e;
    }
    return desc;
}

}  // namespace

CRecordWriter::CRecordWriter(std::unique_ptr<IRecordOutput> output, CLogFile* log)
    : m_output(std::move(output)), m_log(log)
{
    InitializeCriticalSection(&m_errorLock);
    InitializeCriticalSection(&m_spareLock);
}

CRecordWriter::~CRecordWriter()
{
    DeleteObjects();
    for (int i = 0; i < m_spareCount; ++i)
        delete[] m_spares[i].block;
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
    if (m_semaphore) {
        CloseHandle(m_semaphore);
        m_semaphore = nullptr;
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
    m_semaphore = CreateSemaphoreA(nullptr, QUEUE_LIMIT, QUEUE_LIMIT, nullptr);
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
    if (!m_semaphore || !m_ready || !m_blockIndex || !m_fileIndex) {
        DeleteObjects();
        return false;
    }

    if (!m_output->Create(path)) {
        Log("<CRecordWriter::StartWriter>, cannot create %s (system error %u)\n",
            path ? path : "", static_cast<unsigned>(m_output->LastError()));
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

    if (!Start()) {
        DeleteObjects();
        return false;
    }
    // The thread makes its message queue before it signals; only then can
    // anything be posted to it.
    HANDLE waits[2] = {m_ready, m_handle};
    DWORD r = WaitForMultipleObjects(2, waits, FALSE, waitLimitMs);
    if (r != WAIT_OBJECT_0) {
        Log("<CRecordWriter::StartWriter>, the writer thread did not get ready\n");
        if (r == WAIT_TIMEOUT) {
            // It may still come up: it sees the flag once its queue exists,
            // and a queue that exists already gets the quit message.
            m_cancelled = true;
            PostThreadMessageA(m_threadId, WM_RECORD_QUIT, 0, 0);
            if (WaitForSingleObject(m_handle, waitLimitMs) != WAIT_OBJECT_0)
                return false;   // left running; the caller must not delete it
        }
        CNamedThread::Stop();
        DeleteObjects();
        return false;
    }
    return true;
}

bool CRecordWriter::IsRunning() const
{
    return m_handle && !m_failed.load() && WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT;
}

bool CRecordWriter::WaitForRoom(uint32_t waitLimitMs)
{
    HANDLE waits[2] = {m_semaphore, m_handle};
    DWORD r = WaitForMultipleObjects(2, waits, FALSE, waitLimitMs);
    if (r == WAIT_OBJECT_0)
        return true;
    if (r == WAIT_TIMEOUT)
        Log("<CRecordWriter::Post>, the writer has not taken a block for %u ms\n",
            static_cast<unsigned>(waitLimitMs));
    return false;
}

bool CRecordWriter::Post(UINT message, uint32_t* descriptor, void* copy, uint32_t copyBytes)
{
    if (!descriptor || !copy) {
        delete[] descriptor;
        delete[] static_cast<char*>(copy);
        return false;
    }
    if (!PostThreadMessageA(m_threadId, message, reinterpret_cast<WPARAM>(descriptor),
                            reinterpret_cast<LPARAM>(copy))) {
        delete[] descriptor;
        delete[] static_cast<char*>(copy);
        ReleaseSemaphore(m_semaphore, 1, nullptr);
        return false;
    }
    uint32_t queued = m_queuedBytes += copyBytes;
    uint32_t peak = m_peakQueuedBytes.load();
    while (queued > peak && !m_peakQueuedBytes.compare_exchange_weak(peak, queued)) {
    }
    return true;
}

bool CRecordWriter::PostBlock(uint32_t kind, uint32_t firstTime, const void* data,
                              uint32_t length, uint32_t waitLimitMs)
{
    if (!IsRunning() || !WaitForRoom(waitLimitMs))
        return false;
    if (m_failed.load()) {
        ReleaseSemaphore(m_semaphore, 1, nullptr);
        return false;
    }
    char* copy = new (std::nothrow) char[length ? length : 1];
    if (copy && length)
        memcpy(copy, data, length);
    uint32_t* desc = NewDescriptor(kind, firstTime, 0xFFFFFFFF, length, 0);
    if (!copy || !desc) {
        delete[] copy;
        delete[] desc;
        ReleaseSemaphore(m_semaphore, 1, nullptr);
        return false;
    }
    return Post(WM_RECORD_BLOCK, desc, copy, length);
}

bool CRecordWriter::PostOwnedBlock(uint32_t kind, uint32_t firstTime, unsigned char* block,
                                   uint32_t length, uint32_t capacity, uint32_t waitLimitMs)
{
    if (!block || !IsRunning() || !WaitForRoom(waitLimitMs))
        return false;
    if (m_failed.load()) {
        ReleaseSemaphore(m_semaphore, 1, nullptr);
        return false;
    }
    // The last word carries the block's capacity, so that it can be kept
    // as a spare once written (copies carry 0).
    uint32_t* desc = NewDescriptor(kind, firstTime, 0xFFFFFFFF, length, capacity);
    if (!desc) {
        ReleaseSemaphore(m_semaphore, 1, nullptr);
        return false;
    }
    if (!PostThreadMessageA(m_threadId, WM_RECORD_BLOCK, reinterpret_cast<WPARAM>(desc),
                            reinterpret_cast<LPARAM>(block))) {
        delete[] desc;
        ReleaseSemaphore(m_semaphore, 1, nullptr);
        return false;
    }
    uint32_t queued = m_queuedBytes += length;
    uint32_t peak = m_peakQueuedBytes.load();
    while (queued > peak && !m_peakQueuedBytes.compare_exchange_weak(peak, queued)) {
    }
    return true;
}

bool CRecordWriter::PostFile(const char* path, uint32_t key1, uint32_t key2,
                             uint32_t waitLimitMs)
{
    if (!path || !IsRunning() || !WaitForRoom(waitLimitMs))
        return false;
    if (m_failed.load()) {
        ReleaseSemaphore(m_semaphore, 1, nullptr);
        return false;
    }
    size_t n = strlen(path) + 1;
    char* copy = new (std::nothrow) char[n];
    if (copy)
        memcpy(copy, path, n);
    uint32_t* desc = NewDescriptor(key1, key2, 0xFFFFFFFF, 0, 0);
    if (!copy || !desc) {
        delete[] copy;
        delete[] desc;
        ReleaseSemaphore(m_semaphore, 1, nullptr);
        return false;
    }
    return Post(WM_RECORD_FILE, desc, copy, 0);
}

bool CRecordWriter::StopWriter(uint32_t waitLimitMs)
{
    if (m_handle) {
        // Everything queued ahead of the quit message is written first.
        if (WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT)
            PostThreadMessageA(m_threadId, WM_RECORD_QUIT, 0, 0);
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

void CRecordWriter::Stop()
{
    StopWriter(INFINITE);
}

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
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(m_ready);

    uint32_t result = 0;
    while (!m_cancelled.load()) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) {
            result = static_cast<uint32_t>(-1);
            break;
        }
        if (!got || msg.message == WM_RECORD_QUIT)
            break;
        if (msg.message == WM_RECORD_BLOCK || msg.message == WM_RECORD_FILE) {
            ReleaseSemaphore(m_semaphore, 1, nullptr);
            Handle(msg);
            Release(msg);
        }
    }
    if (!m_finished)
        Finish();
    // Nothing can be posted after the quit message, but drop whatever a
    // failed queue still holds so that no copy is lost track of.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_RECORD_BLOCK || msg.message == WM_RECORD_FILE) {
            ReleaseSemaphore(m_semaphore, 1, nullptr);
            Release(msg);
        }
    }
    return result;
}

void CRecordWriter::Release(const MSG& msg)
{
    uint32_t* desc = reinterpret_cast<uint32_t*>(msg.wParam);
    unsigned char* data = reinterpret_cast<unsigned char*>(msg.lParam);
    if (msg.message == WM_RECORD_BLOCK && desc) {
        m_queuedBytes -= desc[3];
        if (desc[4] && data) {
            CScopedLock lock(&m_spareLock);
            if (m_spareCount < SPARE_LIMIT) {
                m_spares[m_spareCount++] = {data, desc[4]};
                data = nullptr;
            }
        }
    }
    delete[] desc;
    delete[] data;
}

void CRecordWriter::Handle(const MSG& msg)
{
    if (m_failed.load())
        return;
    const uint32_t* desc = reinterpret_cast<const uint32_t*>(msg.wParam);
    bool ok = msg.message == WM_RECORD_BLOCK
                  ? WriteBlock(desc, reinterpret_cast<const unsigned char*>(msg.lParam))
                  : WriteDocument(desc, reinterpret_cast<const char*>(msg.lParam));
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

bool CRecordWriter::WriteBlock(const uint32_t* desc, const unsigned char* data)
{
    if (!CheckBeforeWrite())
        return false;
    const uint32_t offset = m_output->Length();
    if (!m_output->Append(data, desc[3])) {
        StoreOutputError();
        Log("<CRecordWriter::WriteBlock>, writing a block of %u bytes failed\n", desc[3]);
        // No part of a block stays without its index entry.
        m_output->Truncate(offset);
        return false;
    }
    REC_BLOCK_ENTRY entry = {desc[0], desc[1], offset, desc[3], 0};
    if (!m_blockIndex->Add(*m_output, entry)) {
        StoreOutputError();
        Log("<CRecordWriter::WriteBlock>, writing the block index failed\n");
        return false;
    }
    return true;
}

bool CRecordWriter::WriteDocument(const uint32_t* desc, const char* path)
{
    if (!CheckBeforeWrite())
        return false;
    HANDLE doc = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (doc == INVALID_HANDLE_VALUE) {
        // One unreadable document must not end the recording: skip it.
        Log("<CRecordWriter::WriteDocument>, cannot open %s (system error %u), skipped\n",
            path, static_cast<unsigned>(GetLastError()));
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
    REC_FILE_ENTRY entry = {desc[0], desc[1], offset, length, 0};
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
