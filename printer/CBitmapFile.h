#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Windows bitmap files: the two headers as stored, checked parsing of a
// whole file and writing of uncompressed images without a colour table.
class CBitmapFile
{
public:
#pragma pack(push, 1)
    struct FileHeader
    {
        uint16_t type; // "BM"
        uint32_t fileSize;
        uint16_t reserved1;
        uint16_t reserved2;
        uint32_t pixelOffset;
    };
    struct InfoHeader
    {
        uint32_t size;
        int32_t width;
        int32_t height;
        uint16_t planes;
        uint16_t bitCount;
        uint32_t compression;
        uint32_t sizeImage;
        int32_t xPelsPerMeter;
        int32_t yPelsPerMeter;
        uint32_t clrUsed;
        uint32_t clrImportant;
    };
#pragma pack(pop)
    static_assert(sizeof(FileHeader) == 14, "bitmap file header");
    static_assert(sizeof(InfoHeader) == 40, "bitmap information header");

    // A parsed file: headers, colour table and the pixel block.
    struct Image
    {
        FileHeader file = {};
        InfoHeader info = {};
        std::vector<uint32_t> colours; // RGBQUAD entries, only for 1, 4 and 8 bits
        std::vector<uint8_t> pixels;   // stride x |height| bytes
    };

    // Largest pixel block accepted or written.
    static const uint32_t kMaxImageBytes = 0x7FFFFF00u;

    // Bytes per row, padded to four; 0 when the row does not fit 32 bits.
    static uint32_t Stride(int32_t width, uint16_t bits);
    // Reads the two headers at the start of a file.
    static bool ReadHeaders(const std::string& path, FileHeader& file, InfoHeader& info);
    // Parses a whole file; the pixels are taken from the file header's offset,
    // after a header of any size of at least 40 bytes and its colour table.
    static bool Parse(const uint8_t* data, size_t size, Image& out, std::string* error = nullptr);
    static bool Load(const std::string& path, Image& out, std::string* error = nullptr);
    // Writes an image bottom-up. A pixel block of exactly stride x height bytes
    // is written as it is; any other block is taken as rows of width x bits / 8
    // bytes and padded.
    static bool Write(const std::string& path, const uint8_t* pixels, size_t size, int32_t width,
                      int32_t height, uint16_t bits);
};
