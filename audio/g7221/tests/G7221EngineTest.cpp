#include <gtest/gtest.h>

#include <math.h>
#include <limits>
#include <utility>
#include <vector>

#include "G7221BitReader.h"
#include "G7221BitWriter.h"
#include "G7221DecoderEngine.h"
#include "G7221EncoderEngine.h"
#include "G7221PowerCodeTree.h"
#include "G7221TestSignals.h"
#include "G7221Transform.h"

TEST(G7221Engine, SampleConversionRoundsSaturatesAndClearsTwoBits)
{
    struct Case
    {
        float in;
        int16_t out;
    } cases[] = {{0.0f, 0},       {1.49f, 0},        {2.5f, 0},         {3.5f, 4},
                 {5.5f, 4},       {6.49f, 4},        {6.5f, 4},         {7.5f, 8},
                 {-0.49f, 0},     {-0.5f, -4},       {-2.5f, -4},       {-4.0f, -4},
                 {-4.5f, -8},     {32766.6f, 32764}, {40000.0f, 32764}, {-32767.6f, -32768},
                 {-1e9f, -32768}, {1e9f, 32764}};
    for (const Case& c : cases)
        EXPECT_EQ(G7221DecoderEngine::ToPcm(c.in), c.out) << c.in;
}

TEST(G7221Engine, CoefficientScaleIsTheCodecs)
{
    EXPECT_EQ(G7221EncoderEngine::kCoefScale, 0.045454547f);
}

TEST(G7221Engine, OnlyRatesOfTheCodecMakeEngines)
{
    for (int rate : {8000, 16000, 24000, 32000, 48000}) {
        G7221EncoderEngine* e = G7221EncoderEngine::Create(rate);
        G7221DecoderEngine* d = G7221DecoderEngine::Create(rate);
        ASSERT_NE(e, nullptr);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(e->FrameWords(), rate / 800);
        delete e;
        delete d;
    }
    for (int rate : {0, 7200, 48800, 24400}) {
        EXPECT_EQ(G7221EncoderEngine::Create(rate), nullptr);
        EXPECT_EQ(G7221DecoderEngine::Create(rate), nullptr);
    }
}

TEST(G7221Engine, BitsGoMostSignificantFirst)
{
    uint16_t words[2];
    G7221BitWriter writer(words, 2);
    writer.Put(0x5, 3); // 101
    writer.Put(0x1234, 16);
    writer.FillWithOnes();
    EXPECT_EQ(words[0], 0xA246);
    EXPECT_EQ(words[1], 0x9FFF);
    G7221BitReader reader(words, 2);
    EXPECT_EQ(reader.Get(3), 5);
    EXPECT_EQ(reader.Get(16), 0x1234);
    EXPECT_EQ(reader.BitsLeft(), 13);
    EXPECT_EQ(reader.Get(14), -1);
    EXPECT_EQ(reader.Get(), -1);
}

TEST(G7221Engine, SampleConversionOfEdgeValues)
{
    const float inf = std::numeric_limits<float>::infinity();
    struct Case
    {
        float in;
        int16_t out;
    } cases[] = {{std::numeric_limits<float>::quiet_NaN(), 0},
                 {inf, 32764},
                 {-inf, -32768},
                 {-0.0f, 0},
                 {1e-40f, 0},
                 {-1e-40f, 0},
                 {32767.49f, 32764},
                 {32767.5f, 32764},
                 {32768.0f, 32764},
                 {-32767.49f, -32768},
                 {-32767.5f, -32768},
                 {-32768.0f, -32768},
                 {-32768.5f, -32768},
                 {-1.5f, -4},
                 {-1.49f, -4},
                 {4.5f, 4},
                 {8.4999f, 8},
                 {-8.5f, -12},
                 {12345.6f, 12344}};
    for (const Case& c : cases)
        EXPECT_EQ(G7221DecoderEngine::ToPcm(c.in), c.out) << c.in;
}

// Fields of every length from 0 to 31 bits, written across word ends and
// past the end of the frame, against the same bits laid out one by one.
TEST(G7221Engine, BitFieldsOfEveryLengthRoundTrip)
{
    const int words = 5;
    for (int start = 0; start < 16; ++start) {
        uint16_t frame[words];
        G7221BitWriter writer(frame, words);
        std::vector<int> bits;
        std::vector<std::pair<int, int>> fields; // value, length
        writer.Put(0, start);
        bits.insert(bits.end(), start, 0);
        uint32_t seed = 77u + start;
        for (int length = 0; length < 32; ++length) {
            seed = seed * 1664525u + 1013904223u;
            const int value = (int)(seed >> 1) & (int)((1u << length) - 1u);
            writer.Put((uint32_t)value, length);
            fields.push_back(std::make_pair(value, length));
            for (int b = length - 1; b >= 0; --b)
                bits.push_back((value >> b) & 1);
        }
        ASSERT_GT((int)bits.size(), words * 16);
        EXPECT_EQ(writer.BitsLeft(), 0);
        for (int w = 0; w < words; ++w) {
            int expected = 0;
            for (int b = 0; b < 16; ++b)
                expected = (expected << 1) | bits[w * 16 + b];
            ASSERT_EQ(frame[w], expected) << "start " << start << " word " << w;
        }

        G7221BitReader reader(frame, words);
        ASSERT_EQ(reader.Get(start), 0);
        int used = start;
        for (const std::pair<int, int>& f : fields) {
            if (used + f.second > words * 16) {
                // The frame ends inside this field: no value, nothing left.
                EXPECT_EQ(reader.Get(f.second), -1) << "start " << start;
                EXPECT_EQ(reader.BitsLeft(), 0);
                break;
            }
            ASSERT_EQ(reader.Get(f.second), f.first) << "start " << start << " length " << f.second;
            used += f.second;
            ASSERT_EQ(reader.BitsLeft(), words * 16 - used);
        }
    }

    // Fill bits complete a partly written word and every word after it.
    for (int used : {0, 1, 15, 16, 17, 47, 48}) {
        uint16_t frame[3];
        G7221BitWriter writer(frame, 3);
        for (int i = 0; i < used; ++i)
            writer.Put(0, 1);
        writer.FillWithOnes();
        EXPECT_EQ(writer.BitsLeft(), 0);
        G7221BitReader reader(frame, 3);
        for (int i = 0; i < 48; ++i)
            ASSERT_EQ(reader.Get(), i < used ? 0 : 1) << "used " << used << " bit " << i;
    }
}

// Every region power code of every region decodes to its own level and
// takes exactly its own bits; a code cut short by the end of the frame,
// and a region without codes, give -1.
TEST(G7221Engine, RegionPowerCodesDecodeToTheirLevels)
{
    G7221PowerCodeTree tree;
    for (int r = 1; r < G7221Tables::kRegions; ++r) {
        for (int j = 0; j < G7221Tables::kDiffLevels; ++j) {
            const int length = G7221Tables::kDiffPowerBits[r][j];
            const int code = G7221Tables::kDiffPowerCodes[r][j];
            uint16_t frame[2];
            G7221BitWriter writer(frame, 2);
            writer.Put((uint32_t)code, length);
            writer.Put(0x2A5, 10);
            writer.FillWithOnes();
            G7221BitReader reader(frame, 2);
            ASSERT_EQ(tree.Decode(reader, r), j) << "region " << r;
            ASSERT_EQ(reader.Get(10), 0x2A5) << "region " << r << " level " << j;

            if (length < 2)
                continue;
            writer = G7221BitWriter(frame, 1);
            writer.Put(0, 16 - (length - 1));
            writer.Put((uint32_t)(code >> 1), length - 1);
            G7221BitReader cut(frame, 1);
            cut.Get(16 - (length - 1));
            EXPECT_EQ(tree.Decode(cut, r), -1) << "region " << r << " level " << j;
        }
    }
    uint16_t frame[1] = {0};
    for (int r : {-1, 0, (int)G7221Tables::kRegions}) {
        G7221BitReader reader(frame, 1);
        EXPECT_EQ(tree.Decode(reader, r), -1) << r;
    }
}

TEST(G7221Engine, TransformIsOrthonormalAndReconstructs)
{
    G7221Transform t;
    float x[320], y[320], z[320];
    double ex = 0.0, ey = 0.0;
    for (int i = 0; i < 320; ++i) {
        x[i] = (float)((i * 37) % 101 - 50);
        ex += x[i] * x[i];
    }
    t.DctIV(x, y);
    for (int i = 0; i < 320; ++i)
        ey += y[i] * y[i];
    EXPECT_NEAR(ey / ex, 1.0, 1e-4);
    t.DctIV(y, z);
    for (int i = 0; i < 320; ++i)
        ASSERT_NEAR(z[i], x[i], 0.01f);

    // Analysis then synthesis rebuilds the input one frame late.
    G7221Transform analysis, synthesis;
    std::vector<int16_t> in = G7221TestSignals::Speech(320 * 6);
    std::vector<float> out(in.size());
    for (int f = 0; f < 6; ++f) {
        float frame[320], coefs[320];
        for (int i = 0; i < 320; ++i)
            frame[i] = in[f * 320 + i];
        analysis.Analyse(frame, coefs);
        synthesis.Synthesise(coefs, &out[f * 320]);
    }
    for (size_t i = 320; i < in.size(); ++i)
        ASSERT_NEAR(out[i], in[i - 320], 0.05f);
}

// The fast transform against the type IV DCT's definition, evaluated in
// double precision, on inputs that reach every output through every path.
TEST(G7221Engine, DctIVMatchesItsDefinition)
{
    const double pi = 3.14159265358979323846;
    std::vector<std::vector<float>> inputs(4, std::vector<float>(320, 0.0f));
    inputs[0][0] = 1000.0f;
    inputs[1][319] = -1000.0f;
    uint32_t seed = 5;
    for (int n = 0; n < 320; ++n) {
        seed = seed * 1664525u + 1013904223u;
        inputs[2][n] = (float)((int)(seed >> 17) - 16384);
        inputs[3][n] = (float)(n * 3 - 480);
    }
    G7221Transform t;
    for (size_t k = 0; k < inputs.size(); ++k) {
        const std::vector<float>& x = inputs[k];
        float y[320];
        t.DctIV(x.data(), y);
        double norm = 0.0;
        for (float v : x)
            norm += (double)v * v;
        const double tolerance = 1e-5 * sqrt(norm);
        for (int m = 0; m < 320; ++m) {
            double sum = 0.0;
            for (int n = 0; n < 320; ++n)
                sum += x[n] * cos(pi / 320 * (n + 0.5) * (m + 0.5));
            ASSERT_NEAR(y[m], sum * sqrt(2.0 / 320), tolerance) << "input " << k << " output " << m;
        }
    }
}

// Frames the encoder makes decode as good frames; a frame whose
// coefficient bits run out before the lowest-rate categorization, or that
// is erased, is concealed.
TEST(G7221Engine, DamagedFramesAreConcealed)
{
    for (int rate : {24000, 32000}) {
        G7221EncoderEngine* e = G7221EncoderEngine::Create(rate);
        G7221DecoderEngine* d = G7221DecoderEngine::Create(rate);
        std::vector<int16_t> speech = G7221TestSignals::Speech(16000, 2.0);
        uint16_t words[40];
        int16_t pcm[320];
        for (size_t f = 0; f + 320 <= speech.size(); f += 320) {
            e->Encode(&speech[f], words);
            ASSERT_TRUE(d->Decode(words, false, pcm)) << f;
        }
        EXPECT_FALSE(d->Decode(words, true, pcm));

        // Silence codes in fewer bits than the frame has and ends in fill
        // bits; a zero among them marks the frame as damaged.
        int16_t silence[320] = {0};
        e->Encode(silence, words);
        EXPECT_TRUE(d->Decode(words, false, pcm));
        EXPECT_EQ(words[e->FrameWords() - 1] & 1, 1);
        words[e->FrameWords() - 1] ^= 1;
        EXPECT_FALSE(d->Decode(words, false, pcm));

        // Every region at the top power, categorization 0, and zero bits
        // after it, which decode as long vectors: far more bits than the
        // frame has.
        uint16_t heavy[40];
        G7221BitWriter writer(heavy, e->FrameWords());
        writer.Put(31, 5);
        for (int r = 1; r < 14; ++r)
            writer.Put(G7221Tables::kDiffPowerCodes[r][12], G7221Tables::kDiffPowerBits[r][12]);
        writer.Put(0, 4);
        EXPECT_FALSE(d->Decode(heavy, false, pcm));
        delete e;
        delete d;
    }
}
