#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "CopyBytes.h"

// Bounds-checked writing of little-endian wire and file records into a
// caller's buffer. A write that does not fit fails, writes nothing and leaves
// the writer failed.
class WireWriter
{
public:
    WireWriter(void* data, size_t capacity)
        : m_data(static_cast<unsigned char*>(data)), m_capacity(data ? capacity : 0)
    {}

    size_t Offset() const { return m_offset; }
    size_t Capacity() const { return m_capacity; }
    bool Ok() const { return !m_failed; }

    bool Seek(size_t offset)
    {
        if (m_failed || offset > m_capacity)
            return Fail();
        m_offset = offset;
        return true;
    }
    bool Bytes(const void* in, size_t count)
    {
        if (m_failed || count > m_capacity - m_offset)
            return Fail();
        if (count)
            CopyBytes(m_data + m_offset, in, count);
        m_offset += count;
        return true;
    }
    bool Zeros(size_t count)
    {
        if (m_failed || count > m_capacity - m_offset)
            return Fail();
        memset(m_data + m_offset, 0, count);
        m_offset += count;
        return true;
    }
    bool U8(uint8_t v) { return Bytes(&v, 1); }
    bool U16(uint16_t v) { return Little(v); }
    bool U32(uint32_t v) { return Little(v); }
    bool I16(int16_t v) { return Little(static_cast<uint16_t>(v)); }
    bool I32(int32_t v) { return Little(static_cast<uint32_t>(v)); }

    template <typename T>
    bool Record(const T& in)
    {
        static_assert(std::is_trivially_copyable<T>::value, "records are plain bytes");
        return Bytes(&in, sizeof(T));
    }

private:
    template <typename T>
    bool Little(T v)
    {
        unsigned char b[sizeof(T)];
        for (size_t i = 0; i < sizeof(T); ++i)
            b[i] = static_cast<unsigned char>(v >> (8 * i));
        return Bytes(b, sizeof b);
    }
    bool Fail()
    {
        m_failed = true;
        return false;
    }

    unsigned char* m_data;
    size_t m_capacity;
    size_t m_offset = 0;
    bool m_failed = false;
};
