#pragma once
#include "CSequencedPool.h"

namespace RavoEngine {

// A source's frame queue: the audio libraries' shared packet pool, its
// filled list kept in sequence order for received frames.
using CFramePool = AudioCommon::CSequencedPool;
using CFrameBuffer = AudioCommon::CSequencedBuffer;

} // namespace RavoEngine
