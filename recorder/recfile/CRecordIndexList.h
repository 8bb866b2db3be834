#pragma once
#include <cstdint>

#include "IRecordOutput.h"
#include "RecordFormat.h"

// One index chain of the recording file: the entries not yet written, kept as
// the pending chunk, and the offset of the chain's last written chunk, whose
// link word the next chunk patches.
class CRecordIndexList
{
public:
    // linkOffset: the header word that points to the chain's first chunk.
    explicit CRecordIndexList(uint32_t linkOffset);

    // Adds one 20-byte entry. When the pending chunk is full it is written
    // first; false (entry not added) when that write fails.
    bool Add(IRecordOutput& out, const REC_BLOCK_ENTRY& entry);
    bool Add(IRecordOutput& out, const REC_FILE_ENTRY& entry);
    // Appends the pending chunk when it holds an entry and links it into the
    // chain. The chunk is complete on disk before anything points to it.
    bool WritePending(IRecordOutput& out);

    uint32_t PendingCount() const { return m_count; }
    uint32_t LastChunk() const { return m_lastChunk; }

private:
    bool AddRaw(IRecordOutput& out, const void* entry);

    uint32_t m_linkOffset;
    uint32_t m_lastChunk = REC_NO_CHUNK;
    uint32_t m_count = 0;
    unsigned char m_entries[REC_CHUNK_ENTRIES * sizeof(REC_BLOCK_ENTRY)];
};
