#include "CPeerProcess.h"

#include <vector>

CPeerProcess::~CPeerProcess()
{
    if (m_process.hProcess) {
        TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hProcess);
        CloseHandle(m_process.hThread);
    }
    if (m_read)
        CloseHandle(m_read);
}

bool CPeerProcess::Start(const std::string& commandLine)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE write = nullptr;
    if (!CreatePipe(&m_read, &write, &inherit, 0))
        return false;
    SetHandleInformation(m_read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = write;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    BOOL ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                             &startup, &m_process);
    CloseHandle(write);
    return ok != FALSE;
}

void CPeerProcess::Drain()
{
    DWORD available = 0;
    while (PeekNamedPipe(m_read, nullptr, 0, nullptr, &available, nullptr) && available) {
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(m_read, buffer, sizeof buffer, &got, nullptr) || got == 0)
            return;
        m_output.append(buffer, got);
    }
}

bool CPeerProcess::Wait(DWORD timeoutMs)
{
    if (!m_process.hProcess)
        return false;
    const DWORD start = GetTickCount();
    for (;;) {
        Drain();
        DWORD r = WaitForSingleObject(m_process.hProcess, 50);
        if (r == WAIT_OBJECT_0)
            break;
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, 5000);
            Drain();
            return false;
        }
    }
    Drain();
    GetExitCodeProcess(m_process.hProcess, &m_exitCode);
    return true;
}
