#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "AecCore.h"
#include "AecTransform.h"
#include "SyntheticRoom.h"

using namespace SyntheticRoom;

TEST(AecCore, ScratchErle)
{
    const int rate = 16000;
    const int seconds = 12;
    const int n = rate * seconds;
    std::vector<double> far = SpeechLike(n, 1);
    std::vector<double> h = ImpulseResponse(rate, 5.0, 150.0, 300.0, 0.5, 7);
    std::vector<double> echo = Convolve(far, h);
    std::vector<double> mic = Sum(echo, Noise(n, 10.0, 3));
    std::vector<int16_t> farPcm = ToPcm(far), micPcm = ToPcm(mic);
    std::vector<int16_t> out(n);
    AecCore core;
    ASSERT_TRUE(core.init(16000, 2.0f, 128.0f));
    for (int i = 0; i + 32 <= n; i += 32)
        ASSERT_TRUE(core.process(&farPcm[i], &micPcm[i], &out[i], 32));
    for (int s = 0; s < seconds; ++s)
        printf("second %d: mic %.1f dB out %.1f dB erle %.1f\n", s, EnergyDb(micPcm, s * rate, rate),
               EnergyDb(out, s * rate, rate), EnergyDb(micPcm, s * rate, rate) - EnergyDb(out, s * rate, rate));
}
