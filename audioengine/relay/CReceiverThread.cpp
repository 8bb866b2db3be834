#include "CReceiverThread.h"

#include "CConference.h"
#include "RelayProtocol.h"

CReceiverThread::CReceiverThread(VSocket* socket, CConference* conference, uint32_t value,
                                 uint32_t maxPayload, uint32_t id)
    : CRelayPeerThread("Receiver Thread", socket, conference, value, maxPayload), m_id(id)
{}

CReceiverThread::~CReceiverThread() { Stop(); }

uint32_t CReceiverThread::Run()
{
    size_t bytes = 0;
    bool going = true;
    while (going && ReadMessages(bytes)) {
        uint64_t total = 0;
        for (size_t at = 0; going && at < bytes; at += static_cast<size_t>(total)) {
            RelayMessage::TotalAt(Buffer() + at, bytes - at, total);
            going = m_conference->OnListenerMessage(Buffer() + at, static_cast<uint32_t>(total));
        }
    }
    if (!IsStopping())
        m_conference->OnListenerEnded(m_id);
    return 0;
}
