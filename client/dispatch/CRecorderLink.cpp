#include "CRecorderLink.h"

#include "MediaFunctionList.h"

namespace {

typedef int(__cdecl* PFN_RV_WriteChatData)(const char* text, uint32_t kind);
typedef int(__cdecl* PFN_RV_WriteBoardData)(const void* data, uint32_t length);
typedef int(__cdecl* PFN_RV_Audio)(uint32_t userId);

} // namespace

bool CRecorderLink::IsRecording() { return m_recording && *m_recording != 0; }

void CRecorderLink::WriteChatData(const char* text, uint32_t kind)
{
    if (auto f = g_MediaFunctions.Get<PFN_RV_WriteChatData>(MF_RV_WriteChatData))
        f(text, kind);
}

void CRecorderLink::WriteBoardData(const void* data, size_t length)
{
    if (auto f = g_MediaFunctions.Get<PFN_RV_WriteBoardData>(MF_RV_WriteBoardData))
        f(data, static_cast<uint32_t>(length));
}

void CRecorderLink::AddAudio(uint32_t userId)
{
    if (auto f = g_MediaFunctions.Get<PFN_RV_Audio>(MF_RV_AddAudio))
        f(userId);
}

void CRecorderLink::DelAudio(uint32_t userId)
{
    if (auto f = g_MediaFunctions.Get<PFN_RV_Audio>(MF_RV_DelAudio))
        f(userId);
}
