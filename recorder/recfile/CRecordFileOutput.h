#pragma once
#include <windows.h>

#include <string>

#include "IRecordOutput.h"

// The recording file on disk.
class CRecordFileOutput : public IRecordOutput
{
public:
    CRecordFileOutput() = default;
    ~CRecordFileOutput() override;

    CRecordFileOutput(const CRecordFileOutput&) = delete;
    CRecordFileOutput& operator=(const CRecordFileOutput&) = delete;

    bool Create(const char* path) override;
    bool IsOpen() const override { return m_file != INVALID_HANDLE_VALUE; }
    bool Append(const void* data, uint32_t length) override;
    bool WriteAt(uint32_t offset, const void* data, uint32_t length) override;
    uint32_t Length() const override { return m_length; }
    bool Truncate(uint32_t length) override;
    bool Flush() override;
    void Close() override;
    bool QueryFreeBytes(uint64_t& bytes) override;
    uint32_t LastError() const override { return m_lastError; }
    const char* Path() const override { return m_path.c_str(); }

private:
    bool Fail(DWORD error);
    bool SetPosition(uint32_t offset);
    bool WriteAll(const void* data, uint32_t length);
    bool FindRoot();

    HANDLE m_file = INVALID_HANDLE_VALUE;
    uint32_t m_length = 0;
    uint32_t m_lastError = 0;
    std::string m_path;
    std::string m_root; // the drive's root, once found
};
