#pragma once
#include <cstdint>

// Where the recorder's writer puts the recording: an append-mostly file with
// a few words patched in place. A seam so that tests can make writes fail or
// the disk look full. Every failing call leaves the cause in LastError().
class IRecordOutput
{
public:
    virtual ~IRecordOutput() = default;

    // Creates the file write-only, shared with nobody.
    virtual bool Create(const char* path) = 0;
    virtual bool IsOpen() const = 0;
    // Appends at the end of the file.
    virtual bool Append(const void* data, uint32_t length) = 0;
    // Overwrites bytes inside the file; the next append still goes to the end.
    virtual bool WriteAt(uint32_t offset, const void* data, uint32_t length) = 0;
    virtual uint32_t Length() const = 0;
    // Cuts the file back to length; the next append goes there.
    virtual bool Truncate(uint32_t length) = 0;
    virtual bool Flush() = 0;
    virtual void Close() = 0;
    // Bytes available to the caller on the file's drive; false when the
    // system cannot tell.
    virtual bool QueryFreeBytes(uint64_t& bytes) = 0;
    // The system error code of the last failure.
    virtual uint32_t LastError() const = 0;
    virtual const char* Path() const = 0;
};
