// Building and parsing datagrams, and putting frames back together.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

#include "CVideoPacket.h"
#include "CVideoReassembler.h"

namespace {

using Packet = std::vector<uint8_t>;

std::vector<uint8_t> MakeFrame(uint32_t length, uint8_t seed)
{
    std::vector<uint8_t> f(length);
    for (uint32_t i = 0; i < length; ++i)
        f[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
    return f;
}

std::vector<Packet> Cut(const std::vector<uint8_t>& frame, uint16_t sequence,
                        uint32_t timestamp = 1000)
{
    CVideoPacket::Header h{sequence, timestamp, 110, 0};
    std::vector<Packet> out;
    const uint32_t count = VideoWire::PieceCount(static_cast<uint32_t>(frame.size()));
    for (uint32_t i = 0; i < count; ++i) {
        Packet p(VideoWire::MAX_PACKET);
        p.resize(CVideoPacket::Build(p.data(), p.size(), h, frame.data(),
                                     static_cast<uint32_t>(frame.size()), i));
        out.push_back(p);
    }
    return out;
}

// Hands a datagram over as the receiver does: parsed where it lies.
void Feed(CVideoReassembler& r, const Packet& p)
{
    CVideoPacket::View view;
    if (CVideoPacket::ParseInPlace(p.data(), p.size(), 0x7F000001, 5000, view))
        r.Add(view);
}

std::vector<uint32_t> PopAll(CVideoReassembler& r,
                             std::vector<std::vector<uint8_t>>* payloads = nullptr)
{
    std::vector<uint32_t> seqs;
    while (auto f = r.Pop()) {
        seqs.push_back(f->sequence);
        if (payloads)
            payloads->emplace_back(f->Payload(), f->Payload() + f->payloadLength);
    }
    return seqs;
}

} // namespace

TEST(VideoPacketTest, FrameLengthsGiveThePacketsOfTheLayout)
{
    struct Case
    {
        uint32_t length;
        std::vector<size_t> sizes;
    } cases[] = {
        {1, {13}}, {500, {512}}, {501, {524, 25}}, {1000, {524, 524}}, {1001, {524, 524, 25}},
    };
    for (const Case& c : cases) {
        std::vector<Packet> packets = Cut(MakeFrame(c.length, 1), 7);
        std::vector<size_t> sizes;
        for (const Packet& p : packets)
            sizes.push_back(p.size());
        EXPECT_EQ(c.sizes, sizes) << "length " << c.length;
    }
    std::vector<Packet> big = Cut(MakeFrame(61440, 1), 7);
    EXPECT_EQ(123u, big.size());
    EXPECT_EQ(24u + 440u, big.back().size());

    uint8_t out[VideoWire::MAX_PACKET];
    std::vector<uint8_t> tooBig = MakeFrame(61441, 1);
    CVideoPacket::Header h{1, 2, 110, 0};
    EXPECT_EQ(0u, CVideoPacket::Build(out, sizeof out, h, tooBig.data(), 61441, 0));
    EXPECT_EQ(0u, CVideoPacket::Build(out, sizeof out, h, tooBig.data(), 0, 0));
}

TEST(VideoPacketTest, HeaderAndExtensionFieldsAreWhereTheWireSays)
{
    std::vector<uint8_t> frame = MakeFrame(1234, 3);
    std::vector<Packet> p = Cut(frame, 0xABCD, 0x01020304);
    ASSERT_EQ(3u, p.size());
    const Packet& second = p[1];
    EXPECT_EQ(0x90, second[0]);
    EXPECT_EQ(110, second[1]);
    EXPECT_EQ(0xAB, second[2]);
    EXPECT_EQ(0xCD, second[3]);
    EXPECT_EQ(Packet({1, 2, 3, 4, 0, 0, 0, 0}), Packet(second.begin() + 4, second.begin() + 12));
    // Extension: profile = counter (big-endian), 2 words, length / count / index little-endian.
    EXPECT_EQ(Packet({0xAB, 0xCD, 0, 2, 0xD2, 0x04, 0, 0, 3, 0, 1, 0}),
              Packet(second.begin() + 12, second.begin() + 24));
    EXPECT_TRUE(std::equal(frame.begin() + 500, frame.begin() + 1000, second.begin() + 24));

    auto f = CVideoPacket::Parse(second.data(), second.size(), 0x0A000001, 7);
    ASSERT_TRUE(f);
    EXPECT_EQ(0xABCDu, f->sequence);
    EXPECT_EQ(0x01020304u, f->timestamp);
    EXPECT_EQ(110, f->payloadType);
    EXPECT_EQ(1, f->extension);
    EXPECT_EQ(1234, f->frameLength);
    EXPECT_EQ(3, f->pieceCount);
    EXPECT_EQ(1, f->pieceIndex);
    EXPECT_EQ(500u, f->payloadLength);
    EXPECT_EQ(0x0A000001u, f->sourceAddress);
    EXPECT_EQ(7, f->sourcePort);
}

TEST(VideoPacketTest, MalformedDatagramsAreDropped)
{
    Packet good = Cut(MakeFrame(600, 1), 1)[0];
    struct Case
    {
        const char* what;
        Packet bytes;
    } cases[] = {
        {"empty", {}},
        {"shorter than a header", Packet(good.begin(), good.begin() + 11)},
        {"version 3",
         [&] {
             Packet p = good;
             p[0] = 0xD0;
             return p;
         }()},
        {"version 1",
         [&] {
             Packet p = good;
             p[0] = 0x50;
             return p;
         }()},
        {"first byte 0xC0",
         [&] {
             Packet p = good;
             p[0] = 0xC0;
             return p;
         }()},
        {"first byte 0x40",
         [&] {
             Packet p = good;
             p[0] = 0x40;
             return p;
         }()},
        {"CSRC list past the end",
         [&] {
             Packet p(good.begin(), good.begin() + 20);
             p[0] = 0x9F;
             return p;
         }()},
        {"extension cut short", Packet(good.begin(), good.begin() + 18)},
        {"extension longer than the datagram",
         [&] {
             Packet p = good;
             p[15] = 200;
             return p;
         }()},
        {"padding larger than the payload",
         [&] {
             Packet p(good.begin(), good.begin() + 30);
             p[0] |= 0x20;
             p.back() = 50;
             return p;
         }()},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(CVideoPacket::Parse(c.bytes.data(), c.bytes.size(), 0, 0)) << c.what;
        CVideoPacket::View view;
        EXPECT_FALSE(CVideoPacket::ParseInPlace(c.bytes.data(), c.bytes.size(), 0, 0, view))
            << c.what;
    }

    // Padding within bounds is taken off the payload.
    Packet padded = Cut(MakeFrame(10, 1), 1)[0];
    padded[0] |= 0x20;
    padded.push_back(0);
    padded.push_back(2);
    auto f = CVideoPacket::Parse(padded.data(), padded.size(), 0, 0);
    ASSERT_TRUE(f);
    EXPECT_EQ(10u, f->payloadLength);
}

TEST(VideoReassemblerTest, PiecesInAnyOrderGiveTheFrameOnce)
{
    std::vector<uint8_t> frame = MakeFrame(3210, 9);
    std::vector<Packet> pieces = Cut(frame, 40);
    struct Case
    {
        const char* what;
        std::vector<int> order;
        bool complete;
    } cases[] = {
        {"in order", {0, 1, 2, 3, 4, 5, 6}, true},
        {"reversed", {6, 5, 4, 3, 2, 1, 0}, true},
        {"shuffled", {3, 0, 6, 1, 5, 2, 4}, true},
        {"each twice", {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6}, true},
        {"one lost", {0, 1, 2, 4, 5, 6}, false},
        {"one repeated, one lost", {0, 1, 1, 3, 4, 5, 6}, false},
        {"repeats after completion", {0, 1, 2, 3, 4, 5, 6, 2, 6, 0}, true},
    };
    for (const Case& c : cases) {
        CVideoReassembler r;
        for (int i : c.order)
            Feed(r, pieces[static_cast<size_t>(i)]);
        std::vector<std::vector<uint8_t>> payloads;
        std::vector<uint32_t> seqs = PopAll(r, &payloads);
        if (c.complete) {
            ASSERT_EQ(std::vector<uint32_t>{40}, seqs) << c.what;
            EXPECT_EQ(frame, payloads[0]) << c.what;
            EXPECT_EQ(0, r.SlotsInUse()) << c.what;
        } else {
            EXPECT_TRUE(seqs.empty()) << c.what;
            EXPECT_EQ(1, r.SlotsInUse()) << c.what;
        }
    }
}

TEST(VideoReassemblerTest, ForgedPiecesNeverReachASlot)
{
    std::vector<Packet> pieces = Cut(MakeFrame(1200, 1), 5);
    auto forge = [&](uint32_t length, int16_t index, size_t payload) {
        Packet p = pieces[0];
        p[16] = static_cast<uint8_t>(length);
        p[17] = static_cast<uint8_t>(length >> 8);
        p[18] = static_cast<uint8_t>(length >> 16);
        p[19] = static_cast<uint8_t>(length >> 24);
        p[22] = static_cast<uint8_t>(index);
        p[23] = static_cast<uint8_t>(static_cast<uint16_t>(index) >> 8);
        p.resize(24 + payload, 0x55);
        return p;
    };
    struct Case
    {
        const char* what;
        Packet p;
    } cases[] = {
        {"length 0", forge(0, 0, 500)},
        {"length above 61440", forge(61441, 0, 500)},
        {"length of gigabytes", forge(0x7FFFFFF0, 0, 500)},
        {"length with the top bit set", forge(0xFFFFFFF0, 0, 500)},
        {"negative index", forge(1200, -1, 500)},
        {"index past the last piece", forge(1200, 3, 200)},
        {"short middle piece", forge(1200, 1, 499)},
        {"long last piece", forge(1200, 2, 201)},
        {"no fragment fields",
         [&] {
             Packet p = pieces[0];
             p[15] = 0;
             p.erase(p.begin() + 16, p.begin() + 24);
             return p;
         }()},
    };
    for (const Case& c : cases) {
        CVideoReassembler r;
        Feed(r, c.p);
        EXPECT_EQ(0, r.SlotsInUse()) << c.what;
        EXPECT_EQ(1u, r.GetCounters().piecesDropped) << c.what;
    }

    // A piece claiming another length for a frame already begun is dropped
    // and the frame still completes from its own pieces.
    CVideoReassembler r;
    Feed(r, pieces[0]);
    Feed(r, forge(1700, 1, 500));
    Feed(r, pieces[1]);
    Feed(r, pieces[2]);
    EXPECT_EQ(std::vector<uint32_t>{5}, PopAll(r));
}

TEST(VideoReassemblerTest, SeventeenthFrameEvictsTheOldestSlot)
{
    CVideoReassembler r;
    std::vector<std::vector<Packet>> frames;
    for (uint16_t s = 0; s < 17; ++s)
        frames.push_back(
            Cut(MakeFrame(1500, static_cast<uint8_t>(s)), static_cast<uint16_t>(100 + s)));
    for (int s = 0; s < 16; ++s)
        Feed(r, frames[s][0]);
    EXPECT_EQ(16, r.SlotsInUse());
    Feed(r, frames[16][0]);
    EXPECT_EQ(1u, r.GetCounters().slotsEvicted);
    // Frame 100 lost its slot; finishing 101 and 116 works, 100 starts over.
    for (int i = 1; i < 3; ++i) {
        Feed(r, frames[1][i]);
        Feed(r, frames[16][i]);
    }
    for (int i = 1; i < 3; ++i)
        Feed(r, frames[0][i]);
    EXPECT_EQ((std::vector<uint32_t>{101, 116}), PopAll(r));
    EXPECT_EQ(15, r.SlotsInUse());
}

TEST(VideoReassemblerTest, EvictionAcrossTheCounterWrapDropsTheStaleFrames)
{
    // Sixteen frames from just before the wrap stay incomplete; the frames
    // after the wrap must push them out, not each other.
    CVideoReassembler r;
    for (uint16_t s = 65520; s != 0; ++s)
        Feed(r, Cut(MakeFrame(1500, 1), s)[0]);
    EXPECT_EQ(16, r.SlotsInUse());
    // Pieces of two frames at a time arrive interleaved.
    for (uint16_t s = 0; s < 20; s += 2) {
        std::vector<Packet> a = Cut(MakeFrame(1500, 2), s);
        std::vector<Packet> b = Cut(MakeFrame(1500, 3), static_cast<uint16_t>(s + 1));
        for (size_t i = 0; i < a.size(); ++i) {
            Feed(r, a[i]);
            Feed(r, b[i]);
        }
    }
    std::vector<uint32_t> seqs = PopAll(r);
    EXPECT_EQ(20u, seqs.size());
}

TEST(VideoReassemblerTest, FinishedFramesComeOutInSequenceOrder)
{
    struct Case
    {
        const char* what;
        std::vector<uint16_t> arrive;
        std::vector<uint32_t> out;
    } cases[] = {
        {"reordered", {12, 10, 11}, {10, 11, 12}},
        {"repeated whole frames", {10, 10, 11, 10}, {10, 11}},
        {"across the wrap", {1, 65535, 0}, {65535, 0, 1}},
    };
    for (const Case& c : cases) {
        CVideoReassembler r;
        for (uint16_t s : c.arrive)
            for (const Packet& p : Cut(MakeFrame(s % 2 ? 300 : 900, 1), s))
                Feed(r, p);
        EXPECT_EQ(c.out, PopAll(r)) << c.what;
    }
}

TEST(VideoReassemblerTest, LossAndRepeatsAtRandomNeverCorruptAFrame)
{
    std::mt19937 rng(1234);
    CVideoReassembler r;
    std::vector<std::vector<uint8_t>> sent;
    std::vector<Packet> wire;
    for (uint16_t s = 0; s < 200; ++s) {
        sent.push_back(MakeFrame(500 + (s * 997) % 20000, static_cast<uint8_t>(s)));
        for (const Packet& p : Cut(sent.back(), s)) {
            const uint32_t roll = rng() % 100;
            if (roll < 5)
                continue; // lost
            wire.push_back(p);
            if (roll < 10)
                wire.push_back(p); // repeated
        }
    }
    // Mild reordering: swap neighbours now and then.
    for (size_t i = 1; i < wire.size(); ++i)
        if (rng() % 10 == 0)
            std::swap(wire[i - 1], wire[i]);
    size_t delivered = 0;
    for (const Packet& p : wire) {
        Feed(r, p);
        while (auto f = r.Pop()) {
            ASSERT_LT(f->sequence, sent.size());
            ASSERT_EQ(sent[f->sequence],
                      std::vector<uint8_t>(f->Payload(), f->Payload() + f->payloadLength));
            ++delivered;
        }
    }
    EXPECT_GT(delivered, 20u);
}

TEST(VideoReassemblerTest, InPlaceAndCopiedDatagramsGiveTheSameFrames)
{
    // The same lossy, repeating, reordered traffic, once through records that
    // own a copy of each datagram and once parsed in place from one reused
    // receive buffer: the frames, their fields and bytes are the same.
    std::mt19937 rng(77);
    std::vector<Packet> wire;
    for (uint16_t s = 0; s < 120; ++s) {
        const uint32_t length = s % 7 == 0 ? 300 + s : 500 + (s * 1231u) % 61000;
        for (const Packet& p : Cut(MakeFrame(length, static_cast<uint8_t>(s * 3)), s, 90u * s)) {
            const uint32_t roll = rng() % 100;
            if (roll < 3)
                continue;
            wire.push_back(p);
            if (roll < 8)
                wire.push_back(p);
        }
    }
    for (size_t i = 1; i < wire.size(); ++i)
        if (rng() % 8 == 0)
            std::swap(wire[i - 1], wire[i]);

    CVideoReassembler copied, inPlace;
    uint8_t receiveBuffer[VideoWire::DATAGRAM_BUFFER];
    size_t compared = 0;
    for (const Packet& p : wire) {
        copied.Add(CVideoPacket::Parse(p.data(), p.size(), 0x0A000002, 4321));
        std::copy(p.begin(), p.end(), receiveBuffer);
        CVideoPacket::View view;
        ASSERT_TRUE(CVideoPacket::ParseInPlace(receiveBuffer, p.size(), 0x0A000002, 4321, view));
        inPlace.Add(view);
        std::fill(receiveBuffer, receiveBuffer + sizeof receiveBuffer, 0xCD);
        for (;;) {
            auto a = copied.Pop();
            auto b = inPlace.Pop();
            ASSERT_EQ(!a, !b);
            if (!a)
                break;
            EXPECT_EQ(a->sequence, b->sequence);
            EXPECT_EQ(a->timestamp, b->timestamp);
            EXPECT_EQ(a->payloadType, b->payloadType);
            EXPECT_EQ(a->marker, b->marker);
            EXPECT_EQ(a->sourceAddress, b->sourceAddress);
            EXPECT_EQ(a->sourcePort, b->sourcePort);
            ASSERT_EQ(std::vector<uint8_t>(a->Payload(), a->Payload() + a->payloadLength),
                      std::vector<uint8_t>(b->Payload(), b->Payload() + b->payloadLength))
                << "frame " << a->sequence;
            ++compared;
        }
    }
    const auto& ca = copied.GetCounters();
    const auto& cb = inPlace.GetCounters();
    EXPECT_EQ(ca.framesDone, cb.framesDone);
    EXPECT_EQ(ca.piecesRepeated, cb.piecesRepeated);
    EXPECT_EQ(ca.slotsEvicted, cb.slotsEvicted);
    EXPECT_GT(compared, 30u);
}

TEST(VideoReassemblerTest, AFrameNumberComesBackOnceItLeavesTheRecentList)
{
    // The last 32 frame numbers delivered are refused again; an older one is
    // a new frame (the counter has come round), whole or in pieces.
    for (uint32_t length : {300u, 1200u}) {
        CVideoReassembler r;
        for (uint16_t s = 0; s < 40; ++s)
            for (const Packet& p : Cut(MakeFrame(length, static_cast<uint8_t>(s)), s))
                Feed(r, p);
        EXPECT_EQ(40u, PopAll(r).size());
        const uint16_t refused = 39 - 31, accepted = 39 - 32;
        for (uint16_t s : {refused, accepted})
            for (const Packet& p : Cut(MakeFrame(length, 200), s))
                Feed(r, p);
        std::vector<std::vector<uint8_t>> payloads;
        EXPECT_EQ(std::vector<uint32_t>{accepted}, PopAll(r, &payloads)) << length;
        ASSERT_EQ(1u, payloads.size());
        EXPECT_EQ(MakeFrame(length, 200), payloads[0]) << length;
    }
}

TEST(VideoReassemblerTest, FramesLetGoAreReusedAndFramesHeldAreNeverTouched)
{
    // Frames of one piece and of many, some held by the caller while later
    // frames are put together, the others let go at once: each held frame
    // keeps its own bytes, and a frame let go is what the next one is made
    // in, buffer included.
    CVideoReassembler r;
    std::vector<VideoFramePtr> held;
    std::vector<std::vector<uint8_t>> heldBytes;
    const CVideoFrame* lastLetGo = nullptr;
    const uint8_t* lastBuffer = nullptr;
    size_t reused = 0;
    for (uint16_t s = 0; s < 60; ++s) {
        const uint32_t length = s % 3 == 0 ? 400 : 9000;
        const std::vector<uint8_t> bytes = MakeFrame(length, static_cast<uint8_t>(s));
        for (const Packet& p : Cut(bytes, s))
            Feed(r, p);
        VideoFramePtr f = r.Pop();
        ASSERT_TRUE(f) << s;
        ASSERT_EQ(bytes, std::vector<uint8_t>(f->Payload(), f->Payload() + f->payloadLength));
        if (length == 9000 && f.get() == lastLetGo && f->buffer.data() == lastBuffer)
            ++reused;
        if (s % 5 == 0) {
            held.push_back(std::move(f));
            heldBytes.push_back(bytes);
        } else if (length == 9000) {
            lastLetGo = f.get();
            lastBuffer = f->buffer.data();
        }
    }
    EXPECT_GT(reused, 20u);
    for (size_t i = 0; i < held.size(); ++i)
        EXPECT_EQ(heldBytes[i], std::vector<uint8_t>(held[i]->Payload(),
                                                     held[i]->Payload() + held[i]->payloadLength))
            << "held frame " << i;
}

TEST(VideoReassemblerTest, FramesMayOutliveTheReassemblerAndComeBackFromAnotherThread)
{
    std::vector<VideoFramePtr> out;
    {
        CVideoReassembler r;
        for (uint16_t s = 0; s < 30; ++s) {
            for (const Packet& p : Cut(MakeFrame(s % 2 ? 700 : 200, 9), s))
                Feed(r, p);
            while (VideoFramePtr f = r.Pop())
                out.push_back(std::move(f));
        }
        // Half of them come back from another thread while frames are made.
        std::thread other([&out] {
            for (size_t i = 0; i < out.size(); i += 2)
                out[i].reset();
        });
        for (uint16_t s = 30; s < 200; ++s) {
            for (const Packet& p : Cut(MakeFrame(s % 2 ? 700 : 200, 9), s))
                Feed(r, p);
            while (VideoFramePtr f = r.Pop())
                EXPECT_EQ(MakeFrame(s % 2 ? 700 : 200, 9),
                          std::vector<uint8_t>(f->Payload(), f->Payload() + f->payloadLength));
        }
        other.join();
    }
    // The reassembler is gone; the frames still held read and free as usual.
    size_t left = 0;
    for (VideoFramePtr& f : out) {
        if (!f)
            continue;
        ++left;
        EXPECT_EQ(MakeFrame(f->sequence % 2 ? 700 : 200, 9),
                  std::vector<uint8_t>(f->Payload(), f->Payload() + f->payloadLength));
        f.reset();
    }
    EXPECT_EQ(15u, left);
}
