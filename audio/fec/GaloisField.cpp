#include "GaloisField.h"

GaloisField::Tables::Tables()
{
    int x = 1;
    for (int i = 0; i < ORDER; ++i) {
        exp[i] = static_cast<uint8_t>(x);
        log[x] = static_cast<int16_t>(i);
        x <<= 1;
        if (x & 0x100)
            x ^= POLY;
    }
    for (int i = ORDER; i < 2 * SIZE; ++i)
        exp[i] = exp[i - ORDER];
    log[0] = -1;
}

const GaloisField::Tables& GaloisField::Get()
{
    // A function-local static is constructed exactly once, even when two
    // threads arrive here together.
    static const Tables tables;
    return tables;
}

uint8_t GaloisField::Exp(int power)
{
    power %= ORDER;
    if (power < 0)
        power += ORDER;
    return Get().exp[power];
}

int GaloisField::Log(uint8_t value) { return Get().log[value]; }

uint8_t GaloisField::Mul(uint8_t a, uint8_t b)
{
    if (!a || !b)
        return 0;
    const Tables& t = Get();
    return t.exp[t.log[a] + t.log[b]];
}

uint8_t GaloisField::Div(uint8_t a, uint8_t b)
{
    if (!a || !b)
        return 0;
    const Tables& t = Get();
    return t.exp[t.log[a] - t.log[b] + ORDER];
}

uint8_t GaloisField::Inv(uint8_t a) { return Div(1, a); }
