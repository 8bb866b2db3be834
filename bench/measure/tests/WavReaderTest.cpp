#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "WavReader.h"
#include "WireWriter.h"

using BenchMeasure::WavReader;

namespace {

// Builds WAV files chunk by chunk.
class WavBytes
{
public:
    WavBytes& Riff(const char* riff = "RIFF", const char* wave = "WAVE")
    {
        Put(riff, 4);
        U32(0); // the RIFF size is not checked
        Put(wave, 4);
        return *this;
    }
    WavBytes& Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                     uint32_t chunkSize = 16)
    {
        Put("fmt ", 4);
        U32(chunkSize);
        U16(tag);
        U16(channels);
        U32(rate);
        U32(rate * channels * bits / 8);
        U16(static_cast<uint16_t>(channels * bits / 8));
        U16(bits);
        for (uint32_t i = 16; i < chunkSize; ++i)
            bytes.push_back(0);
        return *this;
    }
    WavBytes& Chunk(const char* id, uint32_t size, const std::vector<uint8_t>& body)
    {
        Put(id, 4);
        U32(size);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }
    WavBytes& Data(const std::vector<int16_t>& samples, uint32_t namedSize = 0xFFFFFFFF)
    {
        Put("data", 4);
        U32(namedSize != 0xFFFFFFFF ? namedSize : static_cast<uint32_t>(samples.size() * 2));
        for (int16_t s : samples)
            U16(static_cast<uint16_t>(s));
        return *this;
    }

    std::vector<uint8_t> bytes;

private:
    void Put(const char* text, size_t n) { bytes.insert(bytes.end(), text, text + n); }
    void U16(uint16_t v)
    {
        uint8_t b[2];
        WireWriter w(b, sizeof b);
        w.U16(v);
        bytes.insert(bytes.end(), b, b + 2);
    }
    void U32(uint32_t v)
    {
        uint8_t b[4];
        WireWriter w(b, sizeof b);
        w.U32(v);
        bytes.insert(bytes.end(), b, b + 4);
    }
};

std::vector<int16_t> Read(const std::vector<uint8_t>& bytes, int rate, std::string* error, bool* ok)
{
    std::vector<int16_t> samples;
    *ok = WavReader::Parse(bytes.data(), bytes.size(), rate, &samples, error);
    return samples;
}

} // namespace

TEST(WavReader, RefusesWhatIsNotSixteenBitPcmWithAReason)
{
    const std::vector<int16_t> some(64, 100);
    struct Case
    {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty file", {}},
        {"RIFF head cut short", std::vector<uint8_t>{'R', 'I', 'F', 'F', 0, 0}},
        {"not RIFF", WavBytes().Riff("RIFX").Format(1, 1, 16000, 16).Data(some).bytes},
        {"not WAVE", WavBytes().Riff("RIFF", "AVI ").Format(1, 1, 16000, 16).Data(some).bytes},
        {"data before format", WavBytes().Riff().Data(some).Format(1, 1, 16000, 16).bytes},
        {"8-bit", WavBytes().Riff().Format(1, 1, 16000, 8).Data(some).bytes},
        {"float", WavBytes().Riff().Format(3, 1, 16000, 16).Data(some).bytes},
        {"no channels", WavBytes().Riff().Format(1, 0, 16000, 16).Data(some).bytes},
        {"absurd rate", WavBytes().Riff().Format(1, 1, 7, 16).Data(some).bytes},
        {"format chunk too small", WavBytes().Riff().Format(1, 1, 16000, 16, 16).bytes},
        {"no data chunk", WavBytes().Riff().Format(1, 1, 16000, 16).bytes},
        {"no samples", WavBytes().Riff().Format(1, 1, 16000, 16).Data({}).bytes},
        {"chunk past the end", WavBytes()
                                   .Riff()
                                   .Format(1, 1, 16000, 16)
                                   .Chunk("LIST", 0x7FFFFFF0, {1, 2})
                                   .Data(some)
                                   .bytes},
    };
    // A format chunk that says it is shorter than a PCM format.
    cases[9].bytes[16] = 14;
    for (const Case& c : cases) {
        std::string error;
        bool ok = true;
        std::vector<int16_t> samples = Read(c.bytes, 16000, &error, &ok);
        EXPECT_FALSE(ok) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_TRUE(samples.empty()) << c.name;
    }
}

TEST(WavReader, MixesChannelsSkipsOtherChunksAndConvertsTheRate)
{
    // Stereo at 8000 Hz: left a ramp, right its negative plus 2000, so the
    // mono mix is 1000 everywhere but for the ramp's half.
    std::vector<int16_t> stereo;
    for (int i = 0; i < 100; ++i) {
        stereo.push_back(static_cast<int16_t>(40 * i));
        stereo.push_back(static_cast<int16_t>(2000 - 20 * i));
    }
    WavBytes wav;
    wav.Riff().Chunk("LIST", 3, {'a', 'b', 'c', 0}).Format(1, 2, 8000, 16, 18).Data(stereo);
    std::string error;
    bool ok = false;
    std::vector<int16_t> mono = Read(wav.bytes, 16000, &error, &ok);
    ASSERT_TRUE(ok) << error;
    // Mono sample i is 1000 + 10 i; at twice the rate every other output
    // sample lies half-way between two of them.
    ASSERT_EQ(mono.size(), 199u);
    for (size_t j = 0; j < mono.size(); ++j)
        EXPECT_EQ(mono[j], 1000 + 5 * static_cast<int>(j)) << j;

    // The same at the file's own rate is read as it stands.
    mono = Read(wav.bytes, 8000, &error, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(mono.size(), 100u);
    EXPECT_EQ(mono[99], 1990);
}

TEST(WavReader, ReadsWhatAStreamedFileHoldsWhenItsDataSizeSaysMore)
{
    std::vector<int16_t> samples = {1, -2, 3, -4, 5};
    WavBytes wav;
    wav.Riff().Format(1, 1, 16000, 16).Data(samples, 0x7FFFF000);
    wav.bytes.push_back(0x77); // half a sample at the end
    std::string error;
    bool ok = false;
    EXPECT_EQ(Read(wav.bytes, 16000, &error, &ok), samples);
    EXPECT_TRUE(ok) << error;
}

TEST(WavReader, ReportsAFileThatCannotBeOpened)
{
    std::vector<int16_t> samples(3, 1);
    std::string error;
    EXPECT_FALSE(WavReader::ReadFile("no such folder\\no such file.wav", 16000, &samples, &error));
    EXPECT_TRUE(samples.empty());
    EXPECT_FALSE(error.empty());
}
