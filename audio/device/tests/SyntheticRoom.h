#pragma once
#include <cstdint>
#include <vector>

// Signals of a synthetic room for the echo canceller: speech-like talkers
// (glottal pulses through gliding formants, with pauses), a decaying room
// impulse response and the microphone signal made of them.
namespace SyntheticRoom {
// seed picks the talker; the signal pauses now and then like speech.
std::vector<double> SpeechLike(int samples, uint32_t seed, double peak = 12000.0);
// delayMs of direct path, then an exponential tail that falls 60 dB in
// rt60Ms, lengthMs long in all; gain of the direct path.
std::vector<double> ImpulseResponse(int rate, double delayMs, double rt60Ms, double lengthMs,
                                    double gain, uint32_t seed);
std::vector<double> Convolve(const std::vector<double>& x, const std::vector<double>& h);
std::vector<double> Noise(int samples, double rms, uint32_t seed);
std::vector<int16_t> ToPcm(const std::vector<double>& x);
std::vector<double> Sum(const std::vector<double>& a, const std::vector<double>& b);
// Energy of a stretch, in dB (10 log10 of the mean square, floor -200).
double EnergyDb(const std::vector<double>& x, size_t from, size_t count);
double EnergyDb(const std::vector<int16_t>& x, size_t from, size_t count);
std::vector<int16_t> Sine(int samples, int rate, double frequency, double amplitude);
// Frequency of a steady tone from its rising zero crossings (interpolated).
double ToneFrequency(const std::vector<int16_t>& x, size_t from, size_t count, int rate);
} // namespace SyntheticRoom
