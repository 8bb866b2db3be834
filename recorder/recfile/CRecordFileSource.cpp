#include "CRecordFileSource.h"

CRecordFileSource::~CRecordFileSource()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
}

bool CRecordFileSource::Open(const char* path)
{
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
    m_size = 0;
    if (!path) {
        m_lastError = ERROR_INVALID_NAME;
        return false;
    }
    m_file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) {
        m_lastError = GetLastError();
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_file, &size)) {
        m_lastError = GetLastError();
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        return false;
    }
    m_size = static_cast<uint64_t>(size.QuadPart);
    return true;
}

bool CRecordFileSource::ReadAt(uint64_t offset, void* data, uint32_t length)
{
    if (m_file == INVALID_HANDLE_VALUE || offset > m_size || length > m_size - offset)
        return false;
    // Each read names its own offset, so readers on several threads do not
    // move a shared file position under each other.
    char* p = static_cast<char*>(data);
    while (length) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        if (!ReadFile(m_file, p, length, &got, &at) || got == 0)
            return false;
        p += got;
        offset += got;
        length -= got;
    }
    return true;
}
