#pragma once
#include <windows.h>

#include <string>

// A child process whose standard output is collected through a pipe.
class CPeerProcess
{
public:
    CPeerProcess() = default;
    ~CPeerProcess();

    CPeerProcess(const CPeerProcess&) = delete;
    CPeerProcess& operator=(const CPeerProcess&) = delete;

    bool Start(const std::string& commandLine);
    // Waits up to timeoutMs for the end, reading the output meanwhile; a
    // process that does not end in time is terminated. False then.
    bool Wait(DWORD timeoutMs);
    const std::string& Output() const { return m_output; }
    DWORD ExitCode() const { return m_exitCode; }

private:
    void Drain();

    PROCESS_INFORMATION m_process = {};
    HANDLE m_read = nullptr;
    std::string m_output;
    DWORD m_exitCode = 0;
};
