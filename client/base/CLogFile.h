#pragma once
#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <ctime>

// The developers' log: printf-style lines filtered by a level and written to
// the debugger output, a file and a console, chosen by flags, with a
// time-stamp line whenever a new second begins. Lines from several threads
// are written one whole line at a time.
class CLogFile
{
public:
    enum Flags : uint32_t {
        LOG_DEBUGGER = 1,
        LOG_FILE = 2,
        LOG_CONSOLE = 4,
    };
    enum { MAX_LINE = 1022 };

    CLogFile(uint32_t flags = LOG_FILE, int32_t level = 0, const char* fileName = nullptr,
             uint8_t append = 0);
    virtual ~CLogFile();

    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    void SetLevel(int32_t level);
    void SetFlags(uint32_t flags);
    void SetFile(const char* fileName, uint8_t append);

    // Writes the line when level is at most the log's level.
    void Write(int32_t level, const char* format, ...)
#ifdef __GNUC__
        __attribute__((format(gnu_printf, 3, 4)))
#endif
        ;
    // Writes without a level test.
    void WriteV(const char* format, va_list args);

    int32_t GetLevel() const { return m_level; }
    uint32_t GetFlags() const { return m_flags; }
    const char* GetFileName() const { return m_fileName; }
    bool IsFileOpen() const { return m_file != INVALID_HANDLE_VALUE; }

private:
    void OpenFile();
    void CloseFile();
    void Emit(const char* text, size_t length);

    uint8_t m_fileOn = 0;
    uint8_t m_debuggerOn = 0;
    uint8_t m_consoleOn = 0;
    int32_t m_level;
    uint32_t m_flags = 0;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    char* m_fileName = nullptr;
    uint8_t m_append = 0;
    time_t m_lastStamp = 0;
    bool m_consoleAllocated = false;
    CRITICAL_SECTION m_lock;
};
