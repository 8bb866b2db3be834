#include "CRelayPeerThread.h"

#include <new>

#include "RelayLog.h"
#include "RelayProtocol.h"
#include "VSocket.h"

CRelayPeerThread::CRelayPeerThread(const char* name, VSocket* socket, CConference* conference,
                                   uint32_t value, uint32_t maxPayload)
    : CNamedThread(name), m_socket(socket), m_conference(conference), m_value(value),
      m_maxPayload(maxPayload), m_buffer(RELAY_RECEIVE_BUFFER)
{
    m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

CRelayPeerThread::~CRelayPeerThread()
{
    Stop();
    delete m_socket;
    CloseHandle(m_stop);
}

void CRelayPeerThread::RequestStop()
{
    SetEvent(m_stop);
    if (m_socket)
        m_socket->Shutdown();
}

void CRelayPeerThread::Stop()
{
    RequestStop();
    CNamedThread::Stop();
    if (m_socket)
        m_socket->Close();
}

bool CRelayPeerThread::ReadMessage(uint32_t& total)
{
    if (IsStopping())
        return false;
    uint8_t head[RELAY_LENGTH_SIZE];
    if (m_socket->ReceiveExact(head, sizeof head) != static_cast<int>(sizeof head))
        return false;
    uint32_t length = 0;
    WireReader r(head, sizeof head);
    r.U32(length);
    if (length > m_maxPayload) {
        RelayLog().Write(1, "<CRelayPeerThread::ReadMessage>, length %u refused", length);
        return false;
    }
    total = length + RELAY_LENGTH_SIZE;
    if (m_buffer.size() < total) {
        try {
            m_buffer.resize(total);
        } catch (const std::bad_alloc&) {
            RelayLog().Write(1, "<CRelayPeerThread::ReadMessage>, no memory for %u bytes", length);
            return false;
        }
    }
    memcpy(m_buffer.data(), head, sizeof head);
    if (length && m_socket->ReceiveExact(m_buffer.data() + RELAY_LENGTH_SIZE, length) !=
                      static_cast<int>(length))
        return false;
    return !IsStopping();
}
