#pragma once
#include <windows.h>

// Catches any unhandled exception of the process and appends a plain-text
// report (time, exception, registers, call stack) to a file beside the
// program: its path with the extension replaced by "RPT".
class CCrashReport
{
public:
    CCrashReport();
    ~CCrashReport();

    CCrashReport(const CCrashReport&) = delete;
    CCrashReport& operator=(const CCrashReport&) = delete;

    // The report path for a program path, or false when it forms none: the
    // file name must have an extension of at least three characters.
    static bool MakeReportPath(const char* programPath, char* out, size_t outSize);

    // Writes the report for one exception to an open file. Exposed so that a
    // report can be produced without ending the process.
    static void WriteReport(HANDLE file, EXCEPTION_POINTERS* info);

    static const char* ExceptionName(DWORD code);

    const char* GetReportPath() const { return s_reportPath; }

private:
    static LONG WINAPI Filter(EXCEPTION_POINTERS* info);

    static LPTOP_LEVEL_EXCEPTION_FILTER s_previousFilter;
    static char s_reportPath[MAX_PATH];
};
