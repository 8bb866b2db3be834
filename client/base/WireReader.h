#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "CopyBytes.h"

// Bounds-checked reading of little-endian wire and file records. Every read
// past the end fails and leaves the reader failed; nothing reads outside the
// buffer it was given.
class WireReader
{
public:
    WireReader(const void* data, size_t size)
        : m_data(static_cast<const unsigned char*>(data)), m_size(data ? size : 0)
    {}

    size_t Size() const { return m_size; }
    size_t Offset() const { return m_offset; }
    size_t Remaining() const { return m_failed ? 0 : m_size - m_offset; }
    bool Ok() const { return !m_failed; }
    const unsigned char* Current() const { return m_data + m_offset; }

    bool Seek(size_t offset)
    {
        if (m_failed || offset > m_size)
            return Fail();
        m_offset = offset;
        return true;
    }
    bool Skip(size_t count)
    {
        if (m_failed || count > m_size - m_offset)
            return Fail();
        m_offset += count;
        return true;
    }
    bool Bytes(void* out, size_t count)
    {
        if (m_failed || count > m_size - m_offset)
            return Fail();
        if (count)
            CopyBytes(out, m_data + m_offset, count);
        m_offset += count;
        return true;
    }
    bool U8(uint8_t& v) { return Bytes(&v, 1); }
    bool U16(uint16_t& v) { return Little(v); }
    bool U32(uint32_t& v) { return Little(v); }
    bool I16(int16_t& v) { return Little(v); }
    bool I32(int32_t& v) { return Little(v); }

    // A packed record of plain bytes laid out little-endian, as on x86.
    template <typename T>
    bool Record(T& out)
    {
        static_assert(std::is_trivially_copyable<T>::value, "records are plain bytes");
        return Bytes(&out, sizeof(T));
    }

private:
    template <typename T>
    bool Little(T& v)
    {
        unsigned char b[sizeof(T)];
        if (!Bytes(b, sizeof b))
            return false;
        typename std::make_unsigned<T>::type u = 0;
        for (size_t i = sizeof(T); i-- > 0;)
            u = static_cast<decltype(u)>((u << 8) | b[i]);
        v = static_cast<T>(u);
        return true;
    }
    bool Fail()
    {
        m_failed = true;
        return false;
    }

    const unsigned char* m_data;
    size_t m_size;
    size_t m_offset = 0;
    bool m_failed = false;
};
