#pragma once
#include <cstdint>
struct SpeexPreprocessState_;

namespace RavoEngine {

// The speexdsp preprocessor as the processer's denoise mode 3 uses it: one
// state for frames of a fixed size at one rate, denoise on, AGC and VAD off,
// run in place.
class SpeexDenoiser
{
public:
    SpeexDenoiser(int frameSamples, int rate);
    ~SpeexDenoiser();

    SpeexDenoiser(const SpeexDenoiser&) = delete;
    SpeexDenoiser& operator=(const SpeexDenoiser&) = delete;

    bool IsValid() const { return m_state != nullptr; }
    // False (nothing done) unless count equals the frame size.
    bool Process(int16_t* samples, int count);

private:
    SpeexPreprocessState_* m_state = nullptr;
    int m_frame;
};

} // namespace RavoEngine
