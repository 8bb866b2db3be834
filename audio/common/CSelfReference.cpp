#include "CSelfReference.h"

namespace AudioCommon {

namespace {

struct DropJob
{
    HMODULE module;
    CRITICAL_SECTION* callerLock;
};

DWORD WINAPI DropProc(void* argument)
{
    // The reference still held keeps this code mapped until the last call.
    DropJob job = *static_cast<DropJob*>(argument);
    HeapFree(GetProcessHeap(), 0, argument);
    if (job.callerLock) {
        EnterCriticalSection(job.callerLock);
        LeaveCriticalSection(job.callerLock);
    }
    Sleep(CSelfReference::RETURN_GRACE_MS);
    FreeLibraryAndExitThread(job.module, 0);
    return 0;
}

} // namespace

bool CSelfReference::Hold(const void* addressInModule)
{
    if (m_module)
        return true;
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            static_cast<LPCSTR>(addressInModule), &module))
        return false;
    m_module = module;
    return true;
}

void CSelfReference::Drop(CRITICAL_SECTION* callerLock)
{
    HMODULE module = m_module;
    m_module = nullptr;
    if (!module)
        return;
    // The job lives on the process heap, not in the library's own memory.
    DropJob* job = static_cast<DropJob*>(HeapAlloc(GetProcessHeap(), 0, sizeof(DropJob)));
    HANDLE thread = nullptr;
    if (job) {
        job->module = module;
        job->callerLock = callerLock;
        thread = CreateThread(nullptr, 0, &DropProc, job, 0, nullptr);
    }
    if (thread) {
        CloseHandle(thread);
        return;
    }
    if (job)
        HeapFree(GetProcessHeap(), 0, job);
    // Without a thread the reference stays: a library left loaded is safe,
    // one unloaded under its caller is not.
    m_module = module;
}

} // namespace AudioCommon
