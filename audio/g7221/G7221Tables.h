#pragma once
#include <stdint.h>

// The numeric tables of ITU-T Recommendation G.722.1 (05/2005), "Low-complexity
// coding at 24 and 32 kbit/s for hands-free operation in systems with low frame
// loss": region power Huffman codes, scalar quantised vector Huffman codes and
// their decoding trees, step sizes, dead zones, reconstruction centroids,
// expected bit counts and noise-fill factors. The values are those printed in
// the Recommendation and reproduced in the tables of its Annex B (floating-point
// description); see G7221Tables.cpp.
class G7221Tables
{
public:
    enum {
        kFrameSize = 320,          // samples (and transform coefficients) a frame
        kRegionSize = 20,          // coefficients a region (500 Hz)
        kRegions = 14,             // coded regions: 0 to 7000 Hz
        kCategories = 8,           // quantiser categories 0..7; 7 sends no bits
        kCategorizationBits = 4,   // bits of the categorization control
        kCategorizations = 16,     // possible categorizations
        kDiffLevels = 24,          // differential region power levels
        kDiffMin = -12,            // smallest differential region power index
        kDiffMax = 11,             // largest differential region power index
        kRmsAdjust = 7,            // offset of the coded index of region 0
        kRmsMin = -8 - kRmsAdjust, // smallest region power index of regions 1..
        kRms0Min = 1 - kRmsAdjust, // smallest region power index of region 0
        kRmsMax = 31 - kRmsAdjust, // largest region power index
        kMaxVectorDim = 5
    };

    // Per category: coefficients a vector, vectors a region, largest
    // quantiser bin, step size, dead zone and expected bits of a region.
    static const int kVectorDimension[kCategories];
    static const int kVectorsPerRegion[kCategories];
    static const int kMaxBin[kCategories];
    static const float kStepSize[kCategories];
    static const float kDeadZone[kCategories];
    static const int kExpectedBits[kCategories];
    // Reconstruction points in units of the region's standard deviation,
    // per category (0..6) and bin.
    static const float kCentroid[kCategories - 1][14];
    // Noise-fill level in units of the standard deviation, categories 5..7.
    static const float kNoiseFill[3];

    // Differential region power codes for regions 1..13 (row 0 unused):
    // code lengths and code values, indexed by difference - kDiffMin.
    static const uint8_t kDiffPowerBits[kRegions][kDiffLevels];
    static const uint16_t kDiffPowerCodes[kRegions][kDiffLevels];

    // Vector Huffman codes of categories 0..6, indexed by the vector index.
    static const uint8_t* const kVectorBits[kCategories - 1];
    static const uint16_t* const kVectorCodes[kCategories - 1];
    static const int kVectorCount[kCategories - 1];
    // Decoding trees of the same codes: node n has children tree[2n] (bit 0)
    // and tree[2n+1] (bit 1); a child > 0 is the next node, a child <= 0 is
    // the leaf of vector index -child.
    static const int16_t* const kVectorTree[kCategories - 1];
    static const int kVectorTreeNodes[kCategories - 1];
};
