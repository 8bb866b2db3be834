#include "CDocConversion.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {
struct CONVERSION_JOB
{
    HWND target;
    std::string folder;
    std::string extension;
    std::string source;
    std::string output;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Runs the converter with the flag of that name; true when it set the flag to 1.
bool Convert(const CONVERSION_JOB& job)
{
    const std::string name = CDocConversion::FlagName(GetTickCount());
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 4, name.c_str());
    if (!mapping)
        return false;
    bool converted = false;
    if (volatile LONG* flag =
            static_cast<volatile LONG*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 4))) {
        // A flag of the same name left by an earlier conversion starts at 0 too.
        *flag = 0;
        std::string command =
            CDocConversion::CommandLine(job.folder, job.extension, job.source, job.output, name);
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL,
                           &startup, &process)) {
            CloseHandle(process.hThread);
            WaitForSingleObject(process.hProcess, INFINITE);
            CloseHandle(process.hProcess);
            converted = *flag == 1;
        }
        UnmapViewOfFile(const_cast<LONG*>(flag));
    }
    CloseHandle(mapping);
    return converted;
}
} // namespace

std::string CDocConversion::FlagName(DWORD tick)
{
    char name[64];
    snprintf(name, sizeof name, "PelquinpptShareMem%d", static_cast<int>(tick));
    return name;
}

std::string CDocConversion::CommandLine(const std::string& programFolder,
                                        const std::string& extension, const std::string& source,
                                        const std::string& output, const std::string& flagName)
{
    return Quoted(programFolder + "Call.exe") + " " + Quoted(extension) + " " + Quoted(source) +
           " " + Quoted(output) + " " + flagName;
}

bool CDocConversion::Start(HWND target, const std::string& programFolder,
                           const std::string& extension, const std::string& source,
                           const std::string& output)
{
    std::unique_ptr<CONVERSION_JOB> job(
        new CONVERSION_JOB{target, programFolder, extension, source, output});
    HANDLE thread = CreateThread(NULL, 0, &CDocConversion::Run, job.get(), CREATE_SUSPENDED, NULL);
    if (!thread)
        return false;
    job.release();
    SetThreadPriority(thread, THREAD_PRIORITY_ABOVE_NORMAL);
    ResumeThread(thread);
    CloseHandle(thread);
    return true;
}

DWORD WINAPI CDocConversion::Run(LPVOID param)
{
    std::unique_ptr<CONVERSION_JOB> job(static_cast<CONVERSION_JOB*>(param));
    bool converted = false;
    try {
        converted = Convert(*job);
    } catch (...) {
        converted = false;
    }
    // The dialog may be gone (Cancel): only its window handle is asked.
    if (IsWindow(job->target))
        PostMessage(job->target, WM_CONVERTED, converted ? 1 : 0, 0);
    return 0;
}
