#include "CWinsockDatagramSocket.h"

#include <cstring>

#ifndef SIO_UDP_CONNRESET
#define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#endif

CWinsockDatagramSocket::CWinsockDatagramSocket() {}

CWinsockDatagramSocket::~CWinsockDatagramSocket()
{
    Close();
    if (m_started)
        WSACleanup();
}

bool CWinsockDatagramSocket::Create()
{
    Close();
    // Winsock starts with the first socket, never while the library loads.
    if (!m_started) {
        WSADATA data;
        m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        if (!m_started)
            return false;
    }
    m_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (m_socket == INVALID_SOCKET)
        return false;
    // A datagram sent to a port nobody listens on must not make the next
    // read fail.
    BOOL off = FALSE;
    DWORD returned = 0;
    WSAIoctl(m_socket, SIO_UDP_CONNRESET, &off, sizeof off, nullptr, 0, &returned, nullptr,
             nullptr);
    // Reads never wait: the receive step reads until the socket would block.
    u_long nonBlocking = 1;
    if (ioctlsocket(m_socket, FIONBIO, &nonBlocking) != 0) {
        Close();
        return false;
    }
    return true;
}

bool CWinsockDatagramSocket::SetReceiveBuffer(int bytes)
{
    return setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes),
                      sizeof bytes) == 0;
}

bool CWinsockDatagramSocket::Bind(uint32_t address, uint16_t port)
{
    sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address);
    a.sin_port = htons(port);
    return bind(m_socket, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
}

void CWinsockDatagramSocket::Close()
{
    if (m_socket != INVALID_SOCKET) {
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
}

int CWinsockDatagramSocket::SendTo(const void* data, int length, uint32_t address, uint16_t port)
{
    sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address);
    a.sin_port = htons(port);
    const int sent = sendto(m_socket, static_cast<const char*>(data), length, 0,
                            reinterpret_cast<const sockaddr*>(&a), sizeof a);
    return sent == SOCKET_ERROR ? -1 : sent;
}

int CWinsockDatagramSocket::Pending()
{
    u_long count = 0;
    if (ioctlsocket(m_socket, FIONREAD, &count) != 0)
        return -1;
    return count > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(count);
}

int CWinsockDatagramSocket::ReceiveFrom(void* buffer, int capacity, uint32_t& address,
                                        uint16_t& port)
{
    sockaddr_in a;
    int size = sizeof a;
    memset(&a, 0, sizeof a);
    const int n = recvfrom(m_socket, static_cast<char*>(buffer), capacity, 0,
                           reinterpret_cast<sockaddr*>(&a), &size);
    if (n == SOCKET_ERROR) {
        const int error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK)
            return WOULD_BLOCK;
        return error == WSAEMSGSIZE ? TOO_LARGE : -1;
    }
    address = ntohl(a.sin_addr.s_addr);
    port = ntohs(a.sin_port);
    return n;
}
