#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "IRecordSource.h"
#include "RecordFormat.h"

// One index chain of a recording (the stream blocks or the embedded
// documents), in chain order. Entries are kept as they stand in the file:
// what each one points at is checked only when it is used.
class CRecordIndexTable
{
public:
    // Loads the chain whose first chunk the header word at wordOffset (80 or
    // 84) names. A chunk that cannot be read whole, holds no or too many
    // entries or turns back in the file fails the load, and nothing stays
    // loaded.
    bool Load(IRecordSource& source, uint32_t wordOffset);
    void Clear() { m_entries.clear(); }

    // The first entry of that stream kind whose first time is at least
    // minTime; null when there is none.
    const REC_BLOCK_ENTRY* FindBlock(uint32_t kind, uint32_t minTime) const;
    // The entry with exactly this key pair; null when there is none.
    const REC_BLOCK_ENTRY* FindDocument(uint32_t key1, uint32_t key2) const;
    // The blocks of one kind in play order: chain order, leaving out empty
    // blocks and any whose first time lies before the one taken last.
    std::vector<REC_BLOCK_ENTRY> StreamBlocks(uint32_t kind) const;

    const std::vector<REC_BLOCK_ENTRY>& Entries() const { return m_entries; }
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const char* format, ...);

    // Document entries share the 20-byte layout: key 1, key 2, offset,
    // length, reserved.
    std::vector<REC_BLOCK_ENTRY> m_entries;
    std::string m_error;
};
