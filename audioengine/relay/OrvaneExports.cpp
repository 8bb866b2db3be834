// The two exported functions of the relay library.
#include <winsock2.h>

#include <new>

#include "CConference.h"
#include "CRelayServer.h"
#include "CTickThread.h"
#include "RelayLog.h"

extern "C" {

void* Zeltor_StartServer(unsigned port)
{
    if (port == 0 || port > 0xFFFF) {
        RelayLog().Write(1, "<Zeltor_StartServer>, bad port %u", port);
        return nullptr;
    }
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return nullptr;
    if (data.wVersion != MAKEWORD(2, 2)) {
        WSACleanup();
        return nullptr;
    }
    CRelayServer* server = new (std::nothrow)
        CRelayServer(RELAY_LIMITS(), CTickThread::Factory(CConference::TICK_PERIOD_MS));
    if (!server) {
        WSACleanup();
        return nullptr;
    }
    if (!server->Start(static_cast<uint16_t>(port))) {
        delete server;
        WSACleanup();
        return nullptr;
    }
    return server;
}

int Zeltor_CloseServer(void** handle)
{
    if (!handle || !*handle)
        return 0;
    CRelayServer* server = static_cast<CRelayServer*>(*handle);
    server->Close();
    delete server;
    *handle = nullptr;
    WSACleanup();
    return 1;
}

} // extern "C"
