#include "G7221BinReciprocals.h"

#include <stdio.h>

G7221BinReciprocals::G7221BinReciprocals() : m_mismatches(0)
{
    for (int c = 0; c < G7221Tables::kCategories; ++c) {
        const int steps = G7221Tables::kMaxBin[c] + 1;
        m_inverse[c] = (1 << 15) / steps + 1;
        int count = 1;
        for (int d = 0; d < G7221Tables::kVectorDimension[c]; ++d)
            count *= steps;
        for (int index = 0; index < count; ++index) {
            if (((index * m_inverse[c]) >> 15) != index / steps) {
                printf("max_bin_plus_one_inverse ERROR!! %1d: %5d %3d\n", c, m_inverse[c], index);
                ++m_mismatches;
                break;
            }
        }
    }
}

int G7221BinReciprocals::Split(int category, int index, int* bins) const
{
    const int steps = G7221Tables::kMaxBin[category] + 1;
    const int dim = G7221Tables::kVectorDimension[category];
    int nonZero = 0;
    for (int j = dim - 1; j >= 0; --j) {
        int quotient = (index * m_inverse[category]) >> 15;
        bins[j] = index - quotient * steps;
        index = quotient;
        if (bins[j] != 0)
            ++nonZero;
    }
    return nonZero;
}
