#include <gtest/gtest.h>

#include <vector>

#include "CScreenCodec.h"
#include "ScreenRelayWire.h"

TEST(ScreenCodec, PicturesComeBackAsTheyWere)
{
    // A picture with long runs (over 255), single pixels and a last odd run.
    const uint16_t w = 300, h = 3;
    std::vector<uint32_t> pixels(w * h, 0x00FF0000);
    for (int i = 0; i < w; i += 7)
        pixels[w + i] = 0x000000FF + i;
    pixels.back() = 0x0012AB34;
    std::vector<uint32_t> back;
    std::vector<uint8_t> runs = CScreenCodec::Encode(pixels.data(), w, h, SCREEN_FORMAT_RUNS24);
    ASSERT_TRUE(CScreenCodec::Decode(runs.data(), runs.size(), w, h, SCREEN_FORMAT_RUNS24, back));
    EXPECT_EQ(pixels, back);
    EXPECT_LT(runs.size(), pixels.size()); // the runs are shorter than the pixels

    // 8 bits: each colour reduced to 3-3-2, primary colours kept.
    const uint32_t primaries[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF, 0};
    runs = CScreenCodec::Encode(primaries, 5, 1, SCREEN_FORMAT_RUNS8);
    ASSERT_TRUE(CScreenCodec::Decode(runs.data(), runs.size(), 5, 1, SCREEN_FORMAT_RUNS8, back));
    EXPECT_EQ(std::vector<uint32_t>(primaries, primaries + 5), back);
}

TEST(ScreenCodec, HostileRunsAreRefusedWithoutWritingPastThePicture)
{
    const uint32_t red = 0x00FF0000;
    std::vector<uint8_t> good = CScreenCodec::Encode(&red, 1, 1, SCREEN_FORMAT_RUNS24);
    struct Case
    {
        const char* what;
        std::vector<uint8_t> data;
        uint16_t w, h;
        uint8_t format;
    } cases[] = {
        {"runs beyond the picture", {255, 1, 2, 3, 255, 1, 2, 3}, 10, 10, SCREEN_FORMAT_RUNS24},
        {"runs short of the picture", {3, 1, 2, 3}, 2, 2, SCREEN_FORMAT_RUNS24},
        {"a run of zero", {0, 1, 2, 3, 1, 1, 2, 3}, 1, 1, SCREEN_FORMAT_RUNS24},
        {"a cut pixel", {1, 1, 2}, 1, 1, SCREEN_FORMAT_RUNS24},
        {"an unknown format", good, 1, 1, 9},
        {"no size", good, 0, 1, SCREEN_FORMAT_RUNS24},
        {"too wide", good, SCREEN_MAX_SIDE + 1, 1, SCREEN_FORMAT_RUNS24},
        {"nothing", {}, 1, 1, SCREEN_FORMAT_RUNS8},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> out(1, 0x55);
        EXPECT_FALSE(CScreenCodec::Decode(c.data.data(), c.data.size(), c.w, c.h, c.format, out))
            << c.what;
        EXPECT_EQ(std::vector<uint32_t>(1, 0x55), out) << c.what;
    }
}
