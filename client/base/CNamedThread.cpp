#include "CNamedThread.h"

#include <process.h>

#include <cstring>

CNamedThread::CNamedThread(const char* name, uint32_t parameter) : m_parameter(parameter)
{
    const char* source = name ? name : "No name";
    strncpy(m_name, source, NAME_SIZE - 1);
    m_name[NAME_SIZE - 1] = '\0';
}

CNamedThread::~CNamedThread()
{
    // The thread is not stopped here; only the handle of one that was never
    // joined is released, so that it does not outlive the object.
    if (m_handle)
        CloseHandle(m_handle);
}

bool CNamedThread::Start()
{
    if (m_handle)
        return true;
    // Created suspended so that handle and id are stored before Run can
    // begin: a self-deleting thread may end at once.
    unsigned id = 0;
    uintptr_t handle =
        _beginthreadex(nullptr, 0, &CNamedThread::ThreadProcEx, this, CREATE_SUSPENDED, &id);
    if (!handle)
        return false;
    m_handle = reinterpret_cast<HANDLE>(handle);
    m_threadId = id;
    ResumeThread(reinterpret_cast<HANDLE>(handle));
    return true;
}

void CNamedThread::SetAutoDelete(uint32_t flag) { m_autoDelete = flag; }

DWORD CNamedThread::Suspend() { return SuspendThread(m_handle); }

DWORD CNamedThread::Resume() { return ResumeThread(m_handle); }

BOOL CNamedThread::SetPriority(int priority) { return SetThreadPriority(m_handle, priority); }

BOOL CNamedThread::GetExitCode(uint32_t* exitCode)
{
    DWORD code = 0;
    BOOL ok = GetExitCodeThread(m_handle, &code);
    if (exitCode)
        *exitCode = code;
    return ok;
}

void CNamedThread::Stop()
{
    if (m_autoDelete && m_handle)
        return;
    if (m_handle) {
        WaitForSingleObject(m_handle, INFINITE);
        CloseHandle(m_handle);
    }
    m_handle = nullptr;
    m_threadId = 0;
}

uint32_t CNamedThread::Run() { return 0; }

unsigned __stdcall CNamedThread::ThreadProcEx(void* arg)
{
    CNamedThread* self = static_cast<CNamedThread*>(arg);
    uint32_t result = self->Run();
    if (self->m_autoDelete) {
        // Nobody will join a self-deleting thread: release the handle here.
        HANDLE handle = self->m_handle;
        self->m_handle = nullptr;
        delete self;
        if (handle)
            CloseHandle(handle);
    }
    return result;
}
