#include "SonvexLog.h"

#include <atomic>

#include "CLogFile.h"

namespace SonvexFilterCore {

namespace {
std::atomic<CLogFile*> g_log{nullptr};
}

void SonvexLog::Install(CLogFile* log) { g_log = log; }

CLogFile* SonvexLog::Get() { return g_log; }

void SonvexLog::Write(const char* format, ...)
{
    CLogFile* log = g_log;
    if (!log)
        return;
    va_list args;
    va_start(args, format);
    log->WriteV(format, args);
    va_end(args);
}

} // namespace SonvexFilterCore
