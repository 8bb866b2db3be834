#pragma once
#include <cstdint>
#include <memory>

namespace SonvexFilterCore {

// Decides for each 20 ms block of 16000 Hz mono PCM whether it holds voice.
// The block is brought to 12.8 kHz, high-pass filtered at 50 Hz and
// pre-emphasised, then judged by a 12-band sub-band detector with adaptive
// background noise, speech level, tone and hangover tracking. Decisions
// depend on every earlier block: feed the blocks of one stream in order.
class VoiceActivityDetector
{
public:
    enum { BLOCK_SAMPLES = 320 };

    VoiceActivityDetector();
    virtual ~VoiceActivityDetector();

    VoiceActivityDetector(const VoiceActivityDetector&) = delete;
    VoiceActivityDetector& operator=(const VoiceActivityDetector&) = delete;

    // 1 voice, 0 no voice; -1 (state untouched) when count is not 320.
    int IsVoice(const int16_t* samples, int count);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace SonvexFilterCore
