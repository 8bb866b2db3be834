#include "CListenThread.h"

#include "CRelayServer.h"
#include "RelayLog.h"
#include "VSocket.h"

CListenThread::CListenThread(CRelayServer* server)
    : CNamedThread("Listen Thread"), m_server(server), m_socket(new VSocket())
{
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

CListenThread::~CListenThread()
{
    Stop();
    delete m_socket;
    CloseHandle(m_stopEvent);
}

bool CListenThread::Open(uint16_t port)
{
    if (!m_socket->Create() || !m_socket->Bind(port) || !m_socket->Listen()) {
        RelayLog().Write(1, "<CListenThread::Open>, cannot listen on port %u", port);
        return false;
    }
    m_port = m_socket->GetLocalPort();
    return true;
}

void CListenThread::Stop()
{
    m_stopping = true;
    SetEvent(m_stopEvent);
    // The accept loop waits in short steps, so the join is bounded.
    CNamedThread::Stop();
    m_socket->Close();
}

uint32_t CListenThread::Run()
{
    while (WaitForSingleObject(m_stopEvent, 0) == WAIT_TIMEOUT) {
        bool failed = false;
        VSocket* accepted = m_socket->Accept(ACCEPT_WAIT_MS, &failed);
        if (!accepted) {
            // Out of sockets or threads: pause rather than spin on the
            // connection that stays pending.
            if (failed)
                WaitForSingleObject(m_stopEvent, FAILED_ACCEPT_PAUSE_MS);
            continue;
        }
        if (m_stopping) {
            delete accepted;
            break;
        }
        m_server->Join(accepted);
    }
    return 0;
}
