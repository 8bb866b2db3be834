#include "TestImages.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
}

namespace TestImages {

std::string ScratchFolder(const std::string& tag)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    std::string folder = std::string(temp) + "wendra_" + tag + "_" +
                         std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::vector<uint8_t> out;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return out;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    fclose(f);
    return out;
}

bool WriteAll(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

std::vector<uint8_t> MakeJpeg(int width, int height, int components, int quality)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = cinfo.next_scanline;
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                row[x * components + c] = static_cast<uint8_t>((x * 7 + y * 3 + c * 80) & 0xFF);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&cinfo);
    free(out);
    return bytes;
}

bool DecodeJpeg(const std::string& path, int& width, int& height, int& components,
                std::vector<uint8_t>& rows)
{
    std::vector<uint8_t> data = ReadAll(path);
    if (data.empty())
        return false;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), data.size());
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    width = cinfo.output_width;
    height = cinfo.output_height;
    components = cinfo.output_components;
    rows.assign(static_cast<size_t>(width) * height * components, 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW p = rows.data() + static_cast<size_t>(cinfo.output_scanline) * width * components;
        jpeg_read_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

uint32_t Stride(int width, int bits)
{
    return ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4;
}

std::vector<uint8_t> MakeBitmap(int width, int height, int bits, const std::vector<uint8_t>& pixels,
                                uint32_t headerSize, const std::vector<uint32_t>& colours,
                                bool writeImageSize)
{
    std::vector<uint8_t> out(14 + headerSize + colours.size() * 4, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        out[at] = v & 0xFF;
        out[at + 1] = (v >> 8) & 0xFF;
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    uint32_t offset = static_cast<uint32_t>(out.size());
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<uint32_t>(offset + pixels.size()));
    put32(10, offset);
    put32(14, headerSize);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put16(26, 1);
    put16(28, bits);
    put32(30, 0);
    put32(34, writeImageSize ? static_cast<uint32_t>(pixels.size()) : 0);
    put32(46, static_cast<uint32_t>(colours.size()));
    for (size_t i = 0; i < colours.size(); ++i)
        put32(14 + headerSize + 4 * i, colours[i]);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<uint8_t> SolidBitmap(int width, int height, uint32_t rgb)
{
    uint32_t stride = Stride(width, 24);
    std::vector<uint8_t> pixels(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &pixels[y * stride + 3 * x];
            p[0] = rgb & 0xFF;
            p[1] = (rgb >> 8) & 0xFF;
            p[2] = (rgb >> 16) & 0xFF;
        }
    return MakeBitmap(width, height, 24, pixels);
}

} // namespace TestImages
