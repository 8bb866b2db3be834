#pragma once
#include <cstdarg>
class CLogFile;

namespace SonvexFilterCore {

// The library's log. The library's own lines are written without the level
// test and reach the debugger output whenever a log is installed.
class SonvexLog
{
public:
    static void Install(CLogFile* log);
    static CLogFile* Get();
    static void Write(const char* format, ...)
#ifdef __GNUC__
        __attribute__((format(gnu_printf, 1, 2)))
#endif
        ;
};

} // namespace SonvexFilterCore
