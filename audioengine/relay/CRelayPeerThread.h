#pragma once
#include <winsock2.h> // before windows.h

#include <atomic>
#include <cstdint>
#include <vector>

#include "CNamedThread.h"

class CConference;
class VSocket;

// What a source and a listener connection share: the socket the thread owns,
// the conference, a stop event and a receive buffer that grows to the
// largest message read.
class CRelayPeerThread : public CNamedThread
{
public:
    CRelayPeerThread(const char* name, VSocket* socket, CConference* conference, uint32_t value,
                     uint32_t maxPayload);
    ~CRelayPeerThread() override;

    // Sets the stop event and shuts the connection so that a waiting read
    // returns at once. Stop then joins.
    void RequestStop();
    // RequestStop, join, close the socket.
    void Stop() override;

    // Read on every message, so a flag beside the event: asking the event
    // would be a call into the system each time.
    bool IsStopping() const { return m_stopping.load(); }
    VSocket* Socket() const { return m_socket; }
    uint32_t GetValue() const { return m_value; }

protected:
    // Reads at least one whole message into the buffer, with every further
    // whole message that has arrived already, and gives the bytes of those
    // messages (length fields included), which lie one after the other from
    // Buffer() on. They stay there until the next read. False on a closed
    // connection, a stop or a first message whose length passes the limit;
    // whole messages that arrived before either are given first.
    bool ReadMessages(size_t& bytes);
    const uint8_t* Buffer() const { return m_buffer.data(); }

    VSocket* m_socket;
    CConference* m_conference;
    HANDLE m_stop;
    std::atomic<bool> m_stopping{false};

private:
    uint32_t m_value;
    uint32_t m_maxPayload;
    // Bytes the first whole message needs, 0 when the buffer already holds
    // it, or -1 for a length beyond the limit.
    int64_t FirstMessageMissing() const;
    // The bytes of the whole messages at the start of the buffer.
    size_t WholeMessageBytes() const;

    std::vector<uint8_t> m_buffer;
    size_t m_have = 0;    // bytes read into the buffer
    size_t m_given = 0;   // of them, given by the last read
    bool m_ended = false; // the connection ended after the bytes held
};
