#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "CBitmapFile.h"
#include "CDibImage.h"
#include "CJpegFile.h"
#include "TestImages.h"

extern "C" {
#include <jpeglib.h>
}

namespace {
struct Messages
{
    std::vector<std::pair<std::string, std::string>> seen;
    CJpegFile::MessageFn Sink()
    {
        return [this](const char* text, const char* title) { seen.emplace_back(text, title); };
    }
};
} // namespace

TEST(WendraJpeg, TinyJpegGivesTheExactFileLayout)
{
    std::string folder = TestImages::ScratchFolder("jpeg");
    TestImages::WriteAll(folder + "a.jpg", TestImages::MakeJpeg(3, 2, 3));
    CJpegFile jpeg;
    ASSERT_TRUE(jpeg.ToBitmap(folder + "a.jpg", folder + "a.bmp"));
    std::vector<uint8_t> file = TestImages::ReadAll(folder + "a.bmp");
    ASSERT_EQ(file.size(), 78u);
    CBitmapFile::FileHeader fh;
    CBitmapFile::InfoHeader ih;
    memcpy(&fh, file.data(), sizeof fh);
    memcpy(&ih, file.data() + 14, sizeof ih);
    EXPECT_EQ(fh.type, 0x4D42);
    EXPECT_EQ(fh.fileSize, 78u);
    EXPECT_EQ(fh.pixelOffset, 54u);
    EXPECT_EQ(ih.size, 40u);
    EXPECT_EQ(ih.width, 3);
    EXPECT_EQ(ih.height, 2);
    EXPECT_EQ(ih.planes, 1);
    EXPECT_EQ(ih.bitCount, 24);
    EXPECT_EQ(ih.compression, 0u);
    EXPECT_EQ(ih.sizeImage, 24u);
    for (int row = 0; row < 2; ++row)
        for (int pad = 9; pad < 12; ++pad)
            EXPECT_EQ(file[54 + row * 12 + pad], 0) << row << "/" << pad;
}

TEST(WendraJpeg, PixelsMatchLibjpegsOwnDecoding)
{
    struct
    {
        int w, h, components;
    } cases[] = {{67, 45, 3}, {33, 17, 1}};
    for (const auto& c : cases) {
        std::string folder = TestImages::ScratchFolder("jpeg");
        std::string path = folder + "p.jpg";
        TestImages::WriteAll(path, TestImages::MakeJpeg(c.w, c.h, c.components));
        int w = 0, h = 0, comps = 0;
        std::vector<uint8_t> reference;
        ASSERT_TRUE(TestImages::DecodeJpeg(path, w, h, comps, reference));

        CJpegFile jpeg;
        ASSERT_TRUE(jpeg.ToBitmap(path, folder + "p.bmp"));
        CBitmapFile::Image image;
        ASSERT_TRUE(CBitmapFile::Load(folder + "p.bmp", image));
        ASSERT_EQ(image.info.width, w);
        ASSERT_EQ(image.info.height, h);
        uint32_t stride = TestImages::Stride(w, 24);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint8_t* bgr = &image.pixels[(h - 1 - y) * stride + 3 * x];
                const uint8_t* ref = &reference[(y * w + x) * comps];
                uint8_t r = ref[0], g = comps == 3 ? ref[1] : ref[0],
                        b = comps == 3 ? ref[2] : ref[0];
                ASSERT_EQ(bgr[0], b) << x << "," << y;
                ASSERT_EQ(bgr[1], g) << x << "," << y;
                ASSERT_EQ(bgr[2], r) << x << "," << y;
            }
    }
}

TEST(WendraJpeg, FourColourJpegsBecomeColoursNotABlankPage)
{
    // One flat colour written as inverted CMYK with libjpeg's Adobe marker:
    // C 255, M 128, Y 0, K 255 reads as red 255, green 128, blue 0.
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &mem, &size);
    cinfo.image_width = 16;
    cinfo.image_height = 16;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row;
    for (int x = 0; x < 16; ++x)
        row.insert(row.end(), {255, 128, 0, 255});
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> bytes(mem, mem + size);
    jpeg_destroy_compress(&cinfo);
    free(mem);

    std::string folder = TestImages::ScratchFolder("cmyk");
    TestImages::WriteAll(folder + "c.jpg", bytes);
    CJpegFile jpeg;
    ASSERT_TRUE(jpeg.Decode(folder + "c.jpg"));
    const std::vector<uint8_t>& px = jpeg.Pixels();
    EXPECT_NEAR(px[0], 0, 3);
    EXPECT_NEAR(px[1], 128, 3);
    EXPECT_NEAR(px[2], 255, 3);
}

TEST(WendraJpeg, MalformedFilesAreRefusedWithAMessage)
{
    std::vector<uint8_t> good = TestImages::MakeJpeg(8, 8, 3);
    // The frame header with its dimensions patched to 65500 x 65500: the
    // bitmap would not fit 32 bits.
    std::vector<uint8_t> huge = good;
    for (size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0xFF;
            huge[i + 6] = 0xDC;
            huge[i + 7] = 0xFF;
            huge[i + 8] = 0xDC;
            break;
        }
    struct
    {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* title;
    } cases[] = {
        {"empty", {}, "JPEG Fatal Error"},
        {"not a jpeg", {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8}, "JPEG Fatal Error"},
        {"header cut", std::vector<uint8_t>(good.begin(), good.begin() + 40), "JPEG Fatal Error"},
        {"too large", huge, "Error"},
    };
    for (const auto& c : cases) {
        std::string folder = TestImages::ScratchFolder("badjpeg");
        TestImages::WriteAll(folder + "x.jpg", c.bytes);
        Messages messages;
        CJpegFile jpeg(messages.Sink());
        EXPECT_FALSE(jpeg.ToBitmap(folder + "x.jpg", folder + "x.bmp")) << c.what;
        ASSERT_EQ(messages.seen.size(), 1u) << c.what;
        EXPECT_EQ(messages.seen[0].second, c.title) << c.what;
        EXPECT_EQ(GetFileAttributesA((folder + "x.bmp").c_str()), INVALID_FILE_ATTRIBUTES)
            << c.what;
    }

    Messages messages;
    CJpegFile jpeg(messages.Sink());
    EXPECT_FALSE(jpeg.Decode("C:\\no such folder\\x.jpg"));
    ASSERT_EQ(messages.seen.size(), 1u);
    EXPECT_EQ(messages.seen[0].first, "JPEG :\nCan't open C:\\no such folder\\x.jpg\n");
    EXPECT_EQ(messages.seen[0].second, "Error");

    // Scan data cut short still decodes (libjpeg fills the rest) and never crashes.
    std::string folder = TestImages::ScratchFolder("cutjpeg");
    std::vector<uint8_t> big = TestImages::MakeJpeg(64, 64, 3);
    big.resize(big.size() * 2 / 3);
    TestImages::WriteAll(folder + "cut.jpg", big);
    CJpegFile cut;
    EXPECT_TRUE(cut.ToBitmap(folder + "cut.jpg", folder + "cut.bmp"));
}

TEST(WendraBitmap, MalformedBitmapsAreRefused)
{
    std::vector<uint8_t> px(TestImages::Stride(4, 24) * 4, 0x55);
    std::vector<uint8_t> ok = TestImages::MakeBitmap(4, 4, 24, px);
    auto patched = [&](size_t at, uint32_t value, int bytes) {
        std::vector<uint8_t> b = ok;
        for (int i = 0; i < bytes; ++i)
            b[at + i] = (value >> (8 * i)) & 0xFF;
        return b;
    };
    struct
    {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"short", std::vector<uint8_t>(ok.begin(), ok.begin() + 30)},
        {"magic", patched(0, 0x5A5A, 2)},
        {"core header", patched(14, 12, 4)},
        {"header past the end", patched(14, 5000, 4)},
        {"zero width", patched(18, 0, 4)},
        {"negative width", patched(18, 0xFFFFFFFF, 4)},
        {"huge width", patched(18, 0x7FFFFFFF, 4)},
        {"zero height", patched(22, 0, 4)},
        {"bits", patched(28, 7, 2)},
        {"compressed", patched(30, 1, 4)},
        {"no image size", patched(34, 0, 4)},
        {"image size below rows", patched(34, 10, 4)},
        {"pixels past the end", patched(10, 60, 4)},
        {"pixels inside header", patched(10, 20, 4)},
        {"pixels cut", std::vector<uint8_t>(ok.begin(), ok.end() - 1)},
        {"too many colours", TestImages::MakeBitmap(4, 4, 8, std::vector<uint8_t>(16, 0), 40,
                                                    std::vector<uint32_t>(257, 0))},
    };
    CBitmapFile::Image image;
    ASSERT_TRUE(CBitmapFile::Parse(ok.data(), ok.size(), image));
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(CBitmapFile::Parse(c.bytes.data(), c.bytes.size(), image, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
    std::string folder = TestImages::ScratchFolder("badbmp");
    TestImages::WriteAll(folder + "zero.bmp", patched(34, 0, 4));
    CDibImage dib;
    EXPECT_FALSE(dib.Load(folder + "zero.bmp"));
}

TEST(WendraBitmap, ColourTablesAndLargerHeadersAreReadAtTheirOffsets)
{
    // 8-bit, 124-byte header, four colours: row bottom-up holds indices 0..3.
    std::vector<uint32_t> colours = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    std::vector<uint8_t> px = {0, 1, 2, 3, 3, 2, 1, 0};
    std::vector<uint8_t> bytes = TestImages::MakeBitmap(4, 2, 8, px, 124, colours);
    std::string folder = TestImages::ScratchFolder("palette");
    TestImages::WriteAll(folder + "p.bmp", bytes);

    CDibImage dib;
    ASSERT_TRUE(dib.Load(folder + "p.bmp"));
    EXPECT_EQ(dib.Bits(), 8);
    EXPECT_EQ(memcmp(dib.Pixels(), px.data(), px.size()), 0);
    COLORREF pixel = GetPixel(dib.Dc(), 1, 1); // bottom row, index 1: green
    EXPECT_EQ(pixel, RGB(0, 255, 0));

    // Written out at the same size it keeps its colours, now as 24 bits.
    ASSERT_TRUE(dib.WriteScaled(folder + "s.bmp", 4, 2));
    CBitmapFile::Image out;
    ASSERT_TRUE(CBitmapFile::Load(folder + "s.bmp", out));
    EXPECT_EQ(out.info.bitCount, 24);
    const uint8_t expected[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
    for (int x = 0; x < 4; ++x)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(out.pixels[3 * x + c], expected[x][c]) << x << "/" << c;

    // A top-down 24-bit image loads and scales too.
    std::vector<uint8_t> solid = TestImages::SolidBitmap(8, 8, 0x102030);
    int32_t topDown = -8;
    memcpy(&solid[22], &topDown, 4);
    TestImages::WriteAll(folder + "t.bmp", solid);
    CDibImage td;
    ASSERT_TRUE(td.Load(folder + "t.bmp"));
    ASSERT_TRUE(td.WriteScaled(folder + "t2.bmp", 4, 4));
    ASSERT_TRUE(CBitmapFile::Load(folder + "t2.bmp", out));
    EXPECT_EQ(out.info.height, 4);
    EXPECT_EQ(out.pixels[0], 0x30);
    EXPECT_EQ(out.pixels[2], 0x10);
}

TEST(WendraBitmap, RowsOfAnyOtherBlockSizeArePadded)
{
    std::string folder = TestImages::ScratchFolder("rows");
    std::vector<uint8_t> tight = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    ASSERT_TRUE(CBitmapFile::Write(folder + "r.bmp", tight.data(), tight.size(), 3, 2, 24));
    std::vector<uint8_t> file = TestImages::ReadAll(folder + "r.bmp");
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.begin() + 66),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}));
    EXPECT_EQ(file[66], 10);
    EXPECT_FALSE(CBitmapFile::Write(folder + "short.bmp", tight.data(), 10, 3, 2, 24));
}

TEST(WendraBitmap, ManyPaddedRowsAreWrittenWholeAndInOrder)
{
    // Rows that need padding, more of them than go out in one write.
    std::string folder = TestImages::ScratchFolder("manyrows");
    const int32_t width = 1001, height = 300;
    const size_t rowBytes = width * 3, stride = (rowBytes + 3) & ~size_t(3);
    std::vector<uint8_t> tight(rowBytes * height);
    for (size_t i = 0; i < tight.size(); ++i)
        tight[i] = static_cast<uint8_t>(i * 7 + i / rowBytes);
    ASSERT_TRUE(
        CBitmapFile::Write(folder + "m.bmp", tight.data(), tight.size(), width, height, 24));
    std::vector<uint8_t> file = TestImages::ReadAll(folder + "m.bmp");
    ASSERT_EQ(file.size(), 54 + stride * height);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = &file[54 + stride * y];
        ASSERT_TRUE(std::equal(row, row + rowBytes, tight.begin() + rowBytes * y)) << "row " << y;
        ASSERT_EQ(std::vector<uint8_t>(stride - rowBytes, 0),
                  std::vector<uint8_t>(row + rowBytes, row + stride))
            << "row " << y;
    }
}
