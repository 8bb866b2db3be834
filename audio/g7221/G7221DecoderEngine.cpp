#include "G7221DecoderEngine.h"

#include <math.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include "G7221BitReader.h"
#include "G7221Categorizer.h"

const float G7221DecoderEngine::kCoefGain = 22.0f;

namespace
{
const int kRegions = G7221Tables::kRegions;
const int kRegionSize = G7221Tables::kRegionSize;
const int kTopCategory = G7221Tables::kCategories - 1;
}

G7221DecoderEngine* G7221DecoderEngine::Create(int bitRate)
{
    if (bitRate < 8000 || bitRate > 48000 || bitRate % 800 != 0)
    {
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
    int value;
    if (!(sample == sample))
        value = 0;
    else if (sample >= 32767.0f)
        value = 32767;
    else if (sample <= -32768.0f)
        value = -32768;
    else
        value = (int)(sample >= 0.0f ? sample + 0.5f : sample - 0.5f);
    if (value > 32767)
        value = 32767;
    if (value < -32768)
        value = -32768;
    return (int16_t)(uint16_t)((uint16_t)value & 0xFFFCu);
}

int G7221DecoderEngine::DecodeDiffPower(G7221BitReader& reader, int region) const
{
    int code = 0;
    for (int length = 1; length <= 16; ++length)
    {
        int bit = reader.Get();
        if (bit < 0)
            return -1;
        code = (code << 1) | bit;
        for (int j = 0; j < G7221Tables::kDiffLevels; ++j)
            if (G7221Tables::kDiffPowerBits[region][j] == length && G7221Tables::kDiffPowerCodes[region][j] == code)
                return j;
    }
    return -1;
}

int G7221DecoderEngine::DecodeVector(G7221BitReader& reader, int category) const
{
    const int16_t* tree = G7221Tables::kVectorTree[category];
    int node = 0;
    do
    {
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
    for (int r = 1; r < kRegions; ++r)
    {
        int j = DecodeDiffPower(reader, r);
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
    for (int r = 0; r < kRegions; ++r)
    {
        float* out = coefs + r * kRegionSize;
        const float deviation = (float)pow(2.0, rms[r] / 2.0);
        int category = ranOut ? kTopCategory : categories[r];
        if (category < kTopCategory)
        {
            const int dim = G7221Tables::kVectorDimension[category];
            for (int v = 0; v < G7221Tables::kVectorsPerRegion[category] && !ranOut; ++v)
            {
                int index = DecodeVector(reader, category);
                int bins[G7221Tables::kMaxVectorDim];
                int signCount = index < 0 ? 0 : m_reciprocals.Split(category, index, bins);
                int signs = (index < 0 || signCount > reader.BitsLeft()) ? -1 : reader.Get(signCount);
                if (index < 0 || signs < 0)
                {
                    ranOut = true;
                    break;
                }
                int bit = signCount - 1;
                for (int j = 0; j < dim; ++j)
                {
                    float value = 0.0f;
                    if (bins[j] != 0)
                    {
                        value = G7221Tables::kCentroid[category][bins[j]] * deviation;
                        if (((signs >> bit) & 1) == 0)
                            value = -value;
                        --bit;
                    }
                    out[v * dim + j] = value;
                }
            }
            if (ranOut)
            {
                // Too few bits: this region and all after it are noise.
                category = kTopCategory;
                memset(out, 0, sizeof(float) * kRegionSize);
            }
        }

        if (category == 5 || category == 6)
        {
            const float level = G7221Tables::kNoiseFill[category - 5] * deviation;
            for (int i = 0; i < kRegionSize; ++i)
                if (out[i] == 0.0f)
                    out[i] = (NextRandom() & 1) ? level : -level;
        }
        else if (category == kTopCategory)
        {
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
    if (good)
    {
        memcpy(m_previous, coefs, sizeof(coefs));
    }
    else
    {
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
