#include "G7221DecoderEngine.h"

#include <math.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include "G7221BitReader.h"
#include "G7221Categorizer.h"

const float G7221DecoderEngine::kCoefGain = 22.0f;

namespace {
const int kRegions = G7221Tables::kRegions;
const int kRegionSize = G7221Tables::kRegionSize;
const int kTopCategory = G7221Tables::kCategories - 1;
} // namespace

G7221DecoderEngine* G7221DecoderEngine::Create(int bitRate)
{
    if (bitRate < 8000 || bitRate > 48000 || bitRate % 800 != 0) {
#ifdef _WIN32
        if (IsDebuggerPresent())
            DebugBreak();
#endif
        return nullptr;
    }
    return new G7221DecoderEngine(bitRate);
}

G7221DecoderEngine::G7221DecoderEngine(int bitRate) : m_bitsPerFrame(bitRate / 50)
{
    for (int level = 0; level < kPowerLevels; ++level)
        m_deviation[level] = (float)pow(2.0, (level + G7221Tables::kRmsMin) / 2.0);
    Reset();
}

void G7221DecoderEngine::Reset()
{
    m_transform.Reset();
    memset(m_previous, 0, sizeof(m_previous));
    m_random = 1;
}

uint32_t G7221DecoderEngine::NextRandom()
{
    m_random = m_random * 1664525u + 1013904223u;
    return m_random >> 8;
}

int16_t G7221DecoderEngine::ToPcm(float sample)
{
    // Sign and magnitude apart, with the tests on the magnitude's bits:
    // rounding the magnitude half up and restoring the sign rounds half
    // away from zero.
    uint32_t bits;
    memcpy(&bits, &sample, sizeof(bits));
    const uint32_t magnitudeBits = bits & 0x7FFFFFFFu;
    const bool negative = (bits >> 31) != 0;
    int value;
    if (magnitudeBits > 0x7F800000u) // not a number
        value = 0;
    else if (magnitudeBits >= 0x47000000u) // 32768 and above, infinity
        value = negative ? -32768 : 32767;
    else {
        float magnitude;
        memcpy(&magnitude, &magnitudeBits, sizeof(magnitude));
        const int rounded = (int)(magnitude + 0.5f);
        value = negative ? -rounded : (rounded > 32767 ? 32767 : rounded);
    }
    return (int16_t)(uint16_t)((uint16_t)value & 0xFFFCu);
}

int G7221DecoderEngine::DecodeVector(G7221BitReader& reader, int category) const
{
    const int16_t* tree = G7221Tables::kVectorTree[category];
    int node = 0;
    do {
        int bit = reader.Get();
        if (bit < 0)
            return -1;
        node = tree[2 * node + bit];
    } while (node > 0);
    return -node;
}

bool G7221DecoderEngine::DecodeFrame(const uint16_t* words, float* coefs)
{
    G7221BitReader reader(words, FrameWords());

    int rms[kRegions];
    int first = reader.Get(5);
    if (first < 0)
        return false;
    rms[0] = first - G7221Tables::kRmsAdjust;
    for (int r = 1; r < kRegions; ++r) {
        int j = m_powerCodes.Decode(reader, r);
        if (j < 0)
            return false;
        rms[r] = rms[r - 1] + j + G7221Tables::kDiffMin;
    }
    for (int r = 0; r < kRegions; ++r)
        if (rms[r] < G7221Tables::kRmsMin || rms[r] > G7221Tables::kRmsMax)
            return false;

    int control = reader.Get(G7221Tables::kCategorizationBits);
    if (control < 0)
        return false;
    int categories[kRegions];
    int balances[G7221Tables::kCategorizations - 1];
    G7221Categorizer::Categorize(reader.BitsLeft(), rms, categories, balances);
    G7221Categorizer::Apply(control, balances, categories);

    memset(coefs, 0, sizeof(float) * G7221Tables::kFrameSize);
    bool ranOut = false;
    for (int r = 0; r < kRegions; ++r) {
        float* out = coefs + r * kRegionSize;
        const float deviation = m_deviation[rms[r] - G7221Tables::kRmsMin];
        int category = ranOut ? kTopCategory : categories[r];
        if (category < kTopCategory) {
            const int dim = G7221Tables::kVectorDimension[category];
            for (int v = 0; v < G7221Tables::kVectorsPerRegion[category] && !ranOut; ++v) {
                int index = DecodeVector(reader, category);
                int bins[G7221Tables::kMaxVectorDim];
                int signCount = index < 0 ? 0 : m_reciprocals.Split(category, index, bins);
                int signs =
                    (index < 0 || signCount > reader.BitsLeft()) ? -1 : reader.Get(signCount);
                if (index < 0 || signs < 0) {
                    ranOut = true;
                    break;
                }
                int bit = signCount - 1;
                for (int j = 0; j < dim; ++j) {
                    float value = 0.0f;
                    if (bins[j] != 0) {
                        value = G7221Tables::kCentroid[category][bins[j]] * deviation;
                        if (((signs >> bit) & 1) == 0)
                            value = -value;
                        --bit;
                    }
                    out[v * dim + j] = value;
                }
            }
            if (ranOut) {
                // Too few bits: this region and all after it are noise.
                category = kTopCategory;
                memset(out, 0, sizeof(float) * kRegionSize);
            }
        }

        if (category == 5 || category == 6) {
            const float level = G7221Tables::kNoiseFill[category - 5] * deviation;
            for (int i = 0; i < kRegionSize; ++i)
                if (out[i] == 0.0f)
                    out[i] = (NextRandom() & 1) ? level : -level;
        } else if (category == kTopCategory) {
            const float level = G7221Tables::kNoiseFill[2] * deviation;
            for (int i = 0; i < kRegionSize; ++i)
                out[i] = (NextRandom() & 1) ? level : -level;
        }
    }

    // Running out of bits is the encoder's way of coding only at the lowest
    // rate; anywhere else it means a damaged frame. Bits left over are
    // filled with ones by every encoder, so a zero among them does too.
    if (ranOut)
        return control == G7221Tables::kCategorizations - 1;
    while (reader.BitsLeft() > 0)
        if (reader.Get() == 0)
            return false;
    return true;
}

bool G7221DecoderEngine::Decode(const uint16_t* words, bool erased, int16_t* pcm)
{
    float coefs[G7221Tables::kFrameSize];
    bool good = !erased && words != nullptr && DecodeFrame(words, coefs);
    if (good) {
        memcpy(m_previous, coefs, sizeof(coefs));
    } else {
        // A lost frame repeats the last good coefficients once; a second
        // lost frame in a row is silent.
        memcpy(coefs, m_previous, sizeof(coefs));
        memset(m_previous, 0, sizeof(m_previous));
    }

    float samples[G7221Tables::kFrameSize];
    for (int i = 0; i < G7221Tables::kFrameSize; ++i)
        coefs[i] *= kCoefGain;
    m_transform.Synthesise(coefs, samples);
    for (int i = 0; i < G7221Tables::kFrameSize; ++i)
        pcm[i] = ToPcm(samples[i]);
    return good;
}
