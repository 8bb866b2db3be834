#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "ServerWire.h"

class ISettingsStore;
class CLanguageManager;

// Registry keys and the ini file of the client's settings.
#define DRIVER_SETTINGS_KEY "SOFTWARE\\Brovik\\Driver"
#define CLIENT_SETTINGS_KEY "SOFTWARE\\Brovik\\Client"
#define SETTINGS_INI_FILE "Dorvane.ini"
#define SETTINGS_INI_SECTION "Dorvane"

// The client's settings: device and codec values (registry "Driver"), the
// picture and received-file folders (registry "Client") and the program's
// own values from "Dorvane.ini". Defaults come from InitNetworkDefaults,
// then Load overwrites what the storage holds.
class CClientSettings
{
public:
    // "Driver" values, in the order they are stored.
    DWORD audioCapture = 0;
    DWORD audioPlay = 0;
    BYTE audioFormat = 0;
    DWORD playLocal = 0;
    DWORD autoVolume = 0;
    DWORD denoise = 1;
    DWORD fecType = 1;
    DWORD autoFec = 1;
    DWORD asc = 1;
    DWORD aec = 1;
    DWORD agc = 1;
    DWORD videoCaptureDev = 0;
    DWORD videoEncoder = 0;
    DWORD videoEncodeMode = 0;
    DWORD bitRate = 256;
    DWORD videoInput = 0;
    DWORD videoControlPort = 1;
    DWORD enableImgFilter = 0;
    DWORD userOverlay = 1;
    DWORD cameraType = 0;
    DWORD videoSize = 2;
    // Set by the defaults and never stored.
    DWORD frameRate = 15;

    // "Client" values.
    std::string photoFilePath;
    std::string recvFilePath;

    // "Dorvane.ini", section [Dorvane].
    std::string version;
    int versionId = 1003;
    int serverPort = 6999;
    int ftpServerPort = 7000;
    int upgradeServerPort = 7002;
    int applicationServerPort = 7002;
    int language = 936;

    // Every value to its default; the folders under appFolder (with its
    // trailing backslash). The login record gets its defaults as well.
    void InitNetworkDefaults(const std::string& appFolder, LOGIN_INFO* login);
    // Reads what the storage holds over the current values; the login
    // record takes the server port; the language manager scans the language
    // files of appFolder and selects the configured language (the first one
    // when that is missing).
    void Load(ISettingsStore& store, const std::string& appFolder, CLanguageManager& languages,
              LOGIN_INFO* login);
    // Writes the "Driver" and "Client" values, and the current language's
    // code page when a language is selected.
    void Save(ISettingsStore& store, const CLanguageManager& languages) const;
};

extern CClientSettings g_Settings;
