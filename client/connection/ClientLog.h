#pragma once
#include "CLogFile.h"

// The client's developer log: file output only, level 0, named at start-up.
extern CLogFile g_Log;
