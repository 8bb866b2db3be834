#include "CFrameMedia.h"

#include "AudioManagerApi.h"
#include "MediaFunctionList.h"

namespace {
typedef void(__cdecl* PFN_VOID)();

template <class T>
T Bound(int index)
{
    return g_MediaFunctions.Get<T>(index);
}
} // namespace

bool CFrameMedia::ConnectAudio(uint32_t roomId, uint32_t userId, const char* server, uint16_t port)
{
    PFN_AUDIO_MGR_Connect connect = Bound<PFN_AUDIO_MGR_Connect>(MF_AUDIO_MGR_Connect);
    if (!connect)
        return false;
    return connect(roomId, userId, server ? server : "", port) != 0;
}

void CFrameMedia::StopAll()
{
    if (PFN_VOID stopSend = Bound<PFN_VOID>(MF_T_S_StopSend))
        stopSend();
    if (PFN_AUDIO_MGR_Disconnect disconnect =
            Bound<PFN_AUDIO_MGR_Disconnect>(MF_AUDIO_MGR_Disconnect))
        disconnect();
    if (PFN_AUDIO_MGR_StopCapture stopCapture =
            Bound<PFN_AUDIO_MGR_StopCapture>(MF_AUDIO_MGR_StopCapture))
        stopCapture();
    if (PFN_AUDIO_MGR_StopPlay stopPlay = Bound<PFN_AUDIO_MGR_StopPlay>(MF_AUDIO_MGR_StopPlay))
        stopPlay();
    if (PFN_VOID stopCapture = Bound<PFN_VOID>(MF_T_S_StopCapture))
        stopCapture();
}
