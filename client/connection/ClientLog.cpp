#include "ClientLog.h"

CLogFile g_Log(CLogFile::LOG_FILE, 0, nullptr, 0);
