#include "VoiceActivityDetector.h"

#include <cmath>
#include <cstring>

#include <xmmintrin.h>

namespace SonvexFilterCore {

namespace {

const int FRAME = 256; // samples at 12.8 kHz per 20 ms
const int BANDS = 12;
const int DECIM_TAPS = 15; // per side
const float SCALE = 128.0f;

// Decimation 16 -> 12.8 kHz: 4 phases of 30 taps (Q14, the 0.8 gain included).
const int16_t kDecim[4][30] = {
    {-5,   24,    -50,  54,   0, -128, 294,  -408, 344,  0, -647, 1505, -2379, 3034, 13107,
     3034, -2379, 1505, -647, 0, 344,  -408, 294,  -128, 0, 54,   -50,  24,    -5,   0},
    {-6,   19,    -26,  0, 77,   -188, 270,  -233, 0, 434, -964, 1366, -1293, 0, 12254,
     6575, -2746, 1030, 0, -507, 601,  -441, 198,  0, -95, 99,   -58,  18,    0, -1},
    {-3,   9,     0, -41, 111,  -170, 153,  0, -295, 649,  -888, 770, 0, -1997, 9894,
     9894, -1997, 0, 770, -888, 649,  -295, 0, 153,  -170, 111,  -41, 0, 9,     -3},
    {-1,    0, 18,    -58,  99,   -95, 0, 198,  -441, 601,  -507, 0, 1030, -2746, 6575,
     12254, 0, -1293, 1366, -964, 434, 0, -233, 270,  -188, 77,   0, -26,  19,    -6},
};

// Filter bank all-pass coefficients.
const float C5_1 = 0.670013f;
const float C5_2 = 0.195007f;
const float C3 = 0.407806f;

// Background noise and stationarity.
const float NOISE_MIN = 40.0f, NOISE_MAX = 20000.0f, NOISE_INIT = 150.0f;
const float ALPHA_UP1 = 1.0f - 0.95f, ALPHA_DOWN1 = 1.0f - 0.936f;
const float ALPHA_UP2 = 1.0f - 0.985f, ALPHA_DOWN2 = 1.0f - 0.943f;
const float ALPHA3 = 1.0f - 0.95f, ALPHA4 = 1.0f - 0.9f, ALPHA5 = 1.0f - 0.5f;
const int STAT_COUNT = 20;
const float STAT_THR_LEVEL = 184.0f, STAT_THR = 1000.0f;

// Speech level.
const float NOM_LEVEL = 2050.0f;
const int SP_EST_COUNT = 80, SP_ACTIVITY_COUNT = 25;
const float ALPHA_SP = 1.0f - 0.85f;
const float MIN_SPEECH_LEVEL1 = NOM_LEVEL * 0.063f, MIN_SPEECH_LEVEL2 = NOM_LEVEL * 0.2f;

// Threshold against noise and speech level (log domain: 1024 x (31 - log2 x)).
const float THR_MIN = 1.6f * SCALE, THR_HIGH = 6.0f * SCALE, THR_LOW = 1.7f * SCALE;
const float NO_P1 = 31744.0f, NO_P2 = 19786.0f;
const float NO_SLOPE = (THR_LOW - THR_HIGH) / (NO_P2 - NO_P1);
const float SP_CH_MIN = -0.75f * SCALE, SP_CH_MAX = 0.75f * SCALE;
const float SP_P1 = 22527.0f, SP_P2 = 17832.0f;
const float SP_SLOPE = (SP_CH_MAX - SP_CH_MIN) / (SP_P2 - SP_P1);

// Hangover and burst.
const int HANG_HIGH = 12, HANG_LOW = 2;
const float HANG_P1 = THR_LOW, HANG_P2 = 4.0f * SCALE;
const float HANG_SLOPE = (HANG_LOW - HANG_HIGH) / (HANG_P2 - HANG_P1);
const int BURST_HIGH = 8, BURST_LOW = 3;
const float BURST_P1 = THR_HIGH, BURST_P2 = THR_LOW;
const float BURST_SLOPE = (BURST_LOW - BURST_HIGH) / (BURST_P2 - BURST_P1);

// Power thresholds over two frames.
const float VAD_POW_LOW = 15000.0f;
const float POW_TONE_THR = 686080.0f;
const float TONE_THR = 0.65f;

// Open-loop pitch range at 12.8 kHz for the tone measure.
const int PIT_MIN = 34, PIT_MAX = 231;
const int HISTORY = PIT_MAX + FRAME;
// Lags summed together; the last block runs past PIT_MAX into zeros.
const int LAG_BLOCK = 8; // two SSE registers
const int LAG_PAD = LAG_BLOCK;

// The decimation taps as floats, ordered by tap and then by phase.
struct DecimationTaps
{
    float byTap[30][4];
    DecimationTaps()
    {
        for (int t = 0; t < 30; ++t)
            for (int k = 0; k < 4; ++k)
                byTap[t][k] = kDecim[k][t];
    }
};

const DecimationTaps& Taps()
{
    static const DecimationTaps taps;
    return taps;
}

float Ilog2(float x)
{
    if (x < 1.0f)
        x = 1.0f;
    return 1024.0f * (31.0f - std::log2(x));
}

} // namespace

struct VoiceActivityDetector::State
{
    float decimMem[2 * DECIM_TAPS] = {};
    float hpX1 = 0, hpX2 = 0, hpY1 = 0, hpY2 = 0;
    float preemph = 0;
    float pitchHistory[PIT_MAX + FRAME] = {};

    float bckr[BANDS], aveLevel[BANDS], oldLevel[BANDS], subLevel[BANDS] = {};
    float data5[5][2] = {};
    float data3[6] = {};
    float speechLevel = NOM_LEVEL;
    float spMax = 0;
    int spEstCount = 0, spMaxCount = 0;
    int vadreg = 0, hangCount = 0, burstCount = 0, toneFlag = 0, statCount = 0;
    float prevPow = 0;

    State()
    {
        for (int i = 0; i < BANDS; ++i)
            bckr[i] = aveLevel[i] = oldLevel[i] = NOISE_INIT;
    }

    // Output sample j = 4m + k lies at input position 1.25 j = 5m + k + k/4:
    // phase k, and the four outputs of one m read consecutive inputs, so
    // that they are summed side by side, each in the order of its taps.
    void Decimate(const int16_t* in, float* out)
    {
        float signal[2 * DECIM_TAPS + VoiceActivityDetector::BLOCK_SAMPLES];
        memcpy(signal, decimMem, sizeof(decimMem));
        for (int i = 0; i < VoiceActivityDetector::BLOCK_SAMPLES; ++i)
            signal[2 * DECIM_TAPS + i] = in[i];
        const DecimationTaps& taps = Taps();
        for (int m = 0; m < FRAME / 4; ++m) {
            const float* x = signal + 5 * m + 1;
            float sum[4] = {0, 0, 0, 0};
            for (int t = 0; t < 2 * DECIM_TAPS; ++t)
                for (int k = 0; k < 4; ++k)
                    sum[k] += x[t + k] * taps.byTap[t][k];
            for (int k = 0; k < 4; ++k)
                out[4 * m + k] = sum[k] / 16384.0f;
        }
        memcpy(decimMem, signal + VoiceActivityDetector::BLOCK_SAMPLES, sizeof(decimMem));
    }

    void HighPass(float* x)
    {
        const float b0 = 0.989501953125f, b1 = -1.97900390625f, b2 = 0.989501953125f;
        const float a1 = -1.9788818f, a2 = 0.979126f;
        for (int i = 0; i < FRAME; ++i) {
            float x0 = x[i];
            float y = b0 * x0 + b1 * hpX1 + b2 * hpX2 - a1 * hpY1 - a2 * hpY2;
            hpX2 = hpX1;
            hpX1 = x0;
            hpY2 = hpY1;
            hpY1 = y;
            x[i] = y;
        }
    }

    void Preemphasis(float* x)
    {
        for (int i = 0; i < FRAME; ++i) {
            float v = x[i];
            x[i] = v - 0.68f * preemph;
            preemph = v;
        }
    }

    static void Filter5(float& in0, float& in1, float* data)
    {
        float t0 = in0 - C5_1 * data[0];
        float t1 = data[0] + C5_1 * t0;
        data[0] = t0;
        t0 = in1 - C5_2 * data[1];
        float t2 = data[1] + C5_2 * t0;
        data[1] = t0;
        in0 = (t1 + t2) * 0.5f;
        in1 = (t1 - t2) * 0.5f;
    }

    static void Filter3(float& in0, float& in1, float& data)
    {
        float t1 = in1 - C3 * data;
        float t2 = data + C3 * t1;
        data = t1;
        in1 = (in0 - t2) * 0.5f;
        in0 = (in0 + t2) * 0.5f;
    }

    // Sum of magnitudes of one band over this frame plus the tail of the last.
    static float Level(const float* d, float& sub, int count1, int count2, int step, int first,
                       int scale)
    {
        float tail = 0;
        for (int i = count1; i < count2; ++i)
            tail += std::fabs(d[step * i + first]);
        float head = 0;
        for (int i = 0; i < count1; ++i)
            head += std::fabs(d[step * i + first]);
        float level = (head + tail + sub) * std::ldexp(1.0f, scale - 15);
        sub = tail;
        return level;
    }

    void FilterBank(const float* in, float* level)
    {
        float t[FRAME];
        for (int i = 0; i < FRAME; ++i)
            t[i] = in[i] * 0.5f;
        for (int i = 0; i < FRAME / 2; ++i)
            Filter5(t[2 * i], t[2 * i + 1], data5[0]);
        for (int i = 0; i < FRAME / 4; ++i) {
            Filter5(t[4 * i], t[4 * i + 2], data5[1]);
            Filter5(t[4 * i + 1], t[4 * i + 3], data5[2]);
        }
        for (int i = 0; i < FRAME / 8; ++i) {
            Filter5(t[8 * i], t[8 * i + 4], data5[3]);
            Filter5(t[8 * i + 2], t[8 * i + 6], data5[4]);
            Filter3(t[8 * i + 3], t[8 * i + 7], data3[0]);
        }
        for (int i = 0; i < FRAME / 16; ++i) {
            Filter3(t[16 * i], t[16 * i + 8], data3[1]);
            Filter3(t[16 * i + 4], t[16 * i + 12], data3[2]);
            Filter3(t[16 * i + 6], t[16 * i + 14], data3[3]);
        }
        for (int i = 0; i < FRAME / 32; ++i) {
            Filter3(t[32 * i], t[32 * i + 16], data3[4]);
            Filter3(t[32 * i + 8], t[32 * i + 24], data3[5]);
        }
        level[11] = Level(t, subLevel[11], FRAME / 4 - 48, FRAME / 4, 4, 1, 14);
        level[10] = Level(t, subLevel[10], FRAME / 8 - 24, FRAME / 8, 8, 7, 15);
        level[9] = Level(t, subLevel[9], FRAME / 8 - 24, FRAME / 8, 8, 3, 15);
        level[8] = Level(t, subLevel[8], FRAME / 8 - 24, FRAME / 8, 8, 2, 15);
        level[7] = Level(t, subLevel[7], FRAME / 16 - 12, FRAME / 16, 16, 14, 16);
        level[6] = Level(t, subLevel[6], FRAME / 16 - 12, FRAME / 16, 16, 6, 16);
        level[5] = Level(t, subLevel[5], FRAME / 16 - 12, FRAME / 16, 16, 4, 16);
        level[4] = Level(t, subLevel[4], FRAME / 16 - 12, FRAME / 16, 16, 12, 16);
        level[3] = Level(t, subLevel[3], FRAME / 32 - 6, FRAME / 32, 32, 8, 17);
        level[2] = Level(t, subLevel[2], FRAME / 32 - 6, FRAME / 32, 32, 24, 17);
        level[1] = Level(t, subLevel[1], FRAME / 32 - 6, FRAME / 32, 32, 16, 17);
        level[0] = Level(t, subLevel[0], FRAME / 32 - 6, FRAME / 32, 32, 0, 17);
    }

    void UpdateControl(const float* level)
    {
        if ((toneFlag & 0x7c00) == 0x7c00) {
            statCount = STAT_COUNT;
        } else if ((vadreg & 0x7f80) == 0) {
            statCount = STAT_COUNT;
        } else {
            float statRat = 0;
            for (int i = 0; i < BANDS; ++i) {
                float num = level[i] > aveLevel[i] ? level[i] : aveLevel[i];
                float den = level[i] > aveLevel[i] ? aveLevel[i] : level[i];
                if (num < STAT_THR_LEVEL)
                    num = STAT_THR_LEVEL;
                if (den < STAT_THR_LEVEL)
                    den = STAT_THR_LEVEL;
                statRat += num / den * 64.0f;
            }
            if (statRat > STAT_THR)
                statCount = STAT_COUNT;
            else if ((vadreg & 0x4000) && statCount != 0)
                --statCount;
        }
        float alpha = ALPHA4;
        if (statCount == STAT_COUNT)
            alpha = 1.0f;
        else if ((vadreg & 0x4000) == 0)
            alpha = ALPHA5;
        for (int i = 0; i < BANDS; ++i)
            aveLevel[i] += alpha * (level[i] - aveLevel[i]);
    }

    void UpdateNoise(const float* level)
    {
        UpdateControl(level);
        float up, down, add = 2.0f;
        if ((vadreg & 0x7800) == 0) {
            up = ALPHA_UP1;
            down = ALPHA_DOWN1;
        } else if (statCount == 0) {
            up = ALPHA_UP2;
            down = ALPHA_DOWN2;
        } else {
            up = 0;
            down = ALPHA3;
            add = 0;
        }
        for (int i = 0; i < BANDS; ++i) {
            float diff = oldLevel[i] - bckr[i];
            if (diff < 0) {
                bckr[i] = -2.0f + bckr[i] + down * diff;
                if (bckr[i] < NOISE_MIN)
                    bckr[i] = NOISE_MIN;
            } else {
                bckr[i] = add + bckr[i] + up * diff;
                if (bckr[i] > NOISE_MAX)
                    bckr[i] = NOISE_MAX;
            }
            oldLevel[i] = level[i];
        }
    }

    int Hangover(bool lowPower, int hangLen, int burstLen)
    {
        if (lowPower) {
            burstCount = 0;
            hangCount = 0;
            return 0;
        }
        if (vadreg & 0x4000) {
            if (++burstCount >= burstLen)
                hangCount = hangLen;
            return 1;
        }
        burstCount = 0;
        if (hangCount > 0) {
            --hangCount;
            return 1;
        }
        return 0;
    }

    int Decide(const float* level, float powSum)
    {
        float snrSum = 0;
        for (int i = 0; i < BANDS; ++i) {
            float ratio = level[i] / bckr[i];
            snrSum += ratio * ratio;
        }
        float noiseLevel = 0;
        for (int i = 1; i < BANDS; ++i)
            noiseLevel += bckr[i];
        noiseLevel /= 16.0f;
        if (speechLevel < noiseLevel)
            speechLevel = noiseLevel;
        float thr = NO_SLOPE * (Ilog2(noiseLevel) - NO_P1) + THR_HIGH;
        float change = SP_CH_MIN + SP_SLOPE * (Ilog2(speechLevel - noiseLevel) - SP_P1);
        if (change < SP_CH_MIN)
            change = SP_CH_MIN;
        if (change > SP_CH_MAX)
            change = SP_CH_MAX;
        thr += change;
        if (thr < THR_MIN)
            thr = THR_MIN;

        vadreg >>= 1;
        if (snrSum > thr * BANDS / SCALE)
            vadreg |= 0x4000;
        bool lowPower = powSum < VAD_POW_LOW;
        UpdateNoise(level);

        int hangLen = static_cast<int>(HANG_SLOPE * (thr - HANG_P1)) + HANG_HIGH;
        if (hangLen < HANG_LOW)
            hangLen = HANG_LOW;
        int burstLen = static_cast<int>(BURST_SLOPE * (thr - BURST_P1)) + BURST_HIGH;
        return Hangover(lowPower, hangLen, burstLen);
    }

    void EstimateSpeech(float inLevel)
    {
        if (spEstCount - spMaxCount > SP_EST_COUNT - SP_ACTIVITY_COUNT) {
            spEstCount = 0;
            spMax = 0;
            spMaxCount = 0;
        }
        ++spEstCount;
        if (((vadreg & 0x4000) || inLevel > speechLevel) && inLevel > MIN_SPEECH_LEVEL1) {
            if (inLevel > spMax)
                spMax = inLevel;
            if (++spMaxCount >= SP_ACTIVITY_COUNT) {
                float tmp = spMax * 0.5f;
                if (tmp > MIN_SPEECH_LEVEL2)
                    speechLevel += ALPHA_SP * (tmp - speechLevel);
                spMax = 0;
                spMaxCount = 0;
                spEstCount = 0;
            }
        }
    }

    // Normalised open-loop pitch correlation of each half frame marks tones.
    // The history is read backwards, so that consecutive lags lie side by
    // side: each lag's sums still add their terms in the order of i.
    void DetectTone(const float* x)
    {
        memmove(pitchHistory, pitchHistory + FRAME, sizeof(float) * PIT_MAX);
        memcpy(pitchHistory + PIT_MAX, x, sizeof(float) * FRAME);
        float reversed[HISTORY + LAG_PAD] = {};
        for (int i = 0; i < HISTORY; ++i)
            reversed[i] = pitchHistory[HISTORY - 1 - i];
        for (int half = 0; half < 2; ++half) {
            const float* s = pitchHistory + PIT_MAX + half * (FRAME / 2);
            float e0 = 0;
            for (int i = 0; i < FRAME / 2; ++i)
                e0 += s[i] * s[i];
            // s[i - lag] = reversed[last - i + lag]
            const int last = HISTORY - 1 - PIT_MAX - half * (FRAME / 2);
            float best = 0;
            for (int first = PIT_MIN; first <= PIT_MAX; first += LAG_BLOCK) {
                __m128 c0 = _mm_setzero_ps(), c1 = _mm_setzero_ps(), e1 = _mm_setzero_ps(),
                       e2 = _mm_setzero_ps();
                const float* r = reversed + last + first;
                for (int i = 0; i < FRAME / 2; ++i, --r) {
                    const __m128 si = _mm_set1_ps(s[i]);
                    const __m128 r0 = _mm_loadu_ps(r), r1 = _mm_loadu_ps(r + 4);
                    c0 = _mm_add_ps(c0, _mm_mul_ps(si, r0));
                    c1 = _mm_add_ps(c1, _mm_mul_ps(si, r1));
                    e1 = _mm_add_ps(e1, _mm_mul_ps(r0, r0));
                    e2 = _mm_add_ps(e2, _mm_mul_ps(r1, r1));
                }
                alignas(16) float c[LAG_BLOCK], e[LAG_BLOCK];
                _mm_store_ps(c, c0);
                _mm_store_ps(c + 4, c1);
                _mm_store_ps(e, e1);
                _mm_store_ps(e + 4, e2);
                const int count = PIT_MAX + 1 - first < LAG_BLOCK ? PIT_MAX + 1 - first : LAG_BLOCK;
                for (int k = 0; k < count; ++k) {
                    if (c[k] > 0 && e[k] > 0 && e0 > 0) {
                        float g = c[k] / std::sqrt(e0 * e[k]);
                        if (g > best)
                            best = g;
                    }
                }
            }
            toneFlag >>= 1;
            if (best > TONE_THR)
                toneFlag |= 0x4000;
        }
    }

    int Run(const int16_t* in)
    {
        float x[FRAME];
        Decimate(in, x);
        HighPass(x);
        Preemphasis(x);

        float power = 0;
        for (int i = 0; i < FRAME; ++i)
            power += x[i] * x[i];
        power *= 2.0f;
        float powSum = power + prevPow;
        prevPow = power;
        if (powSum < POW_TONE_THR)
            toneFlag &= 0x1fff;

        float level[BANDS];
        FilterBank(x, level);
        int flag = Decide(level, powSum);
        float sum = 0;
        for (int i = 1; i < BANDS; ++i)
            sum += level[i];
        EstimateSpeech(sum / 16.0f);
        DetectTone(x);
        return flag;
    }
};

VoiceActivityDetector::VoiceActivityDetector() : m_state(new State) {}

VoiceActivityDetector::~VoiceActivityDetector() = default;

int VoiceActivityDetector::IsVoice(const int16_t* samples, int count)
{
    if (!samples || count != BLOCK_SAMPLES)
        return -1;
    return m_state->Run(samples);
}

} // namespace SonvexFilterCore
