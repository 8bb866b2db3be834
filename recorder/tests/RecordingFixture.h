#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CRecordFileOutput.h"
#include "CRecordFileReader.h"
#include "RecRecord.h"
#include "RecordFormat.h"

using Bytes = std::vector<unsigned char>;

// A scratch folder removed with everything in it when the object ends.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return m_path; }
    std::string File(const char* name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

Bytes ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const Bytes& bytes);
// The bytes of a file on disk so far, and a wait of at most limitMs for it
// to reach length bytes (true when it did).
uint32_t FileLength(const std::string& path);
bool WaitForFileLength(const std::string& path, uint32_t length, DWORD limitMs);
uint32_t WordAt(const Bytes& bytes, size_t offset);
void PutWord(Bytes& bytes, size_t offset, uint32_t value);

// A record as read back, with its payload copied.
struct ReadRecord
{
    uint32_t kind;
    uint32_t time;
    uint32_t prefix;
    Bytes payload;
};

bool OpenFromMemory(CRecordFileReader& reader, const Bytes& bytes);
// Every record of one stream; false with the reader's error on a fault.
bool ReadStream(CRecordFileReader& reader, uint32_t kind, std::vector<ReadRecord>& out,
                std::string* error = nullptr);

// The file output of the recorder with faults on demand: appends fail once a
// byte budget is spent, the disk can look nearly full, and appends can be
// held until the test lets them go.
class FaultyOutput : public CRecordFileOutput
{
public:
    struct Control
    {
        std::atomic<int64_t> appendBudget{-1};   // bytes still allowed; -1 no limit
        std::atomic<int64_t> failLongerThan{-1}; // appends longer than this break off there
        std::atomic<uint32_t> failError{ERROR_DISK_FULL};
        std::atomic<int64_t> freeBytes{-1}; // -1: ask the system
        HANDLE gate = nullptr;              // when set, appends wait for it
        std::atomic<uint32_t> appends{0};
    };
    explicit FaultyOutput(std::shared_ptr<Control> control) : m_control(std::move(control)) {}

    bool Append(const void* data, uint32_t length) override;
    bool QueryFreeBytes(uint64_t& bytes) override;
    uint32_t LastError() const override;

private:
    std::shared_ptr<Control> m_control;
    uint32_t m_fakeError = 0;
};

// An output held in memory, for the index chains.
class MemoryOutput : public IRecordOutput
{
public:
    Bytes bytes;
    bool Create(const char*) override
    {
        bytes.clear();
        return true;
    }
    bool IsOpen() const override { return true; }
    bool Append(const void* data, uint32_t length) override;
    bool WriteAt(uint32_t offset, const void* data, uint32_t length) override;
    uint32_t Length() const override { return static_cast<uint32_t>(bytes.size()); }
    bool Truncate(uint32_t length) override
    {
        bytes.resize(length);
        return true;
    }
    bool Flush() override { return true; }
    void Close() override {}
    bool QueryFreeBytes(uint64_t&) override { return false; }
    uint32_t LastError() const override { return 0; }
    const char* Path() const override { return "memory"; }
};

// Builds recording files byte by byte, faults included.
class FileBuilder
{
public:
    FileBuilder();
    Bytes bytes;
    // Appends raw bytes; returns their offset.
    uint32_t Append(const Bytes& data);
    // A record: head, optional prefix word, payload.
    static void AddRecord(Bytes& block, uint32_t time, const Bytes& payload,
                          const uint32_t* prefix = nullptr);
    // Appends a block and returns its entry.
    REC_BLOCK_ENTRY AddBlock(uint32_t kind, uint32_t firstTime, const Bytes& block);
    // Appends a chunk of entries with the given next word; returns its offset.
    uint32_t AddChunk(const std::vector<REC_BLOCK_ENTRY>& entries, uint32_t next = REC_NO_CHUNK);
    uint32_t AddChunk(const std::vector<REC_FILE_ENTRY>& entries, uint32_t next = REC_NO_CHUNK);
};
