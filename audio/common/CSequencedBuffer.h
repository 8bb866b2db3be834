#pragma once
#include <cstdint>

namespace AudioCommon {

// One packet of a CSequencedPool: a block that grows to what is copied into
// it, the bytes in use and the packet's sequence number.
class CSequencedBuffer
{
public:
    explicit CSequencedBuffer(uint32_t capacity = 0);
    ~CSequencedBuffer();

    CSequencedBuffer(const CSequencedBuffer&) = delete;
    CSequencedBuffer& operator=(const CSequencedBuffer&) = delete;

    // Copies the bytes in and sets the length. A block too small is freed
    // first and one of exactly the new length is made; when that fails the
    // buffer is left empty with capacity 0 and false is returned.
    bool SetData(const void* bytes, uint32_t length);

    uint8_t* GetData() { return m_data; }
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

} // namespace AudioCommon
