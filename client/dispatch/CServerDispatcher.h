#pragma once
#include <cstddef>
#include <cstdint>

#include "DispatchTargets.h"

// Turns each message the conference server sent into its effect on the
// participant table, the shared meeting values and the panes. Runs on the UI
// thread, one message at a time in arrival order; keeps no state of its own
// beyond the targets it was given. A message of a code it does not take, or
// whose length does not fit its command's layout, is dropped with a log line
// and nothing read outside it.
class CServerDispatcher
{
public:
    explicit CServerDispatcher(const DISPATCH_TARGETS& targets);

    // Replaces the targets (as parts of the main window come and go).
    void SetTargets(const DISPATCH_TARGETS& targets) { m_t = targets; }
    const DISPATCH_TARGETS& Targets() const { return m_t; }

    // One received message (the frame's payload, command code first). True
    // when it was taken, false when it was dropped.
    bool Dispatch(const void* data, size_t length);

private:
    DISPATCH_TARGETS m_t;
};
