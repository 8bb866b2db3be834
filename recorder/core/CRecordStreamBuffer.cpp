#include "CRecordStreamBuffer.h"

#include <cstring>
#include <new>

#include "RecordFormat.h"
#include "WireWriter.h"

CRecordStreamBuffer::CRecordStreamBuffer(uint32_t kind, uint32_t capacity)
    : m_kind(kind), m_capacity(capacity), m_buffer(new (std::nothrow) unsigned char[capacity])
{
    InitializeCriticalSection(&m_lock);
}

CRecordStreamBuffer::~CRecordStreamBuffer()
{
    delete[] m_buffer;
    DeleteCriticalSection(&m_lock);
}

bool CRecordStreamBuffer::Fits(uint32_t length) const
{
    const uint64_t needed = static_cast<uint64_t>(m_used) + sizeof(REC_ITEM) + length;
    return needed <= m_capacity;
}

void CRecordStreamBuffer::Put(uint32_t time, const uint32_t* prefix, const void* payload,
                              uint32_t payloadLength)
{
    if (m_used == 0)
        m_firstTime = time;
    const uint32_t length = payloadLength + (prefix ? 4 : 0);
    WireWriter w(m_buffer + m_used, m_capacity - m_used);
    w.U32(time);
    w.U32(length);
    if (prefix)
        w.U32(*prefix);
    w.Bytes(payload, payloadLength);
    if (w.Ok())
        m_used += sizeof(REC_ITEM) + length;
}

unsigned char* CRecordStreamBuffer::Swap(unsigned char* fresh)
{
    unsigned char* full = m_buffer;
    m_buffer = fresh;
    m_used = 0;
    return full;
}

unsigned char* CRecordStreamBuffer::Restore(unsigned char* full, uint32_t used)
{
    unsigned char* fresh = m_buffer;
    m_buffer = full;
    m_used = used;
    return fresh;
}
