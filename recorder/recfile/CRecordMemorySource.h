#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "IRecordSource.h"

// A recording held in memory.
class CRecordMemorySource : public IRecordSource
{
public:
    explicit CRecordMemorySource(std::vector<unsigned char> bytes) : m_bytes(std::move(bytes)) {}

    uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(uint64_t offset, void* data, uint32_t length) override
    {
        if (offset > m_bytes.size() || length > m_bytes.size() - offset)
            return false;
        if (length)
            memcpy(data, m_bytes.data() + offset, length);
        return true;
    }

private:
    std::vector<unsigned char> m_bytes;
};
