#include "SonvexLog.h"

#include <cstdio>

namespace SonvexDevice {

CLogFile* g_pSonvexLog = nullptr;

void SonvexLog(int level, const char* format, ...)
{
    CLogFile* log = g_pSonvexLog;
    if (!log || level > log->GetLevel())
        return;
    va_list args;
    va_start(args, format);
    log->WriteV(format, args);
    va_end(args);
}

void SonvexLogAlways(const char* format, ...)
{
    CLogFile* log = g_pSonvexLog;
    if (!log)
        return;
    va_list args;
    va_start(args, format);
    log->WriteV(format, args);
    va_end(args);
}

} // namespace SonvexDevice
