#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AudioProcesser.h"
#include "AudioSource.h"
#include "FecReceiver.h"
#include "FecTrace.h"
#include "RavoTestUtil.h"

using namespace RavoEngine;

namespace {
const WAVEFORMATEX kPlayout = Pcm16(16000, 1);

// One FEC data packet of a frame of 80 bytes (mode "6+6": n 12, k 6).
std::vector<uint8_t> FecData(uint16_t group, int index, uint8_t fill)
{
    std::vector<uint8_t> p(84, fill);
    const uint32_t h = group | (static_cast<uint32_t>(index) << 16) | (5u << 22) | (5u << 27);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(h >> (8 * i));
    return p;
}

int SumSlots(const AudioSource& s, uint8_t SourceStatSlot::*field)
{
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += s.GetSlot(i).*field;
    return sum;
}

bool FileExists(const char* name)
{
    const DWORD a = GetFileAttributesA(name);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

TEST(RavoFecPath, ProcesserToSourceRecoversLostPackets)
{
    AudioProcesser p;
    ASSERT_TRUE(p.Create(3, nullptr));
    p.SetFECMode(1);
    std::vector<int16_t> tone = Tone(320 * 60, 440.0, 8000.0, 16000);
    std::vector<std::vector<uint8_t>> packets;
    for (int i = 0; i < 60; ++i) {
        std::vector<uint8_t> out(1024);
        AUDIO_STREAM_HEAD io{};
        io.input = tone.data() + 320 * i;
        io.inputLength = 640;
        io.output = out.data();
        io.outputCapacity = 1024;
        uint32_t extra = 0;
        ASSERT_EQ(1, p.Process(&io, &extra));
        out.resize(io.outputLength);
        packets.push_back(out);
    }
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    ASSERT_EQ(0x76, packets[0][0]);
    // Every fourth packet is lost on the way (never the first, which only
    // opens the source).
    int lost = 0;
    for (size_t i = 0; i < packets.size(); ++i) {
        if (i % 4 == 2) {
            ++lost;
            continue;
        }
        s.Insert(packets[i].data(), static_cast<int>(packets[i].size()));
    }
    ASSERT_TRUE(s.HasFec());
    std::vector<uint8_t> pcm(640);
    for (int i = 0; i < 70; ++i)
        s.Read(pcm.data(), 640);
    // The groups whose parity has arrived are rebuilt in full: at most the
    // first frame and the last group stay missing.
    const int delivered = SumSlots(s, &SourceStatSlot::fecDelivered);
    EXPECT_GE(delivered, 60 - 1 - 6);
    EXPECT_LE(SumSlots(s, &SourceStatSlot::fecLost), 1);
    FEC_NET_STATE state{};
    ASSERT_EQ(1, s.GetNetState(&state, nullptr, 0));
    EXPECT_GT(state.missingRatio, 0.1);
    EXPECT_GT(state.presentRatio, 0.9);
    EXPECT_EQ(59u, state.lastSequence);
    EXPECT_GT(lost, 10);
}

// Every mode rebuilds what a loss of one packet in four takes, as far as
// the parity of a group has arrived.
TEST(RavoFecPath, RecoveryPerMode)
{
    const struct
    {
        int mode;
        int k;
    } modes[] = {{1, 6}, {2, 6}, {3, 8}, {4, 16}};
    std::vector<int16_t> tone = Tone(320 * 120, 440.0, 8000.0, 16000);
    for (const auto& m : modes) {
        SCOPED_TRACE(m.mode);
        AudioProcesser p;
        ASSERT_TRUE(p.Create(4, nullptr));
        p.SetFECMode(m.mode);
        FakeClock clock;
        AudioSource s(kPlayout, false, clock);
        std::vector<uint8_t> pcm(640);
        for (int i = 0; i < 120; ++i) {
            std::vector<uint8_t> out(2048);
            AUDIO_STREAM_HEAD io{};
            io.input = tone.data() + 320 * i;
            io.inputLength = 640;
            io.output = out.data();
            io.outputCapacity = 2048;
            uint32_t extra = 0;
            ASSERT_EQ(1, p.Process(&io, &extra));
            if (i % 4 != 2)
                s.Insert(out.data(), static_cast<int>(io.outputLength));
            // Play-out keeps pace: one block per packet time.
            s.Read(pcm.data(), 640);
        }
        const int delivered = SumSlots(s, &SourceStatSlot::fecDelivered);
        // All but the first frame and the groups still waiting for parity.
        EXPECT_GE(delivered, 120 - 1 - 2 * m.k);
        EXPECT_LE(SumSlots(s, &SourceStatSlot::fecLost), 1);
    }
}

TEST(RavoFecPath, FrameNumbersWrapWithTheGroupNumber)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    uint32_t seq = 0;
    auto send = [&](uint16_t group, int index) {
        const std::vector<uint8_t> p = MakePacket(0x77, seq++, FecData(group, index, 3));
        return s.Insert(p.data(), static_cast<int>(p.size()));
    };
    send(65533, 5); // opens the source; its frame counts as a duplicate
    for (uint16_t g : {uint16_t(65534), uint16_t(65535), uint16_t(0), uint16_t(1)})
        for (int i = 0; i < 6; ++i)
            EXPECT_TRUE(send(g, i));
    std::vector<uint8_t> pcm(640);
    for (int i = 0; i < 30; ++i)
        s.Read(pcm.data(), 640);
    EXPECT_EQ(24, SumSlots(s, &SourceStatSlot::fecDelivered));
    EXPECT_EQ(0, SumSlots(s, &SourceStatSlot::fecLost));
    EXPECT_EQ(0, SumSlots(s, &SourceStatSlot::fecBurst));
}

TEST(RavoFecPath, TraceFileCreatedOrSkipped)
{
    char saved[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, saved), 0u);
    const std::string work = std::string(saved) + "\\fec_trace_work";
    CreateDirectoryA(work.c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(work.c_str()));
    DeleteFileA("trace_2.txt");
    RemoveDirectoryA("trace_2.txt");

    // An FEC source creates the (empty) trace file in the current folder.
    FecTrace::Close();
    {
        FakeClock clock;
        AudioSource s(kPlayout, false, clock);
        const std::vector<uint8_t> p = MakePacket(0x77, 1, FecData(0, 0, 1));
        s.Insert(p.data(), static_cast<int>(p.size()));
        EXPECT_TRUE(s.HasFec());
    }
    EXPECT_TRUE(FileExists("trace_2.txt"));
    EXPECT_TRUE(FecTrace::IsOpen(FecTrace::TRACE));
    FecTrace::Close();
    DeleteFileA("trace_2.txt");

    // Where the file cannot be made the source works on without it.
    ASSERT_TRUE(CreateDirectoryA("trace_2.txt", nullptr));
    {
        FakeClock clock;
        AudioSource s(kPlayout, false, clock);
        const std::vector<uint8_t> p = MakePacket(0x77, 1, FecData(0, 0, 1));
        s.Insert(p.data(), static_cast<int>(p.size()));
        EXPECT_TRUE(s.HasFec());
        FecTrace::Write(FecTrace::TRACE, "line %d\n", 1);
    }
    EXPECT_FALSE(FecTrace::IsOpen(FecTrace::TRACE));
    FecTrace::Close();
    RemoveDirectoryA("trace_2.txt");
    SetCurrentDirectoryA(saved);
    RemoveDirectoryA(work.c_str());
}

TEST(RavoFecTrace, RowsOfBitsAndNumbers)
{
    char line[128];
    const uint8_t bits[2] = {0x2D, 0x01}; // 1011 0100 1
    FecTrace::FormatBits(line, sizeof line, bits, 9, 4);
    EXPECT_STREQ("[.x.. x.xx .]", line);
    const int values[5] = {5, 0, 123, 0, 7};
    FecTrace::FormatInts(line, sizeof line, values, 5, 2);
    EXPECT_STREQ("   5   -  123   -    7", line);
}
