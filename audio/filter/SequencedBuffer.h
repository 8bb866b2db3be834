#pragma once
#include <cstdint>

namespace SonvexFilterCore {

// One buffer of a SequencedQueue: data that grows to what is copied into it,
// the bytes in use and the packet's sequence number.
class SequencedBuffer
{
public:
    explicit SequencedBuffer(uint32_t capacity);
    virtual ~SequencedBuffer();

    SequencedBuffer(const SequencedBuffer&) = delete;
    SequencedBuffer& operator=(const SequencedBuffer&) = delete;

    // Copies bytes in, growing the block to exactly that length when it is
    // too small. False (and capacity 0) when the allocation fails.
    bool CopyFrom(const void* data, uint32_t length);

    unsigned char* GetData() { return m_data; }
    const unsigned char* GetData() const { return m_data; }
    uint32_t GetCapacity() const { return m_capacity; }
    uint32_t GetLength() const { return m_length; }
    uint32_t sequence = 0;

private:
    unsigned char* m_data = nullptr;
    uint32_t m_capacity = 0;
    uint32_t m_length = 0;
};

} // namespace SonvexFilterCore
