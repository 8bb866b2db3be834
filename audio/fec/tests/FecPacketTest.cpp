#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "FecDecoder.h"
#include "FecEncoder.h"
#include "FecHeader.h"

namespace {

using Packet = std::vector<uint8_t>;

Packet DataPacket(int number, int payload)
{
    Packet p(static_cast<size_t>(FecHeader::SIZE + payload));
    for (int i = 0; i < payload; ++i)
        p[static_cast<size_t>(FecHeader::SIZE + i)] = static_cast<uint8_t>(number * 31 + i * 7);
    return p;
}

// Runs count data packets through an encoder and keeps every packet sent,
// data and parity, by (group, index).
std::map<std::pair<int, int>, Packet> EncodeRun(int n, int k, int payload, int count)
{
    FecEncoder enc(n, k, payload);
    std::map<std::pair<int, int>, Packet> sent;
    for (int i = 0; i < count; ++i) {
        Packet in = DataPacket(i, payload);
        FecEncoder::Output out;
        EXPECT_TRUE(enc.Accept(in.data(), payload, &out));
        FecHeader h = FecHeader::Read(out.data);
        sent[{h.group, h.index}] = Packet(out.data, out.data + out.dataLength);
        for (int p = 0; p < out.parityCount; ++p) {
            FecHeader ph = FecHeader::Read(out.parity[p]);
            sent[{ph.group, ph.index}] = Packet(out.parity[p], out.parity[p] + out.parityLength);
        }
    }
    return sent;
}

std::vector<Packet> PullAll(FecDecoder& dec)
{
    std::vector<Packet> out;
    uint8_t buf[600];
    int length = 0;
    while (dec.Pull(buf, sizeof(buf), &length) > 0)
        out.emplace_back(buf, buf + length);
    return out;
}

} // namespace

TEST(FecPacket, HeaderRoundTripAndCheck)
{
    uint8_t b[4];
    FecHeader(0xBEEF, 11, 12, 6).Write(b);
    FecHeader h = FecHeader::Read(b);
    EXPECT_EQ(0xBEEF, h.group);
    EXPECT_EQ(11, h.index);
    EXPECT_EQ(12, h.n);
    EXPECT_EQ(6, h.k);
    EXPECT_TRUE(h.IsValid());
    h.index = 15; // still fits the bit length of 12
    EXPECT_TRUE(h.IsValid());
    h.index = 16;
    EXPECT_FALSE(h.IsValid());
    EXPECT_FALSE(FecHeader(0, 0, 32 + 33, 32).IsValid());
}

TEST(FecPacket, ParityRidesWithTheFollowingGroups)
{
    // mode rows: n, k, parity per data packet once the run is steady.
    struct Case
    {
        int n, k, steady;
    } cases[] = {{12, 6, 1}, {24, 8, 2}, {48, 16, 2}, {64, 32, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        FecEncoder enc(c.n, c.k, 120);
        std::vector<int> counts;
        for (int i = 0; i < 5 * c.k; ++i) {
            Packet in = DataPacket(i, 120);
            FecEncoder::Output out;
            ASSERT_TRUE(enc.Accept(in.data(), 120, &out));
            ASSERT_EQ(124, out.dataLength);
            counts.push_back(out.parityCount);
            for (int p = 0; p < out.parityCount; ++p)
                EXPECT_EQ(FecHeader::Read(out.parity[p]).group,
                          i / c.k - out.parityCount + p); // oldest first
        }
        for (int i = 0; i < c.k; ++i)
            EXPECT_EQ(0, counts[static_cast<size_t>(i)]);
        for (int i = 3 * c.k; i < 5 * c.k; ++i)
            EXPECT_EQ(c.steady, counts[static_cast<size_t>(i)]);
    }
    FecEncoder enc(12, 6, 120);
    Packet in = DataPacket(0, 200);
    FecEncoder::Output out;
    EXPECT_FALSE(enc.Accept(in.data(), 200, &out)); // longer than the capacity
    EXPECT_TRUE(enc.Accept(in.data(), 100, &out));
    EXPECT_FALSE(enc.Accept(in.data(), 101, &out)); // later packets keep the first length
    EXPECT_FALSE(FecEncoder(12, 0, 100).IsConfigured());
    EXPECT_FALSE(FecEncoder(12, 6, 513).IsConfigured());
}

TEST(FecPacket, EveryRepairableLossPatternOfAGroupIsRecovered)
{
    const int n = 12, k = 6, payload = 40;
    auto sent = EncodeRun(n, k, payload, 2 * k);
    ASSERT_EQ(static_cast<size_t>(2 * k + (n - k)), sent.size());
    int repaired = 0, partial = 0;
    for (unsigned mask = 0; mask < (1u << n); ++mask) {
        int dropped = __builtin_popcount(mask);
        if (dropped < 6 || dropped > 7)
            continue;
        FecDecoder dec;
        for (int i = 0; i < n; ++i)
            if (!(mask & (1u << i)))
                dec.Insert(sent[{0, i}].data(), payload);
        dec.Flush();
        std::vector<Packet> out = PullAll(dec);
        if (dropped == 6) {
            ASSERT_EQ(static_cast<size_t>(k), out.size()) << mask;
            for (int i = 0; i < k; ++i)
                ASSERT_EQ(sent[std::make_pair(0, i)], out[static_cast<size_t>(i)]) << mask;
            ++repaired;
        } else {
            // Only the data packets that came are delivered, in order.
            std::vector<Packet> expect;
            for (int i = 0; i < k; ++i)
                if (!(mask & (1u << i)))
                    expect.push_back(sent[std::make_pair(0, i)]);
            ASSERT_EQ(expect, out) << mask;
            ++partial;
        }
    }
    EXPECT_EQ(924, repaired);
    EXPECT_EQ(792, partial);
}

TEST(FecPacket, DataOnlyGroupsLeaveAsSoonAsComplete)
{
    const int n = 24, k = 8;
    FecDecoder dec;
    for (int g = 0; g < 3; ++g) {
        for (int i = 0; i < k; ++i) {
            Packet p = DataPacket(g * k + i, 20);
            FecHeader(static_cast<uint16_t>(65535 + g), i, n, k).Write(p.data()); // wraps to 0
            ASSERT_TRUE(dec.Insert(p.data(), 20));
            EXPECT_EQ(static_cast<size_t>(g * k + i + 1), dec.GetQueuedCount());
        }
    }
    std::vector<Packet> out = PullAll(dec);
    ASSERT_EQ(24u, out.size());
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(DataPacket(i, 20)[5], out[static_cast<size_t>(i)][5]);
}

TEST(FecPacket, StaleGroupsAreRefusedUntilARunOfNine)
{
    const int n = 12, k = 6;
    FecDecoder dec;
    for (int i = 0; i < k; ++i) {
        Packet p = DataPacket(i, 10);
        FecHeader(500, i, n, k).Write(p.data());
        ASSERT_TRUE(dec.Insert(p.data(), 10));
    }
    std::vector<bool> taken;
    for (int i = 0; i < 10; ++i) {
        Packet p = DataPacket(i, 10);
        FecHeader(static_cast<uint16_t>(i / k), i % k, n, k).Write(p.data());
        taken.push_back(dec.Insert(p.data(), 10));
    }
    std::vector<bool> expect = {false, false, false, false, false,
                                false, false, false, true,  false};
    EXPECT_EQ(expect, taken);
    // A packet of another shape is refused once n and k are fixed.
    Packet other = DataPacket(0, 10);
    FecHeader(501, 0, 24, 8).Write(other.data());
    EXPECT_FALSE(dec.Insert(other.data(), 10));
}

TEST(FecPacket, OutputQueueKeepsTheNewestEighty)
{
    FecDecoder dec(5); // outside 10..200: becomes 80
    for (int i = 0; i < 81; ++i) {
        Packet p = DataPacket(i, 8);
        FecHeader(static_cast<uint16_t>(i), 0, 2, 1).Write(p.data());
        dec.Insert(p.data(), 8);
    }
    EXPECT_EQ(80u, dec.GetQueuedCount());
    uint8_t buf[16];
    int length = 0;
    EXPECT_EQ(0, dec.Pull(buf, 4, &length)); // does not fit
    EXPECT_EQ(80, dec.Pull(buf, sizeof(buf), &length));
    EXPECT_EQ(1, FecHeader::Read(buf).group);
}

TEST(FecPacket, ManyGroupsOpenForceTheOldestOut)
{
    const int n = 12, k = 6;
    FecDecoder dec;
    // Group 0 misses its data packet 2 and has no parity; later groups are complete.
    for (int g = 0; g < 4; ++g)
        for (int i = 0; i < k; ++i) {
            if (g == 0 && i == 2)
                continue;
            Packet p = DataPacket(g * k + i, 10);
            FecHeader(static_cast<uint16_t>(g), i, n, k).Write(p.data());
            dec.Insert(p.data(), 10);
        }
    // Group 0 was forced out once group 3 had moved far enough ahead.
    std::vector<Packet> out = PullAll(dec);
    ASSERT_GE(out.size(), 5u);
    EXPECT_EQ(3, FecHeader::Read(out[2].data()).index);
}
