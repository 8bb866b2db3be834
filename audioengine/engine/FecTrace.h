#pragma once
#include <cstdint>
#include <cstdio>

namespace RavoEngine {

// The FEC decoder's trace files "trace_2.txt" and "trace_matlab.txt" in the
// current folder. Each is created (emptied) on its first use in the process
// and flushed after every write. A file that cannot be created (a read-only
// folder) is given up for the process and tracing carries on without it.
class FecTrace
{
public:
    enum File { TRACE = 0, MATLAB = 1 };

    static void Write(File file, const char* format, ...)
#ifdef __GNUC__
        __attribute__((format(gnu_printf, 2, 3)))
#endif
        ;
    // A row of n bits: "[", "." for a set bit, "x" for a clear one, a blank
    // after every g bits (g at most 4), "]".
    static void PrintBits(File file, const uint8_t* bits, int n, int g);
    // A row of integers as " %3d" each, "   -" for 0, grouped likewise.
    static void PrintInts(File file, const int* values, int n, int g);

    // Formatting of the two rows, for the writers above and for tests.
    static int FormatBits(char* out, size_t size, const uint8_t* bits, int n, int g);
    static int FormatInts(char* out, size_t size, const int* values, int n, int g);

    static bool IsOpen(File file);
    // Closes both files; the next write creates them afresh (library unload).
    static void Close();

private:
    static FILE* Open(File file);
};

} // namespace RavoEngine
