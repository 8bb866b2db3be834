#include "CRecordFileReader.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>

#include "CRecordFileSource.h"
#include "WireReader.h"

bool CRecordFileReader::Fail(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    m_error = text;
    return false;
}

void CRecordFileReader::Close()
{
    m_source.reset();
    m_open = false;
    m_error.clear();
    m_version = 0;
    m_name.clear();
    m_startTime = 0;
    m_totalTime = 0;
    m_firstBlockChunk = REC_NO_CHUNK;
    m_firstFileChunk = REC_NO_CHUNK;
    m_blocks.clear();
    m_documents.clear();
}

bool CRecordFileReader::Open(const char* path)
{
    Close();
    std::unique_ptr<CRecordFileSource> file(new CRecordFileSource);
    if (!file->Open(path))
        return Fail("cannot open the recording %s (system error %u)", path ? path : "(null)",
                    static_cast<unsigned>(file->LastError()));
    return Open(std::move(file));
}

bool CRecordFileReader::Open(std::unique_ptr<IRecordSource> source)
{
    Close();
    if (!source)
        return Fail("no recording to read");
    m_source = std::move(source);
    if (!ReadHeader())
        return false;
    bool loaded = false;
    try {
        loaded = LoadChain(m_firstBlockChunk, true) && LoadChain(m_firstFileChunk, false);
    } catch (const std::bad_alloc&) {
        Fail("no memory for the index of the recording");
    }
    if (!loaded) {
        // A chain that fails to load leaves nothing half loaded.
        m_blocks.clear();
        m_documents.clear();
        return false;
    }
    m_open = true;
    return true;
}

uint64_t CRecordFileReader::FileSize() const { return m_source ? m_source->Size() : 0; }

bool CRecordFileReader::ReadHeader()
{
    unsigned char raw[REC_HEADER_SIZE];
    if (!m_source->ReadAt(0, raw, sizeof raw))
        return Fail("not a recording: the file ends inside its %u-byte header (%llu bytes)",
                    static_cast<unsigned>(REC_HEADER_SIZE),
                    static_cast<unsigned long long>(m_source->Size()));
    WireReader r(raw, sizeof raw);
    REC_FILE_HEADER header;
    r.Record(header);
    if (memcmp(header.magic, REC_FILE_MAGIC, sizeof header.magic) != 0)
        return Fail("not a recording: the file does not begin with the recording mark");
    if (header.version > REC_FILE_VERSION)
        return Fail("recording version 0x%08X is newer than this reader (0x%08X)",
                    static_cast<unsigned>(header.version), static_cast<unsigned>(REC_FILE_VERSION));
    m_version = header.version;
    m_name.assign(header.name, strnlen(header.name, sizeof header.name));
    m_startTime = header.startTime;
    m_totalTime = header.totalTime;
    m_firstBlockChunk = header.firstBlockChunk;
    m_firstFileChunk = header.firstFileChunk;
    return true;
}

bool CRecordFileReader::LoadChain(uint32_t first, bool blockChain)
{
    const char* chain = blockChain ? "block index" : "document index";
    const uint64_t size = m_source->Size();
    uint32_t at = first;
    uint32_t previous = 0;
    std::vector<unsigned char> raw;
    while (at != REC_NO_CHUNK) {
        // Chunks are appended one after the other, so each link points
        // further into the file; anything else is a damaged or looping chain.
        if (at < REC_DATA_OFFSET)
            return Fail("%s chunk offset %u points into the file header", chain, at);
        if (previous && at <= previous)
            return Fail("%s chain turns back from offset %u to %u", chain, previous, at);
        unsigned char headRaw[sizeof(REC_INDEX_CHUNK_HEAD)];
        if (!m_source->ReadAt(at, headRaw, sizeof headRaw))
            return Fail("%s chunk at offset %u lies beyond the end of the file (%llu bytes)", chain,
                        at, static_cast<unsigned long long>(size));
        WireReader hr(headRaw, sizeof headRaw);
        REC_INDEX_CHUNK_HEAD head;
        hr.Record(head);
        if (head.count < 1 || head.count > REC_CHUNK_ENTRIES)
            return Fail("%s chunk at offset %u holds %u entries (1 to %u allowed)", chain, at,
                        head.count, static_cast<unsigned>(REC_CHUNK_ENTRIES));
        raw.resize(head.count * sizeof(REC_BLOCK_ENTRY));
        if (!m_source->ReadAt(static_cast<uint64_t>(at) + sizeof headRaw, raw.data(),
                              static_cast<uint32_t>(raw.size())))
            return Fail("%s chunk at offset %u is cut short: the file ends inside its %u entries",
                        chain, at, head.count);
        WireReader r(raw.data(), raw.size());
        for (uint32_t i = 0; i < head.count; ++i) {
            if (blockChain) {
                REC_BLOCK_ENTRY e;
                r.Record(e);
                if (e.kind < REC_STREAM_AUDIO || e.kind > REC_STREAM_CHAT)
                    return Fail("block entry %u of the chunk at offset %u has stream kind %u", i,
                                at, e.kind);
                if (e.length > REC_MAX_BLOCK)
                    return Fail("block entry %u of the chunk at offset %u is %u bytes long "
                                "(at most %u)",
                                i, at, e.length, static_cast<unsigned>(REC_MAX_BLOCK));
                if (e.offset < REC_DATA_OFFSET || static_cast<uint64_t>(e.offset) + e.length > size)
                    return Fail("block entry %u of the chunk at offset %u points outside the "
                                "file (offset %u, length %u)",
                                i, at, e.offset, e.length);
                m_blocks.push_back(e);
            } else {
                REC_FILE_ENTRY e;
                r.Record(e);
                if (e.offset < REC_DATA_OFFSET || static_cast<uint64_t>(e.offset) + e.length > size)
                    return Fail("document entry %u of the chunk at offset %u points outside "
                                "the file (offset %u, length %u)",
                                i, at, e.offset, e.length);
                m_documents.push_back(e);
            }
        }
        previous = at;
        at = head.next;
    }
    return true;
}

std::string CRecordFileReader::FormatStartTime() const
{
    time_t t = static_cast<time_t>(m_startTime);
    struct tm* local = localtime(&t);
    if (!local)
        return std::string();
    char text[32];
    size_t n = strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
    return std::string(text, n);
}

std::vector<REC_BLOCK_ENTRY> CRecordFileReader::StreamBlocks(uint32_t kind) const
{
    std::vector<REC_BLOCK_ENTRY> blocks;
    for (const REC_BLOCK_ENTRY& e : m_blocks)
        if (e.kind == kind)
            blocks.push_back(e);
    return blocks;
}

bool CRecordFileReader::ReadBlock(const REC_BLOCK_ENTRY& entry, std::vector<unsigned char>& out)
{
    if (!m_source)
        return Fail("no recording is open");
    if (entry.length > REC_MAX_BLOCK)
        return Fail("block at offset %u is %u bytes long (at most %u)", entry.offset, entry.length,
                    static_cast<unsigned>(REC_MAX_BLOCK));
    try {
        out.resize(entry.length);
    } catch (const std::bad_alloc&) {
        return Fail("no memory for a block of %u bytes", entry.length);
    }
    if (!m_source->ReadAt(entry.offset, out.data(), entry.length))
        return Fail("block at offset %u (%u bytes) cannot be read", entry.offset, entry.length);
    return true;
}

const REC_FILE_ENTRY* CRecordFileReader::FindDocument(uint32_t key1, uint32_t key2) const
{
    for (const REC_FILE_ENTRY& e : m_documents)
        if (e.key1 == key1 && e.key2 == key2)
            return &e;
    return nullptr;
}

bool CRecordFileReader::ReadDocument(uint32_t key1, uint32_t key2, std::vector<unsigned char>& out)
{
    const REC_FILE_ENTRY* e = FindDocument(key1, key2);
    if (!e)
        return Fail("no document is embedded under the keys %u, %u", key1, key2);
    try {
        out.resize(e->length);
    } catch (const std::bad_alloc&) {
        return Fail("no memory for document %u, %u of %u bytes", key1, key2, e->length);
    }
    if (!m_source->ReadAt(e->offset, out.data(), e->length))
        return Fail("document %u, %u at offset %u (%u bytes) cannot be read", key1, key2, e->offset,
                    e->length);
    return true;
}

uint32_t CRecordFileReader::ReadTotalTime(const char* path)
{
    CRecordFileSource file;
    if (!file.Open(path))
        return 0;
    unsigned char raw[REC_HEADER_SIZE];
    if (!file.ReadAt(0, raw, sizeof raw))
        return 0;
    WireReader r(raw, sizeof raw);
    REC_FILE_HEADER header;
    r.Record(header);
    if (memcmp(header.magic, REC_FILE_MAGIC, sizeof header.magic) != 0 ||
        header.version > REC_FILE_VERSION)
        return 0;
    return header.totalTime;
}
