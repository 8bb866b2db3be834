// Faults on purpose so that the crash report can be checked from outside.
// Argument "access" dereferences a bad pointer; "custom" raises an exception
// code that has no name of its own.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "CCrashReport.h"

static CCrashReport g_crashReport;

__attribute__((noinline)) static void Fault(volatile int* where) { *where = 1; }

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "custom") == 0)
        RaiseException(0xC0000017, 0, 0, nullptr); // STATUS_NO_MEMORY
    static volatile uintptr_t bad = 16;
    Fault(reinterpret_cast<volatile int*>(bad));
    return 0;
}
