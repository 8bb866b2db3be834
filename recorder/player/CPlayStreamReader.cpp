#include "CPlayStreamReader.h"

#include <cstdarg>
#include <cstdio>
#include <new>

#include "WireReader.h"

CPlayStreamReader::CPlayStreamReader(uint32_t kind, CBlockLoader& loader, uint32_t capacity,
                                     const CRecordIndexTable& table)
    : m_kind(kind), m_loader(loader), m_capacity(capacity), m_entries(table.StreamBlocks(kind))
{}

bool CPlayStreamReader::Fail(const char* format, ...)
{
    char text[300];
    int n = snprintf(text, sizeof text, "stream %u: ", m_kind);
    va_list args;
    va_start(args, format);
    vsnprintf(text + n, sizeof text - n, format, args);
    va_end(args);
    m_error = text;
    m_failed = true;
    m_exhausted = true;
    return false;
}

bool CPlayStreamReader::Fit(int buffer, uint32_t length)
{
    if (length > REC_MAX_BLOCK)
        return Fail("a block of %u bytes is longer than %u", length,
                    static_cast<unsigned>(REC_MAX_BLOCK));
    uint32_t want = length > m_capacity ? length : m_capacity;
    try {
        if (m_buffer[buffer].size() < want)
            m_buffer[buffer].resize(want);
    } catch (const std::bad_alloc&) {
        return Fail("no memory for a block of %u bytes", length);
    }
    return true;
}

// Waits for a load in flight, so that no buffer is written while it is
// given up or reused.
bool CPlayStreamReader::Settle()
{
    if (m_pending < 0)
        return true;
    m_pending = -1;
    if (!m_loader.Wait(m_kind - 1))
        return Fail("the block loader stopped: %s", m_loader.Error().c_str());
    return true;
}

bool CPlayStreamReader::Seek(uint32_t t)
{
    if (m_failed)
        return false;
    if (!Settle())
        return false;
    m_length[0] = m_length[1] = 0;
    m_current = 0;
    m_position = 0;
    m_exhausted = true;
    if (m_entries.empty())
        return true;
    // The last block starting at or before t, then back to the first block
    // that starts in the same millisecond, whose records may reach t too.
    size_t i = m_entries.size() - 1;
    while (i > 0 && m_entries[i].firstTime > t)
        --i;
    while (i > 0 && m_entries[i - 1].firstTime == m_entries[i].firstTime)
        --i;
    const REC_BLOCK_ENTRY& e = m_entries[i];
    if (!Fit(0, e.length))
        return false;
    if (!m_loader.Request(m_kind - 1, m_buffer[0].data(), e.offset, e.length) ||
        !m_loader.Wait(m_kind - 1))
        return Fail("the block at offset %u cannot be loaded: %s", e.offset,
                    m_loader.Error().c_str());
    m_length[0] = e.length;
    m_exhausted = false;
    m_next = i + 1;
    while (Peek() < t) {
        const unsigned char* record;
        uint32_t length;
        if (!Take(&record, &length))
            return false;
    }
    return !m_failed;
}

bool CPlayStreamReader::Prepare()
{
    if (m_exhausted)
        return false;
    if (m_position >= m_length[m_current]) {
        if (m_pending < 0) {
            m_exhausted = true;
            return false;
        }
        int next = m_pending;
        if (!Settle())
            return false;
        m_length[m_current] = 0;
        m_current = next;
        m_length[m_current] = m_pendingLength;
        m_position = 0;
    }
    if (m_pending < 0 && m_next < m_entries.size() && m_position == 0) {
        const REC_BLOCK_ENTRY& e = m_entries[m_next];
        int other = 1 - m_current;
        if (!Fit(other, e.length))
            return false;
        if (!m_loader.Request(m_kind - 1, m_buffer[other].data(), e.offset, e.length))
            return Fail("the block at offset %u cannot be requested: %s", e.offset,
                        m_loader.Error().c_str());
        m_pending = other;
        m_pendingLength = e.length;
        ++m_next;
    }
    return true;
}

uint32_t CPlayStreamReader::Peek()
{
    if (!Prepare())
        return NO_RECORD;
    uint32_t left = m_length[m_current] - m_position;
    WireReader r(m_buffer[m_current].data() + m_position, left);
    REC_ITEM item;
    if (!r.Record(item) || item.length > r.Remaining()) {
        Fail("a record runs past the end of its block (byte %u of %u)", m_position,
             m_length[m_current]);
        return NO_RECORD;
    }
    return item.time;
}

bool CPlayStreamReader::Take(const unsigned char** record, uint32_t* length)
{
    if (Peek() == NO_RECORD && (m_failed || m_exhausted))
        return m_failed ? false : Fail("no record left to take");
    const unsigned char* at = m_buffer[m_current].data() + m_position;
    WireReader r(at, m_length[m_current] - m_position);
    REC_ITEM item;
    r.Record(item);
    *record = at + sizeof(REC_ITEM);
    *length = item.length;
    m_position += sizeof(REC_ITEM) + item.length;
    return true;
}
