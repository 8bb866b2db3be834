#include "G7221Categorizer.h"

namespace {
const int kRegions = G7221Tables::kRegions;
const int kTopCategory = G7221Tables::kCategories - 1;

int FloorHalf(int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

int RawCategory(int offset, int rms)
{
    int c = FloorHalf(offset - rms);
    if (c < 0)
        c = 0;
    if (c > kTopCategory)
        c = kTopCategory;
    return c;
}

int ExpectedBits(const int* categories)
{
    int bits = 0;
    for (int r = 0; r < kRegions; ++r)
        bits += G7221Tables::kExpectedBits[categories[r]];
    return bits;
}
} // namespace

void G7221Categorizer::Categorize(int availableBits, const int* rms, int* categories, int* balances)
{
    // Higher rates spend more bits a region than the expected-bit table
    // says; pretend there are fewer bits above one frame's worth.
    if (availableBits > G7221Tables::kFrameSize)
        availableBits =
            G7221Tables::kFrameSize + (((availableBits - G7221Tables::kFrameSize) * 5) >> 3);

    // Binary search for the offset whose raw categories come closest to
    // the available bits from above, within 32 bits.
    int offset = -32;
    for (int delta = 32; delta > 0; delta >>= 1) {
        int test = offset + delta;
        int cats[kRegions];
        for (int r = 0; r < kRegions; ++r)
            cats[r] = RawCategory(test, rms[r]);
        if (ExpectedBits(cats) >= availableBits - 32)
            offset = test;
    }

    int maxRate[kRegions];
    int minRate[kRegions];
    for (int r = 0; r < kRegions; ++r)
        maxRate[r] = minRate[r] = RawCategory(offset, rms[r]);
    int maxBits = ExpectedBits(maxRate);
    int minBits = maxBits;

    const int n = G7221Tables::kCategorizations;
    int order[2 * G7221Tables::kCategorizations];
    int maxPointer = n;
    int minPointer = n;
    for (int j = 0; j < n - 1; ++j) {
        if (maxBits + minBits <= 2 * availableBits) {
            // Lower by one the category of the region that gives most for it.
            int best = 99;
            int region = -1;
            for (int r = 0; r < kRegions; ++r) {
                if (maxRate[r] > 0) {
                    int v = offset - rms[r] - 2 * maxRate[r];
                    if (v < best) {
                        best = v;
                        region = r;
                    }
                }
            }
            if (region < 0)
                region = 0;
            order[--maxPointer] = region;
            if (maxRate[region] > 0) {
                maxBits -= G7221Tables::kExpectedBits[maxRate[region]];
                --maxRate[region];
                maxBits += G7221Tables::kExpectedBits[maxRate[region]];
            }
        } else {
            // Raise by one the category of the region that loses least by it.
            int best = -99;
            int region = -1;
            for (int r = kRegions - 1; r >= 0; --r) {
                if (minRate[r] < kTopCategory) {
                    int v = offset - rms[r] - 2 * minRate[r];
                    if (v > best) {
                        best = v;
                        region = r;
                    }
                }
            }
            if (region < 0)
                region = 0;
            order[minPointer++] = region;
            if (minRate[region] < kTopCategory) {
                minBits -= G7221Tables::kExpectedBits[minRate[region]];
                ++minRate[region];
                minBits += G7221Tables::kExpectedBits[minRate[region]];
            }
        }
    }

    for (int r = 0; r < kRegions; ++r)
        categories[r] = maxRate[r];
    for (int j = 0; j < n - 1; ++j)
        balances[j] = order[maxPointer + j];
}

void G7221Categorizer::Apply(int control, const int* balances, int* categories)
{
    for (int i = 0; i < control && i < G7221Tables::kCategorizations - 1; ++i) {
        int r = balances[i];
        if (categories[r] < kTopCategory)
            ++categories[r];
    }
}
