#include <gtest/gtest.h>

#include <math.h>
#include <vector>

#include "G7221BitReader.h"
#include "G7221BitWriter.h"
#include "G7221DecoderEngine.h"
#include "G7221EncoderEngine.h"
#include "G7221TestSignals.h"
#include "G7221Transform.h"

TEST(G7221Engine, SampleConversionRoundsSaturatesAndClearsTwoBits)
{
    struct Case { float in; int16_t out; } cases[] = {
        {0.0f, 0},       {1.49f, 0},       {2.5f, 0},        {3.5f, 4},       {5.5f, 4},
        {6.49f, 4},      {6.5f, 4},        {7.5f, 8},        {-0.49f, 0},     {-0.5f, -4},
        {-2.5f, -4},     {-4.0f, -4},      {-4.5f, -8},      {32766.6f, 32764}, {40000.0f, 32764},
        {-32767.6f, -32768}, {-1e9f, -32768}, {1e9f, 32764}};
    for (const Case& c : cases)
        EXPECT_EQ(G7221DecoderEngine::ToPcm(c.in), c.out) << c.in;
}

TEST(G7221Engine, CoefficientScaleIsTheCodecs)
{
    EXPECT_EQ(G7221EncoderEngine::kCoefScale, 0.045454547f);
}

TEST(G7221Engine, OnlyRatesOfTheCodecMakeEngines)
{
    for (int rate : {8000, 16000, 24000, 32000, 48000})
    {
        G7221EncoderEngine* e = G7221EncoderEngine::Create(rate);
        G7221DecoderEngine* d = G7221DecoderEngine::Create(rate);
        ASSERT_NE(e, nullptr);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(e->FrameWords(), rate / 800);
        delete e;
        delete d;
    }
    for (int rate : {0, 7200, 48800, 24400})
    {
        EXPECT_EQ(G7221EncoderEngine::Create(rate), nullptr);
        EXPECT_EQ(G7221DecoderEngine::Create(rate), nullptr);
    }
}

TEST(G7221Engine, BitsGoMostSignificantFirst)
{
    uint16_t words[2];
    G7221BitWriter writer(words, 2);
    writer.Put(0x5, 3);       // 101
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

TEST(G7221Engine, TransformIsOrthonormalAndReconstructs)
{
    G7221Transform t;
    float x[320], y[320], z[320];
    double ex = 0.0, ey = 0.0;
    for (int i = 0; i < 320; ++i)
    {
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
    for (int f = 0; f < 6; ++f)
    {
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
    for (int n = 0; n < 320; ++n)
    {
        seed = seed * 1664525u + 1013904223u;
        inputs[2][n] = (float)((int)(seed >> 17) - 16384);
        inputs[3][n] = (float)(n * 3 - 480);
    }
    G7221Transform t;
    for (size_t k = 0; k < inputs.size(); ++k)
    {
        const std::vector<float>& x = inputs[k];
        float y[320];
        t.DctIV(x.data(), y);
        double norm = 0.0;
        for (float v : x)
            norm += (double)v * v;
        const double tolerance = 1e-5 * sqrt(norm);
        for (int m = 0; m < 320; ++m)
        {
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
    for (int rate : {24000, 32000})
    {
        G7221EncoderEngine* e = G7221EncoderEngine::Create(rate);
        G7221DecoderEngine* d = G7221DecoderEngine::Create(rate);
        std::vector<int16_t> speech = G7221TestSignals::Speech(16000, 2.0);
        uint16_t words[40];
        int16_t pcm[320];
        for (size_t f = 0; f + 320 <= speech.size(); f += 320)
        {
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
