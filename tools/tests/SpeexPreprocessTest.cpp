#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <speex/speex_preprocess.h>

TEST(Speexdsp, DenoiseLowersSteadyNoise)
{
    const int frame = 320, rate = 16000;
    SpeexPreprocessState* st = speex_preprocess_state_init(frame, rate);
    ASSERT_NE(st, nullptr);
    int on = 1, off = 0;
    speex_preprocess_ctl(st, SPEEX_PREPROCESS_SET_DENOISE, &on);
    speex_preprocess_ctl(st, SPEEX_PREPROCESS_SET_AGC, &off);
    speex_preprocess_ctl(st, SPEEX_PREPROCESS_SET_VAD, &off);

    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 800.0);
    double inEnergy = 0, outEnergy = 0;
    std::vector<int16_t> block(frame);
    for (int n = 0; n < 150; ++n) {
        for (auto& s : block)
            s = static_cast<int16_t>(noise(rng));
        double e = 0;
        for (auto s : block)
            e += double(s) * s;
        speex_preprocess_run(st, block.data());
        if (n >= 100) {
            inEnergy += e;
            for (auto s : block)
                outEnergy += double(s) * s;
        }
    }
    speex_preprocess_state_destroy(st);
    EXPECT_LT(outEnergy, inEnergy * 0.5) << "steady noise is suppressed";
}
