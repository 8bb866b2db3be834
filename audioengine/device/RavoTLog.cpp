#include "RavoTLog.h"

namespace RavoTDevice {

CLogFile& RavoTLog()
{
    static CLogFile log(CLogFile::LOG_DEBUGGER, 0);
    return log;
}

} // namespace RavoTDevice
