#pragma once
// A scripted relay peer for the tests: a plain loopback socket that joins as
// a source or a listener and sends and reads whole messages, every wait
// bounded.
#include <winsock2.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "RelayProtocol.h"

using Bytes = std::vector<uint8_t>;

class RelayPeer
{
public:
    enum { WAIT_MS = 3000 };

    // receiveBuffer > 0 shrinks the socket's receive buffer before connecting.
    explicit RelayPeer(uint16_t port, int receiveBuffer = 0)
    {
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (receiveBuffer > 0)
            setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF,
                       reinterpret_cast<const char*>(&receiveBuffer), sizeof receiveBuffer);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RelayPeer() { Close(); }

    RelayPeer(const RelayPeer&) = delete;
    RelayPeer& operator=(const RelayPeer&) = delete;

    bool Connected() const { return m_connected; }
    void Close()
    {
        if (m_socket != INVALID_SOCKET) {
            closesocket(m_socket);
            m_socket = INVALID_SOCKET;
        }
    }

    bool Send(const Bytes& bytes)
    {
        size_t sent = 0;
        while (sent < bytes.size()) {
            if (!WaitFor(true, WAIT_MS))
                return false;
            int n = send(m_socket, reinterpret_cast<const char*>(bytes.data()) + sent,
                         static_cast<int>(bytes.size() - sent), 0);
            if (n <= 0)
                return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    // The answer byte, or -1 when the connection closed or nothing came.
    int Join(uint32_t role, uint32_t conference, uint32_t key, uint32_t value = 0)
    {
        return SendJoinHead(role, conference, key, value) ? ReadAnswer() : -1;
    }
    bool SendJoinHead(uint32_t role, uint32_t conference, uint32_t key, uint32_t value = 0)
    {
        Bytes head(16);
        WireWriter w(head.data(), head.size());
        w.U32(role);
        w.U32(conference);
        w.U32(value);
        w.U32(key);
        return Send(head);
    }
    int ReadAnswer()
    {
        uint8_t answer = 0;
        return ReadExact(&answer, 1, WAIT_MS) ? answer : -1;
    }

    // One whole message (length field included); false on close or time-out.
    bool Read(Bytes& message, uint32_t waitMs = WAIT_MS)
    {
        uint8_t head[4];
        if (!ReadExact(head, 4, waitMs))
            return false;
        uint32_t length = 0;
        WireReader r(head, 4);
        r.U32(length);
        message.assign(head, head + 4);
        message.resize(4 + length);
        return ReadExact(message.data() + 4, length, waitMs);
    }

    // True when nothing arrives within waitMs and the connection stays open.
    bool Quiet(uint32_t waitMs) { return !WaitFor(false, waitMs); }

    // True when the relay closes the connection within waitMs; what was still
    // on the way is read and dropped.
    bool SeesClose(uint32_t waitMs = WAIT_MS)
    {
        DWORD start = GetTickCount();
        char sink[4096];
        while (GetTickCount() - start < waitMs) {
            if (!WaitFor(false, 50))
                continue;
            int n = recv(m_socket, sink, sizeof sink, 0);
            if (n <= 0)
                return true;
        }
        return false;
    }

    SOCKET Handle() const { return m_socket; }

private:
    bool WaitFor(bool write, uint32_t ms)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(m_socket, &set);
        timeval tv = {static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
        return (write ? select(0, nullptr, &set, nullptr, &tv)
                      : select(0, &set, nullptr, nullptr, &tv)) > 0;
    }
    bool ReadExact(uint8_t* out, size_t length, uint32_t waitMs)
    {
        size_t got = 0;
        while (got < length) {
            if (!WaitFor(false, waitMs))
                return false;
            int n = recv(m_socket, reinterpret_cast<char*>(out) + got,
                         static_cast<int>(length - got), 0);
            if (n <= 0)
                return false;
            got += static_cast<size_t>(n);
        }
        return true;
    }

    SOCKET m_socket = INVALID_SOCKET;
    bool m_connected = false;
};

// Builders of the messages the relay interprets, as whole buffers.
namespace Msg {

inline Bytes Raw(const Bytes& payload)
{
    Bytes m(4 + payload.size());
    WireWriter w(m.data(), m.size());
    w.U32(static_cast<uint32_t>(payload.size()));
    w.Bytes(payload.data(), payload.size());
    return m;
}

inline Bytes Sized(uint32_t total, uint8_t kind, uint8_t fill = 0)
{
    Bytes payload(total - 4, fill);
    payload[0] = kind;
    return Raw(payload);
}

inline Bytes Named(uint32_t total, uint8_t kind, const char* name)
{
    Bytes m = Sized(total, kind);
    memcpy(m.data() + 5, name, strlen(name) + 1);
    return m;
}

inline Bytes StreamHeader(uint8_t fill) { return Sized(32, RELAY_KIND_HEADER, fill); }

inline Bytes Format(uint8_t fill)
{
    Bytes m = Named(32, RELAY_KIND_FORMAT, "format");
    memset(m.data() + 16, fill, 16);
    return m;
}

inline Bytes Newbuf() { return Named(16, 0, "newbuf"); }
inline Bytes Update() { return Named(16, 0, "update"); }

inline Bytes ValueMarker(uint16_t a, uint16_t b)
{
    Bytes m = Sized(16, 1);
    WireWriter w(m.data(), m.size());
    w.Seek(8) && w.U16(a) && w.U16(b) && w.U32(RELAY_VALUE_MARKER);
    return m;
}

inline Bytes BurstEnd()
{
    Bytes m = Sized(16, 0);
    WireWriter w(m.data(), m.size());
    w.Seek(12) && w.U32(RELAY_BURST_END_MARKER);
    return m;
}

inline Bytes Refresh(uint8_t flag)
{
    Bytes m(16);
    RelayMessage::BuildRefresh(m.data(), m.size(), flag, 0x1111, 0x2222);
    return m;
}

// Audio data of a given total size, tagged by its second byte.
inline Bytes Data(uint8_t tag, uint32_t total = 64)
{
    Bytes m = Sized(total, 0x11, 0x5A);
    m[5] = tag;
    return m;
}

} // namespace Msg
