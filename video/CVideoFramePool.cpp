#include "CVideoFramePool.h"

#include <new>

void VideoFrameReturn::operator()(CVideoFrame* frame) const
{
    if (pool)
        pool->Give(frame);
    else
        delete frame;
}

CVideoFramePool::CVideoFramePool()
{
    for (std::atomic<CVideoFrame*>& place : m_kept)
        place.store(nullptr);
}

CVideoFramePool::~CVideoFramePool()
{
    for (std::atomic<CVideoFrame*>& place : m_kept)
        delete place.exchange(nullptr);
}

CVideoFramePool* CVideoFramePool::Create() { return new (std::nothrow) CVideoFramePool; }

void CVideoFramePool::Close()
{
    m_closed = true;
    // A frame kept after this is freed with the pool.
    for (std::atomic<CVideoFrame*>& place : m_kept)
        delete place.exchange(nullptr);
    Unref();
}

VideoFramePtr CVideoFramePool::Take(CVideoFramePool* pool)
{
    CVideoFrame* frame = nullptr;
    if (pool) {
        for (std::atomic<CVideoFrame*>& place : pool->m_kept) {
            if (place.load(std::memory_order_relaxed) && (frame = place.exchange(nullptr)))
                break;
        }
    }
    if (frame) {
        static_cast<VideoFrameFields&>(*frame) = VideoFrameFields();
        frame->payloadOffset = 0;
        frame->payloadLength = 0;
    } else {
        frame = new (std::nothrow) CVideoFrame;
        if (!frame)
            return VideoFramePtr(nullptr, VideoFrameReturn{nullptr});
    }
    return Adopt(pool, frame);
}

VideoFramePtr CVideoFramePool::Adopt(CVideoFramePool* pool, CVideoFrame* frame)
{
    if (!frame)
        return VideoFramePtr(nullptr, VideoFrameReturn{nullptr});
    if (pool)
        ++pool->m_refs;
    return VideoFramePtr(frame, VideoFrameReturn{pool});
}

void CVideoFramePool::Give(CVideoFrame* frame)
{
    bool kept = false;
    if (!m_closed.load()) {
        for (std::atomic<CVideoFrame*>& place : m_kept) {
            CVideoFrame* empty = nullptr;
            if (!place.load(std::memory_order_relaxed) &&
                place.compare_exchange_strong(empty, frame)) {
                kept = true;
                break;
            }
        }
    }
    if (!kept)
        delete frame;
    Unref();
}

void CVideoFramePool::Unref()
{
    if (--m_refs == 0)
        delete this;
}
