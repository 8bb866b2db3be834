#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "AudioClock.h"
#include "FrameCodecEngine.h"

using namespace SonvexFilterCore;

// A stand-in frame codec for the G.722.1 rows: a frame carries the block's
// first sample in its first word (the rest is padding), and decodes back to
// a block of that constant value. Enough to follow blocks end to end.
class FakeFrameCodecFactory : public FrameCodecFactory
{
public:
    FrameCodecEngine* Create(int bitRate, bool encode) const override;
};

// A clock the test moves by hand.
class FakeClock : public AudioClock
{
public:
    DWORD TickCount() const override { return now; }
    DWORD MediaTime() const override { return now; }
    DWORD now = 100000;
};

// A 640-byte block of one constant sample value.
std::vector<uint8_t> ConstantBlock(int16_t value);
