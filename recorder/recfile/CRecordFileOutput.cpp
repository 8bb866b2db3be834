#include "CRecordFileOutput.h"

#include <cstring>

CRecordFileOutput::~CRecordFileOutput() { Close(); }

bool CRecordFileOutput::Fail(DWORD error)
{
    m_lastError = error ? error : ERROR_GEN_FAILURE;
    return false;
}

bool CRecordFileOutput::Create(const char* path)
{
    Close();
    if (!path || !*path)
        return Fail(ERROR_INVALID_NAME);
    m_path = path;
    m_root.clear();
    m_file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return Fail(GetLastError());
    m_length = 0;
    FindRoot(); // resolved against the folder the file was made in
    return true;
}

bool CRecordFileOutput::SetPosition(uint32_t offset)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    if (!SetFilePointerEx(m_file, to, nullptr, FILE_BEGIN))
        return Fail(GetLastError());
    return true;
}

bool CRecordFileOutput::WriteAll(const void* data, uint32_t length)
{
    const char* p = static_cast<const char*>(data);
    while (length) {
        DWORD written = 0;
        if (!WriteFile(m_file, p, length, &written, nullptr))
            return Fail(GetLastError());
        if (written == 0)
            return Fail(ERROR_DISK_FULL);
        p += written;
        length -= written;
    }
    return true;
}

bool CRecordFileOutput::Append(const void* data, uint32_t length)
{
    if (!IsOpen())
        return Fail(ERROR_INVALID_HANDLE);
    // Offsets in the file are 32-bit words: the file must stay below 4 GiB.
    if (length > 0xFFFFFFFFu - m_length)
        return Fail(ERROR_FILE_TOO_LARGE);
    if (!length)
        return true;
    if (!WriteAll(data, length)) {
        // Part of the bytes may be on disk: learn where the file ends now.
        LARGE_INTEGER size;
        if (GetFileSizeEx(m_file, &size) && size.QuadPart <= 0xFFFFFFFFLL)
            m_length = static_cast<uint32_t>(size.QuadPart);
        return false;
    }
    m_length += length;
    return true;
}

bool CRecordFileOutput::WriteAt(uint32_t offset, const void* data, uint32_t length)
{
    if (!IsOpen())
        return Fail(ERROR_INVALID_HANDLE);
    if (offset > m_length || length > m_length - offset)
        return Fail(ERROR_INVALID_PARAMETER);
    bool ok = SetPosition(offset) && WriteAll(data, length);
    DWORD error = m_lastError;
    if (!SetPosition(m_length))
        return false;
    m_lastError = error;
    return ok;
}

bool CRecordFileOutput::Truncate(uint32_t length)
{
    if (!IsOpen())
        return Fail(ERROR_INVALID_HANDLE);
    if (!SetPosition(length))
        return false;
    if (!SetEndOfFile(m_file))
        return Fail(GetLastError());
    m_length = length;
    return true;
}

bool CRecordFileOutput::Flush()
{
    if (!IsOpen())
        return Fail(ERROR_INVALID_HANDLE);
    if (!FlushFileBuffers(m_file))
        return Fail(GetLastError());
    return true;
}

void CRecordFileOutput::Close()
{
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
}

namespace {

// The system's size figures of the volume a handle lies on.
struct VolumeFullSize
{
    LARGE_INTEGER totalUnits;
    LARGE_INTEGER callerAvailableUnits;
    LARGE_INTEGER actualAvailableUnits;
    ULONG sectorsPerUnit;
    ULONG bytesPerSector;
};
struct IoStatus
{
    union
    {
        LONG status;
        void* pointer;
    };
    ULONG_PTR information;
};
typedef LONG(WINAPI* QueryVolumeFn)(HANDLE, IoStatus*, void*, ULONG, int);
const int kVolumeFullSizeClass = 7;

QueryVolumeFn VolumeQuery()
{
    static const QueryVolumeFn fn = reinterpret_cast<QueryVolumeFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryVolumeInformationFile")));
    return fn;
}

} // namespace

bool CRecordFileOutput::QueryFreeBytes(uint64_t& bytes)
{
    // The writer asks before every block: the open file's own handle
    // answers without opening the drive's root each time.
    if (IsOpen()) {
        if (QueryVolumeFn query = VolumeQuery()) {
            VolumeFullSize size = {};
            IoStatus status = {};
            if (query(m_file, &status, &size, sizeof size, kVolumeFullSizeClass) >= 0 &&
                size.sectorsPerUnit && size.bytesPerSector) {
                bytes = static_cast<uint64_t>(size.callerAvailableUnits.QuadPart) *
                        size.sectorsPerUnit * size.bytesPerSector;
                return true;
            }
        }
    }
    if (m_root.empty() && !FindRoot())
        return false;
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(m_root.c_str(), &available, nullptr, nullptr))
        return false;
    bytes = available.QuadPart;
    return true;
}

bool CRecordFileOutput::FindRoot()
{
    // The drive part of the full path: "X:\" or "\\server\share\".
    char full[MAX_PATH * 2];
    DWORD n = GetFullPathNameA(m_path.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full)
        return false;
    std::string root;
    if (n >= 2 && full[1] == ':') {
        root.assign(full, 2);
        root += '\\';
    } else if (n >= 2 && full[0] == '\\' && full[1] == '\\') {
        const char* server = full + 2;
        const char* share = strchr(server, '\\');
        const char* end = share ? strchr(share + 1, '\\') : nullptr;
        if (!share)
            return false;
        root.assign(full, end ? static_cast<size_t>(end - full) : strlen(full));
        root += '\\';
    } else {
        return false;
    }
    m_root = root;
    return true;
}
