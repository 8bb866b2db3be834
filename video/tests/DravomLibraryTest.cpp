// The built libraries under Wine: their export tables, and frames that
// travel from the synthetic camera through a sender, a relay on loopback
// and a receiver into a hidden window.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <process.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "CJpegCodec.h"
#include "CTestPicture.h"
#include "CUdpRelay.h"
#include "Dravom.h"

namespace {

struct Exports
{
    std::vector<std::string> names;
    std::set<uint32_t> ordinals; // of entries with an address
};

Exports ReadExports(const char* file)
{
    Exports out;
    HMODULE m = LoadLibraryA(file);
    EXPECT_NE(nullptr, m) << file;
    if (!m)
        return out;
    const BYTE* base = reinterpret_cast<const BYTE*>(m);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exp = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exp->AddressOfNames);
    for (DWORD i = 0; i < exp->NumberOfNames; ++i)
        out.names.push_back(reinterpret_cast<const char*>(base + names[i]));
    auto functions = reinterpret_cast<const DWORD*>(base + exp->AddressOfFunctions);
    for (DWORD i = 0; i < exp->NumberOfFunctions; ++i)
        if (functions[i])
            out.ordinals.insert(exp->Base + i);
    FreeLibrary(m);
    return out;
}

// Collects the frame numbers drawn into the pictures that reach a renderer.
struct FrameSink
{
    std::mutex lock;
    std::vector<int32_t> numbers;
    int undecodable = 0;
    int withStreamId = 0;

    size_t Count()
    {
        std::lock_guard<std::mutex> g(lock);
        return numbers.size();
    }
};

void __cdecl OnFrame(void* user, const unsigned char* frame, int length)
{
    FrameSink* sink = static_cast<FrameSink*>(user);
    const uint8_t* data = frame;
    size_t size = static_cast<size_t>(length);
    bool prefixed = false;
    if (size > 4 && !CJpegCodec::LooksLikeJpeg(data, size)) {
        data += 4;
        size -= 4;
        prefixed = true;
    }
    std::vector<uint8_t> bgr;
    int w = 0, h = 0;
    std::lock_guard<std::mutex> g(sink->lock);
    if (!CJpegCodec::Decode(data, size, bgr, w, h)) {
        ++sink->undecodable;
        return;
    }
    sink->withStreamId += prefixed ? 1 : 0;
    sink->numbers.push_back(CTestPicture::ReadFrameNumber(bgr.data(), w, h));
}

const UINT kNotify = WM_APP + 7;

class HiddenWindow
{
public:
    HiddenWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DravomTestWindow";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("DravomTestWindow", "video", WS_OVERLAPPEDWINDOW, 0, 0, 352, 288,
                             nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~HiddenWindow() { DestroyWindow(hwnd); }

    // Pumps messages until done() holds or the time is up; counts the
    // notifications that carry the given word.
    template <typename Done>
    bool PumpUntil(DWORD ms, WPARAM word, Done done)
    {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == kNotify && msg.wParam == word)
                    ++notifications;
                DispatchMessageA(&msg);
            }
            if (done())
                return true;
            Sleep(10);
        }
        return false;
    }

    HWND hwnd = nullptr;
    int notifications = 0;
};

// One sender and one receiver through a relay; returns the frame numbers
// the receiver's renderer got.
struct RelayRun
{
    std::vector<int32_t> numbers;
    int notifications = 0;
    int withStreamId = 0;
    int undecodable = 0;
    uint32_t reports = 0;
};

RelayRun SendThroughRelay(CUdpRelay& relay, size_t frames, DWORD limitMs)
{
    RelayRun run;
    HiddenWindow window;
    EXPECT_NE(nullptr, window.hwnd);
    EXPECT_TRUE(relay.Start());
    FrameSink sink;

    void* receiver = T_R_StartPreview(5, window.hwnd, kNotify);
    EXPECT_NE(nullptr, receiver);
    uint16_t port = 0;
    EXPECT_EQ(1, T_R_BindLocalPort(receiver, 1001, 2002, 0, &port));
    EXPECT_GE(port, 10000);
    T_R_SetRecord(receiver, 1, &sink, &OnFrame);
    RECT rc{0, 0, 176, 144};
    T_R_SetPreviewPos(receiver, rc);
    EXPECT_EQ(1, T_R_SendTo(receiver, "127.0.0.1", relay.GetPort()));

    EXPECT_EQ(1, T_S_StartCapture(0, 0, 1, 512, 176, 144));
    EXPECT_EQ(1, T_S_StartSend(0x0BADF00D, "127.0.0.1", relay.GetPort()));
    window.PumpUntil(limitMs, 5, [&] { return sink.Count() >= frames; });

    T_S_StopCapture();
    T_R_StopPreview(&receiver);
    EXPECT_EQ(nullptr, receiver);
    relay.Stop();
    window.PumpUntil(50, 5, [] { return false; });

    std::lock_guard<std::mutex> g(sink.lock);
    run.numbers = sink.numbers;
    run.notifications = window.notifications;
    run.withStreamId = sink.withStreamId;
    run.undecodable = sink.undecodable;
    run.reports = relay.Reports();
    return run;
}

} // namespace

TEST(DravomLibraryTest, ExportTablesHoldExactlyTheExpectedEntries)
{
    Exports dravom = ReadExports("Dravom.dll");
    const std::vector<std::string> expected = {
        "T_EnableOverlay",   "T_EnablePostProc",     "T_GetDefImgProcSetting",
        "T_R_BindLocalPort", "T_R_OnEraseBk",        "T_R_SavePicture",
        "T_R_SendTo",        "T_R_SetPreviewPos",    "T_R_SetRecord",
        "T_R_SetRender",     "T_R_StartPreview",     "T_R_StopPreview",
        "T_R_StopReceive",   "T_S_GetVideoSource",   "T_S_OnEraseBk",
        "T_S_SavePicture",   "T_S_SetBitRate",       "T_S_SetPreviewPos",
        "T_S_SetRecord",     "T_S_SetRender",        "T_S_SetVideoSourceIndex",
        "T_S_SetVideoWidth", "T_S_ShowPropertyPage", "T_S_StartCapture",
        "T_S_StartPreview",  "T_S_StartSend",        "T_S_StopCapture",
        "T_S_StopPreview",   "T_S_StopSend",         "T_SetImgProcSetting",
        "T_TAKEDevices",     "T_TAKEEncoders",
    };
    EXPECT_EQ(expected, dravom.names);

    Exports dravo = ReadExports("Dravo.dll");
    EXPECT_TRUE(dravo.names.empty()) << "the engine exports by ordinal only";
    std::set<uint32_t> ordinals;
    for (uint32_t i = 1; i <= 35; ++i)
        if (i != 9 && i != 10 && i != 22 && i != 23)
            ordinals.insert(i);
    EXPECT_EQ(ordinals, dravo.ordinals);
}

TEST(DravomLibraryTest, ListsSettingsAndNullHandles)
{
    CStringList list;
    list.AddTail("stale");
    EXPECT_EQ(2, T_TAKEDevices(&list));
    EXPECT_EQ(2, list.GetCount());
    EXPECT_EQ(1, T_TAKEEncoders(&list));
    EXPECT_EQ(1, list.GetCount());
    EXPECT_EQ(0, T_S_GetVideoSource(&list));
    EXPECT_EQ(1, T_S_OnEraseBk());

    IMG_PROC_SETTING settings = {};
    EXPECT_EQ(1, T_GetDefImgProcSetting(&settings));
    EXPECT_EQ(64, settings.field[1]);
    EXPECT_EQ(1, T_SetImgProcSetting(&settings));
    EXPECT_EQ(1, T_EnablePostProc(1));

    void* none = nullptr;
    T_R_StopPreview(&none);
    T_R_StopPreview(nullptr);
    EXPECT_EQ(0, T_R_BindLocalPort(nullptr, 1, 2, 3, nullptr));
    EXPECT_EQ(0, T_R_SendTo(nullptr, "127.0.0.1", 1));
    EXPECT_EQ(0, T_R_SavePicture(nullptr, "x.bmp"));
    T_R_StopReceive(nullptr);
    T_R_OnEraseBk(nullptr);
    EXPECT_EQ(nullptr, T_R_StartPreview(0, nullptr, 0)) << "no window, no renderer";

    HiddenWindow window;
    void* receiver = T_R_StartPreview(1, window.hwnd, kNotify);
    ASSERT_NE(nullptr, receiver);
    EXPECT_EQ(0, T_R_SendTo(receiver, "localhost", 1));
    T_R_OnEraseBk(receiver);
    EXPECT_EQ(0, T_R_SavePicture(receiver, "nothing-shown-yet.bmp"));
    T_R_StopPreview(&receiver);
    EXPECT_EQ(nullptr, receiver);
}

TEST(DravomLibraryTest, CapturePreviewAndSourcesOfTheSyntheticCamera)
{
    HiddenWindow window;
    EXPECT_EQ(0, T_S_StartPreview(3, window.hwnd, kNotify)) << "no capture yet";
    ASSERT_EQ(1, T_S_StartCapture(1, 0, 1, 256, 176, 144));
    EXPECT_EQ(1, T_S_StartPreview(3, window.hwnd, kNotify));
    RECT rc{0, 0, 176, 144};
    T_S_SetPreviewPos(rc);
    EXPECT_EQ(1, T_S_SetRender(1));
    EXPECT_TRUE(window.PumpUntil(1000, 3, [&] { return window.notifications >= 2; }));
    CStringList list;
    EXPECT_EQ(2, T_S_GetVideoSource(&list));
    EXPECT_EQ(1, T_S_SetVideoSourceIndex(1));
    EXPECT_EQ(0, T_S_SetVideoSourceIndex(5));
    Sleep(200);
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    strcat(path, "dravom-preview.bmp");
    EXPECT_EQ(1, T_S_SavePicture(path));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path));
    DeleteFileA(path);
    T_S_StopCapture();
    EXPECT_EQ(0, T_S_GetVideoSource(&list));
}

TEST(DravomLibraryTest, FramesTravelFromCaptureToTheRemoteWindow)
{
    CUdpRelay relay;
    RelayRun run = SendThroughRelay(relay, 15, 8000);
    ASSERT_GE(run.numbers.size(), 15u);
    EXPECT_EQ(0, run.undecodable);
    EXPECT_EQ(static_cast<int>(run.numbers.size()), run.withStreamId);
    EXPECT_TRUE(std::is_sorted(run.numbers.begin(), run.numbers.end()));
    EXPECT_EQ(run.numbers.end(), std::adjacent_find(run.numbers.begin(), run.numbers.end()));
    EXPECT_GE(run.notifications, 10);
    EXPECT_GE(run.reports, 1u);
}

TEST(DravomLibraryTest, AnUnreliableRelayDeliversOnlyWholeFramesOnce)
{
    CUdpRelay relay(3, 5, 5);
    RelayRun run = SendThroughRelay(relay, 25, 8000);
    const int32_t span = run.numbers.empty() ? 0 : run.numbers.back() - run.numbers.front() + 1;
    printf("delivered %u of %d frames through 3%% loss, 5%% repeats, 5%% reordering\n",
           static_cast<unsigned>(run.numbers.size()), span);
    ASSERT_GE(run.numbers.size(), 10u);
    EXPECT_EQ(0, run.undecodable);
    std::set<int32_t> unique(run.numbers.begin(), run.numbers.end());
    EXPECT_EQ(unique.size(), run.numbers.size()) << "a frame was rendered twice";
}

namespace {

unsigned __stdcall ChangeRatesThroughTheLibrary(void* arg)
{
    // Changes without pause for a while, so that many frames arrive
    // during one.
    const DWORD ms = *static_cast<DWORD*>(arg);
    const DWORD start = GetTickCount();
    for (int i = 0; GetTickCount() - start < ms; ++i) {
        T_S_SetBitRate(i % 2 ? 128 : 256);
        T_S_SetVideoWidth(0, i % 2 ? 176 : 352);
    }
    return 0;
}

} // namespace

TEST(DravomLibraryTest, RateChangesWhileAnEngineCallsBackUnderItsOwnLock)
{
    SetEnvironmentVariableA("DRAVO_LOCKED_CALLBACK", "1");
    const int started = T_S_StartCapture(0, 0, 0, 256, 176, 144);
    SetEnvironmentVariableA("DRAVO_LOCKED_CALLBACK", nullptr);
    ASSERT_EQ(1, started);
    HiddenWindow window;
    ASSERT_EQ(1, T_S_StartPreview(3, window.hwnd, kNotify));
    T_S_SetRecord(1, nullptr, nullptr); // encoding on: frames reach the callback
    Sleep(300);
    DWORD ms = 1500;
    HANDLE changer = reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, ChangeRatesThroughTheLibrary, &ms, 0, nullptr));
    if (WaitForSingleObject(changer, 15000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "a rate change deadlocked with the engine's thread";
        fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3); // the library cannot be closed any more
    }
    CloseHandle(changer);
    T_S_SetRecord(0, nullptr, nullptr);
    T_S_StopCapture();
}
