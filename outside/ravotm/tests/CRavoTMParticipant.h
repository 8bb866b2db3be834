#pragma once
#include "KadrelModule.h"
#include "RavoTMModule.h"

// A meeting participant on RavoTM, for the probe that measures a Kadrel
// participant: the library's functions behind the audio manager's table,
// as a client of the earlier edition calls them (no start-up call, the
// first format of the list, the four-value record tap).
class CRavoTMParticipant
{
public:
    // Binds the process's RavoTM and fills table; false when it is missing
    // or incomplete. One participant per process.
    static bool Bind(KadrelModule* table);
    static RavoTMModule& Library();
};
