#pragma once
#include <windows.h>

#include <vector>

#include "CAudioBlock.h"

using namespace SonvexDevice;

// Collects what the library hands its caller: captured blocks and requests
// for blocks to play, from whatever thread they come.
class CallerProbe
{
public:
    CallerProbe();
    ~CallerProbe();

    static void __cdecl Capture(void* context, CAudioBlock* header, short* pcm, int length);
    // Fills each block with the next 320 samples of toPlay (silence after it).
    static int __cdecl Play(void* context, void* manager, short* pcm, int length);

    int Captured();
    int PlayRequests();
    std::vector<int16_t> CapturedSamples();
    std::vector<uint32_t> CapturedSequences();
    std::vector<int> CapturedLengths();
    // Waits at most timeoutMs for the counts to reach at least these values.
    bool WaitFor(int captured, int playRequests, DWORD timeoutMs = 3000);

    std::vector<int16_t> toPlay;

private:
    CRITICAL_SECTION m_lock;
    std::vector<int16_t> m_samples;
    std::vector<uint32_t> m_sequences;
    std::vector<int> m_lengths;
    int m_playRequests = 0;
    size_t m_playAt = 0;
};
