#include "CVideoFrameQueue.h"

#include <cstring>

#include "WireWriter.h"

CVideoFrameQueue::CVideoFrameQueue(uint32_t count) : m_pool(count, 0) {}

CQueueBuffer* CVideoFrameQueue::GetFilled(uint32_t timeoutMs)
{
    CQueueBuffer* b = m_pool.GetFilled(timeoutMs);
    if (b)
        --m_filled;
    return b;
}

void CVideoFrameQueue::PutFilled(CQueueBuffer* buffer)
{
    if (!buffer)
        return;
    ++m_filled;
    m_pool.PutFilled(buffer);
}

bool CVideoFrameQueue::Push(uint32_t streamId, const uint8_t* frame, uint32_t length)
{
    CQueueBuffer* b = m_pool.GetFree(0);
    if (!b)
        return false;
    if (!b->EnsureCapacity(length + 4)) {
        m_pool.PutFree(b);
        return false;
    }
    WireWriter w(b->GetData(), b->GetCapacity());
    w.U32(streamId);
    w.Bytes(frame, length);
    b->SetLength(static_cast<uint32_t>(w.Offset()));
    PutFilled(b);
    return true;
}

uint32_t CVideoFrameQueue::Discard(uint32_t n)
{
    uint32_t done = 0;
    while (done < n) {
        CQueueBuffer* b = GetFilled(0);
        if (!b)
            break;
        b->SetLength(0);
        m_pool.PutFree(b);
        ++done;
    }
    return done;
}
