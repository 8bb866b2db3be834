#pragma once
#include <atomic>

#include "CRelayPeerThread.h"

// The source of a conference: hands every message it reads to the
// conference's relay. A read failure or a refused message ends it.
class CSenderThread : public CRelayPeerThread
{
public:
    CSenderThread(VSocket* socket, CConference* conference, uint32_t value, uint32_t maxPayload);
    ~CSenderThread() override;

    // True once the thread has given up on its connection by itself.
    bool HasFailed() const { return m_failed.load(); }

    uint32_t Run() override;

private:
    std::atomic<bool> m_failed{false};
};
