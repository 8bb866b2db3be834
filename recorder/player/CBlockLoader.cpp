#include "CBlockLoader.h"

#include <cstdio>

#include "CRecordFileSource.h"
#include "CScopedLock.h"

CBlockLoader::CBlockLoader() : CNamedThread(nullptr)
{
    InitializeCriticalSection(&m_errorLock);
    m_quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (Slot& s : m_slots) {
        s.request = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        s.done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
}

CBlockLoader::~CBlockLoader()
{
    Stop();
    for (Slot& s : m_slots) {
        CloseHandle(s.request);
        CloseHandle(s.done);
    }
    CloseHandle(m_quit);
    DeleteCriticalSection(&m_errorLock);
}

void CBlockLoader::SetError(const std::string& text)
{
    CScopedLock lock(&m_errorLock);
    m_error = text;
}

std::string CBlockLoader::Error() const
{
    CScopedLock lock(&m_errorLock);
    return m_error;
}

bool CBlockLoader::Open(const char* path)
{
    std::unique_ptr<CRecordFileSource> file(new CRecordFileSource);
    if (m_source || m_handle)
        return false;
    if (!file->Open(path)) {
        char text[300];
        snprintf(text, sizeof text, "the block loader cannot open %s (system error %u)",
                 path ? path : "(null)", static_cast<unsigned>(file->LastError()));
        SetError(text);
        return false;
    }
    return Open(std::move(file));
}

bool CBlockLoader::Open(std::unique_ptr<IRecordSource> source)
{
    if (m_source || m_handle || !source)
        return false;
    m_source = std::move(source);
    ResetEvent(m_quit);
    if (!Start()) {
        m_source.reset();
        return false;
    }
    return true;
}

bool CBlockLoader::Ended() const
{
    return !m_handle || WaitForSingleObject(m_handle, 0) == WAIT_OBJECT_0;
}

bool CBlockLoader::Request(int slot, unsigned char* buffer, uint32_t offset, uint32_t length)
{
    if (slot < 0 || slot >= SLOT_COUNT || !buffer || !length || !m_source || Ended())
        return false;
    Slot& s = m_slots[slot];
    if (WaitForSingleObject(s.request, 0) == WAIT_OBJECT_0)
        return false;
    s.buffer = buffer;
    s.offset = offset;
    s.length = length;
    ResetEvent(s.done);
    SetEvent(s.request);
    return true;
}

bool CBlockLoader::Wait(int slot)
{
    if (slot < 0 || slot >= SLOT_COUNT || !m_slots[slot].buffer || !m_handle)
        return false;
    HANDLE events[2] = {m_slots[slot].done, m_handle};
    // The done event is looked at first, so a block read just before the
    // thread ended still counts.
    DWORD r = WaitForMultipleObjects(2, events, FALSE, INFINITE);
    return r == WAIT_OBJECT_0;
}

void CBlockLoader::Stop()
{
    SetEvent(m_quit);
    CNamedThread::Stop();
}

uint32_t CBlockLoader::Run()
{
    HANDLE events[1 + SLOT_COUNT];
    events[0] = m_quit;
    for (int i = 0; i < SLOT_COUNT; ++i)
        events[1 + i] = m_slots[i].request;
    uint32_t result = 0;
    for (;;) {
        DWORD r = WaitForMultipleObjects(1 + SLOT_COUNT, events, FALSE, INFINITE);
        if (r == WAIT_OBJECT_0)
            break;
        if (r < WAIT_OBJECT_0 + 1 || r >= WAIT_OBJECT_0 + 1 + SLOT_COUNT) {
            SetError("the block loader's wait failed");
            result = 1;
            break;
        }
        Slot& s = m_slots[r - WAIT_OBJECT_0 - 1];
        char text[200];
        if (static_cast<uint64_t>(s.offset) + s.length > m_source->Size()) {
            snprintf(text, sizeof text,
                     "a block of %u bytes at offset %u lies beyond the end of the file "
                     "(%llu bytes)",
                     s.length, s.offset, static_cast<unsigned long long>(m_source->Size()));
            SetError(text);
            result = 1;
            break;
        }
        if (!m_source->ReadAt(s.offset, s.buffer, s.length)) {
            snprintf(text, sizeof text, "a block of %u bytes at offset %u cannot be read", s.length,
                     s.offset);
            SetError(text);
            result = 1;
            break;
        }
        ResetEvent(s.request);
        SetEvent(s.done);
    }
    m_source.reset();
    return result;
}
