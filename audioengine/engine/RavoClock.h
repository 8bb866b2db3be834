#pragma once
#include <cstdint>

namespace RavoEngine {

// The two millisecond clocks the engine's timing uses: the multimedia clock
// and the tick count. A seam so that tests can drive time by hand.
class RavoClock
{
public:
    virtual ~RavoClock() = default;
    virtual uint32_t MultimediaMs() const = 0;
    virtual uint32_t TickMs() const = 0;

    // The system's clocks (timeGetTime and GetTickCount).
    static const RavoClock& System();
};

} // namespace RavoEngine
