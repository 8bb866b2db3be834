#pragma once
#include "CLogFile.h"

namespace RavoTDevice {

// The library's debug log: debugger output only, level 0, so that levelled
// lines are written only when a developer raises the level.
CLogFile& RavoTLog();

} // namespace RavoTDevice
