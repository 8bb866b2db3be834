// Call.exe "<extension>" "<source>" "<output>" <flag name>
// Converts the source into the output page file and writes 1 into the
// client's 4-byte conversion flag on success. The environment variable
// HALVERN_CALL_SCRIPT scripts the run for tests: "fail" ends without
// converting, "hang <ms>" waits that long (at most two minutes) and ends
// without converting.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CDocConverter.h"

namespace {

enum : int {
    EXIT_CONVERTED = 0,
    EXIT_USAGE = 1,
    EXIT_FAILED = 2,
    EXIT_NO_FLAG = 3,
    EXIT_SCRIPTED = 4
};

void Report(const std::string& text)
{
    OutputDebugStringA(("<Call> " + text + "\n").c_str());
    fprintf(stderr, "Call: %s\n", text.c_str());
}

bool SetFlag(const char* name)
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    if (!mapping)
        return false;
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 4);
    if (view) {
        *static_cast<volatile LONG*>(view) = 1;
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return view != NULL;
}

// True when the script ends the run here.
bool Scripted()
{
    char script[64] = {};
    if (!GetEnvironmentVariableA("HALVERN_CALL_SCRIPT", script, sizeof script))
        return false;
    if (strcmp(script, "fail") == 0) {
        Report("scripted failure");
        return true;
    }
    if (strncmp(script, "hang ", 5) == 0) {
        long ms = strtol(script + 5, nullptr, 10);
        Sleep(ms < 0 ? 0 : ms > 120000 ? 120000 : static_cast<DWORD>(ms));
        Report("scripted hang ended");
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 || !*argv[3] || !*argv[4]) {
        Report("usage: Call.exe \"<extension>\" \"<source>\" \"<output>\" <flag name>");
        return EXIT_USAGE;
    }
    if (Scripted())
        return EXIT_SCRIPTED;
    std::string extension = argv[1];
    for (char& c : extension)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    std::string error;
    if (!CDocConverter::Convert(extension, argv[2], argv[3], &error)) {
        Report(error);
        return EXIT_FAILED;
    }
    if (!SetFlag(argv[4])) {
        Report(std::string("no conversion flag ") + argv[4]);
        DeleteFileA(argv[3]);
        return EXIT_NO_FLAG;
    }
    return EXIT_CONVERTED;
}
