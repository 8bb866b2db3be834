#include "CRecordStreamReader.h"

#include <cstdarg>
#include <cstdio>

#include "WireReader.h"

CRecordStreamReader::CRecordStreamReader(CRecordFileReader& file, uint32_t kind)
    : m_file(file), m_kind(kind), m_blocks(file.StreamBlocks(kind))
{}

int CRecordStreamReader::Fail(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    m_error = text;
    m_failed = true;
    return FAILED;
}

bool CRecordStreamReader::LoadNextBlock()
{
    const REC_BLOCK_ENTRY& e = m_blocks[m_nextBlock++];
    m_blockOffset = e.offset;
    m_offset = 0;
    if (!m_file.ReadBlock(e, m_buffer)) {
        Fail("stream %u: %s", m_kind, m_file.Error().c_str());
        return false;
    }
    return true;
}

int CRecordStreamReader::Next(RecRecord& out)
{
    if (m_failed)
        return FAILED;
    while (m_offset >= m_buffer.size()) {
        if (m_nextBlock >= m_blocks.size())
            return END;
        if (!LoadNextBlock())
            return FAILED;
    }

    WireReader r(m_buffer.data() + m_offset, m_buffer.size() - m_offset);
    REC_ITEM item;
    if (!r.Record(item))
        return Fail("stream %u: the block at offset %u ends inside a record head (byte %u)", m_kind,
                    m_blockOffset, static_cast<unsigned>(m_offset));
    if (item.length > r.Remaining())
        return Fail("stream %u: a record of %u bytes runs past the end of the block at offset "
                    "%u (byte %u)",
                    m_kind, item.length, m_blockOffset, static_cast<unsigned>(m_offset));
    if (item.time < m_lastTime)
        return Fail("stream %u: record time %u ms comes after %u ms (block at offset %u)", m_kind,
                    item.time, m_lastTime, m_blockOffset);

    out.kind = m_kind;
    out.time = item.time;
    out.prefix = 0;
    uint32_t length = item.length;
    if (RecStreamHasPrefix(m_kind)) {
        if (length < 4)
            return Fail("stream %u: a record of %u bytes has no room for its prefix word "
                        "(block at offset %u)",
                        m_kind, length, m_blockOffset);
        r.U32(out.prefix);
        length -= 4;
    }
    out.payload = r.Current();
    out.length = length;
    if (m_kind == REC_STREAM_CHAT && (length == 0 || out.payload[length - 1] != '\0'))
        return Fail("stream %u: a chat text lacks its terminator (block at offset %u)", m_kind,
                    m_blockOffset);

    m_lastTime = item.time;
    m_offset += sizeof(REC_ITEM) + item.length;
    return RECORD;
}
