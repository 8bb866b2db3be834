#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <random>
#include <vector>

#include "CVideoReassembler.h"
#include "IDatagramSocket.h"
#include "VideoWire.h"

// The video endpoint: binds the first free port from a start port up, cuts
// frames into datagrams sent to every destination, and reads, parses and
// reassembles what arrives.
class CVideoUdpSocket
{
public:
    enum Result {
        OK = 0,
        NO_MEMORY = -1,
        NO_SOCKET = -4,
        NO_PORT = -5,
        NOTHING = -14,
        NOT_OPEN = -25,
        ALREADY_OPEN = -26,
        RCVBUF_REFUSED = -29,
    };
    enum { RECEIVE_BUFFER = 32738, MAX_DATAGRAMS_PER_STEP = 1024 };

    explicit CVideoUdpSocket(std::unique_ptr<IDatagramSocket> socket);
    ~CVideoUdpSocket();

    CVideoUdpSocket(const CVideoUdpSocket&) = delete;
    CVideoUdpSocket& operator=(const CVideoUdpSocket&) = delete;

    int Open(uint16_t startPort, uint32_t localAddress);
    int Close();
    bool IsOpen() const { return m_open != 0; }
    uint16_t GetPort() const { return m_port; }

    // Address and port in host order.
    int AddDestination(uint32_t address, uint16_t port);
    void ClearDestinations();
    // Clears the destinations and adds this one, as one step.
    int ReplaceDestinations(uint32_t address, uint16_t port);
    size_t DestinationCount();

    // Sends one frame of 1 to 61440 bytes; any other length sends nothing.
    // The whole send, counters included, is one step under the lock, so
    // two threads may send through one endpoint.
    int Send(const uint8_t* data, int length, int payloadType, int marker,
             uint32_t timestampIncrement);

    int ReceiveStep();
    // The next finished frame, or null; letting go of it gives it back for
    // reuse.
    VideoFramePtr PopFrame();

    const CVideoReassembler& GetReassembler() const { return m_reassembler; }
    uint16_t GetFrameCounter() const { return m_frameCounter; }

    // A strict dotted IPv4 address ("a.b.c.d", each 0 to 255) in host order.
    static bool ParseAddress(const char* text, uint32_t& address);

private:
    struct Destination
    {
        uint32_t address;
        uint16_t port;
    };

    int AddLocked(uint32_t address, uint16_t port);
    void ClearLocked();

    CRITICAL_SECTION m_lock;
    std::unique_ptr<IDatagramSocket> m_socket;
    uint16_t m_port = 0;
    std::list<Destination> m_destinations;
    std::vector<Destination> m_buckets[256];
    uint8_t m_datagram[VideoWire::DATAGRAM_BUFFER];
    CVideoReassembler m_reassembler;
    uint8_t m_open = 0;
    uint16_t m_frameCounter = 0;
    uint32_t m_timestamp = 0;
    std::minstd_rand m_random;
    uint32_t m_opens = 0;
};
