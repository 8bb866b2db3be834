#include "G7221EncoderEngine.h"

#include <math.h>
#include <stdint.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include "G7221BitWriter.h"
#include "G7221Categorizer.h"

const float G7221EncoderEngine::kCoefScale = 0.045454547f;

namespace {
const int kRegions = G7221Tables::kRegions;
const int kRegionSize = G7221Tables::kRegionSize;
const int kTopCategory = G7221Tables::kCategories - 1;

// Quantised power index of a region's mean square: the nearest power of
// two, so that the region's standard deviation is 2^(index / 2). That is
// floor(log2(mean) + 1/2): with mean = f 2^e, 1 <= f < 2, the exponent e,
// plus one where f lies above sqrt(2) (whose nearest double lies above it,
// so no double lies between the two).
int PowerIndex(const float* coefs)
{
    double sum = 0.0;
    for (int i = 0; i < kRegionSize; ++i)
        sum += (double)coefs[i] * coefs[i];
    double mean = sum / kRegionSize;
    if (mean <= 1e-12)
        return G7221Tables::kRmsMin;
    const uint64_t kSqrt2Fraction = 0x6A09E667F3BCDull;
    uint64_t bits;
    memcpy(&bits, &mean, sizeof(bits));
    int exponent = (int)((bits >> 52) & 0x7FF) - 1023;
    return exponent + ((bits & 0xFFFFFFFFFFFFFull) >= kSqrt2Fraction ? 1 : 0);
}
} // namespace

G7221EncoderEngine* G7221EncoderEngine::Create(int bitRate)
{
    if (bitRate < 8000 || bitRate > 48000 || bitRate % 800 != 0) {
#ifdef _WIN32
        if (IsDebuggerPresent())
            DebugBreak();
#endif
        return nullptr;
    }
    return new G7221EncoderEngine(bitRate);
}

G7221EncoderEngine::G7221EncoderEngine(int bitRate) : m_bitsPerFrame(bitRate / 50)
{
    for (int level = 0; level < kPowerLevels; ++level) {
        const int rms = level + G7221Tables::kRmsMin;
        for (int c = 0; c < kCodedCategories; ++c)
            m_inverseStep[level][c] =
                1.0f / ((float)pow(2.0, rms / 2.0) * G7221Tables::kStepSize[c]);
    }
}

void G7221EncoderEngine::QuantiseRegion(const float* coefs, int rms, int category,
                                        RegionCode& out) const
{
    out.bits = 0;
    out.vectors = 0;
    if (category >= kTopCategory)
        return;
    const int dim = G7221Tables::kVectorDimension[category];
    const int maxBin = G7221Tables::kMaxBin[category];
    const float inverse = m_inverseStep[rms - G7221Tables::kRmsMin][category];
    const float deadZone = G7221Tables::kDeadZone[category];
    const uint8_t* lengths = G7221Tables::kVectorBits[category];
    const uint16_t* codes = G7221Tables::kVectorCodes[category];
    for (int v = 0; v < G7221Tables::kVectorsPerRegion[category]; ++v) {
        int index = 0;
        uint32_t signs = 0;
        int signCount = 0;
        for (int j = 0; j < dim; ++j) {
            float x = coefs[v * dim + j];
            int k = (int)(fabsf(x) * inverse + deadZone);
            if (k > maxBin)
                k = maxBin;
            index = index * (maxBin + 1) + k;
            if (k != 0) {
                signs = (signs << 1) | (x > 0.0f ? 1u : 0u);
                ++signCount;
            }
        }
        out.code[v] = ((uint32_t)codes[index] << signCount) | signs;
        out.length[v] = (uint8_t)(lengths[index] + signCount);
        out.bits += out.length[v];
        ++out.vectors;
    }
}

void G7221EncoderEngine::Encode(const int16_t* pcm, uint16_t* words)
{
    float samples[G7221Tables::kFrameSize];
    float coefs[G7221Tables::kFrameSize];
    for (int i = 0; i < G7221Tables::kFrameSize; ++i)
        samples[i] = (float)pcm[i];
    m_transform.Analyse(samples, coefs);
    for (int i = 0; i < G7221Tables::kFrameSize; ++i)
        coefs[i] *= kCoefScale;

    // Envelope: quantised region powers, valleys raised so that every rise
    // fits the differential code, limited to the coded range.
    int rms[kRegions];
    for (int r = 0; r < kRegions; ++r)
        rms[r] = PowerIndex(coefs + r * kRegionSize);
    for (int r = kRegions - 2; r >= 0; --r)
        if (rms[r] < rms[r + 1] - G7221Tables::kDiffMax)
            rms[r] = rms[r + 1] - G7221Tables::kDiffMax;
    if (rms[0] < G7221Tables::kRms0Min)
        rms[0] = G7221Tables::kRms0Min;
    if (rms[0] > G7221Tables::kRmsMax)
        rms[0] = G7221Tables::kRmsMax;
    for (int r = 1; r < kRegions; ++r) {
        if (rms[r] < G7221Tables::kRmsMin)
            rms[r] = G7221Tables::kRmsMin;
        if (rms[r] > G7221Tables::kRmsMax)
            rms[r] = G7221Tables::kRmsMax;
    }

    G7221BitWriter writer(words, FrameWords());
    writer.Put((uint32_t)(rms[0] + G7221Tables::kRmsAdjust), 5);
    int envelopeBits = 5;
    for (int r = 1; r < kRegions; ++r) {
        int diff = rms[r] - rms[r - 1];
        if (diff < G7221Tables::kDiffMin)
            diff = G7221Tables::kDiffMin;
        if (diff > G7221Tables::kDiffMax)
            diff = G7221Tables::kDiffMax;
        rms[r] = rms[r - 1] + diff;
        int j = diff - G7221Tables::kDiffMin;
        writer.Put(G7221Tables::kDiffPowerCodes[r][j], G7221Tables::kDiffPowerBits[r][j]);
        envelopeBits += G7221Tables::kDiffPowerBits[r][j];
    }

    const int available = m_bitsPerFrame - envelopeBits - G7221Tables::kCategorizationBits;
    int base[kRegions];
    int balances[G7221Tables::kCategorizations - 1];
    G7221Categorizer::Categorize(available, rms, base, balances);

    // Rate control: start in the middle of the categorizations, step to
    // higher rates while bits are left over and to lower rates while the
    // frame overflows. Neighbouring categorizations differ in one region, so
    // each region is quantised once for each category the search tries.
    RegionCode region[kRegions][kCodedCategories];
    bool quantised[kRegions][kCodedCategories];
    memset(quantised, 0, sizeof(quantised));
    int categories[kRegions];
    int control = G7221Tables::kCategorizations / 2 - 1;
    int total = 0;
    auto build = [&](int c) {
        memcpy(categories, base, sizeof(categories));
        G7221Categorizer::Apply(c, balances, categories);
        total = 0;
        for (int r = 0; r < kRegions; ++r) {
            const int category = categories[r];
            if (category >= kTopCategory)
                continue;
            if (!quantised[r][category]) {
                QuantiseRegion(coefs + r * kRegionSize, rms[r], category, region[r][category]);
                quantised[r][category] = true;
            }
            total += region[r][category].bits;
        }
    };
    build(control);
    while (total < available && control > 0)
        build(--control);
    while (total > available && control < G7221Tables::kCategorizations - 1)
        build(++control);

    writer.Put((uint32_t)control, G7221Tables::kCategorizationBits);
    for (int r = 0; r < kRegions; ++r) {
        if (categories[r] >= kTopCategory)
            continue;
        const RegionCode& code = region[r][categories[r]];
        for (int v = 0; v < code.vectors; ++v)
            writer.Put(code.code[v], code.length[v]);
    }
    writer.FillWithOnes();
}
