#include "SampleEnergy.h"

#include <cstdlib>
#include <cstring>

namespace RavoEngine {

uint64_t SampleEnergy::Sum(const uint8_t* data, uint32_t bytes, int bits)
{
    if (!data)
        return 0;
    uint64_t sum = 0;
    if (bits == 8) {
        for (uint32_t i = 0; i < bytes; ++i)
            sum += data[i] & 0x7F;
        return sum;
    }
    for (uint32_t i = 0; i + 1 < bytes; i += 2) {
        int16_t v;
        memcpy(&v, data + i, 2);
        sum += static_cast<uint64_t>(std::abs(static_cast<int>(v)));
    }
    return sum;
}

} // namespace RavoEngine
