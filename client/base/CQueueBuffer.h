#pragma once
#include <cstdint>

// One buffer of a CBufferPool: a fixed data block and the count of bytes in use.
// A buffer built with capacity 0 has no block until EnsureCapacity grows it.
class CQueueBuffer
{
public:
    explicit CQueueBuffer(uint32_t capacity);
    virtual ~CQueueBuffer();

    CQueueBuffer(const CQueueBuffer&) = delete;
    CQueueBuffer& operator=(const CQueueBuffer&) = delete;

    unsigned char* GetData() { return m_data; }
    const unsigned char* GetData() const { return m_data; }
    uint32_t GetCapacity() const { return m_capacity; }
    uint32_t GetLength() const { return m_length; }
    void SetLength(uint32_t length) { m_length = length; }

    // True when the block now holds at least capacity bytes. Growing keeps
    // the bytes in use.
    bool EnsureCapacity(uint32_t capacity);

    // False when construction could not allocate the block it asked for.
    bool IsValid() const { return m_valid; }

private:
    uint32_t m_capacity;
    uint32_t m_length = 0;
    unsigned char* m_data = nullptr;
    bool m_valid = true;
};
