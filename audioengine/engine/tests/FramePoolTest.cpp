#include <gtest/gtest.h>

#include <vector>

#include "CFramePool.h"

using namespace RavoEngine;

namespace {
bool Put(CFramePool& pool, uint32_t sequence)
{
    CFrameBuffer* b = pool.GetFree(0);
    if (!b)
        return false;
    const uint8_t byte = static_cast<uint8_t>(sequence);
    b->SetData(&byte, 1);
    b->SetSequence(sequence);
    return pool.PutFilledInOrder(b);
}
} // namespace

TEST(RavoFramePool, KeepsSequenceOrderAcrossWrap)
{
    const struct
    {
        std::vector<uint32_t> in;
        std::vector<uint32_t> out;
    } cases[] = {
        {{1, 2, 4, 3}, {1, 2, 3, 4}},
        {{10, 5, 7, 6}, {5, 6, 7, 10}},
        {{0xFFFFFFFFu, 1, 0xFFFFFFFEu, 0}, {0xFFFFFFFEu, 0xFFFFFFFFu, 0, 1}},
    };
    for (const auto& c : cases) {
        CFramePool pool(60);
        for (uint32_t s : c.in)
            EXPECT_TRUE(Put(pool, s));
        EXPECT_EQ(c.out, pool.FilledSequences());
    }
}

TEST(RavoFramePool, DuplicateGoesBackToFreeList)
{
    CFramePool pool(3);
    EXPECT_TRUE(Put(pool, 7));
    EXPECT_FALSE(Put(pool, 7));
    EXPECT_EQ(1u, pool.GetFilledCount());
    // The duplicate's buffer is free again: two more fit, then none.
    EXPECT_TRUE(Put(pool, 8));
    EXPECT_TRUE(Put(pool, 9));
    EXPECT_EQ(nullptr, pool.GetFree(0));
    EXPECT_EQ(100u, pool.GetFilledPercent());
}

TEST(RavoFramePool, DropsNewestOrOldestWithoutWaiting)
{
    CFramePool pool(10);
    for (uint32_t s = 1; s <= 6; ++s)
        Put(pool, s);
    pool.DropFilled(2, true);
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3, 4}), pool.FilledSequences());
    pool.DropFilled(1, false);
    EXPECT_EQ((std::vector<uint32_t>{2, 3, 4}), pool.FilledSequences());
    pool.DropFilled(50, false);
    EXPECT_EQ(0u, pool.GetFilledCount());
    EXPECT_EQ(0u, pool.GetFilledPercent());
    pool.Stop();
    EXPECT_EQ(nullptr, pool.GetFree(0));
}

TEST(RavoFramePool, BufferGrowsToFit)
{
    CFrameBuffer b;
    EXPECT_EQ(0u, b.GetCapacity());
    const uint8_t small[3] = {1, 2, 3};
    ASSERT_TRUE(b.SetData(small, 3));
    EXPECT_EQ(3u, b.GetCapacity());
    std::vector<uint8_t> big(80, 9);
    ASSERT_TRUE(b.SetData(big.data(), 80));
    EXPECT_EQ(80u, b.GetLength());
    EXPECT_EQ(9, b.GetData()[79]);
    ASSERT_TRUE(b.SetData(small, 2));
    EXPECT_EQ(80u, b.GetCapacity());
    EXPECT_EQ(2u, b.GetLength());
}
