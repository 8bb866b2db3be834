// JPEG-to-bitmap conversion of a 2-megapixel page beside libjpeg's own
// decoding of the same file, in the same run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../BenchRow.h"
#include "CJpegFile.h"

extern "C" {
#include <jpeglib.h>
}

namespace {
const int kWidth = 1600, kHeight = 1250, kRuns = 15;

double NowMs()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// A page-like picture: smooth gradients with text-like strokes.
bool MakePage(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(kWidth * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        unsigned y = cinfo.next_scanline;
        for (int x = 0; x < kWidth; ++x) {
            bool ink = ((x / 6 + y / 14) % 7 == 0) && (y % 14 < 10);
            row[3 * x] = ink ? 20 : static_cast<unsigned char>(200 + (x * 50) / kWidth);
            row[3 * x + 1] = ink ? 20 : static_cast<unsigned char>(220 + (y * 30) / kHeight);
            row[3 * x + 2] = ink ? 40 : 240;
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    fclose(f);
    return true;
}

// libjpeg on its own: stdio source, every scanline into one buffer.
bool LibjpegDecode(const std::string& path, std::vector<unsigned char>& out)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    size_t rowBytes = static_cast<size_t>(cinfo.output_width) * cinfo.output_components;
    out.resize(rowBytes * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW p = out.data() + rowBytes * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    fclose(f);
    return true;
}

// The same bitmap file the converter writes (24-bit, rows padded to 4
// bytes), written with one WriteFile call.
bool WriteBitmapLike(const std::string& path, const std::vector<unsigned char>& pixels)
{
    const DWORD stride = (kWidth * 3 + 3) & ~3u;
    std::vector<unsigned char> file(54 + static_cast<size_t>(stride) * kHeight, 0);
    for (int y = 0; y < kHeight && !pixels.empty(); ++y)
        memcpy(&file[54 + static_cast<size_t>(y) * stride],
               &pixels[static_cast<size_t>(kHeight - 1 - y) * kWidth * 3], kWidth * 3);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == file.size();
}

template <typename F>
double Measure(const char* what, F run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        double start = NowMs();
        if (!run()) {
            printf("%-44s failed\n", what);
            return 0;
        }
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    printf("%-44s median %7.2f ms  min %7.2f ms  (%d runs)\n", what, times[times.size() / 2],
           times[0], kRuns);
    return times[times.size() / 2];
}
} // namespace

int main()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string jpegPath = std::string(temp) + "wendra_bench_page.jpg";
    std::string bmpPath = std::string(temp) + "wendra_bench_page.bmp";
    if (!MakePage(jpegPath)) {
        printf("cannot write %s\n", jpegPath.c_str());
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    GetFileAttributesExA(jpegPath.c_str(), GetFileExInfoStandard, &attributes);
    printf("page %d x %d (%.2f megapixels), JPEG %lu bytes\n", kWidth, kHeight,
           kWidth * kHeight / 1e6, attributes.nFileSizeLow);

    std::vector<unsigned char> pixels;
    Measure("libjpeg decode (reference)", [&] { return LibjpegDecode(jpegPath, pixels); });
    const double reference = Measure("libjpeg decode + WriteFile of the bitmap", [&] {
        return LibjpegDecode(jpegPath, pixels) && WriteBitmapLike(bmpPath, pixels);
    });
    CJpegFile decoder;
    Measure("Wendra decode to bottom-up BGR", [&] { return decoder.Decode(jpegPath); });
    CJpegFile converter;
    const double converted = Measure("Wendra JPEG to 24-bit bitmap file",
                                     [&] { return converter.ToBitmap(jpegPath, bmpPath); });
    if (reference > 0 && converted > 0)
        BenchRow("Wendra JPEG page to bitmap file", 1000.0 / converted, 1000.0 / reference,
                 "pages/s", ">=", 0.9);

    DeleteFileA(jpegPath.c_str());
    DeleteFileA(bmpPath.c_str());
    return 0;
}
