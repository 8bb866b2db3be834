#pragma once
#include <cstdint>
#include <string>

// Causes of a file error, numbered as the recorder's callers know them.
enum RecFileErrorCause : uint32_t {
    REC_CAUSE_NONE = 0,
    REC_CAUSE_GENERIC = 1,
    REC_CAUSE_ACCESS_DENIED = 5,
    REC_CAUSE_DISK_FULL = 13,
};

// A file error kept by the writer: what went wrong, the system's error code
// (-1 when the writer itself found the fault) and the file concerned.
struct RecordFileError
{
    uint32_t cause = REC_CAUSE_NONE;
    int32_t osError = 0;
    std::string fileName;
};

// The cause a system error code stands for.
uint32_t RecFileErrorCauseOf(uint32_t osError);
