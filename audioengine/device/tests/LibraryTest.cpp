#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <cstdio>
#include <memory>
#include <set>

#include "RavoTModule.h"

namespace {
struct Counter
{
    std::atomic<int> packets{0};
    std::atomic<int> badKind{0};
    std::atomic<int> taps{0};
    std::atomic<int> refused{0};
    // Each coded packet goes back in as the stream of source 5, as a peer's
    // packets would.
    int(__cdecl* writeSource)(DWORD, uint8_t*, int) = nullptr;
    static void Packet(void* context, void*, uint8_t* packet, int length)
    {
        Counter* self = static_cast<Counter*>(context);
        if (length < 6 || (packet[0] & 0x0F) != 6)
            self->badKind++;
        if (self->writeSource && self->writeSource(5, packet, length) != 1)
            self->refused++;
        self->packets++;
    }
    static int Tap(void* context, void*, uint8_t*, int length)
    {
        static_cast<Counter*>(context)->taps++;
        return length;
    }
};

bool WaitUntil(const std::atomic<int>& value, int atLeast, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (value.load() < atLeast) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(5);
    }
    return true;
}

class RavoTLibrary : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(t.Load()); }
    void TearDown() override { t.Unload(); }
    RavoTModule t;
};
} // namespace

TEST_F(RavoTLibrary, ExportsThirtyTwoOrdinalsAndNoNames)
{
    const BYTE* base = reinterpret_cast<const BYTE*>(t.module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exp = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    EXPECT_EQ(0u, exp->NumberOfNames);
    EXPECT_EQ(1u, exp->Base);
    EXPECT_EQ(32u, exp->NumberOfFunctions);
    auto functions = reinterpret_cast<const DWORD*>(base + exp->AddressOfFunctions);
    std::set<DWORD> distinct;
    for (DWORD i = 0; i < exp->NumberOfFunctions; ++i) {
        EXPECT_NE(0u, functions[i]) << "ordinal " << i + 1;
        distinct.insert(functions[i]);
    }
    EXPECT_EQ(32u, distinct.size());
    EXPECT_EQ(nullptr, GetProcAddress(t.module, "SONVEX_Init"));
    EXPECT_EQ(nullptr, GetProcAddress(t.module, MAKEINTRESOURCEA(33)));
}

TEST_F(RavoTLibrary, PlaysAndCapturesThroughTheEngineOnTheWaveDevices)
{
    EXPECT_EQ(0, t.GetEncodeFormatCount()); // no manager yet
    ASSERT_EQ(1, t.Init(0));
    EXPECT_EQ(5, t.GetEncodeFormatCount());
    EXPECT_EQ(5, t.GetFECModeCount());
    char name[64];
    EXPECT_EQ(13, t.GetEncodeFormatName(3, name, sizeof(name)));
    EXPECT_STREQ("G7221,24 kbps", name);
    ASSERT_GE(t.GetCapDevicesCount(), 1);
    ASSERT_GE(t.GetPlayDevicesCount(), 1);
    EXPECT_GT(t.GetCapDeviceName(0, name, sizeof(name)), 0);

    Counter c;
    ASSERT_EQ(1, t.StartPlay(-1));
    t.SetPlayCallback(&c, &Counter::Tap);
    WAVEFORMATEX f;
    memset(&f, 0, sizeof(f));
    t.GetPlayFormat(&f);
    EXPECT_EQ(8000u, f.nSamplesPerSec);
    EXPECT_EQ(16u, f.wBitsPerSample);
    EXPECT_TRUE(WaitUntil(c.taps, 3, 3000));
    EXPECT_EQ(1, t.AddSource(5));
    EXPECT_EQ(0, t.AddSource(5));
    uint8_t packet[16] = {6};
    EXPECT_EQ(0, t.WriteSource(6, packet, sizeof(packet))); // no such source

    c.writeSource = t.WriteSource;
    ASSERT_EQ(1, t.StartCapture(0, 3, &c, &Counter::Packet));
    EXPECT_TRUE(WaitUntil(c.packets, 3, 3000));
    EXPECT_EQ(0, c.badKind.load());
    EXPECT_EQ(0, c.refused.load());
    uint8_t state[64] = {0};
    EXPECT_EQ(1, t.GetNetState(5, state, nullptr));
    EXPECT_EQ(0, t.GetNetState(6, state, nullptr));
    // Echo cancelling on and off on this system keeps both directions going.
    t.SetAEC(1);
    int before = c.packets.load();
    EXPECT_TRUE(WaitUntil(c.packets, before + 3, 3000));
    t.SetAEC(0);
    EXPECT_EQ(1, t.StopCapture());
    t.StopPlay();
    EXPECT_EQ(1, t.Release());
    EXPECT_EQ(0, t.StartPlay(-1)); // released: no manager
}

// Unloading with the devices running leaves the library loaded and working;
// after SONVEX_Release it goes.
class RavoTUnload : public ::testing::TestWithParam<const char*>
{};

namespace {
// Makes Wine report NT 5.1 to the probe while the object lives.
class ProbeAsXp
{
public:
    ProbeAsXp()
    {
        m_ok = RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                               &m_key, nullptr) == ERROR_SUCCESS &&
               RegSetValueExA(m_key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("winxp"),
                              6) == ERROR_SUCCESS;
    }
    ~ProbeAsXp()
    {
        if (m_key)
            RegCloseKey(m_key);
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }
    bool Ok() const { return m_ok; }

private:
    static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\ravot_unload_probe.exe";
    HKEY m_key = nullptr;
    bool m_ok = false;
};
} // namespace

TEST_P(RavoTUnload, UnloadIsSafeWithOrWithoutRelease)
{
    std::unique_ptr<ProbeAsXp> xp;
    if (strcmp(GetParam(), "rebuilt") == 0) {
        xp.reset(new ProbeAsXp());
        ASSERT_TRUE(xp->Ok());
    }
    STARTUPINFOA si;
    memset(&si, 0, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    char command[64];
    snprintf(command, sizeof(command), "ravot_unload_probe.exe %s", GetParam());
    ASSERT_TRUE(
        CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    DWORD wait = WaitForSingleObject(pi.hProcess, 20000);
    if (wait != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 99);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), wait);
    if (code == 7)
        GTEST_SKIP() << "the probe does not run as NT 5.1 here";
    EXPECT_EQ(0u, code);
}

INSTANTIATE_TEST_SUITE_P(Ways, RavoTUnload,
                         ::testing::Values("release", "running", "rebuilt", "late"));
