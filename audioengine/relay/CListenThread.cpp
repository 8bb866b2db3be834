// Up to a few hundred sockets are watched in one select.
#define FD_SETSIZE 512
#include "CListenThread.h"

#include "CRelayServer.h"
#include "RelayLog.h"
#include "VSocket.h"

CListenThread::CListenThread(CRelayServer* server, const RELAY_LIMITS& limits)
    : CNamedThread("Listen Thread"), m_server(server), m_limits(limits), m_socket(new VSocket())
{
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_limits.maxPendingJoins > FD_SETSIZE - 1)
        m_limits.maxPendingJoins = FD_SETSIZE - 1;
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
    // The loop waits for the stop event or in short steps, so the join is
    // bounded.
    CNamedThread::Stop();
    DropAll();
    m_socket->Close();
}

void CListenThread::DropAll()
{
    for (Pending& p : m_pending)
        delete p.socket;
    m_pending.clear();
    m_pendingCount = 0;
}

bool CListenThread::AcceptOne()
{
    bool failed = false;
    VSocket* accepted = m_socket->Accept(0, &failed);
    if (!accepted) {
        // Out of sockets or threads: pause rather than spin on the
        // connection that stays pending.
        if (failed)
            WaitForSingleObject(m_stopEvent, FAILED_ACCEPT_PAUSE_MS);
        return false;
    }
    if (m_stopping) {
        delete accepted;
        return false;
    }
    if (!m_server->AdmitConnection(accepted) || m_pending.size() >= m_limits.maxPendingJoins) {
        RelayLog().Write(1, "<CListenThread::AcceptOne>, connection refused: server full");
        delete accepted;
        return true;
    }
    try {
        m_pending.push_back(Pending{accepted, {}, 0, GetTickCount()});
    } catch (const std::bad_alloc&) {
        delete accepted;
        return true;
    }
    m_pendingCount = m_pending.size();
    return true;
}

bool CListenThread::ReadHead(Pending& p)
{
    int n = p.socket->ReceiveAvailable(p.head + p.got, sizeof p.head - p.got);
    if (n < 0) {
        RelayLog().Write(1, "<CListenThread::ReadHead>, closed before its join head");
        delete p.socket;
        return true;
    }
    p.got += static_cast<size_t>(n);
    if (p.got < sizeof p.head) {
        if (GetTickCount() - p.since < m_limits.joinTimeoutMs)
            return false;
        RelayLog().Write(1, "<CListenThread::ReadHead>, no join head");
        delete p.socket;
        return true;
    }
    m_server->Join(p.socket, p.head);
    return true;
}

uint32_t CListenThread::Run()
{
    while (WaitForSingleObject(m_stopEvent, 0) == WAIT_TIMEOUT) {
        if (m_pending.empty()) {
            // No join head to await and none to time out: sleep until a
            // connection comes or the server stops.
            HANDLE waits[2] = {m_stopEvent, m_socket->GetArrivalEvent()};
            const DWORD r = WaitForMultipleObjects(2, waits, FALSE, IDLE_WAIT_MS);
            if (r == WAIT_OBJECT_0)
                break;
            if (r == WAIT_FAILED)
                WaitForSingleObject(m_stopEvent, ACCEPT_WAIT_MS);
        }
        ++m_wakes;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket->GetHandle(), &readable);
        for (const Pending& p : m_pending)
            FD_SET(p.socket->GetHandle(), &readable);
        timeval tv = {0, ACCEPT_WAIT_MS * 1000};
        if (select(0, &readable, nullptr, nullptr, &tv) == SOCKET_ERROR) {
            WaitForSingleObject(m_stopEvent, ACCEPT_WAIT_MS);
            continue;
        }
        if (m_stopping)
            break;
        if (FD_ISSET(m_socket->GetHandle(), &readable)) {
            // Every connection that waits is taken now: the arrival event
            // tells only of the first.
            for (uint32_t i = 0; i <= m_limits.maxPendingJoins && AcceptOne(); ++i) {}
        }
        // Heads that arrived are read; those past their time are closed.
        size_t kept = 0;
        for (size_t i = 0; i < m_pending.size(); ++i) {
            if (!ReadHead(m_pending[i]))
                m_pending[kept++] = m_pending[i];
        }
        m_pending.resize(kept);
        m_pendingCount = kept;
    }
    return 0;
}
