#include "CSharedMemory.h"

#include <cstdio>
#include <string>

namespace {
struct SectionBasicInformation
{
    void* base;
    ULONG attributes;
    LARGE_INTEGER size;
};
typedef LONG(WINAPI* NtQuerySectionFn)(HANDLE, int, void*, ULONG, ULONG*);
} // namespace

CSharedMemory::~CSharedMemory() { Close(); }

bool CSharedMemory::Open(const char* name, uint32_t size)
{
    if (m_open)
        return true;
    if (!name || !*name || size == 0)
        return false;

    std::string mutexName = std::string(name) + "_Mutex";
    bool created = false;
    m_mutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, mutexName.c_str());
    if (m_mutex)
        m_mapping = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE | SECTION_QUERY, FALSE, name);
    if (!m_mutex || !m_mapping) {
        if (!m_mutex)
            m_mutex = CreateMutexA(nullptr, FALSE, mutexName.c_str());
        if (m_mutex && !m_mapping)
            m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr,
                                           PAGE_READWRITE | SEC_COMMIT, 0, size, name);
        created = m_mapping && GetLastError() != ERROR_ALREADY_EXISTS;
    }
    if (m_mutex && m_mapping)
        m_view = MapViewOfFile(m_mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
    if (!m_view) {
        Close();
        return false;
    }
    m_size = created ? size : QuerySize(m_mapping, m_view);
    m_open = m_size != 0;
    if (!m_open)
        Close();
    return m_open;
}

size_t CSharedMemory::QuerySize(HANDLE mapping, void* view)
{
    // The section knows its exact size; the view only its pages.
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    NtQuerySectionFn query = ntdll ? reinterpret_cast<NtQuerySectionFn>(reinterpret_cast<void*>(
                                         GetProcAddress(ntdll, "NtQuerySection")))
                                   : nullptr;
    if (query) {
        SectionBasicInformation info = {};
        if (query(mapping, 0, &info, sizeof info, nullptr) >= 0 && info.size.QuadPart > 0)
            return static_cast<size_t>(info.size.QuadPart);
    }
    MEMORY_BASIC_INFORMATION mbi = {};
    if (VirtualQuery(view, &mbi, sizeof mbi) == sizeof mbi)
        return mbi.RegionSize;
    return 0;
}

bool CSharedMemory::Lock(DWORD timeoutMs)
{
    if (!m_open)
        return false;
    DWORD r = WaitForSingleObject(m_mutex, timeoutMs);
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

void CSharedMemory::Unlock()
{
    if (m_open)
        ReleaseMutex(m_mutex);
}

void CSharedMemory::Close()
{
    if (m_view)
        UnmapViewOfFile(m_view);
    if (m_mapping)
        CloseHandle(m_mapping);
    if (m_mutex)
        CloseHandle(m_mutex);
    m_view = nullptr;
    m_mapping = nullptr;
    m_mutex = nullptr;
    m_size = 0;
    m_open = false;
}
