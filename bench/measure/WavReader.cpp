#include "WavReader.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "WireReader.h"

namespace BenchMeasure {

namespace {

#pragma pack(push, 1)
struct WAV_RIFF_HEAD
{
    char riff[4]; // "RIFF"
    uint32_t size;
    char wave[4]; // "WAVE"
};
struct WAV_CHUNK_HEAD
{
    char id[4];
    uint32_t size;
};
struct WAV_FORMAT
{
    uint16_t tag; // 1: PCM
    uint16_t channels;
    uint32_t rate;
    uint32_t bytesPerSecond;
    uint16_t blockAlign;
    uint16_t bits;
};
#pragma pack(pop)
static_assert(sizeof(WAV_RIFF_HEAD) == 12, "RIFF head is 12 bytes");
static_assert(sizeof(WAV_CHUNK_HEAD) == 8, "chunk head is 8 bytes");
static_assert(sizeof(WAV_FORMAT) == 16, "PCM format is 16 bytes");

bool Fail(std::string* error, const char* text)
{
    if (error)
        *error = text;
    return false;
}

// Linear interpolation between neighbouring samples.
std::vector<int16_t> Resample(const std::vector<double>& mono, int from, int to)
{
    std::vector<int16_t> out;
    if (mono.empty())
        return out;
    const double step = static_cast<double>(from) / to;
    const size_t count = static_cast<size_t>(std::floor((mono.size() - 1) / step)) + 1;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const double x = i * step;
        const size_t k = static_cast<size_t>(x);
        const double frac = x - k;
        double v = mono[k];
        if (k + 1 < mono.size())
            v += (mono[k + 1] - mono[k]) * frac;
        v = std::round(v);
        out.push_back(static_cast<int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v)));
    }
    return out;
}

} // namespace

bool WavReader::Parse(const uint8_t* data, size_t size, int rate, std::vector<int16_t>* samples,
                      std::string* error)
{
    samples->clear();
    if (rate < 1000 || rate > 192000)
        return Fail(error, "the rate asked for lies outside 1000..192000 Hz");
    WireReader in(data, size);
    WAV_RIFF_HEAD head;
    if (!in.Record(head) || memcmp(head.riff, "RIFF", 4) != 0 || memcmp(head.wave, "WAVE", 4) != 0)
        return Fail(error, "not a RIFF WAVE file");
    bool haveFormat = false;
    WAV_FORMAT format = {};
    while (in.Remaining() >= sizeof(WAV_CHUNK_HEAD)) {
        WAV_CHUNK_HEAD chunk;
        in.Record(chunk);
        if (memcmp(chunk.id, "fmt ", 4) == 0) {
            if (chunk.size < sizeof(WAV_FORMAT) || chunk.size > in.Remaining())
                return Fail(error, "the format chunk is cut short");
            in.Record(format);
            in.Skip(chunk.size - sizeof(WAV_FORMAT));
            if ((chunk.size & 1) && in.Remaining() > 0)
                in.Skip(1);
            haveFormat = true;
            continue;
        }
        if (memcmp(chunk.id, "data", 4) == 0) {
            if (!haveFormat)
                return Fail(error, "the data chunk comes before the format chunk");
            if (format.tag != 1 || format.bits != 16)
                return Fail(error, "only 16-bit PCM is read");
            if (format.channels < 1 || format.channels > 8)
                return Fail(error, "the channel count lies outside 1..8");
            if (format.rate < 1000 || format.rate > 192000)
                return Fail(error, "the sample rate lies outside 1000..192000 Hz");
            // A file written while streaming may name more data than it
            // holds: what is there is read.
            size_t bytes = chunk.size < in.Remaining() ? chunk.size : in.Remaining();
            const size_t frames = bytes / (2u * format.channels);
            if (frames == 0)
                return Fail(error, "the file holds no samples");
            std::vector<double> mono(frames);
            for (size_t i = 0; i < frames; ++i) {
                double sum = 0;
                for (int c = 0; c < format.channels; ++c) {
                    int16_t v = 0;
                    in.I16(v);
                    sum += v;
                }
                mono[i] = sum / format.channels;
            }
            *samples = Resample(mono, static_cast<int>(format.rate), rate);
            return true;
        }
        // Any other chunk is skipped (its size padded to an even count).
        const size_t skip = chunk.size + (chunk.size & 1);
        if (skip > in.Remaining())
            return Fail(error, "a chunk runs past the end of the file");
        in.Skip(skip);
    }
    return Fail(error, haveFormat ? "the file has no data chunk" : "the file has no format chunk");
}

bool WavReader::ReadFile(const std::string& path, int rate, std::vector<int16_t>* samples,
                         std::string* error)
{
    samples->clear();
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return Fail(error, "the file cannot be opened");
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (bytes.size() + n > (256u << 20)) {
            fclose(f);
            return Fail(error, "the file is larger than 256 MB");
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    fclose(f);
    return Parse(bytes.data(), bytes.size(), rate, samples, error);
}

} // namespace BenchMeasure
