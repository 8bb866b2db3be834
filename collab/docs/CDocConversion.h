#pragma once
#include <windows.h>

#include <string>

// The conversion of a presentation file by the outside converter Call.exe,
// on a worker thread of its own. The worker creates the 4-byte conversion
// flag, starts the converter, waits for it to end, and posts WM_CONVERTED
// (wParam 1: the converter set the flag to 1; 0: any other outcome) to the
// target window if that window still exists. It holds nothing of the
// dialog but its window handle.
class CDocConversion
{
public:
    enum : UINT { WM_CONVERTED = WM_USER + 108 };

    // The flag's name for a tick count.
    static std::string FlagName(DWORD tick);
    // The converter's command line: the quoted program, extension, source
    // and output, then the flag's name.
    static std::string CommandLine(const std::string& programFolder, const std::string& extension,
                                   const std::string& source, const std::string& output,
                                   const std::string& flagName);
    // Starts the worker (created suspended, above normal priority, then
    // resumed); false when the thread could not start.
    static bool Start(HWND target, const std::string& programFolder, const std::string& extension,
                      const std::string& source, const std::string& output);

private:
    static DWORD WINAPI Run(LPVOID param);
};
