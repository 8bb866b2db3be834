#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// A named mapping in the paging file with its named mutex ("<name>_Mutex"),
// shared with other processes. An existing mapping is used at its own size.
class CSharedMemory
{
public:
    CSharedMemory() = default;
    ~CSharedMemory();
    CSharedMemory(const CSharedMemory&) = delete;
    CSharedMemory& operator=(const CSharedMemory&) = delete;

    // Opens the mapping and mutex of that name, or creates them with the given
    // size. Returns false and stays closed when any step fails.
    bool Open(const char* name, uint32_t size);
    // True when the mutex was acquired (an abandoned mutex counts as acquired).
    bool Lock(DWORD timeoutMs = INFINITE);
    void Unlock();
    void Close();

    bool IsOpen() const { return m_open; }
    void* View() const { return m_open ? m_view : nullptr; }
    // Size of the whole mapping, which may differ from the size asked for when
    // another process created it.
    size_t Size() const { return m_open ? m_size : 0; }

private:
    static size_t QuerySize(HANDLE mapping, void* view);

    HANDLE m_mutex = nullptr;
    HANDLE m_mapping = nullptr;
    void* m_view = nullptr;
    size_t m_size = 0;
    bool m_open = false;
};
