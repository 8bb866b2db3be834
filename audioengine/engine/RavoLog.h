#pragma once
#include "CLogFile.h"

namespace RavoEngine {

// The library's log: debugger output only, level 0, made on first use.
class RavoLog
{
public:
    static CLogFile& Get();
};

} // namespace RavoEngine
