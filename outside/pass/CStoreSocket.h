#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "PassStoreWire.h"

// One TCP connection of the file store's protocol, on either side. Every
// wait is bounded: a read or write that makes no progress for the stall
// time fails, and so does one whose cancel flag is raised. A failed call
// leaves a developer's text in Error().
class CStoreSocket
{
public:
    explicit CStoreSocket(SOCKET s = INVALID_SOCKET);
    ~CStoreSocket();
    CStoreSocket(const CStoreSocket&) = delete;
    CStoreSocket& operator=(const CStoreSocket&) = delete;

    bool Connect(const char* host, uint16_t port, uint32_t timeoutMs);
    void Close();
    bool IsOpen() const { return m_socket != INVALID_SOCKET; }

    void SetStallTimeout(uint32_t ms) { m_stallMs = ms; }
    void SetCancel(const std::atomic<bool>* cancel) { m_cancel = cancel; }

    bool SendAll(const void* data, size_t size);
    bool RecvAll(void* data, size_t size);

    bool SendRequest(uint16_t op, uint32_t roomId, uint32_t value, uint32_t size,
                     const std::string& name);
    // Reads a request; false on a closed connection or a malformed record.
    bool ReadRequest(STORE_REQUEST& request, std::string& name);
    bool SendReply(uint16_t status, uint32_t value, uint32_t size, const std::string& name);
    // Reads a reply, checking its magic and name length.
    bool ReadReply(STORE_REPLY& reply, std::string& name);

    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& text);
    // Waits until the socket can be read (or written); false on cancel or stall.
    bool Wait(bool write);

    SOCKET m_socket;
    uint32_t m_stallMs = 30000;
    const std::atomic<bool>* m_cancel = nullptr;
    std::string m_error;
};
