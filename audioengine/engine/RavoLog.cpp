#include "RavoLog.h"

CLogFile& RavoLog::Get()
{
    static CLogFile log(CLogFile::LOG_DEBUGGER, 0, nullptr, 0);
    return log;
}
