#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "KadrelModule.h"

// One participant's audio manager in a test: it joins the room on the
// server's audio port with a test tone as its microphone, plays the others
// into a tap, and measures inside a window of the machine's performance
// clock, so that several processes measure the same stretch of a meeting.
class CKadrelProbe
{
public:
    struct Plan
    {
        uint16_t audioPort = 0;
        uint32_t room = 0;
        uint32_t user = 0;
        double toneHz = 440;
        int amplitude = 8000;
        double burstMs = 0; // bursts of the tone at every multiple of periodMs; 0: continuous
        double periodMs = 0;
        bool send = true;
        bool playLocal = false; // the own microphone is played too
        std::vector<uint32_t> sources;
        double fromMs = 0; // measuring window on the performance clock
        double toMs = 0;
        // When named, the window comes from a CMeetingClock of this name
        // once every participant is ready, instead of from/to.
        std::string clock;
        std::vector<double> probes; // frequencies whose amplitude in the played audio is measured
    };

    struct RecordStats
    {
        uint32_t packets = 0;
        uint32_t mismatched = 0; // extra word not the source, or no data
        uint32_t firstByte = 0;
        uint32_t length = 0;
    };

    struct Result
    {
        int connected = 0;
        double captureLevel = 0; // mean of the level read every 100 ms
        double playEnergy = 0;
        double tapLevel = 0; // the played audio's level on the same scale
        std::vector<double> amplitudes;
        std::map<uint32_t, RecordStats> records;
        std::vector<double> onsetsMs; // played burst starts, on the performance clock
        double playRate = 0;
    };

    static double NowMs();

    explicit CKadrelProbe(KadrelModule& kadrel) : m_kadrel(kadrel) {}

    // Runs the whole session; false when the library refused a step before
    // the meeting (the result tells how far it came).
    bool Run(const Plan& plan, Result* result);

    // Command line of the peer program and its printed result.
    static std::string FormatPlan(const Plan& plan);
    static bool ParsePlan(int argc, char** argv, Plan* plan);
    static std::string FormatResult(const Result& result);
    static bool ParseResult(const std::string& text, Result* result);

    // The amplitude of one frequency in 16-bit samples (Goertzel).
    static double Amplitude(const std::vector<int16_t>& samples, double rate, double hz);

private:
    static void OnPlayed(void* context, const void* data, unsigned long length);
    static int OnRecord(void* context, unsigned long extra, unsigned long userId, const void* data,
                        unsigned long length);

    KadrelModule& m_kadrel;
    Plan m_plan;
    std::mutex m_lock;
    std::vector<int16_t> m_played;
    std::map<uint32_t, RecordStats> m_records;
    std::vector<double> m_onsets;
    bool m_inBurst = false;
    double m_quietSince = 0;
    double m_rate = 8000;
};
