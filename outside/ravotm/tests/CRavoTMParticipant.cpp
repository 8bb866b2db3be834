#include "CRavoTMParticipant.h"

#include <mutex>

namespace {

RavoTMModule g_library;
std::mutex g_recordLock;
AUDIO_RECORD_CALLBACK g_record = nullptr;
void* g_recordContext = nullptr;

int Init(int, int) { return 1; }
int Release() { return 1; }
int StartCapture(int device) { return g_library.D_G_StartCapture(device, 0); }

int OnRecord(void*, unsigned long sourceId, const void* packet, unsigned long length)
{
    std::lock_guard<std::mutex> lock(g_recordLock);
    if (g_record)
        g_record(g_recordContext, sourceId, sourceId, packet, length);
    return 0;
}

int SetRecord(int on, AUDIO_RECORD_CALLBACK callback, void* context)
{
    if (!on) {
        const int result = g_library.D_G_SetRecord(0, nullptr, nullptr);
        std::lock_guard<std::mutex> lock(g_recordLock);
        g_record = nullptr;
        return result;
    }
    {
        std::lock_guard<std::mutex> lock(g_recordLock);
        g_record = callback;
        g_recordContext = context;
    }
    return g_library.D_G_SetRecord(1, &OnRecord, nullptr);
}

int GetParam(int id, void* value)
{
    if (id != AUDIO_PARAM_CAPTURE_LEVEL || !value)
        return 0;
    *static_cast<int*>(value) = g_library.D_G_GetCapEnergy();
    return 1;
}

int Connect(unsigned long room, unsigned long user, const char* server, int port)
{
    return g_library.D_G_Connect(room, user, server, port);
}

} // namespace

RavoTMModule& CRavoTMParticipant::Library() { return g_library; }

bool CRavoTMParticipant::Bind(KadrelModule* table)
{
    if (!g_library.module && !g_library.Load())
        return false;
    if (g_library.missing)
        return false;
    *table = KadrelModule();
    table->Init = &Init;
    table->Release = &Release;
    table->StartCapture = &StartCapture;
    table->StopCapture = g_library.D_G_StopCapture;
    table->StartPlay = g_library.D_G_StartPlay;
    table->StopPlay = g_library.D_G_StopPlay;
    table->GetPlayEnergy = g_library.D_G_GetPlayEnergy;
    table->Connect = &Connect;
    table->SetSendAudio = g_library.D_G_SetSendAudio;
    table->Disconnect = g_library.D_G_Disconnect;
    table->SetPlayLocal = g_library.D_G_SetPlayLocal;
    table->SetRecord = &SetRecord;
    table->GetParam = &GetParam;
    table->AddSource = g_library.D_G_AddSource;
    table->DelSource = g_library.D_G_DelSource;
    table->GetPlayFormat = g_library.D_G_GetPlayFormat;
    table->SetPlayCallback = g_library.D_G_SetPlayCallback;
    return true;
}
