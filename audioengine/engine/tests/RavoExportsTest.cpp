#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <vector>

#include "RavoOrdinals.h"
#include "RavoTestUtil.h"
#include "RavoTypes.h"

using namespace RavoEngine;

namespace {
// The library as a caller sees it: loaded by file name, bound by ordinal.
class RavoDll : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_module = LoadLibraryA("Ravo.dll");
        ASSERT_NE(nullptr, m_module);
    }
    void TearDown() override
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    template <typename F>
    F Bind(int ordinal)
    {
        return reinterpret_cast<F>(
            reinterpret_cast<void*>(GetProcAddress(m_module, MAKEINTRESOURCEA(ordinal))));
    }
    HMODULE m_module = nullptr;
};
} // namespace

TEST_F(RavoDll, EveryOrdinalAndNoName)
{
    for (int ordinal = 1; ordinal <= RAVO_ORDINAL_COUNT; ++ordinal)
        EXPECT_NE(nullptr, Bind<void*>(ordinal)) << ordinal;
    EXPECT_EQ(nullptr, Bind<void*>(RAVO_ORDINAL_COUNT + 1));
    EXPECT_EQ(nullptr, GetProcAddress(m_module, "AUDIO_MIX_16"));
    EXPECT_EQ(nullptr, GetProcAddress(m_module, "Sonvex_SourceGroup_Create"));
}

TEST_F(RavoDll, FormatTableFunctions)
{
    auto count = Bind<unsigned char(__cdecl*)()>(38);
    auto name = Bind<int(__cdecl*)(unsigned char, char*, unsigned int)>(39);
    auto formatIn = Bind<int(__cdecl*)(unsigned char, WAVEFORMATEX*)>(40);
    auto block = Bind<int(__cdecl*)(unsigned char)>(41);
    auto fecCount = Bind<int(__cdecl*)()>(32);
    EXPECT_EQ(5, count());
    EXPECT_EQ(5, fecCount());

    char buffer[32];
    memset(buffer, 'z', sizeof buffer);
    EXPECT_EQ(0, name(2, buffer, 19));
    EXPECT_EQ('z', buffer[0]); // untouched
    EXPECT_EQ(19, name(2, buffer, 20));
    EXPECT_STREQ("CCITT A-Law,64 kbps", buffer);
    EXPECT_EQ(0, name(5, buffer, sizeof buffer));

    WAVEFORMATEX f{};
    EXPECT_EQ(1, formatIn(3, &f));
    EXPECT_EQ(16000u, f.nSamplesPerSec);
    EXPECT_EQ(32000u, f.nAvgBytesPerSec);
    EXPECT_EQ(0, formatIn(5, &f));
    EXPECT_EQ(640, block(4));
    EXPECT_EQ(480, block(0));
    EXPECT_EQ(0, block(5));
}

TEST_F(RavoDll, MixersClipAtPlusMinus32767)
{
    auto mix16 = Bind<void(__cdecl*)(short*, const short*, int)>(1);
    auto mix8 = Bind<void(__cdecl*)(char*, const char*, int)>(2);
    short a[2] = {30000, -30000};
    const short b[2] = {10000, -10000};
    mix16(a, b, 2);
    EXPECT_EQ(32767, a[0]);
    EXPECT_EQ(-32767, a[1]);
    char c[1] = {-100};
    const char d[1] = {-100};
    mix8(c, d, 1);
    EXPECT_EQ(-127, c[0]);
}

TEST_F(RavoDll, HandlesNullAndLifecycle)
{
    auto groupCreate = Bind<void*(__cdecl*)(const WAVEFORMATEX*)>(11);
    auto addSource = Bind<int(__cdecl*)(void*, uint32_t)>(13);
    auto exists = Bind<int(__cdecl*)(void*, uint32_t)>(12);
    auto read = Bind<int(__cdecl*)(void*, short*, int)>(21);
    auto netState = Bind<int(__cdecl*)(void**, uint32_t, FEC_NET_STATE*, char*)>(26);
    auto groupDestroy = Bind<void(__cdecl*)(void**)>(25);
    auto procCreate = Bind<void*(__cdecl*)(unsigned char, const WAVEFORMATEX*)>(27);
    auto process = Bind<int(__cdecl*)(void*, AUDIO_STREAM_HEAD*, uint32_t*)>(36);
    auto procDestroy = Bind<void(__cdecl*)(void**)>(37);
    auto sourceCreate = Bind<void*(__cdecl*)(const WAVEFORMATEX*, int)>(3);
    auto sourceDestroy = Bind<void(__cdecl*)(void**)>(10);

    // Null handles do nothing and give 0.
    EXPECT_EQ(0, addSource(nullptr, 1));
    EXPECT_EQ(0, read(nullptr, nullptr, 10));
    uint32_t out = 7;
    EXPECT_EQ(0, process(nullptr, nullptr, &out));
    EXPECT_EQ(0u, out);
    void* none = nullptr;
    groupDestroy(&none);
    procDestroy(&none);
    EXPECT_EQ(nullptr, procCreate(5, nullptr));

    const WAVEFORMATEX format = Pcm16(16000, 1);
    void* group = groupCreate(&format);
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(1, addSource(group, 42));
    EXPECT_EQ(0, addSource(group, 42));
    EXPECT_EQ(1, exists(group, 42));
    std::vector<short> pcm(320, 5);
    EXPECT_EQ(640, read(group, pcm.data(), 640));
    EXPECT_EQ(0, pcm[0]);
    // The net state takes the address of the handle variable.
    FEC_NET_STATE state{};
    EXPECT_EQ(1, netState(&group, 42, &state, nullptr));
    EXPECT_EQ(0, netState(&group, 43, &state, nullptr));
    groupDestroy(&group);
    EXPECT_EQ(nullptr, group);

    void* proc = procCreate(4, nullptr);
    ASSERT_NE(nullptr, proc);
    std::vector<uint8_t> packet(1024);
    AUDIO_STREAM_HEAD io{};
    io.input = pcm.data();
    io.inputLength = 640;
    io.output = packet.data();
    io.outputCapacity = 1024;
    out = 9;
    EXPECT_EQ(1, process(proc, &io, &out));
    EXPECT_EQ(0u, out);
    EXPECT_EQ(85u, io.outputLength);
    EXPECT_EQ(7, packet[0]);
    procDestroy(&proc);
    EXPECT_EQ(nullptr, proc);

    void* source = sourceCreate(&format, 1);
    ASSERT_NE(nullptr, source);
    sourceDestroy(&source);
    EXPECT_EQ(nullptr, source);
}
