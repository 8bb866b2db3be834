#include "CVideoLibraryLink.h"

#include "MediaFunctionList.h"

namespace {

typedef int(__cdecl* PFN_T_S_StartSend)(uint32_t streamId, const char* address, int port);
typedef void(__cdecl* PFN_T_S_StopSend)();
typedef void(__cdecl* PFN_T_S_SetVideoWidth)(int oldWidth, int newWidth);

} // namespace

void CVideoLibraryLink::StartSend(uint32_t streamId, const char* serverAddress, uint16_t port)
{
    if (auto f = g_MediaFunctions.Get<PFN_T_S_StartSend>(MF_T_S_StartSend))
        f(streamId, serverAddress, port);
}

void CVideoLibraryLink::StopSend()
{
    if (auto f = g_MediaFunctions.Get<PFN_T_S_StopSend>(MF_T_S_StopSend))
        f();
}

void CVideoLibraryLink::SetVideoWidth(uint16_t oldWidth, uint16_t newWidth)
{
    if (auto f = g_MediaFunctions.Get<PFN_T_S_SetVideoWidth>(MF_T_S_SetVideoWidth))
        f(oldWidth, newWidth);
}
