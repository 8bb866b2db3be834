#pragma once
#include <winsock2.h> // before windows.h

#include "CLogFile.h"

// The library's one log: debugger output, errors at level 1.
CLogFile& RelayLog();
