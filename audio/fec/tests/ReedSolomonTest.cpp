#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "GaloisField.h"
#include "ReedSolomon.h"

namespace {

// Carry-less multiplication reduced by 0x11D, independent of the tables.
uint8_t SlowMul(uint8_t a, uint8_t b)
{
    unsigned r = 0;
    for (int i = 0; i < 8; ++i)
        if (b & (1 << i))
            r ^= static_cast<unsigned>(a) << i;
    for (int bit = 15; bit >= 8; --bit)
        if (r & (1u << bit))
            r ^= 0x11Du << (bit - 8);
    return static_cast<uint8_t>(r);
}

std::vector<uint8_t> RandomBytes(int count, unsigned seed)
{
    srand(seed);
    std::vector<uint8_t> v(static_cast<size_t>(count));
    for (auto& b : v)
        b = static_cast<uint8_t>(rand() & 0xFF);
    return v;
}

} // namespace

TEST(ReedSolomon, FieldAgreesWithCarrylessArithmetic)
{
    for (int a = 0; a < 256; a += 7)
        for (int b = 0; b < 256; b += 5)
            ASSERT_EQ(SlowMul(uint8_t(a), uint8_t(b)), GaloisField::Mul(uint8_t(a), uint8_t(b)));
    for (int a = 1; a < 256; ++a)
        ASSERT_EQ(1, GaloisField::Mul(uint8_t(a), GaloisField::Inv(uint8_t(a))));
}

TEST(ReedSolomon, ParityIsTheRemainderByTheGenerator)
{
    // (x^4 + 2x^3 + 3x^2) mod (x - 2)(x - 4), by long division with SlowMul.
    uint8_t g1 = SlowMul(2, 1) ^ SlowMul(4, 1); // x^2 + (2+4)x + 2*4
    uint8_t g0 = SlowMul(2, 4);
    uint8_t rem[5] = {1, 2, 3, 0, 0};
    for (int i = 0; i < 3; ++i) {
        uint8_t q = rem[i];
        rem[i + 1] ^= SlowMul(q, g1);
        rem[i + 2] ^= SlowMul(q, g0);
        rem[i] = 0;
    }
    ReedSolomon rs(2);
    const uint8_t data[3] = {1, 2, 3};
    uint8_t parity[2] = {};
    ASSERT_TRUE(rs.Encode(data, 3, parity, 2));
    EXPECT_EQ(rem[3], parity[0]);
    EXPECT_EQ(rem[4], parity[1]);

    EXPECT_FALSE(rs.Encode(data, 3, parity, 3));   // other r than the instance's
    EXPECT_FALSE(rs.Encode(data, 254, parity, 2)); // word longer than 255
    EXPECT_FALSE(ReedSolomon(33).IsValid());
}

TEST(ReedSolomon, RecoversErasuresAndErrorsWithinTheBound)
{
    struct Case
    {
        int k, r;
    } cases[] = {{6, 6}, {8, 16}, {16, 32}, {32, 32}, {1, 1}, {200, 32}};
    unsigned seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "k=" << c.k << " r=" << c.r);
        ReedSolomon rs(c.r);
        const int n = c.k + c.r;
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<uint8_t> word = RandomBytes(n, ++seed);
            ASSERT_TRUE(rs.Encode(word.data(), c.k, word.data() + c.k, c.r));
            // e erasures and t errors with e + 2t <= r.
            int erasures = rand() % (c.r + 1);
            int errors = (c.r - erasures) / 2;
            std::vector<uint8_t> damaged = word;
            std::vector<int> pos;
            std::vector<int> order(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i)
                order[static_cast<size_t>(i)] = i;
            for (int i = n - 1; i > 0; --i)
                std::swap(order[static_cast<size_t>(i)],
                          order[static_cast<size_t>(rand() % (i + 1))]);
            for (int i = 0; i < erasures; ++i) {
                pos.push_back(order[static_cast<size_t>(i)]);
                damaged[static_cast<size_t>(pos.back())] = 0;
            }
            for (int i = 0; i < errors; ++i)
                damaged[static_cast<size_t>(order[static_cast<size_t>(erasures + i)])] ^=
                    uint8_t(1 + rand() % 255);
            ASSERT_GE(rs.Decode(damaged.data(), n, pos.data(), erasures), 0);
            ASSERT_EQ(word, damaged);
        }
        // One erasure more than the parity count cannot be repaired.
        std::vector<uint8_t> word = RandomBytes(n, ++seed);
        std::vector<int> pos;
        for (int i = 0; i <= c.r && i < n; ++i)
            pos.push_back(i);
        if (static_cast<int>(pos.size()) > c.r) {
            EXPECT_EQ(-1, rs.Decode(word.data(), n, pos.data(), static_cast<int>(pos.size())));
        }
    }
}

TEST(ReedSolomon, RefusesBadArguments)
{
    ReedSolomon rs(4);
    std::vector<uint8_t> word(256, 1);
    int outside = 20;
    EXPECT_EQ(-1, rs.Decode(word.data(), 256, nullptr, 0));
    EXPECT_EQ(-1, rs.Decode(word.data(), 10, &outside, 1));
}
