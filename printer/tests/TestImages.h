#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Files the printer tests work on: scratch folders, JPEGs made with libjpeg
// and its own decoding for comparison, and hand-built bitmap files.
namespace TestImages {

// A fresh folder under the temporary folder, ending in a backslash.
std::string ScratchFolder(const std::string& tag);
std::vector<uint8_t> ReadAll(const std::string& path);
bool WriteAll(const std::string& path, const std::vector<uint8_t>& bytes);

// A JPEG of width x height with 3 or 1 components and a fixed pattern.
std::vector<uint8_t> MakeJpeg(int width, int height, int components, int quality = 90);
// libjpeg's own decoding: top-down rows of width x components bytes.
bool DecodeJpeg(const std::string& path, int& width, int& height, int& components,
                std::vector<uint8_t>& rows);

// A bitmap file: the information header is headerSize bytes (40 or more),
// followed by the colour table; pixels are the rows as stored.
std::vector<uint8_t> MakeBitmap(int width, int height, int bits, const std::vector<uint8_t>& pixels,
                                uint32_t headerSize = 40, const std::vector<uint32_t>& colours = {},
                                bool writeImageSize = true);
// A 24-bit bitmap of one colour (0xRRGGBB).
std::vector<uint8_t> SolidBitmap(int width, int height, uint32_t rgb);
uint32_t Stride(int width, int bits);

} // namespace TestImages
