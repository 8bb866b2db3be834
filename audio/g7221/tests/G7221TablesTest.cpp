#include <gtest/gtest.h>

#include "G7221BinReciprocals.h"
#include "G7221Categorizer.h"
#include "G7221Tables.h"

// Every vector code, walked through its category's decoding tree, must end
// on a leaf whose own code is the same (a few indices share one code; the
// tree names the one the decoder gives), and every leaf must be reachable:
// this ties the code tables and the trees together, entry by entry.
TEST(G7221Tables, VectorCodesAndTreesAgree)
{
    for (int c = 0; c < G7221Tables::kCategories - 1; ++c) {
        const int16_t* tree = G7221Tables::kVectorTree[c];
        const int nodes = G7221Tables::kVectorTreeNodes[c];
        std::vector<bool> reached(G7221Tables::kVectorCount[c], false);
        for (int index = 0; index < G7221Tables::kVectorCount[c]; ++index) {
            const int length = G7221Tables::kVectorBits[c][index];
            const int code = G7221Tables::kVectorCodes[c][index];
            ASSERT_GE(length, 1);
            ASSERT_LE(length, 16);
            int node = 0;
            int bit = length - 1;
            do {
                ASSERT_GE(bit, 0) << "category " << c << " index " << index;
                ASSERT_LT(node, nodes);
                node = tree[2 * node + ((code >> bit) & 1)];
                --bit;
            } while (node > 0);
            ASSERT_EQ(bit, -1) << "category " << c << " index " << index;
            const int leaf = -node;
            ASSERT_LT(leaf, G7221Tables::kVectorCount[c]);
            EXPECT_EQ(G7221Tables::kVectorBits[c][leaf], length)
                << "category " << c << " index " << index;
            EXPECT_EQ(G7221Tables::kVectorCodes[c][leaf], code)
                << "category " << c << " index " << index;
            reached[leaf] = true;
        }
        // A full binary tree of n nodes has n + 1 leaves.
        int leaves = 0;
        for (bool r : reached)
            leaves += r ? 1 : 0;
        EXPECT_EQ(leaves, nodes + 1) << "category " << c;
    }
}

// The differential region power codes of every region form a complete
// prefix code: the Kraft sum is exactly one and no code is a prefix of
// another.
TEST(G7221Tables, DifferentialPowerCodesAreCompletePrefixCodes)
{
    for (int r = 1; r < G7221Tables::kRegions; ++r) {
        double kraft = 0.0;
        for (int j = 0; j < G7221Tables::kDiffLevels; ++j) {
            const int lj = G7221Tables::kDiffPowerBits[r][j];
            kraft += 1.0 / (double)(1 << lj);
            for (int k = 0; k < G7221Tables::kDiffLevels; ++k) {
                const int lk = G7221Tables::kDiffPowerBits[r][k];
                if (k == j || lk < lj)
                    continue;
                EXPECT_NE(G7221Tables::kDiffPowerCodes[r][k] >> (lk - lj),
                          G7221Tables::kDiffPowerCodes[r][j])
                    << "region " << r << " codes " << j << " and " << k;
            }
        }
        EXPECT_DOUBLE_EQ(kraft, 1.0) << "region " << r;
    }
}

TEST(G7221Tables, StepReciprocalsCheckCleanAndSplitIndices)
{
    G7221BinReciprocals reciprocals;
    EXPECT_EQ(reciprocals.Mismatches(), 0);
    for (int c = 0; c < G7221Tables::kCategories - 1; ++c) {
        const int steps = G7221Tables::kMaxBin[c] + 1;
        const int dim = G7221Tables::kVectorDimension[c];
        for (int index = 0; index < G7221Tables::kVectorCount[c]; ++index) {
            int bins[G7221Tables::kMaxVectorDim];
            int nonZero = reciprocals.Split(c, index, bins);
            int rebuilt = 0, count = 0;
            for (int j = 0; j < dim; ++j) {
                ASSERT_LT(bins[j], steps);
                rebuilt = rebuilt * steps + bins[j];
                count += bins[j] != 0;
            }
            ASSERT_EQ(rebuilt, index) << "category " << c;
            ASSERT_EQ(nonZero, count);
        }
    }
}

// Categorization 0 is the one of highest rate; the fifteen steps each raise
// one region's category, never past 7, and the expected bits never rise.
TEST(G7221Tables, CategorizationsStepTowardsLowerRates)
{
    const int rmsCases[][G7221Tables::kRegions] = {
        {10, 12, 14, 12, 8, 6, 4, 2, 0, -2, -4, -6, -8, -10},
        {24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24},
        {-6, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15},
        {5, 16, 3, 14, 1, 12, -1, 10, -3, 8, -5, 6, -7, 4}};
    for (const auto& rms : rmsCases) {
        for (int available : {100, 400, 560}) {
            int base[G7221Tables::kRegions];
            int balances[G7221Tables::kCategorizations - 1];
            G7221Categorizer::Categorize(available, rms, base, balances);
            int previous = 1 << 30;
            for (int control = 0; control < G7221Tables::kCategorizations; ++control) {
                int cats[G7221Tables::kRegions];
                for (int r = 0; r < G7221Tables::kRegions; ++r)
                    cats[r] = base[r];
                G7221Categorizer::Apply(control, balances, cats);
                int bits = 0;
                for (int r = 0; r < G7221Tables::kRegions; ++r) {
                    ASSERT_GE(cats[r], 0);
                    ASSERT_LE(cats[r], 7);
                    bits += G7221Tables::kExpectedBits[cats[r]];
                }
                EXPECT_LE(bits, previous);
                previous = bits;
            }
            for (int b : balances) {
                EXPECT_GE(b, 0);
                EXPECT_LT(b, G7221Tables::kRegions);
            }
        }
    }
}
