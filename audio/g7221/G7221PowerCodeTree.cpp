#include "G7221PowerCodeTree.h"

#include "G7221BitReader.h"

G7221PowerCodeTree::G7221PowerCodeTree()
{
    // The codes are prefix codes: each one, bit by bit from the root, runs
    // through inner nodes and ends on its own leaf.
    for (int r = 0; r < G7221Tables::kRegions; ++r) {
        int16_t* tree = m_tree[r];
        for (int i = 0; i < kSlots; ++i)
            tree[i] = kNoCode;
        if (r == 0)
            continue;
        int nodes = 1;
        for (int j = 0; j < G7221Tables::kDiffLevels; ++j) {
            const int length = G7221Tables::kDiffPowerBits[r][j];
            const int code = G7221Tables::kDiffPowerCodes[r][j];
            int node = 0;
            for (int b = length - 1; b >= 0 && node >= 0; --b) {
                int16_t& child = tree[2 * node + ((code >> b) & 1)];
                if (b == 0) {
                    if (child == kNoCode)
                        child = (int16_t)-j;
                } else if (child == kNoCode && 2 * nodes + 1 < kSlots) {
                    child = (int16_t)nodes++;
                    node = child;
                } else {
                    node = child > 0 ? child : -1;
                }
            }
        }
    }
}

int G7221PowerCodeTree::Decode(G7221BitReader& reader, int region) const
{
    if (region < 1 || region >= G7221Tables::kRegions)
        return -1;
    const int16_t* tree = m_tree[region];
    int node = 0;
    for (;;) {
        int bit = reader.Get();
        if (bit < 0)
            return -1;
        int child = tree[2 * node + bit];
        if (child == kNoCode)
            return -1;
        if (child <= 0)
            return -child;
        node = child;
    }
}
