#pragma once
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <set>
#include <vector>

#include "RavoApi.h"

using namespace RavoTDevice;

// A stand-in for the audio engine: records what the device layer asks of it
// and answers from a few settings. One instance per process; Reset between
// tests.
struct CFakeRavo
{
    static CFakeRavo& Get();
    static RavoApi Api();
    void Reset();

    std::mutex lock;
    // Settings.
    bool refuseProcesser = false;
    bool silence = false;   // the processer drops every block as silence
    int readBytes = -1;     // bytes ReadData reports; -1 the whole request
    short mixSample = 1000; // value of every mixed sample
    // Records.
    int groupsCreated = 0;
    int groupsDestroyed = 0;
    void* group = nullptr;
    int processersCreated = 0;
    int processersDestroyed = 0;
    uint8_t lastFormatIndex = 0xFF;
    WAVEFORMATEX lastProcesserFormat{};
    std::vector<std::vector<uint8_t>> processedBlocks;
    std::vector<std::vector<uint8_t>> localPackets;
    std::set<uint32_t> sources;
    int denoise = -1, agc = -1, silenceDetect = -1, fecMode = -1, denoiseChain = -1;
    int enableLocal = -1;
    int calEnergy = -1;
    int reads = 0;
    uint32_t sequence = 0;
};
