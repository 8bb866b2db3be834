#include "CReceiverThread.h"

#include "CConference.h"

CReceiverThread::CReceiverThread(VSocket* socket, CConference* conference, uint32_t value,
                                 uint32_t maxPayload, uint32_t id)
    : CRelayPeerThread("Receiver Thread", socket, conference, value, maxPayload), m_id(id)
{
}

CReceiverThread::~CReceiverThread()
{
    Stop();
}

uint32_t CReceiverThread::Run()
{
    uint32_t total = 0;
    while (ReadMessage(total)) {
        if (!m_conference->OnListenerMessage(Buffer(), total))
            break;
    }
    if (!IsStopping())
        m_conference->OnListenerEnded(m_id);
    return 0;
}
