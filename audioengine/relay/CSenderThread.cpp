#include "CSenderThread.h"

#include "CConference.h"

CSenderThread::CSenderThread(VSocket* socket, CConference* conference, uint32_t value,
                             uint32_t maxPayload)
    : CRelayPeerThread("Sender Thread", socket, conference, value, maxPayload)
{
}

CSenderThread::~CSenderThread()
{
    Stop();
}

uint32_t CSenderThread::Run()
{
    uint32_t total = 0;
    while (ReadMessage(total)) {
        if (!m_conference->Relay(Buffer(), total))
            break;
    }
    if (!IsStopping()) {
        m_failed = true;
        m_conference->OnSourceFailed();
    }
    return 0;
}
