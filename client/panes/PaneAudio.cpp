#include "PaneAudio.h"

#include "MediaFunctionList.h"

void CPaneAudio::SetSendAudio(bool on)
{
    auto fn = g_MediaFunctions.Get<PFN_AUDIO_MGR_SetSendAudio>(MF_AUDIO_MGR_SetSendAudio);
    if (fn)
        fn(on ? 1 : 0);
}

void CPaneAudio::SetAec(bool on)
{
    auto fn = g_MediaFunctions.Get<PFN_AUDIO_MGR_SetAEC>(MF_AUDIO_MGR_SetAEC);
    if (fn)
        fn(on ? 1 : 0);
}

int CPaneAudio::GetInputLevel()
{
    auto fn =
        g_MediaFunctions.Get<PFN_AUDIO_MGR_Processer_GetParam>(MF_AUDIO_MGR_Processer_GetParam);
    int level = 0;
    if (fn)
        fn(AUDIO_PARAM_CAPTURE_LEVEL, &level);
    return level;
}

int CPaneAudio::GetPlayEnergy()
{
    auto fn = g_MediaFunctions.Get<PFN_AUDIO_MGR_GetPlayEnergy>(MF_AUDIO_MGR_GetPlayEnergy);
    return fn ? fn() : 0;
}
