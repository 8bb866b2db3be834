// The word copy under the checked readers and writers: every length and
// every alignment of both ends comes across exactly, and not a byte beside
// the destination changes.
#include <gtest/gtest.h>

#include <vector>

#include "CopyBytes.h"

namespace {

TEST(CopyBytes, EveryLengthAndAlignmentCopiesExactlyItsBytes)
{
    const size_t lengths[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,   9,    15,
                              16, 17, 31, 33, 63, 64, 65, 79, 500, 4099, 20481};
    const unsigned char guard = 0xEE;
    for (size_t length : lengths) {
        for (size_t fromAt = 0; fromAt < 4; ++fromAt) {
            for (size_t toAt = 0; toAt < 4; ++toAt) {
                std::vector<unsigned char> from(length + 8);
                for (size_t i = 0; i < from.size(); ++i)
                    from[i] = static_cast<unsigned char>(i * 29 + length + 1);
                std::vector<unsigned char> to(length + 8, guard);
                CopyBytes(to.data() + toAt, from.data() + fromAt, length);
                for (size_t i = 0; i < to.size(); ++i) {
                    const bool inside = i >= toAt && i < toAt + length;
                    const unsigned char want = inside ? from[i - toAt + fromAt] : guard;
                    ASSERT_EQ(want, to[i]) << "length " << length << ", source offset " << fromAt
                                           << ", destination offset " << toAt << ", byte " << i;
                }
            }
        }
    }
}

} // namespace
