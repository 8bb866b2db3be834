#include "HighPassFilter.h"

namespace SonvexFilterCore {

HighPassFilter::HighPassFilter()
    : m_filter(0.98167083443634, -1.96334051668191, 0.98167083443634, -1.98601783036738,
               0.986133191948)
{}

void HighPassFilter::Process(int16_t* samples, int count) { m_filter.Process(samples, count); }

} // namespace SonvexFilterCore
