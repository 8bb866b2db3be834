#pragma once
#include <winsock2.h> // before windows.h

#include <cstdint>
#include <functional>
#include <memory>

// A periodic clock that sets an event on every tick. The conference paces
// its refresh requests by it; tests drive it by hand.
class ITickSource
{
public:
    virtual ~ITickSource() = default;
    // Begins setting the auto-reset event every period.
    virtual bool Start(HANDLE tickEvent, uint32_t periodMs) = 0;
    // No tick is set once this returns.
    virtual void Stop() = 0;
};

using TickSourceFactory = std::function<std::unique_ptr<ITickSource>()>;
