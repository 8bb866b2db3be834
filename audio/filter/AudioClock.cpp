#include "AudioClock.h"

#include <mmsystem.h>

namespace SonvexFilterCore {

DWORD AudioClock::TickCount() const { return GetTickCount(); }

DWORD AudioClock::MediaTime() const { return timeGetTime(); }

const AudioClock& AudioClock::System()
{
    static const AudioClock clock;
    return clock;
}

} // namespace SonvexFilterCore
