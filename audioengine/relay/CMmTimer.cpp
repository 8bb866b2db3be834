#include "CMmTimer.h"

#include <mmsystem.h>

#include <algorithm>

bool CMmTimer::Start(HANDLE tickEvent, uint32_t periodMs)
{
    if (m_timer)
        return true;
    TIMECAPS caps = {};
    if (timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR)
        return false;
    UINT resolution = std::min<UINT>(std::max<UINT>(caps.wPeriodMin, 1), caps.wPeriodMax);
    if (timeBeginPeriod(resolution) != TIMERR_NOERROR)
        return false;
    m_resolution = resolution;
    m_timer = timeSetEvent(periodMs, resolution, reinterpret_cast<LPTIMECALLBACK>(tickEvent), 0,
                           TIME_PERIODIC | TIME_CALLBACK_EVENT_SET);
    if (!m_timer) {
        timeEndPeriod(m_resolution);
        m_resolution = 0;
        return false;
    }
    return true;
}

void CMmTimer::Stop()
{
    if (m_timer) {
        timeKillEvent(m_timer);
        m_timer = 0;
    }
    if (m_resolution) {
        timeEndPeriod(m_resolution);
        m_resolution = 0;
    }
}

std::unique_ptr<ITickSource> CMmTimer::Create()
{
    return std::unique_ptr<ITickSource>(new CMmTimer());
}
