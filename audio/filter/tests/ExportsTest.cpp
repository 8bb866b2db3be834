// SonvexFilter.dll as a caller sees it: its export table and its functions
// reached through GetProcAddress.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "AudioFormats.h"

using namespace SonvexFilterCore;

namespace {

const char* const kExports[] = {
    "AUDIO_MIX_16",
    "AUDIO_MIX_8",
    "Sonvex_SourceGroup_Create",
    "Sonvex_SourceGroup_SourceIsExist",
    "Sonvex_SourceGroup_AddSource",
    "Sonvex_SourceGroup_RemoveSource",
    "Sonvex_SourceGroup_WriteSource",
    "Sonvex_SourceGroup_SetSourceVolume",
    "Sonvex_SourceGroup_GetSourceVolume",
    "Sonvex_SourceGroup_EnableSourceCalEnergy",
    "Sonvex_SourceGroup_GetSourceEnergy",
    "Sonvex_SourceGroup_ReadData",
    "Sonvex_SourceGroup_GetEnergy",
    "Sonvex_SourceGroup_EnableCalEnergy",
    "Sonvex_SourceGroup_EnableLocal",
    "Sonvex_SourceGroup_Destroy",
    "Sonvex_SourceGroup_GetNetState",
    "Sonvex_Processer_Create",
    "Sonvex_Processer_SetParam",
    "Sonvex_Processer_GetParam",
    "Sonvex_Processer_Process",
    "Sonvex_Processer_Destroy",
    "Sonvex_GetEncodeFormatCount",
    "Sonvex_GetEncodeFormatName",
    "Sonvex_GetEncodeFormatIn",
    "Sonvex_GetEncodeBlockSize",
};

std::set<std::string> ExportedNames(HMODULE module)
{
    std::set<std::string> names;
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const IMAGE_EXPORT_DIRECTORY* exp =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const DWORD* nameRvas = reinterpret_cast<const DWORD*>(base + exp->AddressOfNames);
    for (DWORD i = 0; i < exp->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char*>(base + nameRvas[i]));
    return names;
}

class Dll : public testing::Test
{
protected:
    void SetUp() override
    {
        module = LoadLibraryA("SonvexFilter.dll");
        ASSERT_NE(nullptr, module);
    }
    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
    }
    template <typename F>
    F Get(const char* name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    HMODULE module = nullptr;
};

} // namespace

TEST_F(Dll, ExportsExactlyTheTwentySixNames)
{
    std::set<std::string> expect(std::begin(kExports), std::end(kExports));
    EXPECT_EQ(26u, expect.size());
    EXPECT_EQ(expect, ExportedNames(module));
}

TEST_F(Dll, FormatQueries)
{
    auto count = Get<int (*)()>("Sonvex_GetEncodeFormatCount");
    auto name =
        Get<int (*)(unsigned char, unsigned char*, char*, unsigned)>("Sonvex_GetEncodeFormatName");
    auto in = Get<int (*)(unsigned char, WAVEFORMATEX*)>("Sonvex_GetEncodeFormatIn");
    auto block = Get<int (*)(unsigned char)>("Sonvex_GetEncodeBlockSize");
    EXPECT_EQ(2, count());
    unsigned char id = 0;
    char text[64];
    EXPECT_EQ(0, name(1, &id, text, 13)); // the 13-character name does not fit
    EXPECT_EQ(7, id);
    EXPECT_EQ(13, name(1, &id, text, 14));
    EXPECT_STREQ("G7221,32 kbps", text);
    id = 0;
    EXPECT_EQ(0, name(2, &id, text, 64));
    EXPECT_EQ(0, id);
    EXPECT_EQ(640, block(0));
    EXPECT_EQ(0, block(2));
    unsigned char record[20];
    memset(record, 0xCC, sizeof(record));
    ASSERT_EQ(1, in(0, reinterpret_cast<WAVEFORMATEX*>(record)));
    const WAVEFORMATEX* f = reinterpret_cast<const WAVEFORMATEX*>(record);
    EXPECT_EQ(16000u, f->nSamplesPerSec);
    EXPECT_EQ(1, f->nChannels);
    EXPECT_EQ(16, f->wBitsPerSample);
    EXPECT_EQ(2, f->nBlockAlign);
    EXPECT_EQ(32000u, f->nAvgBytesPerSec);
    EXPECT_EQ(0xCC, record[18]); // the 18-byte record, and not a byte more
    EXPECT_EQ(0xCC, record[19]);
    EXPECT_EQ(0, in(2, reinterpret_cast<WAVEFORMATEX*>(record)));
}

TEST_F(Dll, HandlesAndMixing)
{
    typedef void* H;
    auto create = Get<H (*)(int)>("Sonvex_SourceGroup_Create");
    auto add = Get<int (*)(H, DWORD)>("Sonvex_SourceGroup_AddSource");
    auto exists = Get<int (*)(H, DWORD)>("Sonvex_SourceGroup_SourceIsExist");
    auto write =
        Get<int (*)(H, DWORD, DWORD, unsigned char*, unsigned)>("Sonvex_SourceGroup_WriteSource");
    auto read = Get<unsigned (*)(H, unsigned char*, unsigned)>("Sonvex_SourceGroup_ReadData");
    auto energy = Get<int (*)(H)>("Sonvex_SourceGroup_GetEnergy");
    auto netState =
        Get<int (*)(H*, DWORD, FEC_NET_STATE*, char*)>("Sonvex_SourceGroup_GetNetState");
    auto destroy = Get<void (*)(H*)>("Sonvex_SourceGroup_Destroy");
    auto mix16 = Get<void (*)(short*, short*, int)>("AUDIO_MIX_16");
    auto pCreate = Get<H (*)(WAVEFORMATEX*)>("Sonvex_Processer_Create");
    auto pSet = Get<int (*)(H, int, void*)>("Sonvex_Processer_SetParam");
    auto pGet = Get<int (*)(H, int, void*)>("Sonvex_Processer_GetParam");
    auto pProcess = Get<int (*)(H, AUDIO_STREAM_HEAD*)>("Sonvex_Processer_Process");
    auto pDestroy = Get<void (*)(H*)>("Sonvex_Processer_Destroy");

    short a[2] = {20000, -20000}, b[2] = {20000, -20000};
    mix16(a, b, 2);
    EXPECT_EQ(32767, a[0]);
    EXPECT_EQ(-32767, a[1]);

    // Null handles do nothing and give 0.
    EXPECT_EQ(0, add(nullptr, 1));
    EXPECT_EQ(0u, read(nullptr, nullptr, 0));
    H none = nullptr;
    destroy(&none);
    destroy(nullptr);
    EXPECT_EQ(0, netState(&none, 1, nullptr, nullptr));
    int v = 0;
    EXPECT_EQ(0, pSet(nullptr, 1, &v));

    H group = create(16000);
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(1, add(group, 42));
    EXPECT_EQ(1, exists(group, 42));
    unsigned char packet[61] = {0x06};
    EXPECT_EQ(1, write(group, 42, 1, packet, 61));
    EXPECT_EQ(0, write(group, 43, 1, packet, 61));
    unsigned char out[640];
    EXPECT_EQ(640u, read(group, out, 640));
    EXPECT_EQ(0, energy(group));
    destroy(&group);
    EXPECT_EQ(nullptr, group);

    WAVEFORMATEX capture = {WAVE_FORMAT_PCM, 1, 16000, 32000, 2, 16, 0};
    H p = pCreate(&capture);
    ASSERT_NE(nullptr, p);
    v = 6;
    EXPECT_EQ(1, pGet(p, 8, &v));
    EXPECT_EQ(6, v);
    v = 9;
    EXPECT_EQ(0, pSet(p, 7, &v));
    AUDIO_STREAM_HEAD head = {};
    EXPECT_EQ(0, pProcess(p, &head)); // no codec yet
    EXPECT_EQ(0, pProcess(p, nullptr));

    // Codec 7: 81-byte packets beginning 0x07; with FEC mode 1 the first byte is 0x17.
    v = 7;
    ASSERT_EQ(1, pSet(p, 10, &v));
    std::vector<unsigned char> pcm(640, 0), coded(1024);
    for (int i = 0; i < 320; ++i)
        pcm[static_cast<size_t>(2 * i)] = static_cast<unsigned char>(i * 37);
    head.input = pcm.data();
    head.inputLength = 640;
    head.output = coded.data();
    head.outputCapacity = 1024;
    ASSERT_EQ(1, pProcess(p, &head));
    EXPECT_EQ(81u, head.outputLength);
    EXPECT_EQ(0x07, coded[0]);
    v = 1;
    ASSERT_EQ(1, pSet(p, 7, &v));
    ASSERT_EQ(1, pProcess(p, &head));
    EXPECT_EQ(1u + 84u, head.outputLength);
    EXPECT_EQ(0x17, coded[0]);
    pDestroy(&p);
    EXPECT_EQ(nullptr, p);
}
