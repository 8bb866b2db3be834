#include "CSenderThread.h"

#include "CConference.h"

CSenderThread::CSenderThread(VSocket* socket, CConference* conference, uint32_t value,
                             uint32_t maxPayload)
    : CRelayPeerThread("Sender Thread", socket, conference, value, maxPayload)
{}

CSenderThread::~CSenderThread() { Stop(); }

uint32_t CSenderThread::Run()
{
    size_t bytes = 0;
    while (ReadMessages(bytes)) {
        if (!m_conference->Relay(Buffer(), bytes))
            break;
    }
    if (!IsStopping()) {
        m_failed = true;
        m_conference->OnSourceFailed();
    }
    return 0;
}
