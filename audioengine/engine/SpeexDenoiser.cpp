#include "SpeexDenoiser.h"

#include <speex/speex_preprocess.h>

namespace RavoEngine {

SpeexDenoiser::SpeexDenoiser(int frameSamples, int rate) : m_frame(frameSamples)
{
    if (frameSamples <= 0 || rate <= 0)
        return;
    m_state = speex_preprocess_state_init(frameSamples, rate);
    if (!m_state)
        return;
    int on = 1, off = 0;
    speex_preprocess_ctl(m_state, SPEEX_PREPROCESS_SET_DENOISE, &on);
    speex_preprocess_ctl(m_state, SPEEX_PREPROCESS_SET_AGC, &off);
    speex_preprocess_ctl(m_state, SPEEX_PREPROCESS_SET_VAD, &off);
}

SpeexDenoiser::~SpeexDenoiser()
{
    if (m_state)
        speex_preprocess_state_destroy(m_state);
}

bool SpeexDenoiser::Process(int16_t* samples, int count)
{
    if (!m_state || !samples || count != m_frame)
        return false;
    speex_preprocess_run(m_state, samples);
    return true;
}

} // namespace RavoEngine
