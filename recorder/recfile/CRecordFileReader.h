#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "IRecordSource.h"
#include "RecordFormat.h"

// Opens a recording: checks the header and loads both index chains. Every
// fault of the file ends in false with a readable reason in Error(); nothing
// is read outside the file and a chain that turns back on itself is refused.
// The stream readers read blocks and records through it.
class CRecordFileReader
{
public:
    CRecordFileReader() = default;

    CRecordFileReader(const CRecordFileReader&) = delete;
    CRecordFileReader& operator=(const CRecordFileReader&) = delete;

    bool Open(const char* path);
    bool Open(std::unique_ptr<IRecordSource> source);
    void Close();
    bool IsOpen() const { return m_open; }
    const std::string& Error() const { return m_error; }

    // Header; filled as soon as the header could be read, also when a chain
    // then fails to load.
    uint32_t Version() const { return m_version; }
    const std::string& Name() const { return m_name; }
    uint32_t StartTime() const { return m_startTime; }
    uint32_t TotalTime() const { return m_totalTime; }
    // The start time as local time, "%Y-%m-%d %H:%M".
    std::string FormatStartTime() const;
    uint64_t FileSize() const;

    // Entries in chain order, which is the order they were written.
    const std::vector<REC_BLOCK_ENTRY>& Blocks() const { return m_blocks; }
    const std::vector<REC_FILE_ENTRY>& Documents() const { return m_documents; }
    // The blocks of one stream, in chain order.
    std::vector<REC_BLOCK_ENTRY> StreamBlocks(uint32_t kind) const;

    // Reads a block's bytes into out (grown as needed).
    bool ReadBlock(const REC_BLOCK_ENTRY& entry, std::vector<unsigned char>& out);
    // The document embedded under this key pair; null when there is none.
    const REC_FILE_ENTRY* FindDocument(uint32_t key1, uint32_t key2) const;
    bool ReadDocument(uint32_t key1, uint32_t key2, std::vector<unsigned char>& out);

    // The total time of a stopped recording, read from the header alone; 0
    // when the file cannot be opened, is no recording or is too new.
    static uint32_t ReadTotalTime(const char* path);

private:
    bool ReadHeader();
    bool LoadChain(uint32_t first, bool blockChain);
    bool Fail(const char* format, ...);

    std::unique_ptr<IRecordSource> m_source;
    bool m_open = false;
    std::string m_error;
    uint32_t m_version = 0;
    std::string m_name;
    uint32_t m_startTime = 0;
    uint32_t m_totalTime = 0;
    uint32_t m_firstBlockChunk = REC_NO_CHUNK;
    uint32_t m_firstFileChunk = REC_NO_CHUNK;
    std::vector<REC_BLOCK_ENTRY> m_blocks;
    std::vector<REC_FILE_ENTRY> m_documents;
};
