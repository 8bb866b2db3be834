#pragma once
#include "CLogFile.h"

// The library's log: debugger output only, level 0, made on first use.
class RavoLog
{
public:
    static CLogFile& Get();
};
