#include "CLogFile.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "CScopedLock.h"

CLogFile::CLogFile(uint32_t flags, int32_t level, const char* fileName, uint8_t append)
    : m_level(level)
{
    InitializeCriticalSection(&m_lock);
    if (fileName) {
        m_fileName = _strdup(fileName);
        m_append = append;
    }
    SetFlags(flags);
}

CLogFile::~CLogFile()
{
    CloseFile();
    free(m_fileName);
    DeleteCriticalSection(&m_lock);
}

void CLogFile::SetLevel(int32_t level) { m_level = level; }

void CLogFile::SetFlags(uint32_t flags)
{
    // The whole change, opening the file included, happens under the lock, so
    // a line written meanwhile from another thread is never dropped between
    // the old state and the new one. The lock is re-entrant, so OpenFile's
    // error line can still be written.
    CScopedLock lock(&m_lock);
    bool openNow = false;
    m_flags = flags;
    m_debuggerOn = (flags & LOG_DEBUGGER) ? 1 : 0;
    if (!(flags & LOG_FILE)) {
        CloseFile();
        m_fileOn = 0;
    } else if (!m_fileOn) {
        openNow = true;
    }
    if (flags & LOG_CONSOLE) {
        if (!m_consoleAllocated) {
            AllocConsole();
            m_consoleAllocated = true;
        }
        m_consoleOn = 1;
    } else {
        m_consoleOn = 0;
    }
    if (openNow)
        OpenFile();
}

void CLogFile::SetFile(const char* fileName, uint8_t append)
{
    if (!fileName)
        return;
    CScopedLock lock(&m_lock);
    CloseFile();
    m_fileOn = 0;
    free(m_fileName);
    m_fileName = _strdup(fileName);
    m_append = append;
    if (m_flags & LOG_FILE)
        OpenFile();
}

void CLogFile::CloseFile()
{
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
}

void CLogFile::OpenFile()
{
    {
        CScopedLock lock(&m_lock);
        CloseFile();
        if (m_fileName) {
            m_fileOn = 1;
            if (!m_append) {
                std::string backup = std::string(m_fileName) + ".bak";
                DeleteFileA(backup.c_str());
                MoveFileA(m_fileName, backup.c_str());
            }
            m_file = CreateFileA(m_fileName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            if (m_file != INVALID_HANDLE_VALUE) {
                if (m_append)
                    SetFilePointer(m_file, 0, nullptr, FILE_END);
                else
                    SetEndOfFile(m_file);
                return;
            }
        }
        m_debuggerOn = 1;
        m_fileOn = 0;
    }
    if (m_fileName)
        Write(0, "Error opening log file %s\n", m_fileName);
    else
        Write(0, "Error opening log file\n");
}

void CLogFile::Emit(const char* text, size_t length)
{
    if (m_debuggerOn)
        OutputDebugStringA(text);
    if (m_consoleOn) {
        HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        DWORD written = 0;
        if (out && out != INVALID_HANDLE_VALUE)
            WriteFile(out, text, static_cast<DWORD>(length), &written, nullptr);
    }
    if (m_fileOn && m_file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(m_file, text, static_cast<DWORD>(length), &written, nullptr);
    }
}

void CLogFile::Write(int32_t level, const char* format, ...)
{
    if (level > m_level)
        return;
    va_list args;
    va_start(args, format);
    WriteV(format, args);
    va_end(args);
}

void CLogFile::WriteV(const char* format, va_list args)
{
    if (!format)
        return;
    char line[MAX_LINE + 1];
    int n = vsnprintf(line, sizeof line, format, args);
    const size_t maxLine = MAX_LINE;
    size_t length =
        n < 0 ? 0 : (static_cast<size_t>(n) > maxLine ? maxLine : static_cast<size_t>(n));
    line[length] = '\0';

    CScopedLock lock(&m_lock);
    time_t now = time(nullptr);
    if (now != m_lastStamp) {
        m_lastStamp = now;
        const char* text = ctime(&now);
        char stamp[32];
        size_t stampLength = 0;
        if (text) {
            memcpy(stamp, text, 24);
            stampLength = 24;
        }
        stamp[stampLength++] = '\r';
        stamp[stampLength++] = '\n';
        stamp[stampLength] = '\0';
        Emit(stamp, stampLength);
    }
    Emit(line, length);
}
