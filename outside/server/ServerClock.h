#pragma once
#include <chrono>
#include <cstdint>

// The server's clock for bans and keep-alive times, in milliseconds.
inline uint64_t ServerNowMs()
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}
