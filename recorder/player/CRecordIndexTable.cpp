#include "CRecordIndexTable.h"

#include <cstdarg>
#include <cstdio>
#include <new>

#include "WireReader.h"

bool CRecordIndexTable::Fail(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    m_error = text;
    m_entries.clear();
    return false;
}

bool CRecordIndexTable::Load(IRecordSource& source, uint32_t wordOffset)
{
    m_entries.clear();
    m_error.clear();
    const char* chain = wordOffset == REC_BLOCK_CHAIN_OFFSET ? "block index" : "document index";
    unsigned char word[4];
    if (!source.ReadAt(wordOffset, word, sizeof word))
        return Fail("the file ends inside its header");
    WireReader wr(word, sizeof word);
    uint32_t at = 0;
    wr.U32(at);
    uint32_t previous = 0;
    std::vector<unsigned char> raw;
    try {
        while (at != REC_NO_CHUNK) {
            // Chunks are appended one after another, so every link points
            // further into the file; anything else is a damaged chain.
            if (at < REC_DATA_OFFSET || (previous && at <= previous))
                return Fail("%s chain is damaged: a link points back to offset %u", chain, at);
            unsigned char headRaw[sizeof(REC_INDEX_CHUNK_HEAD)];
            if (!source.ReadAt(at, headRaw, sizeof headRaw))
                return Fail("%s chunk at offset %u lies beyond the end of the file", chain, at);
            WireReader hr(headRaw, sizeof headRaw);
            REC_INDEX_CHUNK_HEAD head;
            hr.Record(head);
            if (head.count < 1 || head.count > REC_CHUNK_ENTRIES)
                return Fail("%s chunk at offset %u holds %u entries", chain, at, head.count);
            raw.resize(head.count * sizeof(REC_BLOCK_ENTRY));
            if (!source.ReadAt(static_cast<uint64_t>(at) + sizeof headRaw, raw.data(),
                               static_cast<uint32_t>(raw.size())))
                return Fail("%s chunk at offset %u is cut short", chain, at);
            WireReader r(raw.data(), raw.size());
            for (uint32_t i = 0; i < head.count; ++i) {
                REC_BLOCK_ENTRY e;
                r.Record(e);
                m_entries.push_back(e);
            }
            previous = at;
            at = head.next;
        }
    } catch (const std::bad_alloc&) {
        return Fail("no memory for the %s", chain);
    }
    return true;
}

const REC_BLOCK_ENTRY* CRecordIndexTable::FindBlock(uint32_t kind, uint32_t minTime) const
{
    for (const REC_BLOCK_ENTRY& e : m_entries)
        if (e.kind == kind && e.firstTime >= minTime)
            return &e;
    return nullptr;
}

const REC_BLOCK_ENTRY* CRecordIndexTable::FindDocument(uint32_t key1, uint32_t key2) const
{
    for (const REC_BLOCK_ENTRY& e : m_entries)
        if (e.kind == key1 && e.firstTime == key2)
            return &e;
    return nullptr;
}

std::vector<REC_BLOCK_ENTRY> CRecordIndexTable::StreamBlocks(uint32_t kind) const
{
    // Several blocks may start in the same millisecond (a stream buffer that
    // fills within one): every one of them is played, in the order written.
    std::vector<REC_BLOCK_ENTRY> blocks;
    for (const REC_BLOCK_ENTRY& e : m_entries) {
        if (e.kind != kind || e.length == 0)
            continue;
        if (!blocks.empty() && e.firstTime < blocks.back().firstTime)
            continue;
        blocks.push_back(e);
    }
    return blocks;
}
