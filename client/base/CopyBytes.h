#pragma once
#include <intrin.h>

#include <cstddef>
#include <cstring>

// Copies count bytes between buffers that do not overlap: whole 32-bit
// words with the processor's string move, then the last one to three
// bytes. For the payloads of wire and file records this beats the runtime
// library's memcpy, a call into another module with set-up of its own,
// from a few bytes up to tens of kilobytes. A size known when compiling
// stays memcpy, which the compiler turns into a few moves.
inline void CopyBytes(void* to, const void* from, size_t count)
{
    if (__builtin_constant_p(count) && count <= 32) {
        memcpy(to, from, count);
        return;
    }
    unsigned char* out = static_cast<unsigned char*>(to);
    const unsigned char* in = static_cast<const unsigned char*>(from);
    const size_t words = count / 4;
    __movsd(reinterpret_cast<unsigned long*>(out), reinterpret_cast<const unsigned long*>(in),
            words);
    out += words * 4;
    in += words * 4;
    switch (count & 3) {
    case 3:
        out[2] = in[2];
        [[fallthrough]];
    case 2:
        out[1] = in[1];
        [[fallthrough]];
    case 1:
        out[0] = in[0];
        break;
    default:
        break;
    }
}
