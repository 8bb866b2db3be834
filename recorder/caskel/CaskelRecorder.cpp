#include "CaskelRecorder.h"

#include "CLogFile.h"
#include "CRecorder.h"

CLogFile& CaskelLog()
{
    static CLogFile* log = new CLogFile(CLogFile::LOG_DEBUGGER, 0);
    return *log;
}

CRecorder& CaskelRecorder()
{
    static CRecorder* recorder = new CRecorder(&CaskelLog());
    return *recorder;
}
