// Lays the built programs and libraries out as an installed system has them:
//   the common-files folder + "Tessaly\": the media libraries the client
//     loads by full path (Kadrel or RavoTM, Dravom, Caskel) and what they
//     load in turn;
//   the program folder (default: the program-files folder + "Halvern\"):
//     the client and its earlier edition Quillet with the hot-key library
//     and the updater, "Dorvane.ini" with the defaults this program
//     carries (a settings file lying beside the built programs, written
//     by a client started there, is never copied),
//     the skins and the base language files, and the virtual printer's
//     print processor in "2000\" and "xp\" (the client installs the
//     printer at its first start);
//   the spooler: the printer driver the virtual printer names.
// Everything else is copied from the folder this program lies in.
//
//   HalvernSetup.exe [program folder]
//
// Prints the program folder; exit code 0 on success, 1 when a file could not
// be placed. A library that is loaded already and unchanged counts as placed.
#include <windows.h>
#include <shlobj.h>

#include "CStandInPrinterDriver.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kMediaFiles[] = {"Kadrel.dll", "RavoTM.dll", "Dravom.dll", "Caskel.dll",
                                   "Dravo.dll",  "RavoT.dll",  "Ravo.dll",   "Tamsel.dll"};
// The resource holding the default "Dorvane.ini" (HalvernSetup.rc).
const int kDefaultSettings = 1;

const char* const kProgramFiles[] = {"Halvern.exe", "Quillet.exe", "hook.dll",
                                     "Updater.exe", "pass.dll",    "Call.exe"};

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::string SystemFolder(int id, const char* fallback)
{
    char path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, id, nullptr, 0, path)) && path[0])
        return WithSlash(path);
    return WithSlash(fallback);
}

std::string OwnFolder()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    std::string text(path, n);
    return text.substr(0, text.find_last_of('\\') + 1);
}

bool MakeFolders(const std::string& folder)
{
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SameFile(const std::string& a, const std::string& b)
{
    WIN32_FILE_ATTRIBUTE_DATA x, y;
    if (!GetFileAttributesExA(a.c_str(), GetFileExInfoStandard, &x) ||
        !GetFileAttributesExA(b.c_str(), GetFileExInfoStandard, &y))
        return false;
    return x.nFileSizeLow == y.nFileSizeLow && x.nFileSizeHigh == y.nFileSizeHigh &&
           CompareFileTime(&x.ftLastWriteTime, &y.ftLastWriteTime) == 0;
}

int g_failures = 0;

void Place(const std::string& from, const std::string& to, bool required)
{
    if (GetFileAttributesA(from.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (required) {
            fprintf(stderr, "missing: %s\n", from.c_str());
            ++g_failures;
        }
        return;
    }
    if (CopyFileA(from.c_str(), to.c_str(), FALSE))
        return;
    if (SameFile(from, to))
        return; // in use by a running program, and already this version
    fprintf(stderr, "cannot copy %s to %s (error %lu)\n", from.c_str(), to.c_str(), GetLastError());
    ++g_failures;
}

// Writes the default settings file unless one is there: the settings a
// user changed stay.
void PlaceDefaultSettings(const std::string& to)
{
    if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(kDefaultSettings), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* text = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(nullptr, found) : 0;
    if (!text || size == 0) {
        fprintf(stderr, "no default settings in the installer\n");
        ++g_failures;
        return;
    }
    HANDLE file = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot write %s (error %lu)\n", to.c_str(), GetLastError());
        ++g_failures;
        return;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, text, size, &written, nullptr) && written == size;
    CloseHandle(file);
    if (!ok) {
        fprintf(stderr, "cannot write %s\n", to.c_str());
        DeleteFileA(to.c_str());
        ++g_failures;
    }
}

void PlaceFolder(const std::string& from, const std::string& to, const char* pattern)
{
    if (!MakeFolders(to)) {
        fprintf(stderr, "cannot make %s\n", to.c_str());
        ++g_failures;
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "nothing in %s%s\n", from.c_str(), pattern);
        ++g_failures;
        return;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            Place(from + found.cFileName, to + found.cFileName, true);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

int main(int argc, char** argv)
{
    std::string source = OwnFolder();
    std::string media =
        SystemFolder(CSIDL_PROGRAM_FILES_COMMON, "C:\\Program Files\\Common Files") + "Tessaly\\";
    std::string program =
        argc > 1 ? WithSlash(argv[1])
                 : SystemFolder(CSIDL_PROGRAM_FILES, "C:\\Program Files") + "Halvern\\";
    if (source.empty() || !MakeFolders(media) || !MakeFolders(program)) {
        fprintf(stderr, "cannot make the folders %s and %s\n", media.c_str(), program.c_str());
        return 1;
    }
    for (const char* file : kMediaFiles)
        Place(source + file, media + file, strcmp(file, "Tamsel.dll") != 0);
    for (const char* file : kProgramFiles)
        Place(source + file, program + file, true);
    Place(source + "Shell.exe", program + "Shell.exe", true);
    PlaceDefaultSettings(program + "Dorvane.ini");
    PlaceFolder(source + "Skins\\", program + "Skins\\", "*.bmp");
    PlaceFolder(source + "base\\", program + "base\\", "*.dll");
    for (const char* system : {"2000\\", "xp\\"}) {
        if (MakeFolders(program + system))
            Place(source + "tanproc.dll", program + system + "tanproc.dll", true);
        else
            ++g_failures;
    }
    std::string error;
    if (!CStandInPrinterDriver::Install(source, &error)) {
        fprintf(stderr, "cannot install the printer driver: %s\n", error.c_str());
        ++g_failures;
    }
    printf("%s\n", program.c_str());
    return g_failures ? 1 : 0;
}
