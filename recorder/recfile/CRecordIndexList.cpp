#include "CRecordIndexList.h"

#include <cstring>
#include <vector>

#include "WireWriter.h"

static_assert(sizeof(REC_BLOCK_ENTRY) == sizeof(REC_FILE_ENTRY), "entries share a size");

CRecordIndexList::CRecordIndexList(uint32_t linkOffset) : m_linkOffset(linkOffset) {}

bool CRecordIndexList::Add(IRecordOutput& out, const REC_BLOCK_ENTRY& entry)
{
    unsigned char raw[sizeof entry];
    WireWriter w(raw, sizeof raw);
    w.Record(entry);
    return AddRaw(out, raw);
}

bool CRecordIndexList::Add(IRecordOutput& out, const REC_FILE_ENTRY& entry)
{
    unsigned char raw[sizeof entry];
    WireWriter w(raw, sizeof raw);
    w.Record(entry);
    return AddRaw(out, raw);
}

bool CRecordIndexList::AddRaw(IRecordOutput& out, const void* entry)
{
    if (m_count == REC_CHUNK_ENTRIES && !WritePending(out))
        return false;
    memcpy(m_entries + m_count * sizeof(REC_BLOCK_ENTRY), entry, sizeof(REC_BLOCK_ENTRY));
    ++m_count;
    return true;
}

bool CRecordIndexList::WritePending(IRecordOutput& out)
{
    if (m_count == 0)
        return true;
    const uint32_t entryBytes = m_count * sizeof(REC_BLOCK_ENTRY);
    std::vector<unsigned char> chunk(sizeof(REC_INDEX_CHUNK_HEAD) + entryBytes);
    WireWriter w(chunk.data(), chunk.size());
    REC_INDEX_CHUNK_HEAD head = {REC_NO_CHUNK, 0, m_count};
    w.Record(head);
    w.Bytes(m_entries, entryBytes);
    if (!w.Ok())
        return false;

    const uint32_t offset = out.Length();
    if (!out.Append(chunk.data(), static_cast<uint32_t>(chunk.size())))
        return false;
    unsigned char link[4];
    WireWriter lw(link, sizeof link);
    lw.U32(offset);
    const uint32_t linkAt = m_lastChunk == REC_NO_CHUNK ? m_linkOffset : m_lastChunk;
    if (!out.WriteAt(linkAt, link, sizeof link))
        return false;
    m_lastChunk = offset;
    m_count = 0;
    return true;
}
