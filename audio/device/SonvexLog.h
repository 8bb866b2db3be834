#pragma once
#include "CLogFile.h"

namespace SonvexDevice {

// The library's log, made at load (debugger output only, level 0) and gone
// at unload; null while no log exists, and then nothing is written.
extern CLogFile* g_pSonvexLog;

// Writes the line when the level passes the log's level.
void SonvexLog(int level, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
// Writes the line without a level test.
void SonvexLogAlways(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

} // namespace SonvexDevice
