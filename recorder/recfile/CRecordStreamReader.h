#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "CRecordFileReader.h"
#include "RecRecord.h"

// Walks the records of one stream, block after block in the order they were
// written. Each block is checked as it is read: a record head or body that
// runs past its block, a record too short for its prefix word, a chat text
// without its terminator or a time earlier than the one before ends the walk
// with an error.
class CRecordStreamReader
{
public:
    enum Result { FAILED = -1, END = 0, RECORD = 1 };

    CRecordStreamReader(CRecordFileReader& file, uint32_t kind);

    // RECORD with out filled, END after the last record, FAILED on a fault.
    int Next(RecRecord& out);
    const std::string& Error() const { return m_error; }
    uint32_t Kind() const { return m_kind; }
    size_t BlockCount() const { return m_blocks.size(); }

private:
    int Fail(const char* format, ...);
    bool LoadNextBlock();

    CRecordFileReader& m_file;
    uint32_t m_kind;
    std::vector<REC_BLOCK_ENTRY> m_blocks;
    size_t m_nextBlock = 0;
    std::vector<unsigned char> m_buffer;
    size_t m_offset = 0;
    uint32_t m_blockOffset = 0; // file offset of the block in m_buffer
    uint32_t m_lastTime = 0;
    bool m_failed = false;
    std::string m_error;
};
