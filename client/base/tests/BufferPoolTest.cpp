#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "CBufferPool.h"
#include "CScopedLock.h"

TEST(BufferPool, HandsBuffersOverInOrder)
{
    CBufferPool pool(3, 64);
    EXPECT_EQ(pool.GetOwnedCount(), 3u);
    CQueueBuffer* a = pool.GetFree(0);
    CQueueBuffer* b = pool.GetFree(0);
    CQueueBuffer* c = pool.GetFree(0);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(pool.GetFree(0), nullptr) << "an empty free list gives null at once";
    EXPECT_EQ(a->GetCapacity(), 64u);

    pool.PutFilled(b);
    pool.PutFilled(a);
    pool.PutFilled(c);
    EXPECT_EQ(pool.GetFilled(0), b);
    EXPECT_EQ(pool.GetFilled(0), a);
    EXPECT_EQ(pool.GetFilled(0), c);
    EXPECT_EQ(pool.GetFilled(0), nullptr);

    pool.PutFree(nullptr); // ignored
    EXPECT_EQ(pool.GetFree(0), nullptr);
}

TEST(BufferPool, ProducerAndConsumerOnTwoThreads)
{
    CBufferPool pool(2, sizeof(uint32_t));
    const uint32_t total = 2000;
    std::thread producer([&] {
        for (uint32_t i = 0; i < total; ++i) {
            CQueueBuffer* buffer = pool.GetFree(INFINITE);
            ASSERT_NE(buffer, nullptr);
            memcpy(buffer->GetData(), &i, sizeof i);
            buffer->SetLength(sizeof i);
            pool.PutFilled(buffer);
        }
    });
    for (uint32_t i = 0; i < total; ++i) {
        CQueueBuffer* buffer = pool.GetFilled(5000);
        ASSERT_NE(buffer, nullptr);
        uint32_t value = 0;
        memcpy(&value, buffer->GetData(), sizeof value);
        ASSERT_EQ(value, i) << "messages arrive in the order they were queued";
        pool.PutFree(buffer);
    }
    producer.join();
}

TEST(BufferPool, StopWakesEveryWaiterAndWinsOverQueuedBuffers)
{
    CBufferPool pool(1, 16);
    CQueueBuffer* only = pool.GetFree(0);
    ASSERT_NE(only, nullptr);

    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 2; ++i)
        waiters.emplace_back([&] {
            if (!pool.GetFree(INFINITE))
                ++woken;
        });
    for (int i = 0; i < 2; ++i)
        waiters.emplace_back([&] {
            if (!pool.GetFilled(INFINITE))
                ++woken;
        });
    Sleep(100);
    pool.Stop();
    for (auto& t : waiters)
        t.join();
    EXPECT_EQ(woken.load(), 4);

    pool.PutFilled(only); // still accepted after the stop
    EXPECT_EQ(pool.GetFilled(0), nullptr) << "after a stop nothing is handed out";
}

TEST(BufferPool, TimeoutReturnsNull)
{
    CBufferPool pool(1, 16);
    DWORD start = GetTickCount();
    EXPECT_EQ(pool.GetFilled(50), nullptr);
    EXPECT_GE(GetTickCount() - start, 30u);
}

TEST(BufferPool, FreeCountNeverExceedsBuffersThatExist)
{
    // Three buffers of 1.75 GB cannot all exist in a 32-bit process: the pool
    // must hand out exactly the ones it could allocate.
    CBufferPool pool(3, 0x70000000u);
    EXPECT_LT(pool.GetOwnedCount(), 3u);
    uint32_t handedOut = 0;
    while (pool.GetFree(0))
        ++handedOut;
    EXPECT_EQ(handedOut, pool.GetOwnedCount());
}

TEST(QueueBuffer, ZeroCapacityGrowsOnDemand)
{
    CQueueBuffer buffer(0);
    EXPECT_EQ(buffer.GetData(), nullptr);
    ASSERT_TRUE(buffer.EnsureCapacity(100));
    memset(buffer.GetData(), 7, 100);
    buffer.SetLength(100);
    ASSERT_TRUE(buffer.EnsureCapacity(200));
    EXPECT_EQ(buffer.GetData()[99], 7) << "growing keeps the bytes in use";
    EXPECT_GE(buffer.GetCapacity(), 200u);
}

TEST(ScopedLock, NullSectionDoesNothingAndRealOneExcludes)
{
    {
        CScopedLock none(nullptr);
    }

    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    int counter = 0;
    auto work = [&] {
        for (int i = 0; i < 10000; ++i) {
            CScopedLock lock(&cs);
            int v = counter;
            counter = v + 1;
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 20000);
    EXPECT_TRUE(TryEnterCriticalSection(&cs)) << "released at the end of each block";
    LeaveCriticalSection(&cs);
    DeleteCriticalSection(&cs);
}
