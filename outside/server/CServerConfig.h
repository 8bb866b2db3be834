#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One meeting room of the stand-in server.
struct ROOM_CONFIG
{
    uint32_t id = 0;
    std::string name;
    uint8_t mode = 2;       // 2 chair-controlled, 0 free
    uint32_t capacity = 16; // participants at most
    uint32_t speakers = 4;  // speaking at the same time at most
    bool locked = false;
    bool nicknames = true;          // login kind 6 (a nickname without account) allowed
    std::vector<std::string> users; // accounts that may enter; empty: every account
};

// One account: user name, password and the role it logs in with.
struct ACCOUNT_CONFIG
{
    std::string name;
    std::string password;
    uint8_t role = 2;
};

// What the stand-in conference server serves, read from an ini file:
//   [Server]   Port, Version, UpdatePort, UpdateServers (addresses split by
//              "|"), VideoPort, AudioPort, AudioPort2, KeepAliveSeconds,
//              FreeFileSending, MaxConnections, ApplicationPort,
//              FtpServerPort
//   [Room1], [Room2], ... Id, Name, Mode, Capacity, Speakers, Locked,
//              Nicknames, Users (account names split by "|")
//   [Accounts] name=password,role
class CServerConfig
{
public:
    bool Load(const char* path);

    uint16_t port = 6999;
    std::string version = "1.0.0.1";
    uint16_t updatePort = 8000;
    std::vector<std::string> updateServers;
    // Apart from 7000, the client's default file-transfer port.
    uint16_t videoPort = 7200;
    // The screen-sharing programs' port (CScreenRelay).
    uint16_t applicationPort = 7002;
    uint16_t audioPort = 7100;
    uint16_t audioPort2 = 7101;
    // The file store that the clients' file-transfer library talks to.
    uint16_t ftpServerPort = 7000;
    uint32_t keepAliveSeconds = 60; // 0: never drop a silent client
    uint8_t freeFileSending = 1;
    // Connections open at once at most (each has a thread); more are refused.
    uint32_t maxConnections = 64;
    std::vector<ROOM_CONFIG> rooms;
    std::vector<ACCOUNT_CONFIG> accounts;
};
