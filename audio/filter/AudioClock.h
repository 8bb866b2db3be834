#pragma once
#include <windows.h>

namespace SonvexFilterCore {

// The two millisecond clocks the audio code reads: the tick count and the
// multimedia time. Tests hand in a clock of their own.
class AudioClock
{
public:
    virtual ~AudioClock() = default;
    virtual DWORD TickCount() const;
    virtual DWORD MediaTime() const;

    static const AudioClock& System();
};

} // namespace SonvexFilterCore
