#include "CRavoTMSlots.h"

#include <cstring>

#include "AudioManagerApi.h"
#include "CQuilletAudio.h"

namespace {

const RAVOTM_FUNCTIONS* s_ravotm = nullptr;
CQuilletAudio* s_audio = nullptr;

int __cdecl GetParam(int id, void* value)
{
    if (!value || !s_ravotm)
        return 0;
    int v = 0;
    if (id == AUDIO_PARAM_CAPTURE_LEVEL)
        v = s_ravotm->D_G_GetCapEnergy();
    else if (id == AUDIO_PARAM_FEC_COUNT)
        v = s_ravotm->D_G_GetFECTypeCount();
    else
        return 0;
    memcpy(value, &v, sizeof v);
    return 1;
}

// The caller's callback is the current edition's; here the edition's own
// tap writes the packets to the recorder.
int __cdecl SetRecord(int on, AUDIO_RECORD_CALLBACK, void*)
{
    if (!s_audio)
        return 0;
    if (on)
        s_audio->StartRecording();
    else if (s_audio->IsRecording())
        s_audio->StopRecording();
    return 1;
}

int __cdecl SetAec(int on)
{
    if (s_audio)
        s_audio->SetAec(on != 0);
    else if (s_ravotm)
        s_ravotm->D_G_SetAEC(on ? 1 : 0);
    return 1;
}

template <class F>
FARPROC Entry(F f)
{
    FARPROC p;
    static_assert(sizeof p == sizeof f, "function pointers are one size");
    memcpy(&p, &f, sizeof p);
    return p;
}

} // namespace

void CRavoTMSlots::Fill(const RAVOTM_FUNCTIONS& ravotm, CQuilletAudio* audio,
                        MEDIA_FUNCTIONS* media)
{
    s_ravotm = &ravotm;
    s_audio = audio;
    for (int i = 0; i < MF_T_TAKEDevices; ++i)
        media->entries[i] = nullptr;
    media->entries[MF_AUDIO_MGR_StopCapture] = Entry(ravotm.D_G_StopCapture);
    media->entries[MF_AUDIO_MGR_SetAEC] = Entry(&SetAec);
    media->entries[MF_AUDIO_MGR_StartPlay] = Entry(ravotm.D_G_StartPlay);
    media->entries[MF_AUDIO_MGR_StopPlay] = Entry(ravotm.D_G_StopPlay);
    media->entries[MF_AUDIO_MGR_GetPlayEnergy] = Entry(ravotm.D_G_GetPlayEnergy);
    media->entries[MF_AUDIO_MGR_Connect] = Entry(ravotm.D_G_Connect);
    media->entries[MF_AUDIO_MGR_SetSendAudio] = Entry(ravotm.D_G_SetSendAudio);
    media->entries[MF_AUDIO_MGR_Disconnect] = Entry(ravotm.D_G_Disconnect);
    media->entries[MF_AUDIO_MGR_SetPlayLocal] = Entry(ravotm.D_G_SetPlayLocal);
    media->entries[MF_AUDIO_MGR_SetRecord] = Entry(&SetRecord);
    media->entries[MF_AUDIO_MGR_Processer_GetParam] = Entry(&GetParam);
    media->entries[MF_AUDIO_MGR_AddSource] = Entry(ravotm.D_G_AddSource);
    media->entries[MF_AUDIO_MGR_DelSource] = Entry(ravotm.D_G_DelSource);
    media->entries[MF_AUDIO_MGR_SourceIsExist] = Entry(ravotm.D_G_SourceIsExist);
    media->entries[MF_AUDIO_MGR_SetSourceVolume] = Entry(ravotm.D_G_SetSourceVolume);
    media->entries[MF_AUDIO_MGR_GetSourceVolume] = Entry(ravotm.D_G_GetSourceVolume);
    media->entries[MF_AUDIO_MGR_GetSourceEnergy] = Entry(ravotm.D_G_GetSourceEnergy);
    media->entries[MF_AUDIO_MGR_GetPlayFormat] = Entry(ravotm.D_G_GetPlayFormat);
    media->entries[MF_AUDIO_MGR_SetPlayCallback] = Entry(ravotm.D_G_SetPlayCallback);
}
