#pragma once
#include <windows.h>

#include <cstdint>

// Base of every worker thread: a named object whose virtual Run is the body
// of its thread. Stop only joins: the owner must first make Run return.
class CNamedThread
{
public:
    enum { NAME_SIZE = 260 };

    explicit CNamedThread(const char* name = nullptr, uint32_t parameter = 0);
    // Does not stop the thread; releases the handle of one never joined.
    virtual ~CNamedThread();

    CNamedThread(const CNamedThread&) = delete;
    CNamedThread& operator=(const CNamedThread&) = delete;

    // Starts the thread once; true while a thread handle exists.
    virtual bool Start();
    // With the flag set the object deletes itself when Run has returned.
    virtual void SetAutoDelete(uint32_t flag);
    virtual DWORD Suspend();
    virtual DWORD Resume();
    virtual BOOL SetPriority(int priority);
    virtual BOOL GetExitCode(uint32_t* exitCode);
    // Waits without limit for the thread to end, then forgets it. A
    // self-deleting thread cannot be joined (its object is gone once it
    // ends): Stop refuses it and returns at once.
    virtual void Stop();
    // The thread's body; the result becomes the thread's exit code.
    virtual uint32_t Run();

    static unsigned __stdcall ThreadProcEx(void* arg);

    const char* GetName() const { return m_name; }
    uint32_t GetParameter() const { return m_parameter; }
    uint32_t GetThreadId() const { return m_threadId; }
    HANDLE GetHandle() const { return m_handle; }

protected:
    uint32_t m_autoDelete = 0;
    uint32_t m_threadId = 0;
    HANDLE m_handle = nullptr;
    char m_name[NAME_SIZE];
    uint32_t m_parameter;
};
