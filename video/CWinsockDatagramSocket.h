#pragma once
#include <winsock2.h>

#include "IDatagramSocket.h"

// A Winsock UDP socket. Each object holds one Winsock start-up of its own,
// taken when its first socket is made.
class CWinsockDatagramSocket : public IDatagramSocket
{
public:
    CWinsockDatagramSocket();
    ~CWinsockDatagramSocket() override;

    CWinsockDatagramSocket(const CWinsockDatagramSocket&) = delete;
    CWinsockDatagramSocket& operator=(const CWinsockDatagramSocket&) = delete;

    bool Create() override;
    bool SetReceiveBuffer(int bytes) override;
    bool Bind(uint32_t address, uint16_t port) override;
    void Close() override;
    int SendTo(const void* data, int length, uint32_t address, uint16_t port) override;
    int Pending() override;
    int ReceiveFrom(void* buffer, int capacity, uint32_t& address, uint16_t& port) override;

private:
    SOCKET m_socket = INVALID_SOCKET;
    bool m_started = false;
};
