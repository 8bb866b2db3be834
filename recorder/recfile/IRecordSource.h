#pragma once
#include <cstdint>

// Random-access bytes of a recording being read: a file, or memory in tests.
class IRecordSource
{
public:
    virtual ~IRecordSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly length bytes at offset; false when they are not all there.
    virtual bool ReadAt(uint64_t offset, void* data, uint32_t length) = 0;
};
