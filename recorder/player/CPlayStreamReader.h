#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "CBlockLoader.h"
#include "CRecordIndexTable.h"

// The records of one stream as the play thread takes them: two block
// buffers, one being read while the loader fills the other with the next
// block. A record that does not fit its block, a block the loader cannot
// read and a block too long to hold fail the stream; the failure is final.
class CPlayStreamReader
{
public:
    enum : uint32_t { NO_RECORD = 0xFFFFFFFF };

    CPlayStreamReader(uint32_t kind, CBlockLoader& loader, uint32_t capacity,
                      const CRecordIndexTable& table);

    CPlayStreamReader(const CPlayStreamReader&) = delete;
    CPlayStreamReader& operator=(const CPlayStreamReader&) = delete;

    // Positions the stream at the first record at or after t; false on a
    // failure.
    bool Seek(uint32_t t);
    // Time of the next record, NO_RECORD when the stream is exhausted or has
    // failed (see Failed).
    uint32_t Peek();
    // Takes the next record: its bytes after the time and length words.
    // They stay valid until the next Peek, Take or Seek.
    bool Take(const unsigned char** record, uint32_t* length);

    bool Failed() const { return m_failed; }
    const std::string& Error() const { return m_error; }
    uint32_t Kind() const { return m_kind; }
    size_t BlockCount() const { return m_entries.size(); }

private:
    bool Prepare();
    bool Fail(const char* format, ...);
    bool Fit(int buffer, uint32_t length);
    bool Settle();

    uint32_t m_kind;
    CBlockLoader& m_loader;
    uint32_t m_capacity;
    std::vector<unsigned char> m_buffer[2];
    uint32_t m_length[2] = {0, 0};
    int m_current = 0;
    uint32_t m_position = 0;
    bool m_exhausted = true;
    int m_pending = -1; // the buffer a requested load fills
    uint32_t m_pendingLength = 0;
    std::vector<REC_BLOCK_ENTRY> m_entries;
    size_t m_next = 0;
    bool m_failed = false;
    std::string m_error;
};
