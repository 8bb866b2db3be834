#include "AutomaticGainControl.h"

namespace SonvexFilterCore {

AutomaticGainControl::AutomaticGainControl(int rate, int frame, double target, double minGain,
                                           double maxGain)
    : m_n(frame), m_likelihood(frame, rate / 50)
{
    m_core.Reset(rate, target, minGain, maxGain);
}

bool AutomaticGainControl::ValidSettings(double target, double minGain, double maxGain)
{
    return AudioCommon::CGainControl::ValidSettings(target, minGain, maxGain);
}

void AutomaticGainControl::Process(int16_t* x)
{
    m_core.Process(x, m_n, m_likelihood.Measure(x));
    ++m_frames;
}

} // namespace SonvexFilterCore
