#pragma once
#include <atomic>

#include "CVideoFrame.h"

// Keeps the frames whose holders have let go of them, buffers and all, so
// that the reassembler makes its next frames without allocating. Frames
// come back from any thread, also after the reassembler is gone: the pool
// lives until its owner has closed it and the last frame out has come back.
class CVideoFramePool
{
public:
    // Frames kept at most; any more are freed when they come back.
    enum { KEEP = 8 };

    // Null when there is no memory for it.
    static CVideoFramePool* Create();

    CVideoFramePool(const CVideoFramePool&) = delete;
    CVideoFramePool& operator=(const CVideoFramePool&) = delete;

    // The owner lets go: the kept frames are freed, and frames still out are
    // freed when they come back.
    void Close();

    // A frame to fill, its fields cleared and its buffer as it was left
    // (keeping its capacity): a kept one, else a new one. Null when there is
    // no memory for one. A null pool hands out plain frames.
    static VideoFramePtr Take(CVideoFramePool* pool);
    // Hands out a frame made elsewhere with new; it comes back to the pool.
    static VideoFramePtr Adopt(CVideoFramePool* pool, CVideoFrame* frame);

private:
    friend struct VideoFrameReturn;

    CVideoFramePool();
    ~CVideoFramePool();

    void Give(CVideoFrame* frame);
    void Unref();

    // Each place holds a kept frame or null; taking and keeping are one
    // exchange each, so no thread ever waits for another here.
    std::atomic<CVideoFrame*> m_kept[KEEP];
    std::atomic<long> m_refs{1}; // the owner, and one for each frame out
    std::atomic<bool> m_closed{false};
};
