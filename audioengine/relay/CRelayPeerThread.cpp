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
    m_stopping = true;
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

int64_t CRelayPeerThread::FirstMessageMissing() const
{
    uint64_t total = 0;
    if (!RelayMessage::TotalAt(m_buffer.data(), m_have, total))
        return static_cast<int64_t>(RELAY_LENGTH_SIZE - m_have);
    if (total - RELAY_LENGTH_SIZE > m_maxPayload)
        return -1;
    return total > m_have ? static_cast<int64_t>(total - m_have) : 0;
}

size_t CRelayPeerThread::WholeMessageBytes() const
{
    size_t whole = 0;
    uint64_t total = 0;
    while (RelayMessage::TotalAt(m_buffer.data() + whole, m_have - whole, total) &&
           total - RELAY_LENGTH_SIZE <= m_maxPayload && total <= m_have - whole)
        whole += static_cast<size_t>(total);
    return whole;
}

bool CRelayPeerThread::ReadMessages(size_t& bytes)
{
    // What the last read gave is done with; a partial message moves up.
    if (m_given) {
        memmove(m_buffer.data(), m_buffer.data() + m_given, m_have - m_given);
        m_have -= m_given;
        m_given = 0;
    }
    for (;;) {
        if (IsStopping())
            return false;
        const int64_t missing = FirstMessageMissing();
        if (missing < 0) {
            RelayLog().Write(
                1, "<CRelayPeerThread::ReadMessages>, length %u refused",
                RelayMessage::U32At(m_buffer.data(), static_cast<uint32_t>(m_have), 0));
            return false;
        }
        if (missing == 0)
            break;
        if (m_ended)
            return false;
        const size_t need = m_have + static_cast<size_t>(missing);
        if (m_buffer.size() < need) {
            try {
                m_buffer.resize(need);
            } catch (const std::bad_alloc&) {
                RelayLog().Write(1, "<CRelayPeerThread::ReadMessages>, no memory for %u bytes",
                                 static_cast<unsigned>(need));
                return false;
            }
        }
        // Whatever has arrived, as far as the buffer holds it: several
        // messages read at once are handled at once.
        const int n = m_socket->ReceiveSome(m_buffer.data() + m_have, m_buffer.size() - m_have);
        if (n <= 0)
            m_ended = true;
        else
            m_have += static_cast<size_t>(n);
    }
    bytes = WholeMessageBytes();
    m_given = bytes;
    return !IsStopping();
}
