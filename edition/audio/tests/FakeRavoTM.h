#pragma once
// RavoTM and the video and recorder functions as in-process fakes: every call
// is written to one log as "name(arguments)", in order.
#include <string>
#include <vector>

#include "MediaFunctionList.h"
#include "RavoTMApi.h"

struct FakeRavoTM
{
    static std::vector<std::string> calls;
    static int captureResult;
    static int playResult;
    static int connectResult;
    static int captureLevel;
    // Run inside D_G_SetRecord(0, ...), as RavoTM's thread might.
    static void (*duringRecordOff)();

    static RAVOTM_FUNCTIONS Functions();
    static MEDIA_FUNCTIONS Media();
    static void Reset();
    // The calls whose name begins with prefix.
    static std::vector<std::string> Only(const char* prefix);
};
