#include "InputDestVolume.h"

#include "InputXxxVolume.h"

InputDestVolume* InputDestVolume::s_instance = nullptr;

InputDestVolume::InputDestVolume(UINT mixerId) : CMixerVolume("InputXxxVolume")
{
    s_instance = this;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 22050;
    format.nAvgBytesPerSec = 44100;
    format.nBlockAlign = 2;
    format.wBitsPerSample = 16;
    HWAVEIN wave = NULL;
    MMRESULT result = waveInOpen(&wave, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        Log("FAILURE: Could not open WaveIn Mapper. mmResult=%d\n", static_cast<int>(result));
        s_instance = nullptr;
        return;
    }
    UINT id = mixerId;
    result = mixerGetID(reinterpret_cast<HMIXEROBJ>(wave), &id, MIXER_OBJECTF_HWAVEIN);
    waveInClose(wave);
    if (result != MMSYSERR_NOERROR) {
        Log("FAILURE: WaveIn Mapper in Mixer is not available. mmResult=%d\n",
            static_cast<int>(result));
        s_instance = nullptr;
        return;
    }
    if (!OpenMixer(id, "Input Volume Msg Wnd Class", "Input Volume Msg Wnd")) {
        s_instance = nullptr;
        return;
    }
    MIXERCAPSA caps = {};
    mixerGetDevCapsA(id, &caps, sizeof caps);
    for (DWORD d = 0; d < caps.cDestinations; ++d) {
        MIXERLINEA line = {};
        line.cbStruct = sizeof line;
        line.dwDestination = d;
        if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(m_mixer), &line,
                              MIXER_GETLINEINFOF_DESTINATION | MIXER_OBJECTF_HMIXER) !=
                MMSYSERR_NOERROR ||
            line.dwComponentType != MIXERLINE_COMPONENTTYPE_DST_WAVEIN)
            continue;
        m_destinationIndex = d;
        m_adopted = AdoptVolumeControl(line);
        break;
    }
    if (!m_adopted) {
        CloseMixer();
        s_instance = nullptr;
    }
}

InputDestVolume::~InputDestVolume()
{
    if (s_instance == this)
        s_instance = nullptr;
}

bool InputDestVolume::Enable()
{
    return m_mixer &&
           InputXxxVolume::EnableInputLine(*this, m_mixer, m_destinationIndex, m_channels);
}

bool InputDestVolume::Disable()
{
    Log("WARNING: Disable line has no sense. The function not implemented.\n");
    return false;
}
