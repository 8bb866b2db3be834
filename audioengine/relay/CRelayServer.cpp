#include "CRelayServer.h"

#include <algorithm>
#include <new>

#include "CConference.h"
#include "CListenThread.h"
#include "CScopedLock.h"
#include "RelayLog.h"
#include "VSocket.h"

CRelayServer::CRelayServer(const RELAY_LIMITS& limits, TickSourceFactory ticks)
    : m_limits(limits), m_ticks(std::move(ticks))
{
    m_budget.queuedLimit = m_limits.maxTotalQueuedBytes;
    InitializeCriticalSection(&m_lock);
}

CRelayServer::~CRelayServer()
{
    Close();
    DeleteCriticalSection(&m_lock);
}

bool CRelayServer::Start(uint16_t port)
{
    if (m_listen)
        return false;
    {
        CScopedLock lock(&m_lock);
        m_closing = false;
    }
    m_listen = new (std::nothrow) CListenThread(this, m_limits);
    if (!m_listen)
        return false;
    if (!m_listen->Open(port) || !m_listen->Start()) {
        delete m_listen;
        m_listen = nullptr;
        return false;
    }
    return true;
}

void CRelayServer::Close()
{
    {
        CScopedLock lock(&m_lock);
        m_closing = true;
    }
    if (m_listen) {
        m_listen->Stop();
        delete m_listen;
        m_listen = nullptr;
    }
    std::vector<CConference*> conferences;
    {
        CScopedLock lock(&m_lock);
        conferences.swap(m_conferences);
    }
    for (CConference* conference : conferences)
        delete conference; // ends it
}

uint16_t CRelayServer::GetPort() const { return m_listen ? m_listen->GetPort() : 0; }

size_t CRelayServer::GetConferenceCount()
{
    CScopedLock lock(&m_lock);
    return m_conferences.size();
}

uint32_t CRelayServer::GetConferenceWakes()
{
    CScopedLock lock(&m_lock);
    uint32_t wakes = 0;
    for (CConference* conference : m_conferences)
        wakes += conference->GetWakeCount();
    return wakes;
}

uint32_t CRelayServer::GetListenWakes() const { return m_listen ? m_listen->GetWakeCount() : 0; }

void CRelayServer::EndEmptyConferences()
{
    std::vector<CConference*> ended;
    {
        CScopedLock lock(&m_lock);
        auto empty = std::stable_partition(m_conferences.begin(), m_conferences.end(),
                                           [](CConference* c) { return !c->IsEmpty(); });
        ended.assign(empty, m_conferences.end());
        m_conferences.erase(empty, m_conferences.end());
    }
    for (CConference* conference : ended)
        delete conference;
}

CConference* CRelayServer::FindOrCreate(uint32_t id, uint32_t key, bool& wrongKey)
{
    wrongKey = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        {
            CScopedLock lock(&m_lock);
            for (CConference* conference : m_conferences) {
                if (conference->GetId() == id) {
                    wrongKey = conference->GetKey() != key;
                    return wrongKey ? nullptr : conference;
                }
            }
            if (m_conferences.size() < m_limits.maxConferences) {
                CConference* conference = nullptr;
                try {
                    conference = new CConference(id, key, m_limits, m_ticks());
                    m_conferences.reserve(m_conferences.size() + 1);
                } catch (const std::bad_alloc&) {
                    delete conference;
                    return nullptr;
                }
                if (!conference->Begin()) {
                    delete conference;
                    return nullptr;
                }
                m_conferences.push_back(conference);
                return conference;
            }
        }
        // Full: conferences that nobody uses any more make room.
        if (attempt == 0)
            EndEmptyConferences();
    }
    RelayLog().Write(1, "<CRelayServer::FindOrCreate>, %u conferences, %u refused",
                     static_cast<unsigned>(m_limits.maxConferences), id);
    return nullptr;
}

bool CRelayServer::AdmitConnection(VSocket* socket)
{
    if (m_budget.connections.load() >= m_limits.maxConnections)
        return false;
    socket->SetBudget(&m_budget);
    socket->SetSendBuffer(m_limits.sendBufferBytes);
    return true;
}

void CRelayServer::Join(VSocket* socket, const uint8_t* bytes)
{
    {
        CScopedLock lock(&m_lock);
        if (m_closing) {
            delete socket;
            return;
        }
    }
    socket->SetTimeouts(0, m_limits.joinTimeoutMs);
    RELAY_JOIN_HEAD head;
    WireReader r(bytes, sizeof(RELAY_JOIN_HEAD));
    r.U32(head.role);
    r.U32(head.conference);
    r.U32(head.value);
    r.U32(head.key);
    uint8_t role = static_cast<uint8_t>(head.role & 0xFF);
    if (role != RELAY_ROLE_SOURCE && role != RELAY_ROLE_LISTENER) {
        RelayLog().Write(1, "<CRelayServer::Join>, bad role %u", role);
        delete socket;
        return;
    }
    bool wrongKey = false;
    CConference* conference = FindOrCreate(head.conference, head.key, wrongKey);
    if (!conference) {
        const uint8_t refused = RELAY_ANSWER_REFUSED;
        socket->SendNow(&refused, 1);
        delete socket;
        return;
    }
    if (role == RELAY_ROLE_LISTENER)
        conference->AddListener(socket, head.value);
    else
        conference->SetSource(socket, head.value);
}
