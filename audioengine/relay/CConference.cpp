#include "CConference.h"

#include <algorithm>
#include <new>

#include "CReceiverThread.h"
#include "CScopedLock.h"
#include "CSenderThread.h"
#include "RelayLog.h"
#include "VSocket.h"

using namespace RelayMessage;

CConference::CConference(uint32_t id, uint32_t key, const RELAY_LIMITS& limits,
                         std::unique_ptr<ITickSource> ticks)
    : CNamedThread("Conference Thread", id), m_id(id), m_key(key), m_limits(limits),
      m_ticks(std::move(ticks))
{
    InitializeCriticalSection(&m_memberLock);
    InitializeCriticalSection(&m_sourceLock);
    InitializeCriticalSection(&m_listenerLock);
    InitializeCriticalSection(&m_burstLock);
    InitializeCriticalSection(&m_pendingLock);
    InitializeCriticalSection(&m_requestLock);
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_closeSourceEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_removeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_refreshEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_tickEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_wakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

CConference::~CConference()
{
    End();
    CloseHandle(m_stopEvent);
    CloseHandle(m_closeSourceEvent);
    CloseHandle(m_removeEvent);
    CloseHandle(m_refreshEvent);
    CloseHandle(m_tickEvent);
    CloseHandle(m_wakeEvent);
    DeleteCriticalSection(&m_memberLock);
    DeleteCriticalSection(&m_sourceLock);
    DeleteCriticalSection(&m_listenerLock);
    DeleteCriticalSection(&m_burstLock);
    DeleteCriticalSection(&m_pendingLock);
    DeleteCriticalSection(&m_requestLock);
}

bool CConference::Begin()
{
    if (m_begun)
        return true;
    if (!m_ticks || !m_ticks->Start(m_tickEvent, TICK_PERIOD_MS)) {
        RelayLog().Write(1, "<CConference::Begin>, no timer for conference %u", m_id);
        return false;
    }
    if (!Start()) {
        m_ticks->Stop();
        RelayLog().Write(1, "<CConference::Begin>, no thread for conference %u", m_id);
        return false;
    }
    m_begun = true;
    return true;
}

void CConference::End()
{
    if (m_ticks)
        m_ticks->Stop();
    SetEvent(m_stopEvent);
    CNamedThread::Stop();
    CScopedLock members(&m_memberLock);
    CloseSourceLocked();
    m_begun = false;
}

bool CConference::IsEmpty()
{
    CScopedLock lock(&m_sourceLock);
    return !m_source && m_listenerCount.load() == 0;
}

bool CConference::AddListener(VSocket* socket, uint32_t value)
{
    CScopedLock members(&m_memberLock);
    const uint8_t accepted = RELAY_ANSWER_ACCEPTED;
    if (!socket->SendNow(&accepted, 1)) {
        delete socket;
        return false;
    }
    socket->SetQueueLimit(m_limits.maxQueuedBytes);
    CReceiverThread* listener;
    {
        CScopedLock lock(&m_listenerLock);
        listener = new (std::nothrow)
            CReceiverThread(socket, this, value, m_limits.maxPayload, m_nextListenerId++);
        if (!listener) {
            delete socket;
            return false;
        }
        try {
            m_listeners.reserve(m_listeners.size() + 1);
            m_burst.reserve(m_listeners.size() + 1);
        } catch (const std::bad_alloc&) {
            delete listener; // takes the socket with it
            return false;
        }
        if (m_headerStored) {
            // A late joiner gets the stream header before anything else.
            uint8_t message[RELAY_LENGTH_SIZE + RELAY_HEADER_SIZE];
            WireWriter w(message, sizeof message);
            w.U32(RELAY_HEADER_SIZE);
            w.Bytes(m_header, sizeof m_header);
            socket->QueueSend(message, sizeof message);
        }
        m_listeners.push_back(listener);
        m_listenerCount = m_listeners.size();
    }
    if (!listener->Start()) {
        {
            CScopedLock lock(&m_listenerLock);
            m_listeners.erase(std::find(m_listeners.begin(), m_listeners.end(), listener));
            m_listenerCount = m_listeners.size();
        }
        delete listener;
        return false;
    }
    return true;
}

void CConference::CloseSource()
{
    CScopedLock members(&m_memberLock);
    CloseSourceIfAnyLocked();
}

void CConference::CloseSourceIfAnyLocked()
{
    bool hasSource;
    {
        CScopedLock lock(&m_sourceLock);
        hasSource = m_source != nullptr;
    }
    // Without a source the waiting listeners stay.
    if (hasSource)
        CloseSourceLocked();
}

bool CConference::SetSource(VSocket* socket, uint32_t value)
{
    CScopedLock members(&m_memberLock);
    // A second source replaces the first, whose listeners all go with it.
    CloseSourceIfAnyLocked();
    const uint8_t accepted = RELAY_ANSWER_ACCEPTED;
    if (!socket->SendNow(&accepted, 1)) {
        delete socket;
        return false;
    }
    socket->SetQueueLimit(m_limits.maxQueuedBytes);
    {
        CScopedLock lock(&m_listenerLock);
        m_headerStored = false;
        m_newbufSeen = false;
        m_burstActive = false;
    }
    CSenderThread* source =
        new (std::nothrow) CSenderThread(socket, this, value, m_limits.maxPayload);
    if (!source) {
        delete socket;
        return false;
    }
    {
        CScopedLock lock(&m_sourceLock);
        m_source = source;
    }
    // Refresh requests that waited for a source go out now.
    SetEvent(m_wakeEvent);
    if (!source->Start()) {
        CloseSourceLocked();
        return false;
    }
    return true;
}

void CConference::CloseSourceLocked()
{
    CSenderThread* source;
    {
        CScopedLock lock(&m_sourceLock);
        source = m_source;
        m_source = nullptr;
    }
    std::vector<CReceiverThread*> listeners;
    {
        CScopedLock lock(&m_listenerLock);
        m_headerStored = false;
        m_newbufSeen = false;
        // A burst of the old stream must not hold back the next one.
        m_burstActive = false;
        listeners.swap(m_listeners);
        m_listenerCount = 0;
        CScopedLock burst(&m_burstLock);
        m_burst.clear();
    }
    {
        CScopedLock lock(&m_pendingLock);
        m_pending.clear();
    }
    StopAll(listeners);
    if (source) {
        source->Stop();
        delete source;
    }
}

void CConference::CloseFailedSource()
{
    CScopedLock members(&m_memberLock);
    bool failed;
    {
        CScopedLock lock(&m_sourceLock);
        failed = m_source && m_source->HasFailed();
    }
    if (failed) {
        RelayLog().Write(1, "<CConference::CloseFailedSource>, conference %u lost its source",
                         m_id);
        CloseSourceLocked();
    }
}

void CConference::StopAll(std::vector<CReceiverThread*>& listeners)
{
    // Every connection is shut first, so that the joins do not wait in turn.
    for (CReceiverThread* listener : listeners)
        listener->RequestStop();
    for (CReceiverThread* listener : listeners)
        delete listener;
    listeners.clear();
}

void CConference::QueueToListeners(const uint8_t* bytes, size_t size, bool burst)
{
    if (burst) {
        CScopedLock lock(&m_burstLock);
        for (CReceiverThread* listener : m_burst)
            listener->Socket()->QueueSend(bytes, size);
        return;
    }
    for (CReceiverThread* listener : m_listeners)
        listener->Socket()->QueueSend(bytes, size);
}

int CConference::Relay(const uint8_t* bytes, size_t size)
{
    CScopedLock lock(&m_listenerLock);
    // Messages that arrived together and go to the same listeners are
    // queued to each as one piece: a relay that falls behind its source
    // catches up with fewer sends, not more.
    size_t runStart = 0;
    size_t runEnd = 0;
    bool runBurst = false;
    auto flush = [&] {
        if (runEnd > runStart)
            QueueToListeners(bytes + runStart, runEnd - runStart, runBurst);
        runStart = runEnd;
    };
    uint64_t total = 0;
    for (size_t at = 0; at < size && TotalAt(bytes + at, size - at, total) && total <= size - at;
         at += static_cast<size_t>(total)) {
        const uint8_t* message = bytes + at;
        const uint32_t messageTotal = static_cast<uint32_t>(total);
        // The listeners change only at an update and at a burst end. Before
        // an update everything before it is queued, to every listener, and
        // the burst subset is chosen by what each then holds queued.
        if (IsControl(message, messageTotal, "update"))
            flush();
        bool burstEnd = false;
        if (!TakeMessageLocked(message, messageTotal, burstEnd)) {
            flush();
            return 0;
        }
        runBurst = m_burstActive;
        runEnd = at + messageTotal;
        if (burstEnd) {
            flush();
            m_burstActive = false;
            SetEvent(m_refreshEvent);
        }
    }
    flush();
    return 1;
}

bool CConference::TakeMessageLocked(const uint8_t* buffer, uint32_t total, bool& burstEnd)
{
    uint8_t kind = 0xFF;
    bool hasKind = KindAt(buffer, total, kind);

    if (m_newbufSeen) {
        m_newbufSeen = false;
        if (total == RELAY_SHORT_TOTAL && m_headerStored &&
            U32At(buffer, total, 12) == RELAY_VALUE_MARKER) {
            WireReader r(buffer, total); // A and B
            r.Seek(8) && r.Bytes(m_header + 2, 4);
        }
    }
    if (m_burstActive && IsBurstEnd(buffer, total))
        burstEnd = true;

    if (hasKind && kind == RELAY_KIND_CONTROL && total == RELAY_SHORT_TOTAL) {
        if (NameIs(buffer, total, "newbuf")) {
            m_newbufSeen = true;
        } else if (NameIs(buffer, total, "update")) {
            m_burstActive = true;
            CScopedLock burst(&m_burstLock);
            m_burst.clear();
            for (CReceiverThread* listener : m_listeners) {
                if (listener->Socket()->GetQueuedBytes() <= RELAY_BURST_SKIP_BYTES)
                    m_burst.push_back(listener);
            }
        }
    }
    if (hasKind && kind == RELAY_KIND_FORMAT && total == RELAY_LONG_TOTAL) {
        if (!m_headerStored) {
            RelayLog().Write(1, "<CConference::Relay>, format before the stream header");
            return false;
        }
        if (NameIs(buffer, total, "format")) {
            WireReader r(buffer, total);
            r.Seek(16) && r.Bytes(m_header + 6, RELAY_FORMAT_SIZE);
        }
    }
    if (hasKind && kind == RELAY_KIND_HEADER && total == RELAY_LONG_TOTAL && !m_headerStored) {
        WireReader r(buffer, total);
        m_headerStored = r.Seek(RELAY_LENGTH_SIZE) && r.Bytes(m_header, RELAY_HEADER_SIZE);
    }
    if (!m_headerStored) {
        RelayLog().Write(1, "<CConference::Relay>, message before the stream header");
        return false;
    }
    return true;
}

bool CConference::OnListenerMessage(const uint8_t* buffer, uint32_t total)
{
    uint8_t flag = 0;
    if (IsRefreshRequest(buffer, total, flag)) {
        {
            CScopedLock lock(&m_requestLock);
            InterlockedIncrement(&m_requestCount);
            if (flag == 0)
                m_requestState = 1;
            else if (m_requestState != 1)
                m_requestState = 2;
        }
        if (flag == 0)
            SetEvent(m_refreshEvent);
        SetEvent(m_wakeEvent);
        return true;
    }
    // A listener that would flood a slow source is the one that goes.
    CScopedLock lock(&m_sourceLock);
    return m_source && m_source->Socket()->QueueSend(buffer, total, false);
}

void CConference::OnSourceFailed() { SetEvent(m_closeSourceEvent); }

void CConference::OnListenerEnded(uint32_t id)
{
    {
        CScopedLock lock(&m_pendingLock);
        m_pending.push_back(id);
    }
    SetEvent(m_removeEvent);
}

void CConference::RemovePendingListeners()
{
    std::vector<uint32_t> ids;
    {
        CScopedLock lock(&m_pendingLock);
        ids.swap(m_pending);
    }
    std::vector<CReceiverThread*> gone;
    {
        CScopedLock lock(&m_listenerLock);
        CScopedLock burst(&m_burstLock);
        for (uint32_t id : ids) {
            auto it = std::find_if(m_listeners.begin(), m_listeners.end(),
                                   [id](CReceiverThread* l) { return l->GetId() == id; });
            if (it == m_listeners.end())
                continue; // already gone with its source
            CReceiverThread* listener = *it;
            m_listeners.erase(it);
            m_burst.erase(std::remove(m_burst.begin(), m_burst.end(), listener), m_burst.end());
            gone.push_back(listener);
        }
        m_listenerCount = m_listeners.size();
    }
    StopAll(gone);
}

void CConference::SendPendingRefresh()
{
    uint16_t a, b;
    {
        CScopedLock lock(&m_listenerLock);
        a = U16At(m_header, sizeof m_header, 2);
        b = U16At(m_header, sizeof m_header, 4);
    }
    LONG listeners = static_cast<LONG>(m_listenerCount.load());

    CScopedLock lock(&m_requestLock);
    if (m_requestState == 0)
        return;
    bool due = m_lastSendFailed || m_requestCount >= listeners;
    if (!due) {
        // Rate limit: a refresh (burst end or flag-0 request) and a tick.
        HANDLE both[2] = {m_refreshEvent, m_tickEvent};
        due = WaitForMultipleObjects(2, both, TRUE, 0) == WAIT_OBJECT_0;
    }
    if (!due)
        return;
    uint8_t message[RELAY_SHORT_TOTAL];
    BuildRefresh(message, sizeof message, m_requestState == 1 ? 0 : 1, a, b);
    bool sent;
    {
        CScopedLock source(&m_sourceLock);
        if (m_source) {
            m_source->Socket()->QueueSend(message, sizeof message, false);
            sent = true;
        } else {
            // Without a source, requests that hold a flag 0 are dropped;
            // flag-1 requests wait for the next source.
            sent = m_requestState == 1;
        }
    }
    m_lastSendFailed = !sent;
    if (sent) {
        InterlockedExchange(&m_requestCount, 0);
        ResetEvent(m_refreshEvent);
        ResetEvent(m_tickEvent);
        m_requestState = 0;
    }
}

bool CConference::RefreshWaits()
{
    CScopedLock lock(&m_requestLock);
    if (m_requestState == 0)
        return false;
    // Without a source, nothing can go before the next one joins.
    CScopedLock source(&m_sourceLock);
    return m_source != nullptr;
}

uint32_t CConference::Run()
{
    // Idle, the thread sleeps until something happens; only while a refresh
    // request waits for its pace does it look again every few milliseconds.
    HANDLE events[4] = {m_stopEvent, m_closeSourceEvent, m_removeEvent, m_wakeEvent};
    for (;;) {
        const DWORD wait = RefreshWaits() ? WAIT_STEP_MS : INFINITE;
        DWORD r = WaitForMultipleObjects(4, events, FALSE, wait);
        ++m_wakes;
        if (r == WAIT_OBJECT_0)
            break;
        if (r == WAIT_OBJECT_0 + 1)
            CloseFailedSource();
        else if (r == WAIT_OBJECT_0 + 2)
            RemovePendingListeners();
        SendPendingRefresh();
    }
    return 0;
}
