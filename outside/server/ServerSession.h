#pragma once
#include <winsock2.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "ServerWire.h"

struct SERVER_ROOM;

// One client connection of the stand-in server.
struct SERVER_SESSION
{
    uint32_t connection = 0;
    SOCKET socket = INVALID_SOCKET;
    std::mutex sendLock;
    std::mutex readLock;
    std::condition_variable readSignal;
    bool reading = true;
    bool closed = false;
    bool raw = false; // a test replaced the login reply: frames are only recorded
    // Why the connection ended, for the server's log: a fixed text and the
    // socket error where there was one.
    const char* endReason = "the client closed the connection";
    int endError = 0;

    // After the login, under the server lock.
    uint32_t userId = 0;
    SERVER_ROOM* room = nullptr;
    WIRE_USER_INFO info = {};
    uint8_t broadcast = 0;       // video broadcast running
    uint8_t screenBroadcast = 0; // screen broadcast running
};
