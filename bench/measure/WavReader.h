#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace BenchMeasure {

// Reads 16-bit PCM WAV files (any channel count, any rate) as mono at the
// rate the caller asks for. A file that is not such a WAV file gives false
// and a one-line reason; nothing is read outside the file's bytes.
class WavReader
{
public:
    static bool ReadFile(const std::string& path, int rate, std::vector<int16_t>* samples,
                         std::string* error);
    static bool Parse(const uint8_t* data, size_t size, int rate, std::vector<int16_t>* samples,
                      std::string* error);
};

} // namespace BenchMeasure
