#pragma once
#include "CRelayPeerThread.h"

// One listener of a conference: passes what it reads to the conference
// (refresh requests and messages for the source).
class CReceiverThread : public CRelayPeerThread
{
public:
    CReceiverThread(VSocket* socket, CConference* conference, uint32_t value, uint32_t maxPayload,
                    uint32_t id);
    ~CReceiverThread() override;

    // Unique within the conference for its whole life.
    uint32_t GetId() const { return m_id; }

    uint32_t Run() override;

private:
    uint32_t m_id;
};
