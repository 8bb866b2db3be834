#pragma once
#include "MediaFunctionList.h"
#include "RavoTMApi.h"

class CQuilletAudio;

// The code both editions share reaches the audio library through the audio
// manager's places of the media table. In this edition those places hold
// RavoTM's counterparts: the functions of the same arguments directly, the
// others through small forwarders (the capture level and the FEC level
// count for the parameter reads, the record tap through the edition's own
// audio control). Places without a counterpart stay empty, and the shared
// code leaves an empty place out.
class CRavoTMSlots
{
public:
    // Fills the audio places of media from ravotm; audio runs the record
    // tap (may be null: no tap).
    static void Fill(const RAVOTM_FUNCTIONS& ravotm, CQuilletAudio* audio, MEDIA_FUNCTIONS* media);
};
