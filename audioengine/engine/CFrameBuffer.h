#pragma once
#include <cstdint>

namespace RavoEngine {

// One coded frame in a source's frame queue: a block grown to fit on first
// use, its length and the frame's sequence number.
class CFrameBuffer
{
public:
    CFrameBuffer() = default;
    ~CFrameBuffer();

    CFrameBuffer(const CFrameBuffer&) = delete;
    CFrameBuffer& operator=(const CFrameBuffer&) = delete;

    // Grows the block to length when needed (the old block is freed first; a
    // failed growth leaves capacity 0), copies the bytes and sets the length.
    bool SetData(const uint8_t* bytes, uint32_t length);

    const uint8_t* GetData() const { return m_data; }
    uint32_t GetLength() const { return m_length; }
    uint32_t GetCapacity() const { return m_capacity; }
    uint32_t GetSequence() const { return m_sequence; }
    void SetSequence(uint32_t sequence) { m_sequence = sequence; }

private:
    uint8_t* m_data = nullptr;
    uint32_t m_capacity = 0;
    uint32_t m_length = 0;
    uint32_t m_sequence = 0;
};

} // namespace RavoEngine
