#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>
#include <vector>

#include "G7221Decoder.h"
#include "G7221Encoder.h"
#include "G7221TestSignals.h"

using namespace G7221TestSignals;

namespace {
const int kRates[] = {24000, 32000};
const int kSeconds2 = 16000 * 2;

std::vector<int16_t> FullScaleSquare(int samples)
{
    std::vector<int16_t> out(samples);
    for (int i = 0; i < samples; ++i)
        out[i] = ((i / 40) % 2) ? 32767 : -32768;
    return out;
}
} // namespace

TEST(G7221Codec, OnlyTheTwoRatesMakeAnEngine)
{
    struct Case
    {
        int rate;
        bool valid;
        int words;
    } cases[] = {{24000, true, 30}, {32000, true, 40}, {0, false, 0},     {-24000, false, 0},
                 {16000, false, 0}, {48000, false, 0}, {24001, false, 0}, {8000, false, 0}};
    int16_t pcm[320] = {0};
    uint16_t words[40];
    uint8_t bytes[80];
    for (const Case& c : cases) {
        G7221Encoder encoder(c.rate);
        G7221Decoder decoder(c.rate);
        EXPECT_EQ(encoder.IsValid(), c.valid) << c.rate;
        EXPECT_EQ(decoder.IsValid(), c.valid) << c.rate;
        EXPECT_EQ(encoder.FrameWords(), c.words);
        EXPECT_EQ(decoder.FrameBytes(), c.words * 2);
        EXPECT_EQ(encoder.Encode(pcm, 320, words, 40), c.words);
        EXPECT_EQ(encoder.EncodeBytes(pcm, 320, bytes, 80), c.words * 2);
        int expected = c.valid ? 320 : 0;
        EXPECT_EQ(decoder.Decode(words, 40, false, pcm, 320), expected);
        EXPECT_EQ(decoder.DecodeBytes(bytes, 80, false, pcm, 320), expected);
        EXPECT_EQ(decoder.Decode(nullptr, 0, true, pcm, 320), expected);
    }
}

TEST(G7221Codec, ShortInputsAndOutputsFail)
{
    for (int rate : kRates) {
        G7221Encoder encoder(rate);
        G7221Decoder decoder(rate);
        const int words = encoder.FrameWords();
        std::vector<int16_t> pcm(400, 100);
        std::vector<uint16_t> frame(48, 0);
        std::vector<uint8_t> bytes(96, 0);
        EXPECT_EQ(encoder.Encode(pcm.data(), 319, frame.data(), 48), 0);
        EXPECT_EQ(encoder.Encode(pcm.data(), 320, frame.data(), words - 1), 0);
        EXPECT_EQ(encoder.Encode(nullptr, 320, frame.data(), 48), 0);
        EXPECT_EQ(encoder.Encode(pcm.data(), 320, nullptr, 48), 0);
        EXPECT_EQ(encoder.EncodeBytes(pcm.data(), 320, bytes.data(), words * 2 - 1), 0);
        // More input than a frame: the first 320 samples are coded.
        EXPECT_EQ(encoder.EncodeBytes(pcm.data(), 350, bytes.data(), 96), words * 2);

        EXPECT_EQ(decoder.DecodeBytes(bytes.data(), words * 2 - 1, false, pcm.data(), 320), 0);
        EXPECT_EQ(decoder.Decode(frame.data(), words - 1, false, pcm.data(), 320), 0);
        EXPECT_EQ(decoder.Decode(nullptr, words, false, pcm.data(), 320), 0);
        EXPECT_EQ(decoder.Decode(frame.data(), words, false, pcm.data(), 319), 0);
        EXPECT_EQ(decoder.Decode(frame.data(), words, false, nullptr, 320), 0);
        EXPECT_EQ(decoder.DecodeBytes(bytes.data(), words * 2, false, pcm.data(), 320), 320);
    }
}

// Round trips keep the signal: floors per signal and rate, and the higher
// rate does better on speech.
TEST(G7221Codec, RoundTripSegmentalSnr)
{
    std::vector<int16_t> speech = Speech(kSeconds2);
    std::vector<int16_t> tones = Tones(kSeconds2);
    double speech24 = SegmentalSnr(speech, RoundTrip(24000, speech));
    double speech32 = SegmentalSnr(speech, RoundTrip(32000, speech));
    double tones24 = SegmentalSnr(tones, RoundTrip(24000, tones));
    double tones32 = SegmentalSnr(tones, RoundTrip(32000, tones));
    EXPECT_GT(speech24, 13.0);
    EXPECT_GT(speech32, 14.0);
    EXPECT_GT(speech32, speech24 + 0.5);
    EXPECT_GT(tones24, 18.0);
    EXPECT_GE(tones32, tones24 - 0.1);
}

TEST(G7221Codec, SilenceStaysSilent)
{
    for (int rate : kRates) {
        std::vector<int16_t> silence(16000, 0);
        std::vector<int16_t> out = RoundTrip(rate, silence);
        for (int16_t s : out)
            ASSERT_EQ(s, 0);
        // A signal that stops decays to silence within two frames.
        std::vector<int16_t> speechThenSilence = Speech(16000);
        for (size_t i = 8000; i < speechThenSilence.size(); ++i)
            speechThenSilence[i] = 0;
        out = RoundTrip(rate, speechThenSilence);
        for (size_t i = 8000 + 3 * 320; i < out.size(); ++i)
            ASSERT_LE(abs(out[i]), 4) << i;
    }
}

// Full-scale input saturates and never wraps around: the decoded signal
// keeps the sign and most of the level of the input.
TEST(G7221Codec, FullScaleNeverOverflows)
{
    std::vector<std::vector<int16_t>> signals = {FullScaleSquare(16000), Tones(16000, 21845.0),
                                                 Speech(16000, 6.0)};
    std::vector<int16_t> noise(16000);
    srand(7);
    for (int16_t& s : noise)
        s = (rand() & 1) ? 32767 : -32768;
    signals.push_back(noise);
    for (int rate : kRates) {
        for (size_t k = 0; k < signals.size(); ++k) {
            const std::vector<int16_t>& in = signals[k];
            std::vector<int16_t> out = RoundTrip(rate, in);
            double cross = 0.0, energy = 0.0;
            for (size_t i = 320; i < in.size(); ++i) {
                cross += (double)in[i - 320] * out[i];
                energy += (double)in[i - 320] * in[i - 320];
            }
            EXPECT_GT(cross / energy, 0.6) << "signal " << k << " rate " << rate;
            if (k < 3) {
                EXPECT_GT(SegmentalSnr(in, out), 5.0) << "signal " << k << " rate " << rate;
            }
        }
    }
}

TEST(G7221Codec, EveryDecodedSampleIsAMultipleOfFour)
{
    for (int rate : kRates) {
        std::vector<int16_t> out = RoundTrip(rate, Speech(16000, 3.0));
        for (int16_t s : out)
            ASSERT_EQ(s & 3, 0);
    }
}

TEST(G7221Codec, EncodingIsDeterministicAndResetStartsAfresh)
{
    std::vector<int16_t> speech = Speech(16000);
    for (int rate : kRates) {
        G7221Encoder a(rate), b(rate);
        std::vector<uint8_t> first, second, third;
        uint8_t bytes[80];
        for (size_t f = 0; f + 320 <= speech.size(); f += 320) {
            int n = a.EncodeBytes(&speech[f], 320, bytes, 80);
            first.insert(first.end(), bytes, bytes + n);
            n = b.EncodeBytes(&speech[f], 320, bytes, 80);
            second.insert(second.end(), bytes, bytes + n);
        }
        a.Reset();
        for (size_t f = 0; f + 320 <= speech.size(); f += 320) {
            int n = a.EncodeBytes(&speech[f], 320, bytes, 80);
            third.insert(third.end(), bytes, bytes + n);
        }
        EXPECT_EQ(first, second);
        EXPECT_EQ(first, third);
    }
}

TEST(G7221Codec, BytesAreTheWordsLittleEndian)
{
    std::vector<int16_t> speech = Speech(3200);
    for (int rate : kRates) {
        G7221Encoder a(rate), b(rate);
        for (size_t f = 0; f + 320 <= speech.size(); f += 320) {
            uint16_t words[40];
            uint8_t bytes[80];
            int n = a.Encode(&speech[f], 320, words, 40);
            ASSERT_EQ(b.EncodeBytes(&speech[f], 320, bytes, 80), 2 * n);
            for (int i = 0; i < n; ++i) {
                ASSERT_EQ(bytes[2 * i], words[i] & 0xFF);
                ASSERT_EQ(bytes[2 * i + 1], words[i] >> 8);
            }
        }
    }
}

TEST(G7221Codec, RandomFramesDecodeSafely)
{
    srand(99);
    for (int rate : kRates) {
        G7221Decoder decoder(rate);
        const int bytesPerFrame = decoder.FrameBytes();
        std::vector<uint8_t> frame(bytesPerFrame);
        int16_t pcm[320];
        for (int n = 0; n < 2000; ++n) {
            for (uint8_t& b : frame)
                b = (uint8_t)(rand() & 0xFF);
            ASSERT_EQ(decoder.DecodeBytes(frame.data(), bytesPerFrame, false, pcm, 320), 320);
            for (int16_t s : pcm)
                ASSERT_EQ(s & 3, 0);
        }
    }
}

// A lost frame repeats the last frame's spectrum once; further losses in a
// row fade to silence; good frames afterwards decode normally again.
TEST(G7221Codec, ErasedFramesAreConcealedThenMuted)
{
    std::vector<int16_t> tones = Tones(16000);
    for (int rate : kRates) {
        G7221Encoder encoder(rate);
        G7221Decoder decoder(rate);
        uint16_t words[40];
        int16_t pcm[320];
        for (int f = 0; f < 20; ++f) {
            int n = encoder.Encode(&tones[f * 320], 320, words, 40);
            ASSERT_EQ(decoder.Decode(words, n, false, pcm, 320), 320);
        }
        auto energy = [&]() {
            double e = 0.0;
            for (int16_t s : pcm)
                e += (double)s * s;
            return e / 320.0;
        };
        const double normal = energy();
        ASSERT_EQ(decoder.Decode(nullptr, 0, true, pcm, 320), 320);
        EXPECT_GT(energy(), normal * 0.5);
        ASSERT_EQ(decoder.Decode(nullptr, 0, true, pcm, 320), 320);
        ASSERT_EQ(decoder.Decode(nullptr, 0, true, pcm, 320), 320);
        EXPECT_EQ(energy(), 0.0);

        std::vector<int16_t> out(16000, 0);
        for (int f = 20; f < 50; ++f) {
            int n = encoder.Encode(&tones[f * 320], 320, words, 40);
            ASSERT_EQ(decoder.Decode(words, n, false, &out[f * 320], 320), 320);
        }
        std::vector<int16_t> in(tones.begin() + 23 * 320, tones.begin() + 50 * 320);
        std::vector<int16_t> got(out.begin() + 23 * 320, out.begin() + 50 * 320);
        EXPECT_GT(SegmentalSnr(in, got), 15.0);
    }
}
