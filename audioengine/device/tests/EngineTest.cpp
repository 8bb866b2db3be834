#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "RavoTModule.h"

// RavoT.dll over the real engine Ravo.dll: the packets are the engine's.
namespace {
struct Packets
{
    std::mutex lock;
    std::vector<std::vector<uint8_t>> list;
    static void Callback(void* context, void*, uint8_t* packet, int length)
    {
        Packets* self = static_cast<Packets*>(context);
        std::lock_guard<std::mutex> l(self->lock);
        self->list.emplace_back(packet, packet + length);
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> l(lock);
        return list.size();
    }
    bool WaitFor(size_t n)
    {
        DWORD start = GetTickCount();
        while (Count() < n) {
            if (GetTickCount() - start > 3000)
                return false;
            Sleep(5);
        }
        return true;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> l(lock);
        list.clear();
    }
};

uint32_t Sequence(const std::vector<uint8_t>& p)
{
    uint32_t s;
    memcpy(&s, &p[1], 4);
    return s;
}
} // namespace

TEST(RavoTEngine, CapturedBlocksBecomeTheEnginesPackets)
{
    RavoTModule t;
    ASSERT_TRUE(t.Load());
    if (!t.realEngine)
        GTEST_SKIP() << "Ravo.dll is not built beside the tests";
    ASSERT_EQ(1, t.Init(0));
    Packets p;
    // G.722.1 at 24 kbit/s: kind 6, a sequence number from 0, one 60-byte frame.
    ASSERT_EQ(1, t.StartCapture(0, 3, &p, &Packets::Callback));
    ASSERT_TRUE(p.WaitFor(5));
    {
        std::lock_guard<std::mutex> l(p.lock);
        for (size_t i = 0; i < 5; ++i) {
            ASSERT_EQ(65u, p.list[i].size()) << i;
            EXPECT_EQ(0x06, p.list[i][0]);
            EXPECT_EQ(i, Sequence(p.list[i]));
        }
    }
    // FEC mode "6+6": the code rides in the high nibble of every packet.
    EXPECT_EQ(1, t.SetFECMode(1));
    p.Clear();
    ASSERT_TRUE(p.WaitFor(12));
    {
        std::lock_guard<std::mutex> l(p.lock);
        for (size_t i = 2; i < p.list.size(); ++i)
            EXPECT_EQ(0x76, p.list[i][0]) << i;
    }
    EXPECT_EQ(1, t.StopCapture());
    EXPECT_EQ(1, t.Release());
    t.Unload();
}
