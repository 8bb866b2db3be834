#include "FecTrace.h"

#include <windows.h>

#include <cstdarg>
#include <string>

#include "CScopedLock.h"

namespace RavoEngine {

namespace {
struct TraceFiles
{
    CRITICAL_SECTION lock;
    FILE* files[2] = {nullptr, nullptr};
    bool tried[2] = {false, false};
    TraceFiles() { InitializeCriticalSection(&lock); }
    ~TraceFiles()
    {
        for (FILE* f : files)
            if (f)
                fclose(f);
        DeleteCriticalSection(&lock);
    }
};

TraceFiles& Files()
{
    static TraceFiles files;
    return files;
}

const char* const kNames[2] = {"trace_2.txt", "trace_matlab.txt"};

int Group(int g)
{
    if (g < 1)
        return 0;
    return g > 4 ? 4 : g;
}
} // namespace

FILE* FecTrace::Open(File file)
{
    TraceFiles& t = Files();
    if (!t.tried[file]) {
        t.tried[file] = true;
        t.files[file] = fopen(kNames[file], "w");
    }
    return t.files[file];
}

bool FecTrace::IsOpen(File file)
{
    TraceFiles& t = Files();
    CScopedLock lock(&t.lock);
    return t.files[file] != nullptr;
}

void FecTrace::Close()
{
    TraceFiles& t = Files();
    CScopedLock lock(&t.lock);
    for (int i = 0; i < 2; ++i) {
        if (t.files[i])
            fclose(t.files[i]);
        t.files[i] = nullptr;
        t.tried[i] = false;
    }
}

void FecTrace::Write(File file, const char* format, ...)
{
    TraceFiles& t = Files();
    CScopedLock lock(&t.lock);
    FILE* f = Open(file);
    if (!f)
        return;
    va_list args;
    va_start(args, format);
    vfprintf(f, format, args);
    va_end(args);
    fflush(f);
}

int FecTrace::FormatBits(char* out, size_t size, const uint8_t* bits, int n, int g)
{
    std::string s = "[";
    g = Group(g);
    for (int i = 0; i < n; ++i) {
        const bool set = bits && (bits[i / 8] >> (i % 8)) & 1;
        s += set ? '.' : 'x';
        if (g && (i + 1) % g == 0 && i + 1 < n)
            s += ' ';
    }
    s += ']';
    return snprintf(out, size, "%s", s.c_str());
}

int FecTrace::FormatInts(char* out, size_t size, const int* values, int n, int g)
{
    std::string s;
    g = Group(g);
    char item[16];
    for (int i = 0; i < n; ++i) {
        const int v = values ? values[i] : 0;
        if (v == 0)
            snprintf(item, sizeof item, "   -");
        else
            snprintf(item, sizeof item, " %3d", v);
        s += item;
        if (g && (i + 1) % g == 0 && i + 1 < n)
            s += ' ';
    }
    return snprintf(out, size, "%s", s.c_str());
}

void FecTrace::PrintBits(File file, const uint8_t* bits, int n, int g)
{
    char line[512];
    FormatBits(line, sizeof line, bits, n, g);
    Write(file, "%s", line);
}

void FecTrace::PrintInts(File file, const int* values, int n, int g)
{
    char line[1024];
    FormatInts(line, sizeof line, values, n, g);
    Write(file, "%s", line);
}

} // namespace RavoEngine
