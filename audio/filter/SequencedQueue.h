#pragma once
#include "CSequencedPool.h"

namespace SonvexFilterCore {

// A source's jitter buffer: the audio libraries' shared packet pool, its
// filled list kept in sequence-number order.
using SequencedQueue = AudioCommon::CSequencedPool;
using SequencedBuffer = AudioCommon::CSequencedBuffer;

} // namespace SonvexFilterCore
