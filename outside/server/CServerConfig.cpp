#include "CServerConfig.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

std::string ReadText(const char* section, const char* key, const char* fallback, const char* path)
{
    char text[1024] = {};
    GetPrivateProfileStringA(section, key, fallback, text, sizeof text, path);
    return text;
}

std::vector<std::string> Split(const std::string& text, char separator, bool keepEmpty = false)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start || keepEmpty)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace

bool CServerConfig::Load(const char* path)
{
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return false;
    port = static_cast<uint16_t>(GetPrivateProfileIntA("Server", "Port", port, path));
    version = ReadText("Server", "Version", version.c_str(), path);
    updatePort =
        static_cast<uint16_t>(GetPrivateProfileIntA("Server", "UpdatePort", updatePort, path));
    updateServers = Split(ReadText("Server", "UpdateServers", "", path), '|');
    videoPort =
        static_cast<uint16_t>(GetPrivateProfileIntA("Server", "VideoPort", videoPort, path));
    applicationPort = static_cast<uint16_t>(
        GetPrivateProfileIntA("Server", "ApplicationPort", applicationPort, path));
    audioPort =
        static_cast<uint16_t>(GetPrivateProfileIntA("Server", "AudioPort", audioPort, path));
    audioPort2 =
        static_cast<uint16_t>(GetPrivateProfileIntA("Server", "AudioPort2", audioPort2, path));
    ftpServerPort = static_cast<uint16_t>(
        GetPrivateProfileIntA("Server", "FtpServerPort", ftpServerPort, path));
    keepAliveSeconds = GetPrivateProfileIntA("Server", "KeepAliveSeconds", keepAliveSeconds, path);
    freeFileSending = static_cast<uint8_t>(
        GetPrivateProfileIntA("Server", "FreeFileSending", freeFileSending, path));
    maxConnections = GetPrivateProfileIntA("Server", "MaxConnections", maxConnections, path);
    if (maxConnections == 0)
        maxConnections = 1;

    rooms.clear();
    for (int i = 1;; ++i) {
        std::string section = "Room" + std::to_string(i);
        UINT id = GetPrivateProfileIntA(section.c_str(), "Id", 0, path);
        if (id == 0)
            break;
        ROOM_CONFIG room;
        room.id = id;
        room.name = ReadText(section.c_str(), "Name", section.c_str(), path);
        room.mode = static_cast<uint8_t>(GetPrivateProfileIntA(section.c_str(), "Mode", 2, path));
        room.capacity = GetPrivateProfileIntA(section.c_str(), "Capacity", 16, path);
        room.speakers = GetPrivateProfileIntA(section.c_str(), "Speakers", 4, path);
        room.locked = GetPrivateProfileIntA(section.c_str(), "Locked", 0, path) != 0;
        room.nicknames = GetPrivateProfileIntA(section.c_str(), "Nicknames", 1, path) != 0;
        room.users = Split(ReadText(section.c_str(), "Users", "", path), '|');
        rooms.push_back(room);
    }

    accounts.clear();
    char keys[8192] = {};
    DWORD n = GetPrivateProfileStringA("Accounts", nullptr, "", keys, sizeof keys, path);
    for (const char* key = keys; key < keys + n && *key; key += strlen(key) + 1) {
        std::vector<std::string> value = Split(ReadText("Accounts", key, "", path), ',', true);
        ACCOUNT_CONFIG account;
        account.name = key;
        account.password = value.empty() ? "" : value[0];
        account.role = static_cast<uint8_t>(value.size() > 1 ? atoi(value[1].c_str()) : 2);
        accounts.push_back(account);
    }
    return true;
}
