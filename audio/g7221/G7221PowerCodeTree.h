#pragma once
#include <stdint.h>

#include "G7221Tables.h"

class G7221BitReader;

// Decoding trees of the differential region power codes of regions 1..13,
// built from the code tables: a code is read bit by bit from the root to
// its leaf instead of being looked for among the region's 24 codes.
class G7221PowerCodeTree
{
public:
    G7221PowerCodeTree();
    virtual ~G7221PowerCodeTree() {}

    // Reads one code of region 1..13; returns its level (difference -
    // kDiffMin, 0..23), or -1 when the frame ends first or the bits are no
    // code of the region.
    int Decode(G7221BitReader& reader, int region) const;

private:
    enum {
        kSlots = 2 * G7221Tables::kDiffLevels,
        kNoCode = -0x4000 // a child that no code reaches
    };
    // Node n has children [2n] (bit 0) and [2n+1] (bit 1); a child > 0 is
    // the next node, kNoCode none, any other <= 0 the leaf of level -child.
    int16_t m_tree[G7221Tables::kRegions][kSlots];
};
