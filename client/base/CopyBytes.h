#pragma once
#include <intrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

// Copies count bytes between buffers that do not overlap: runs of 64
// bytes or more four words a turn through registers, the rest in whole
// 32-bit words with the processor's string move, then the last one to three
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
    if (count >= 64) {
        // Where the processor is emulated (the tests and benchmarks run
        // so) the string move is carried out one word at a time and takes
        // about twice as long as these plain moves; on hardware either
        // copies tens of kilobytes in a microsecond or two.
        for (size_t turns = count / 16; turns; --turns) {
            uint32_t a, b, c, d;
            memcpy(&a, in, 4);
            memcpy(&b, in + 4, 4);
            memcpy(&c, in + 8, 4);
            memcpy(&d, in + 12, 4);
            memcpy(out, &a, 4);
            memcpy(out + 4, &b, 4);
            memcpy(out + 8, &c, 4);
            memcpy(out + 12, &d, 4);
            in += 16;
            out += 16;
        }
        count &= 15;
    }
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
