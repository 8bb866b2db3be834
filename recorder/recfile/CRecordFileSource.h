#pragma once
#include <windows.h>

#include <cstdint>

#include "IRecordSource.h"

// A recording file opened for reading; others may read it at the same time,
// and ReadAt may be called from several threads at once.
class CRecordFileSource : public IRecordSource
{
public:
    CRecordFileSource() = default;
    ~CRecordFileSource() override;

    CRecordFileSource(const CRecordFileSource&) = delete;
    CRecordFileSource& operator=(const CRecordFileSource&) = delete;

    bool Open(const char* path);
    uint32_t LastError() const { return m_lastError; }

    uint64_t Size() const override { return m_size; }
    bool ReadAt(uint64_t offset, void* data, uint32_t length) override;

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    uint64_t m_size = 0;
    uint32_t m_lastError = 0;
};
