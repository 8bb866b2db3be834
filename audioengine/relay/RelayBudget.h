#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

// What the whole server may hold, shared by its connections: the bytes
// queued for sending on all of them and the number of open connections
// (each runs at most two threads).
struct RelayBudget
{
    std::atomic<size_t> queuedBytes{0};
    size_t queuedLimit = 0; // 0: no limit
    std::atomic<uint32_t> connections{0};
};
