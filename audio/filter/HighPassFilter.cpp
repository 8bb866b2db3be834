#include "HighPassFilter.h"

namespace SonvexFilterCore {

void HighPassFilter::Process(int16_t* samples, int count)
{
    const double b0 = 0.98167083443634, b1 = -1.96334051668191, b2 = 0.98167083443634;
    const double a1 = -1.98601783036738, a2 = 0.986133191948;
    for (int i = 0; i < count; ++i) {
        double w0 = samples[i] - a1 * m_w1 - a2 * m_w2;
        double y = b0 * w0 + b1 * m_w1 + b2 * m_w2;
        m_w2 = m_w1;
        m_w1 = w0;
        if (y > 32767.0)
            y = 32767.0;
        else if (y < -32768.0)
            y = -32768.0;
        samples[i] = static_cast<int16_t>(y);   // truncates toward zero
    }
}

} // namespace SonvexFilterCore
