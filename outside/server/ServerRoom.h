#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CBoardHistory.h"
#include "CServerConfig.h"
#include "ServerWire.h"

struct SERVER_SESSION;

// One stored item of the room's shared documents.
struct SERVER_DOCUMENT
{
    DOC_ITEM item = {};
    std::string texts[3];
};

// One meeting room of the stand-in server. Its fields are guarded by the
// server lock; order is taken before that lock by everything that sends to
// the room's participants, so that they all see the room's messages in one
// order.
struct SERVER_ROOM
{
    ROOM_CONFIG config;
    uint8_t mode = 2;
    bool locked = false;
    uint8_t freeFileSending = 1;
    std::vector<std::shared_ptr<SERVER_SESSION>> users;
    std::vector<uint8_t> meetingState;
    std::map<std::string, uint64_t> bans; // user name -> end of the ban (tick count)
    std::vector<uint8_t> layout;          // the last 2073 as sent, empty before
    CBoardHistory board;                  // the whiteboard documents open
    std::vector<SERVER_DOCUMENT> documents;
    uint32_t nextDocumentId = 1;
    std::recursive_mutex order;
};
