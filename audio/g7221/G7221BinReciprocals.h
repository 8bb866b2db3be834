#pragma once
#include "G7221Tables.h"

// Reciprocals of the quantiser step counts (largest bin + 1) of every
// category in Q15, by which a vector index is split into its bins. Set-up
// computes them and checks every entry against exact division over all the
// indices of the category; a mismatch is reported on the console as
// "max_bin_plus_one_inverse ERROR!! <category>: <reciprocal> <index>" and
// set-up goes on.
class G7221BinReciprocals
{
public:
    G7221BinReciprocals();
    virtual ~G7221BinReciprocals() {}

    // Entries that failed the check at set-up.
    int Mismatches() const { return m_mismatches; }
    int Reciprocal(int category) const { return m_inverse[category]; }

    // Splits a vector index of a category into its bins, first coefficient
    // first; returns how many bins are not zero.
    int Split(int category, int index, int* bins) const;

private:
    int m_inverse[G7221Tables::kCategories];
    int m_mismatches;
};
