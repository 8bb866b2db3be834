#include "CVideoFramePool.h"

#include <new>


void VideoFrameReturn::operator()(CVideoFrame* frame) const
{
    if (pool)
        pool->Give(frame);
    else
        delete frame;
}

CVideoFramePool::CVideoFramePool() = default;

CVideoFramePool::~CVideoFramePool()
{
    for (CVideoFrame* f : m_kept)
        delete f;
}

CVideoFramePool* CVideoFramePool::Create()
{
    CVideoFramePool* pool = new (std::nothrow) CVideoFramePool;
    if (!pool)
        return nullptr;
    try {
        pool->m_kept.reserve(KEEP);
    } catch (const std::bad_alloc&) {
        delete pool;
        return nullptr;
    }
    return pool;
}

void CVideoFramePool::Close()
{
    std::vector<CVideoFrame*> kept;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_closed = true;
        kept.swap(m_kept);
    }
    for (CVideoFrame* f : kept)
        delete f;
    Unref();
}

VideoFramePtr CVideoFramePool::Take(CVideoFramePool* pool)
{
    CVideoFrame* frame = nullptr;
    if (pool) {
        std::lock_guard<std::mutex> lock(pool->m_lock);
        if (!pool->m_kept.empty()) {
            frame = pool->m_kept.back();
            pool->m_kept.pop_back();
        }
    }
    if (frame) {
        static_cast<VideoFrameFields&>(*frame) = VideoFrameFields();
        frame->payloadOffset = 0;
        frame->payloadLength = 0;
    } else {
        frame = new (std::nothrow) CVideoFrame;
        if (!frame)
            return VideoFramePtr(nullptr, VideoFrameReturn{ nullptr });
    }
    return Adopt(pool, frame);
}

VideoFramePtr CVideoFramePool::Adopt(CVideoFramePool* pool, CVideoFrame* frame)
{
    if (!frame)
        return VideoFramePtr(nullptr, VideoFrameReturn{ nullptr });
    if (pool)
        ++pool->m_refs;
    return VideoFramePtr(frame, VideoFrameReturn{ pool });
}

size_t CVideoFramePool::KeptCount()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_kept.size();
}

void CVideoFramePool::Give(CVideoFrame* frame)
{
    bool kept = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        // The room was reserved at creation, so keeping never allocates.
        if (!m_closed && m_kept.size() < KEEP) {
            m_kept.push_back(frame);
            kept = true;
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
