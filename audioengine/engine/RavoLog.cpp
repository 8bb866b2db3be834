#include "RavoLog.h"

namespace RavoEngine {

CLogFile& RavoLog::Get()
{
    static CLogFile log(CLogFile::LOG_DEBUGGER, 0, nullptr, 0);
    return log;
}

} // namespace RavoEngine
