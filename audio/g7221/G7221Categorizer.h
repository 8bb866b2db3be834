#pragma once
#include "G7221Tables.h"

// The categorization procedure, the same in encoder and decoder: from the
// quantised region powers and the bits left for the coefficients it derives
// the categorization of highest rate and the order in which the fifteen
// further categorizations each raise one region's category by one.
class G7221Categorizer
{
public:
    // rms: region power indices of the 14 regions; availableBits: bits of
    // the frame left after the envelope and the categorization control.
    // categories receives categorization 0; balances the 15 region numbers.
    static void Categorize(int availableBits, const int* rms, int* categories, int* balances);

    // Turns categorization 0 into categorization `control` (0..15).
    static void Apply(int control, const int* balances, int* categories);
};
