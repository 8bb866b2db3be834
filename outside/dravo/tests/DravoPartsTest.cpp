// The stand-in engine's parts: the codec on bad input, the renderer with
// and without a stream id in front of a frame, and the capture's frames.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "CDravoCapture.h"
#include "CDravoRenderer.h"
#include "CJpegCodec.h"
#include "CTestPicture.h"
#include "Dravo.h"

namespace {

std::vector<uint8_t> Picture(uint32_t number, int w, int h)
{
    std::vector<uint8_t> bgr;
    CTestPicture::Draw(number, 0, w, h, bgr);
    std::vector<uint8_t> jpeg;
    EXPECT_TRUE(CJpegCodec::Encode(bgr.data(), w, h, 30, jpeg));
    return jpeg;
}

struct Collected
{
    std::vector<int> lengths;
    std::vector<int> flags;
    int32_t firstNumber = -1;
    std::atomic<int> count{0}; // frames delivered, readable from the test's thread
};

int __cdecl OnFrame(void* context, const unsigned char* frame, int length, int flag)
{
    Collected* c = static_cast<Collected*>(context);
    c->lengths.push_back(length);
    c->flags.push_back(flag);
    ++c->count;
    if (c->firstNumber < 0) {
        std::vector<uint8_t> bgr;
        int w = 0, h = 0;
        if (CJpegCodec::Decode(frame, static_cast<size_t>(length), bgr, w, h))
            c->firstNumber = CTestPicture::ReadFrameNumber(bgr.data(), w, h);
    }
    return length;
}

} // namespace

TEST(DravoPartsTest, FrameNumbersSurviveLowQualityCoding)
{
    for (uint32_t n : {0u, 1u, 0x5A5Au, 0xFFFFu}) {
        std::vector<uint8_t> jpeg = Picture(n, 176, 144);
        std::vector<uint8_t> bgr;
        int w = 0, h = 0;
        ASSERT_TRUE(CJpegCodec::Decode(jpeg.data(), jpeg.size(), bgr, w, h));
        EXPECT_EQ(static_cast<int32_t>(n), CTestPicture::ReadFrameNumber(bgr.data(), w, h));
    }
}

TEST(DravoPartsTest, BadFramesFailCleanly)
{
    std::vector<uint8_t> jpeg = Picture(3, 176, 144);
    std::vector<uint8_t> bgr;
    int w = 0, h = 0;
    struct Case
    {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"not a picture", std::vector<uint8_t>(300, 0x41)},
        {"cut after the header", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 20)},
        {"marker soup", {0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xD9}},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(CJpegCodec::Decode(c.bytes.data(), c.bytes.size(), bgr, w, h)) << c.what;

    CDravoRenderer renderer(nullptr);
    EXPECT_FALSE(renderer.Render(nullptr, 0));
    EXPECT_FALSE(renderer.Render(cases[1].bytes.data(), 300));
    EXPECT_EQ(-1, renderer.GetLastFrameNumber());
}

namespace {

// A frame whose picture data decodes but whose stream then turns bad (a
// second scan where the end mark belongs) fails only after the pixels came.
std::vector<uint8_t> FailingLate(const std::vector<uint8_t>& jpeg)
{
    for (size_t i = 0; i + 4 < jpeg.size(); ++i) {
        if (jpeg[i] != 0xFF || jpeg[i + 1] != 0xDA)
            continue;
        const size_t length = static_cast<size_t>(jpeg[i + 2]) << 8 | jpeg[i + 3];
        std::vector<uint8_t> out(jpeg.begin(), jpeg.end() - 2);
        out.insert(out.end(), jpeg.begin() + i, jpeg.begin() + i + 2 + length);
        return out;
    }
    return {};
}

std::vector<uint8_t> ReadAll(const char* path)
{
    std::vector<uint8_t> bytes;
    if (FILE* f = fopen(path, "rb")) {
        int c;
        while ((c = fgetc(f)) != EOF)
            bytes.push_back(static_cast<uint8_t>(c));
        fclose(f);
    }
    return bytes;
}

} // namespace

TEST(DravoPartsTest, AFrameThatFailsLateKeepsTheLastPicture)
{
    CDravoRenderer renderer(nullptr);
    std::vector<uint8_t> good = Picture(77, 176, 144);
    ASSERT_TRUE(renderer.Render(good.data(), static_cast<int>(good.size())));
    ASSERT_TRUE(renderer.Save("dravo_late_before.bmp"));
    const std::vector<uint8_t> before = ReadAll("dravo_late_before.bmp");
    ASSERT_EQ(54u + 176u * 3u * 144u, before.size());

    std::vector<uint8_t> bad = FailingLate(Picture(5, 16, 16));
    ASSERT_FALSE(bad.empty());
    std::vector<uint8_t> bgr;
    int w = 0, h = 0;
    EXPECT_FALSE(CJpegCodec::Decode(bad.data(), bad.size(), bgr, w, h));
    EXPECT_FALSE(renderer.Render(bad.data(), static_cast<int>(bad.size())));
    EXPECT_EQ(77, renderer.GetLastFrameNumber());
    ASSERT_TRUE(renderer.Save("dravo_late_after.bmp"));
    EXPECT_TRUE(before == ReadAll("dravo_late_after.bmp"));
    DeleteFileA("dravo_late_before.bmp");
    DeleteFileA("dravo_late_after.bmp");
}

TEST(DravoPartsTest, RendererTakesFramesWithAndWithoutTheStreamId)
{
    CDravoRenderer renderer(nullptr);
    std::vector<uint8_t> plain = Picture(41, 176, 144);
    ASSERT_TRUE(renderer.Render(plain.data(), static_cast<int>(plain.size())));
    EXPECT_EQ(41, renderer.GetLastFrameNumber());
    std::vector<uint8_t> prefixed = {1, 2, 3, 4};
    std::vector<uint8_t> next = Picture(42, 176, 144);
    prefixed.insert(prefixed.end(), next.begin(), next.end());
    ASSERT_TRUE(renderer.Render(prefixed.data(), static_cast<int>(prefixed.size())));
    EXPECT_EQ(42, renderer.GetLastFrameNumber());
}

TEST(DravoPartsTest, CaptureFramesRiseStayBelowTheLimitAndStartFlagged)
{
    DRAVO_CAPTURE_PARAMS params = {};
    params.width = 1280;
    params.height = 720;
    params.rateValue = 30;
    params.targetRate = 50000000; // far more than a frame may carry
    Collected got;
    CDravoCapture capture(&params, &got, &OnFrame);
    ASSERT_TRUE(capture.Open());
    Sleep(150);
    EXPECT_TRUE(got.lengths.empty()) << "no frames before encoding is on";
    capture.EnableEncode(true);
    for (int i = 0; i < 300 && got.lengths.size() < 4; ++i)
        Sleep(10);
    capture.Close();
    ASSERT_GE(got.lengths.size(), 4u);
    EXPECT_EQ(1, got.flags[0]);
    EXPECT_EQ(0, got.flags[1]);
    for (int length : got.lengths) {
        EXPECT_GT(length, 0);
        EXPECT_LE(length, static_cast<int>(CDravoCapture::MAX_FRAME));
    }
    EXPECT_GT(got.firstNumber, 0) << "frames drawn before encoding still count";
}

TEST(DravoPartsTest, RendererDrawsThePictureIntoItsWindow)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DravoPaintProbe";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("DravoPaintProbe", "paint", WS_POPUP | WS_VISIBLE, 0, 0, 176, 144,
                              nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hwnd);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    CDravoRenderer renderer(hwnd);
    // Frame 0x8001: the first and last cells of the number band are white,
    // the ones between black.
    std::vector<uint8_t> frame = Picture(0x8001, 176, 144);
    ASSERT_TRUE(renderer.Render(frame.data(), static_cast<int>(frame.size())));
    HDC dc = GetDC(hwnd);
    const COLORREF first = GetPixel(dc, 5, 8);
    const COLORREF second = GetPixel(dc, 16, 8);
    const COLORREF last = GetPixel(dc, 170, 8);
    ReleaseDC(hwnd, dc);
    DestroyWindow(hwnd);
    EXPECT_GT(GetGValue(first), 200);
    EXPECT_LT(GetGValue(second), 60);
    EXPECT_GT(GetGValue(last), 200);
}

// Each picture is noticed with value 0; once a second the notice carries
// the rate of the frames taken in its high word, in kbit/s.
TEST(DravoPartsTest, RendererReportsTheRateOfItsFramesOnceASecond)
{
    const UINT kMessage = WM_USER + 103;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DravoRateProbe";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("DravoRateProbe", "rate", WS_POPUP, 0, 0, 176, 144, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hwnd);
    CDravoRenderer renderer(nullptr);
    renderer.SetNotify(hwnd, kMessage, 7);
    std::vector<uint8_t> frame = Picture(5, 176, 144);
    const DWORD start = GetTickCount();
    uint64_t bytes = 0;
    int pictures = 0, rate = 0;
    for (int i = 0; i < 40 && rate == 0; ++i) {
        ASSERT_TRUE(renderer.Render(frame.data(), static_cast<int>(frame.size())));
        bytes += frame.size();
        MSG msg;
        while (PeekMessageA(&msg, hwnd, kMessage, kMessage, PM_REMOVE)) {
            EXPECT_EQ(7u, msg.wParam);
            if (msg.lParam == 0)
                ++pictures;
            else
                rate = HIWORD(msg.lParam);
        }
        Sleep(100);
    }
    const DWORD elapsed = GetTickCount() - start;
    DestroyWindow(hwnd);
    ASSERT_GT(rate, 0) << "no rate within four seconds";
    EXPECT_GE(elapsed, static_cast<DWORD>(CDravoRenderer::RATE_WINDOW_MS));
    EXPECT_GT(pictures, 5);
    // The rate is that of the frames given, within what the clock's steps allow.
    const double expected = bytes * 8.0 / elapsed;
    EXPECT_GT(rate, expected * 0.6) << expected;
    EXPECT_LT(rate, expected * 1.6) << expected;
}

TEST(DravoPartsTest, TargetRateSteersTheFrameSize)
{
    auto lastSizes = [](int32_t target) {
        DRAVO_CAPTURE_PARAMS params = {};
        params.width = 176;
        params.height = 144;
        params.rateValue = 30;
        params.targetRate = target;
        Collected got;
        CDravoCapture capture(&params, &got, &OnFrame);
        EXPECT_TRUE(capture.Open());
        capture.EnableEncode(true);
        // The quality moves a step a frame: count frames, not time, so a
        // loaded machine delivering fewer frames a second gets as far.
        const DWORD deadline = GetTickCount() + 20000;
        while (got.count < 40 && static_cast<int>(deadline - GetTickCount()) > 0)
            Sleep(20);
        capture.Close();
        EXPECT_GE(got.lengths.size(), 40u);
        int sum = 0;
        for (size_t i = got.lengths.size() - 5; i < got.lengths.size(); ++i)
            sum += got.lengths[i];
        return sum / 5;
    };
    const int low = lastSizes(64000);
    const int high = lastSizes(3000000);
    EXPECT_LT(low * 2, high) << "low " << low << ", high " << high;
}

namespace {

struct Sized
{
    volatile LONG frames = 0;
    int width = 0;
    int height = 0;
};

int __cdecl OnSizedFrame(void* context, const unsigned char* frame, int length, int)
{
    Sized* s = static_cast<Sized*>(context);
    if (InterlockedIncrement(&s->frames) == 1) {
        std::vector<uint8_t> bgr;
        CJpegCodec::Decode(frame, static_cast<size_t>(length), bgr, s->width, s->height);
    }
    return length;
}

} // namespace

// The library re-reads the block it is given now, not the one the capture
// was opened with: that one may be gone by then.
TEST(DravoPartsTest, SetCaptureParamsReadsTheBlockItIsGiven)
{
    DRAVO_CAPTURE_PARAMS opened = {};
    opened.width = 352;
    opened.height = 288;
    opened.rateValue = 30;
    opened.targetRate = 2000000;
    Sized got;
    DRAVO_HANDLE capture = Dravo_OpenCapture(&opened, &got, &OnSizedFrame);
    ASSERT_NE(0u, capture);
    DRAVO_CAPTURE_PARAMS next = opened;
    next.width = 176;
    next.height = 144;
    EXPECT_EQ(1, Dravo_SetCaptureParams(capture, &next));
    EXPECT_EQ(0, Dravo_SetCaptureParams(capture, nullptr));
    ASSERT_EQ(1, Dravo_EnableEncode(capture, 1));
    for (int i = 0; i < 300 && got.frames == 0; ++i)
        Sleep(10);
    EXPECT_EQ(1, Dravo_CloseCapture(&capture));
    ASSERT_GT(got.frames, 0);
    EXPECT_EQ(176, got.width);
    EXPECT_EQ(144, got.height);
}
