#pragma once
#include <windows.h>

namespace AudioCommon {

// A reference a library holds on itself while it runs devices, so that a
// caller unloading it at that time does not free code that device threads
// still run. Dropping the reference may unload the library: it is dropped
// from a thread of its own, after the call that drops it has left the lock
// it names and returned, never from inside the library's own call.
//
// Meant for a global: constant-initialised, nothing to destroy.
class CSelfReference
{
public:
    constexpr CSelfReference() = default;

    // Takes a reference on the module holding the address, unless one is
    // held already. False when none could be taken.
    bool Hold(const void* addressInModule);
    // Hands the reference to a thread that waits for the lock (when given)
    // to be free, lets the caller return, then drops it. Nothing when none
    // is held.
    void Drop(CRITICAL_SECTION* callerLock);
    bool IsHeld() const { return m_module != nullptr; }

    // How long the dropping thread lets the caller return after the lock.
    enum { RETURN_GRACE_MS = 50 };

private:
    HMODULE m_module = nullptr;
};

} // namespace AudioCommon
