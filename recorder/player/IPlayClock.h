#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

// The clock the player paces against: milliseconds, and a wait on events
// bounded by a number of them. Returns the index of the signalled event, or
// WAIT_TIMEOUT when the time passed.
class IPlayClock
{
public:
    virtual ~IPlayClock() = default;
    virtual uint32_t Now() = 0;
    virtual DWORD Wait(DWORD count, const HANDLE* events, uint32_t ms) = 0;
};

// The system's millisecond clock.
class CSystemPlayClock : public IPlayClock
{
public:
    uint32_t Now() override { return timeGetTime(); }
    DWORD Wait(DWORD count, const HANDLE* events, uint32_t ms) override
    {
        DWORD r = WaitForMultipleObjects(count, events, FALSE, ms);
        return r == WAIT_TIMEOUT ? WAIT_TIMEOUT : r - WAIT_OBJECT_0;
    }
};
