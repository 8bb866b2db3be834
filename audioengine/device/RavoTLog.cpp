#include "RavoTLog.h"

CLogFile& RavoTLog()
{
    static CLogFile log(CLogFile::LOG_DEBUGGER, 0);
    return log;
}
