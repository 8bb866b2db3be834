#pragma once
#include <winsock2.h> // before windows.h

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "CNamedThread.h"
#include "ITickSource.h"
#include "RelayProtocol.h"

class CReceiverThread;
class CSenderThread;
class VSocket;

// One conference: its source, its listeners, the stored stream header, the
// burst subset and the merging of the listeners' refresh requests. Its own
// thread closes a failed source, removes listeners that went away and sends
// the merged refresh requests to the source.
class CConference : public CNamedThread
{
public:
    enum { TICK_PERIOD_MS = 400, WAIT_STEP_MS = 2 };

    CConference(uint32_t id, uint32_t key, const RELAY_LIMITS& limits,
                std::unique_ptr<ITickSource> ticks);
    // Stops the conference first.
    ~CConference() override;

    // Starts the timer and the thread.
    bool Begin();
    // Kills the timer, joins the thread, closes the source and listeners.
    void End();

    uint32_t GetId() const { return m_id; }
    uint32_t GetKey() const { return m_key; }
    // No source and no listener.
    bool IsEmpty();
    size_t GetListenerCount() const { return m_listenerCount.load(); }
    // Times the conference's thread has woken so far.
    uint32_t GetWakeCount() const { return m_wakes.load(); }

    // Joins, on the listen thread. The conference takes the socket.
    bool AddListener(VSocket* socket, uint32_t value);
    // Closes the present source, if any, with all its listeners.
    void CloseSource();
    bool SetSource(VSocket* socket, uint32_t value);

    // Whole messages from the source, one after the other; 0 closes the
    // source (messages before the refused one are relayed).
    int Relay(const uint8_t* bytes, size_t size);
    // One message from a listener; false removes the listener.
    bool OnListenerMessage(const uint8_t* buffer, uint32_t total);
    void OnSourceFailed();
    void OnListenerEnded(uint32_t id);

    uint32_t Run() override;

private:
    void CloseSourceLocked();
    void CloseSourceIfAnyLocked();
    void CloseFailedSource();
    void RemovePendingListeners();
    void SendPendingRefresh();
    bool RefreshWaits();
    // The stream state's part of relaying one message: false refuses it.
    // Notes a burst end, which the caller applies once the message is queued.
    bool TakeMessageLocked(const uint8_t* buffer, uint32_t total, bool& burstEnd);
    // To the burst subset or to every listener.
    void QueueToListeners(const uint8_t* bytes, size_t size, bool burst);
    static void StopAll(std::vector<CReceiverThread*>& listeners);

    uint32_t m_id;
    uint32_t m_key;
    RELAY_LIMITS m_limits;
    std::unique_ptr<ITickSource> m_ticks;

    // Held while members join and while the source is closed, so that the
    // two never interleave.
    CRITICAL_SECTION m_memberLock;

    // The source and the has-source flag, under m_sourceLock.
    CSenderThread* m_source = nullptr;
    CRITICAL_SECTION m_sourceLock;

    // Listeners, burst subset, stored header and the stream flags, under
    // m_listenerLock (the subset also under m_burstLock, taken inside).
    std::vector<CReceiverThread*> m_listeners;
    std::vector<CReceiverThread*> m_burst;
    uint8_t m_header[RELAY_HEADER_SIZE] = {};
    bool m_headerStored = false;
    bool m_newbufSeen = false;
    bool m_burstActive = false;
    uint32_t m_nextListenerId = 1;
    std::atomic<size_t> m_listenerCount{0};
    std::atomic<uint32_t> m_wakes{0};
    CRITICAL_SECTION m_listenerLock;
    CRITICAL_SECTION m_burstLock;

    // Ids of listeners that went away, under m_pendingLock.
    std::vector<uint32_t> m_pending;
    CRITICAL_SECTION m_pendingLock;

    // Merged refresh requests: 0 none, 1 at least one with flag 0, 2 only flag 1.
    int m_requestState = 0;
    volatile LONG m_requestCount = 0;
    bool m_lastSendFailed = true;
    CRITICAL_SECTION m_requestLock;

    HANDLE m_stopEvent; // manual reset
    HANDLE m_closeSourceEvent;
    HANDLE m_removeEvent;
    HANDLE m_refreshEvent;
    HANDLE m_tickEvent;
    HANDLE m_wakeEvent; // a refresh request came, or a source
    bool m_begun = false;
};
