#pragma once
// Runs the installed client as a user would: HalvernSetup.exe lays it out in
// a program folder of its own, then Halvern.exe is started there and its
// windows are watched from this process.
#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// A file's whole content, read while its writer may still hold it open;
// empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& path)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    return text;
}

class HalvernProcess
{
public:
    ~HalvernProcess() { Stop(); }

    // The folder of this program (the build's bin folder), with a backslash.
    static std::string BinFolder()
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string text = path;
        return text.substr(0, text.rfind('\\') + 1);
    }

    // Installs into a new folder under the temporary folder, one no earlier
    // install made (process ids come again, and an earlier client's settings
    // would stay); false (with the reason in error) when the install step
    // failed, or when the build folder holds a settings file: a client ran
    // from there, which no test may do.
    bool Install(const std::string& name, std::string* error)
    {
        const std::string stray = BinFolder() + "Dorvane.ini";
        if (GetFileAttributesA(stray.c_str()) != INVALID_FILE_ATTRIBUTES) {
            *error = stray +
                     " exists: a client ran from the build folder and wrote its settings there "
                     "(the build makes none; tests and tools/run.sh start installed copies). "
                     "Delete it and find the client started from the build folder.";
            return false;
        }
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        const std::string base =
            std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId());
        folder.clear();
        for (int n = 0; n < 1000 && folder.empty(); ++n) {
            const std::string candidate = n == 0 ? base : base + "_" + std::to_string(n);
            if (CreateDirectoryA(candidate.c_str(), nullptr))
                folder = candidate + "\\";
            else if (GetLastError() != ERROR_ALREADY_EXISTS)
                break;
        }
        if (folder.empty()) {
            *error = "no new folder could be made for the install at " + base;
            return false;
        }
        // No backslash before the closing quote, which it would escape.
        std::string line = "\"" + BinFolder() + "HalvernSetup.exe\" \"" +
                           folder.substr(0, folder.size() - 1) + "\"";
        DWORD code = 1;
        if (!Run(line, 120000, &code) || code != 0) {
            *error = "HalvernSetup.exe failed: " + line + " exit code " + std::to_string(code);
            return false;
        }
        return true;
    }

    // Sets a key of the installed "Dorvane.ini".
    void SetIni(const char* key, const std::string& value)
    {
        WritePrivateProfileStringA("Dorvane", key, value.c_str(), (folder + "Dorvane.ini").c_str());
    }

    // Starts the installed client with these arguments (already quoted);
    // false before an install (a bare program name would be found in the
    // build folder).
    bool Start(const std::string& arguments)
    {
        if (folder.empty())
            return false;
        std::string line = "\"" + folder + program + "\" " + arguments;
        std::vector<char> text(line.begin(), line.end());
        text.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &process))
            return false;
        CloseHandle(process.hThread);
        process.hThread = nullptr;
        return true;
    }

    // A visible top-level window of the client whose class is cls (any when
    // null; "!x": any class but x); null until one shows or the process ends or the time runs out.
    HWND WaitForWindow(const char* cls, DWORD timeoutMs)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < end) {
            HWND found = FindWindowOf(cls);
            if (found)
                return found;
            if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
                return nullptr;
        }
        return nullptr;
    }

    // The exit code once the process ended within the time, else STILL_ACTIVE.
    DWORD WaitForExit(DWORD timeoutMs)
    {
        DWORD code = STILL_ACTIVE;
        if (process.hProcess && WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    bool Running() const
    {
        return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
    }

    void Stop()
    {
        if (process.hProcess) {
            if (Running())
                TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 10000);
            CloseHandle(process.hProcess);
            process.hProcess = nullptr;
        }
    }

    // A file of the install folder; empty when it cannot be read.
    std::string ReadFile(const char* name) const { return ReadWholeFile(folder + name); }

    // Every top-level window of the client with its class, text and the
    // texts of its children (what a box that came up instead says).
    std::string DescribeWindows() const
    {
        std::pair<DWORD, std::string> context(process.dwProcessId, std::string());
        EnumWindows(Describe, reinterpret_cast<LPARAM>(&context));
        return context.second.empty() ? "no windows\n" : context.second;
    }

    static std::string WindowText(HWND wnd)
    {
        char text[256] = {};
        GetWindowTextA(wnd, text, sizeof text);
        return text;
    }

    static bool Run(const std::string& line, DWORD timeoutMs, DWORD* code)
    {
        std::vector<char> text(line.begin(), line.end());
        text.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info))
            return false;
        bool ended = WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
        if (!ended)
            TerminateProcess(info.hProcess, 99);
        GetExitCodeProcess(info.hProcess, code);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return ended;
    }

    std::string folder;
    // The installed program Start runs.
    std::string program = "Halvern.exe";
    PROCESS_INFORMATION process = {};

private:
    struct SEARCH
    {
        DWORD processId;
        const char* cls;
        HWND found;
    };

    static BOOL CALLBACK Match(HWND wnd, LPARAM context)
    {
        SEARCH* search = reinterpret_cast<SEARCH*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        if (owner != search->processId || !IsWindowVisible(wnd))
            return TRUE;
        char cls[64] = {};
        GetClassNameA(wnd, cls, sizeof cls);
        if (search->cls && search->cls[0] == '!' && strcmp(cls, search->cls + 1) == 0)
            return TRUE;
        if (search->cls && search->cls[0] != '!' && strcmp(cls, search->cls) != 0)
            return TRUE;
        search->found = wnd;
        return FALSE;
    }

    static BOOL CALLBACK Describe(HWND wnd, LPARAM context)
    {
        auto* out = reinterpret_cast<std::pair<DWORD, std::string>*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        if (owner != out->first)
            return TRUE;
        char cls[64] = {};
        GetClassNameA(wnd, cls, sizeof cls);
        out->second += std::string(IsWindowVisible(wnd) ? "shown " : "hidden ") + cls + " \"" +
                       WindowText(wnd) + "\"";
        for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (!WindowText(child).empty())
                out->second += " [" + WindowText(child) + "]";
        out->second += "\n";
        return TRUE;
    }

    HWND FindWindowOf(const char* cls)
    {
        SEARCH search = {process.dwProcessId, cls, nullptr};
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
};
