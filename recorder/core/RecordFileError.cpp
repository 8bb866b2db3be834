#include "RecordFileError.h"

#include <windows.h>

uint32_t RecFileErrorCauseOf(uint32_t osError)
{
    switch (osError) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return REC_CAUSE_DISK_FULL;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return REC_CAUSE_ACCESS_DENIED;
    default:
        return REC_CAUSE_GENERIC;
    }
}
