#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "CDSAudioManager.h"
#include "CDeviceLayer.h"
#include "CFakeDuplexDevice.h"
#include "CFakeRavo.h"
#include "CFakeWaveApi.h"
#include "CMMAudioManager.h"
#include "CRavoBinding.h"

using namespace RavoTDevice;

namespace {
struct Sink
{
    std::atomic<int> packets{0};
    std::atomic<int> lastValue{0};
    static void Callback(void* context, void*, uint8_t* packet, int length)
    {
        Sink* self = static_cast<Sink*>(context);
        if (length >= 7) {
            int16_t v;
            memcpy(&v, packet + 5, 2);
            self->lastValue = v;
        }
        self->packets++;
    }
    bool WaitFor(int n)
    {
        DWORD start = GetTickCount();
        while (packets.load() < n) {
            if (GetTickCount() - start > 2000)
                return false;
            Sleep(1);
        }
        return true;
    }
};

int Tap(void*, void*, uint8_t*, int length) { return length; }

GUID MakeGuid(int n)
{
    GUID g = {0x12345600u + static_cast<unsigned>(n), 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    return g;
}

// The layer over a fake engine, fake wave devices and fake full-duplex
// devices, on a chosen Windows version.
class TestLayer : public CDeviceLayer
{
public:
    int version = 1;
    bool dsPresent = true;
    AudioCommon::CFakeWaveApi wave;
    CFakeDuplexFactory duplex;
    int waveManagers = 0, dsManagers = 0;

    TestLayer()
    {
        wave.inNames.assign(3, "Fake Wave Device");
        wave.outNames.assign(3, "Fake Wave Device");
    }

    CMMAudioManager* Wave()
    {
        return Manager() && !Manager()->AsDirectSound() ? static_cast<CMMAudioManager*>(Manager())
                                                        : nullptr;
    }
    CDSAudioManager* Ds() { return Manager() ? Manager()->AsDirectSound() : nullptr; }

protected:
    int VersionClass() override { return version; }
    bool InitCom() override { return true; }
    void UninitCom() override {}
    bool EnsureEngine() override
    {
        if (!m_ravo)
            m_ravo = new CRavoBinding(CFakeRavo::Api());
        return true;
    }
    bool LoadDirectSound() override
    {
        if (!dsPresent)
            return false;
        m_ds.PlaybackDeviceList.clear();
        m_ds.CaptureDeviceList.clear();
        for (int i = 0; i < 3; ++i) {
            GUID g = MakeGuid(i);
            CDirectSoundLib::AddDevice(&g, "Fake DirectSound Device", "fake.drv",
                                       &m_ds.PlaybackDeviceList);
            GUID c = MakeGuid(10 + i);
            CDirectSoundLib::AddDevice(&c, "Fake DirectSound Capture", "fake.drv",
                                       &m_ds.CaptureDeviceList);
        }
        return true;
    }
    void FreeDirectSound() override
    {
        m_ds.PlaybackDeviceList.clear();
        m_ds.CaptureDeviceList.clear();
    }
    CAudioManagerBase* NewWaveManager() override
    {
        ++waveManagers;
        return new CMMAudioManager(m_ravo, &wave);
    }
    CAudioManagerBase* NewDirectSoundManager() override
    {
        ++dsManagers;
        return new CDSAudioManager(m_ravo, &m_ds, &CFakeDuplexFactory::Create, &duplex);
    }
};

class Layer : public ::testing::Test
{
protected:
    void SetUp() override { CFakeRavo::Get().Reset(); }
    void TearDown() override { layer.Unload(); }

    // Playback on device 1 with a tap and play-local, capture on device 0 in
    // row 3, and every processer setting.
    void StartEverything()
    {
        ASSERT_EQ(1, layer.StartPlay(1));
        layer.SetPlayCallback(&sink, &Tap);
        layer.SetPlayLocal(1);
        ASSERT_EQ(1, layer.StartCapture(0, 3, &sink, &Sink::Callback));
        layer.SetAGC(2);
        layer.SetDenoiseChain(1);
        layer.SetDenoise(3);
        layer.EnableSilenceDetect(1);
        layer.SetFECMode(2);
    }
    void ForgetSettings()
    {
        CFakeRavo& r = CFakeRavo::Get();
        r.agc = r.denoise = r.denoiseChain = r.silenceDetect = r.fecMode = r.enableLocal = -1;
    }
    void ExpectSettingsBack()
    {
        CFakeRavo& r = CFakeRavo::Get();
        EXPECT_EQ(2, r.agc);
        EXPECT_EQ(1, r.denoiseChain);
        EXPECT_EQ(3, r.denoise);
        EXPECT_EQ(1, r.silenceDetect);
        EXPECT_EQ(2, r.fecMode);
        EXPECT_EQ(1, r.enableLocal);
    }

    TestLayer layer;
    Sink sink;
};
} // namespace

TEST_F(Layer, EchoOffWhenAlreadyOffDoesNothing)
{
    ASSERT_EQ(1, layer.Init(0));
    layer.SetAEC(0);
    EXPECT_EQ(1, layer.waveManagers);
    EXPECT_EQ(0, layer.GetEchoState());
    EXPECT_EQ(0, layer.Manager()->GetEchoMode());
}

TEST_F(Layer, EchoOnUnderXpMovesEverythingToTheDirectSoundManager)
{
    layer.version = 7;
    ASSERT_EQ(1, layer.Init(0));
    ASSERT_NE(nullptr, layer.Wave());
    StartEverything();
    ForgetSettings();
    layer.SetAEC(1);
    ASSERT_NE(nullptr, layer.Ds());
    EXPECT_TRUE(layer.Ds()->IsPlaying());
    EXPECT_TRUE(layer.Ds()->IsCapturing());
    EXPECT_EQ(CDeviceLayer::ECHO_PLATFORM, layer.GetEchoState());
    // Same device ids: the GUIDs of list entries 1 and 0.
    GUID play = MakeGuid(1), cap = MakeGuid(10);
    EXPECT_EQ(0, memcmp(&play, &layer.duplex.lastRender, sizeof(GUID)));
    EXPECT_EQ(0, memcmp(&cap, &layer.duplex.lastCapture, sizeof(GUID)));
    ExpectSettingsBack();
    // The platform cancels: no software canceller on this manager.
    EXPECT_FALSE(layer.Manager()->HasEchoCanceller());
    // Packets flow through the new device.
    ASSERT_TRUE(layer.duplex.PulseCapture(77));
    EXPECT_TRUE(sink.WaitFor(1));

    // Echo off from the platform state rebuilds the plain manager.
    ForgetSettings();
    layer.SetAEC(0);
    ASSERT_NE(nullptr, layer.Wave());
    EXPECT_TRUE(layer.Wave()->IsPlaying());
    EXPECT_TRUE(layer.Wave()->IsCapturing());
    EXPECT_EQ(0, layer.GetEchoState());
    ExpectSettingsBack();
}

TEST_F(Layer, EchoOnUnderOtherVersionsUsesTheSoftwareCancellerInPlace)
{
    for (int version : {0, 1, 2, 3, 4, 5, 6}) {
        layer.version = version;
        ASSERT_EQ(1, layer.Init(0));
        ASSERT_EQ(1, layer.StartCapture(0, 2, &sink, &Sink::Callback));
        int before = layer.waveManagers;
        CAudioManagerBase* manager = layer.Manager();
        layer.SetAEC(1);
        EXPECT_EQ(before, layer.waveManagers) << version;
        EXPECT_EQ(manager, layer.Manager());
        EXPECT_EQ(CDeviceLayer::ECHO_SOFTWARE, layer.GetEchoState());
        EXPECT_EQ(3, manager->GetEchoMode());
        EXPECT_EQ(3, manager->GetEchoFilterMode());
        layer.SetAEC(0);
        EXPECT_EQ(0, manager->GetEchoMode());
        EXPECT_FALSE(manager->HasEchoCanceller());
    }
}

TEST_F(Layer, EchoOnUnderXpWithoutDirectSoundFallsBackToTheSoftwareCanceller)
{
    layer.version = 7;
    layer.dsPresent = false;
    ASSERT_EQ(1, layer.Init(0));
    StartEverything();
    layer.SetAEC(1);
    ASSERT_NE(nullptr, layer.Wave());
    EXPECT_EQ(0, layer.dsManagers);
    EXPECT_EQ(CDeviceLayer::ECHO_SOFTWARE, layer.GetEchoState());
    EXPECT_EQ(3, layer.Manager()->GetEchoMode());
    EXPECT_TRUE(layer.Manager()->HasEchoCanceller());
    EXPECT_TRUE(layer.Wave()->IsPlaying());
    EXPECT_TRUE(layer.Wave()->IsCapturing());
}

TEST_F(Layer, DirectSoundWithoutCaptureEffectsCancelsInSoftwareAndSaysSo)
{
    layer.version = 7;
    layer.duplex.effects = false;
    ASSERT_EQ(1, layer.Init(0));
    StartEverything();
    layer.SetAEC(1);
    ASSERT_NE(nullptr, layer.Ds());
    EXPECT_EQ(CDeviceLayer::ECHO_SOFTWARE, layer.GetEchoState());
    EXPECT_TRUE(layer.Manager()->HasEchoCanceller());
    // The far end reaches the canceller and the near end passes through it.
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(layer.duplex.PulsePlay());
    ASSERT_TRUE(layer.duplex.PulseCapture(500));
    EXPECT_TRUE(sink.WaitFor(1));
}

TEST_F(Layer, AStartThatFailsOnThePlatformPathRestartsOnThePlainManager)
{
    layer.version = 7;
    ASSERT_EQ(1, layer.Init(0));
    StartEverything();
    layer.SetAEC(1);
    ASSERT_NE(nullptr, layer.Ds());
    layer.duplex.initFails = true;
    // Another codec row needs a new device, which fails.
    EXPECT_EQ(0, layer.StartCapture(0, 2, &sink, &Sink::Callback));
    ASSERT_NE(nullptr, layer.Wave());
    EXPECT_TRUE(layer.Wave()->IsPlaying());
    EXPECT_TRUE(layer.Wave()->IsCapturing());
    EXPECT_EQ(2, CFakeRavo::Get().lastFormatIndex);
    EXPECT_EQ(CDeviceLayer::ECHO_SOFTWARE, layer.GetEchoState());
    EXPECT_EQ(3, layer.Manager()->GetEchoMode());
}

TEST_F(Layer, ReleaseKeepsTheRememberedParameters)
{
    layer.version = 7;
    ASSERT_EQ(1, layer.Init(0));
    ASSERT_EQ(1, layer.StartPlay(2));
    layer.Release();
    EXPECT_EQ(nullptr, layer.Manager());
    ASSERT_EQ(1, layer.Init(0));
    layer.SetAEC(1);
    ASSERT_NE(nullptr, layer.Ds());
    EXPECT_TRUE(layer.Ds()->IsPlaying());
    GUID play = MakeGuid(2);
    EXPECT_EQ(0, memcmp(&play, &layer.duplex.lastRender, sizeof(GUID)));
    EXPECT_EQ(1, layer.Params().playRunning);
}

TEST_F(Layer, EveryOrdinalIsSafeWithoutAManager)
{
    char name[32];
    WAVEFORMATEX f;
    memset(&f, 0x11, sizeof(f));
    uint8_t packet[16] = {6};
    uint8_t state[32];
    EXPECT_EQ(0, layer.GetCapDevicesCount());
    EXPECT_EQ(0, layer.GetCapDeviceName(0, name, sizeof(name)));
    EXPECT_EQ(0, layer.GetPlayDevicesCount());
    EXPECT_EQ(0, layer.GetPlayDeviceName(0, name, sizeof(name)));
    EXPECT_EQ(0, layer.GetEncodeFormatCount());
    EXPECT_EQ(0, layer.GetEncodeFormatName(0, name, sizeof(name)));
    EXPECT_EQ(0, layer.StartCapture(0, 3, &sink, &Sink::Callback));
    EXPECT_EQ(0, layer.SetDenoise(1));
    EXPECT_EQ(0, layer.EnableSilenceDetect(1));
    EXPECT_EQ(0, layer.SetFECMode(1));
    EXPECT_EQ(0, layer.GetFECModeCount());
    EXPECT_EQ(0, layer.SetDenoiseChain(1));
    layer.SetAEC(1);
    EXPECT_EQ(0, layer.SetAGC(1));
    EXPECT_EQ(0, layer.GetCapEnergy());
    EXPECT_EQ(0, layer.StopCapture());
    EXPECT_EQ(0, layer.StartPlay(0));
    EXPECT_EQ(0, layer.SetPlayLocal(1));
    EXPECT_EQ(0, layer.GetPlayEnergy());
    layer.StopPlay();
    EXPECT_EQ(0, layer.SourceIsExist(1));
    EXPECT_EQ(0, layer.AddSource(1));
    EXPECT_EQ(0, layer.RemoveSource(1));
    EXPECT_EQ(0, layer.WriteSource(1, packet, sizeof(packet)));
    EXPECT_EQ(0, layer.GetSourceVolume(1));
    EXPECT_EQ(0, layer.SetSourceVolume(1, 80));
    EXPECT_EQ(0, layer.GetSourceEnergy(1));
    EXPECT_EQ(0, layer.GetNetState(1, state, nullptr));
    layer.SetPlayCallback(nullptr, nullptr);
    layer.GetPlayFormat(&f);
    EXPECT_EQ(0x1111, f.wFormatTag);
    EXPECT_EQ(1, layer.Release());
}

TEST_F(Layer, SourcesAndTablesPassThroughToTheEngine)
{
    ASSERT_EQ(1, layer.Init(0));
    uint8_t packet[16] = {6};
    uint8_t state[32];
    char name[20];
    EXPECT_EQ(1, layer.AddSource(9));
    EXPECT_EQ(0, layer.AddSource(9));
    EXPECT_EQ(1, layer.SourceIsExist(9));
    EXPECT_EQ(1, layer.WriteSource(9, packet, sizeof(packet)));
    EXPECT_EQ(0, layer.WriteSource(8, packet, sizeof(packet)));
    EXPECT_EQ(0, layer.WriteSource(9, nullptr, 16));
    EXPECT_EQ(80, layer.GetSourceVolume(9));
    EXPECT_EQ(1, layer.SetSourceVolume(9, 40));
    EXPECT_EQ(1, layer.GetNetState(9, state, nullptr));
    EXPECT_EQ(1, layer.RemoveSource(9));
    EXPECT_EQ(0, layer.SourceIsExist(9));
    EXPECT_EQ(5, layer.GetEncodeFormatCount());
    EXPECT_EQ(5, layer.GetFECModeCount());
    EXPECT_EQ(0, layer.GetEncodeFormatName(2, name, 19));
    EXPECT_EQ(19, layer.GetEncodeFormatName(2, name, 20));
    EXPECT_STREQ("CCITT A-Law,64 kbps", name);
}

TEST_F(Layer, UnloadStopsTheDevicesBeforeTheSharedGroupGoes)
{
    ASSERT_EQ(1, layer.Init(0));
    ASSERT_EQ(1, layer.StartPlay(0));
    ASSERT_EQ(1, layer.StartCapture(0, 3, &sink, &Sink::Callback));
    ASSERT_TRUE(layer.wave.WaitOutWritten(5));
    layer.Unload();
    EXPECT_EQ(nullptr, layer.Manager());
    EXPECT_EQ(layer.wave.outOpens, layer.wave.outCloses);
    EXPECT_EQ(layer.wave.inOpens, layer.wave.inCloses);
    EXPECT_EQ(1, CFakeRavo::Get().groupsDestroyed);
    int reads = CFakeRavo::Get().reads;
    Sleep(30);
    EXPECT_EQ(reads, CFakeRavo::Get().reads);
}

TEST(DirectSoundList, DescriptionsAreCutToThirtyOneCharactersAndNullEntriesSkipped)
{
    std::vector<DS_DEVICE_ENTRY> list;
    GUID g = MakeGuid(1);
    std::string longName(45, 'x');
    EXPECT_TRUE(CDirectSoundLib::AddDevice(&g, longName.c_str(), nullptr, &list));
    EXPECT_TRUE(CDirectSoundLib::AddDevice(nullptr, "Primary Sound Driver", nullptr, &list));
    EXPECT_TRUE(CDirectSoundLib::AddDevice(&g, nullptr, nullptr, &list));
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ(std::string(31, 'x'), std::string(list[0].description));
}

TEST(VersionClass, FollowsThePlatformAndVersion)
{
    struct Case
    {
        DWORD platform, major, minor;
        int cls;
    } cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 3, 95, 0}, {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 2},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 3}, {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 4},
        {VER_PLATFORM_WIN32_NT, 4, 0, 5},       {VER_PLATFORM_WIN32_NT, 5, 0, 6},
        {VER_PLATFORM_WIN32_NT, 5, 1, 7},       {VER_PLATFORM_WIN32_NT, 5, 2, 1},
        {VER_PLATFORM_WIN32_NT, 6, 1, 1},       {VER_PLATFORM_WIN32_NT, 10, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.cls, CDeviceLayer::VersionClassOf(c.platform, c.major, c.minor))
            << c.platform << " " << c.major << "." << c.minor;
    int here = CDeviceLayer::SystemVersionClass();
    EXPECT_GE(here, 0);
    EXPECT_LE(here, 7);
}

TEST(DirectSoundErrors, EveryResultHasAText)
{
    EXPECT_STREQ("The method succeeded. ", DsErrorText(DS_OK));
    EXPECT_STREQ("An undetermined error occurred inside the DirectSound subsystem. ",
                 DsErrorText(E_FAIL));
    EXPECT_STREQ("unknow error.", DsErrorText(0x88780999));
    for (HRESULT hr : {DSERR_ALLOCATED, DSERR_NODRIVER, DSERR_FXUNAVAILABLE, DSERR_OBJECTNOTFOUND,
                       E_NOINTERFACE})
        EXPECT_STRNE("unknow error.", DsErrorText(hr));
}
