#pragma once
#include <winsock2.h> // before windows.h

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

    bool IsStopping() const { return WaitForSingleObject(m_stop, 0) == WAIT_OBJECT_0; }
    VSocket* Socket() const { return m_socket; }
    uint32_t GetValue() const { return m_value; }

protected:
    // Reads one whole message into the buffer (length field included) and
    // gives its total size; false on a closed connection, a stop or a
    // length beyond the limit.
    bool ReadMessage(uint32_t& total);
    const uint8_t* Buffer() const { return m_buffer.data(); }

    VSocket* m_socket;
    CConference* m_conference;
    HANDLE m_stop;

private:
    uint32_t m_value;
    uint32_t m_maxPayload;
    std::vector<uint8_t> m_buffer;
};
