#pragma once
#include <winsock2.h> // before windows.h

#include <cstdint>
#include <memory>
#include <vector>

#include "CNamedThread.h"
#include "ITickSource.h"

// One clock for all the conferences of a server: a thread that sets every
// registered event once per period, and sleeps while none is registered.
// No system timer is used, so the number of conferences is not bounded by
// the timers a process may hold.
class CTickThread : public CNamedThread
{
public:
    explicit CTickThread(uint32_t periodMs);
    ~CTickThread() override;

    bool Register(HANDLE tickEvent);
    // No tick is set on the event once this returns.
    void Unregister(HANDLE tickEvent);

    uint32_t Run() override;

    // A factory of tick sources on one shared clock.
    static TickSourceFactory Factory(uint32_t periodMs);

private:
    uint32_t m_periodMs;
    std::vector<HANDLE> m_events;
    CRITICAL_SECTION m_lock;
    HANDLE m_stop;
    HANDLE m_changed;
};
