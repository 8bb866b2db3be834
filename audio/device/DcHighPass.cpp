#include "DcHighPass.h"

#include <cmath>

namespace SonvexDevice {

void DcHighPass::Run(int16_t* samples, int count)
{
    for (int i = 0; i < count; ++i) {
        double y = std::floor(Step(samples[i]) + 0.5);
        if (y > 32767.0)
            y = 32767.0;
        else if (y < -32768.0)
            y = -32768.0;
        samples[i] = static_cast<int16_t>(y);
    }
}

void DcHighPass::Run(float* samples, int count)
{
    for (int i = 0; i < count; ++i)
        samples[i] = static_cast<float>(Step(samples[i]));
}

} // namespace SonvexDevice
