#include "RavoClock.h"

#include <windows.h>
#include <mmsystem.h>

namespace RavoEngine {

namespace {
class SystemClock : public RavoClock
{
public:
    uint32_t MultimediaMs() const override { return timeGetTime(); }
    uint32_t TickMs() const override { return GetTickCount(); }
};
} // namespace

const RavoClock& RavoClock::System()
{
    static const SystemClock clock;
    return clock;
}

} // namespace RavoEngine
