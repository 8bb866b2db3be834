#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <vector>

#include "RavoClock.h"

using namespace RavoEngine;

// A clock the test moves by hand; both clocks show the same time.
class FakeClock : public RavoClock
{
public:
    uint32_t MultimediaMs() const override { return now; }
    uint32_t TickMs() const override { return now; }
    uint32_t now = 100000;
};

WAVEFORMATEX Pcm16(uint32_t rate, uint16_t channels);
WAVEFORMATEX Pcm8(uint32_t rate);

// A packet of the engine's layout: first byte, sequence number, payload.
std::vector<uint8_t> MakePacket(uint8_t first, uint32_t sequence,
                                const std::vector<uint8_t>& payload);

// Tone (and optional white noise) as 16-bit samples.
std::vector<int16_t> Tone(int count, double frequency, double amplitude, int rate,
                          double noise = 0.0, uint32_t seed = 1);
double Rms(const int16_t* samples, int count);
