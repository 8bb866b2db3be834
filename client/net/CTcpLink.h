#pragma once
#include <winsock2.h>

#include <cstdint>
#include <memory>

#include "CTcpSocket.h"
#include "FrameHead.h"

// One framed connection: every message travels as a FRAME_HEAD followed by
// its payload. Sends may run on one thread while another thread receives;
// sends are serialised by the caller.
class CTcpLink
{
public:
    enum : uint32_t {
        SEND_WAIT_SECONDS = 5,
        // The longest a send may wait for a peer that stopped reading.
        DEFAULT_SEND_LIMIT_MS = 10000,
        RECV_BUFFER_SIZE = 65536,
    };

    explicit CTcpLink(uint32_t kind = FRAME_KIND_HEAD);
    virtual ~CTcpLink();

    CTcpLink(const CTcpLink&) = delete;
    CTcpLink& operator=(const CTcpLink&) = delete;

    // Sends one frame; the bytes that went out (header and payload) or 0. A
    // frame that did not go out whole closes the connection.
    virtual uint32_t Send(const void* payload, uint32_t length);
    // Receives one frame, each socket read waiting at most seconds.
    virtual int32_t RecvTimeout(void* buffer, int32_t capacity, uint32_t seconds);
    // Receives one frame, blocking; the payload length or 0.
    virtual int32_t Recv(void* buffer, int32_t capacity);

    bool Connect(const char* address, uint16_t port);
    void Close();

    bool IsConnected() const { return m_socket.IsOpen(); }
    uint32_t GetKind() const { return m_kind; }
    void SetSendLimit(uint32_t milliseconds) { m_sendLimitMs = milliseconds; }

private:
    // Reads exactly length bytes, first from what an earlier read brought
    // beyond its frame; false when a read ended early.
    bool ReadExactly(void* buffer, int32_t length, uint32_t seconds, bool timed, int32_t* got);
    int32_t Receive(void* buffer, int32_t capacity, uint32_t seconds, bool timed);
    // Takes up to length bytes kept from an earlier read; the count taken.
    int32_t TakeCarried(unsigned char* buffer, int32_t length);

    CTcpSocket m_socket;
    uint32_t m_kind;
    unsigned char m_recvHead[FRAME_HEAD_SIZE] = {};
    unsigned char m_sendHead[FRAME_HEAD_SIZE] = {};
    uint32_t m_headSize = FRAME_HEAD_SIZE;
    uint32_t m_maxPayload = FRAME_MAX_PAYLOAD;
    uint32_t m_sendLimitMs = DEFAULT_SEND_LIMIT_MS;
    // A read of header and payload together can bring the start of the next
    // frames; those bytes wait here for the next receive. Made once, with
    // the connection.
    std::unique_ptr<unsigned char[]> m_carry;
    int32_t m_carryStart = 0;
    int32_t m_carryCount = 0;
};

// Winsock 2.2, and nothing else.
bool StartWinsock();

CTcpLink* CreateTcpLink(uint32_t kind);
void DestroyTcpLink(CTcpLink*& link);

// The same operations on a link that may be null; a null link gives 0.
bool LinkConnect(CTcpLink* link, const char* address, uint16_t port);
uint32_t LinkSend(CTcpLink* link, const void* payload, uint32_t length);
int32_t LinkRecv(CTcpLink* link, void* buffer, int32_t capacity);
int32_t LinkRecvTimeout(CTcpLink* link, void* buffer, int32_t capacity, uint32_t seconds);
void LinkClose(CTcpLink* link);
