#pragma once
#include <cstdint>

// Arithmetic in GF(2^8) with the primitive polynomial x^8 + x^4 + x^3 + x^2 + 1
// and primitive element 2. The exponent and logarithm tables are shared by
// every user and built once; the first use is safe from any thread.
class GaloisField
{
public:
    enum { SIZE = 256, ORDER = 255, POLY = 0x11D };

    static uint8_t Exp(int power);
    // Log of a non-zero element; Log(0) returns -1.
    static int Log(uint8_t value);
    static uint8_t Mul(uint8_t a, uint8_t b);
    // a / b; b must not be 0.
    static uint8_t Div(uint8_t a, uint8_t b);
    static uint8_t Inv(uint8_t a);

private:
    struct Tables
    {
        Tables();
        uint8_t exp[2 * SIZE];
        int16_t log[SIZE];
    };
    static const Tables& Get();
};
