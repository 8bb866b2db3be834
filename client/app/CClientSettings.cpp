#include "CClientSettings.h"

#include <cstdio>
#include <cstring>

#include "CLanguageManager.h"
#include "ISettingsStore.h"

CClientSettings g_Settings;

namespace {

struct DRIVER_VALUE
{
    const char* name;
    DWORD CClientSettings::*field;
};

// Every "Driver" value but "AudioFormat", which is held as a byte.
const DRIVER_VALUE kDriverValues[] = {
    {"AudioCapture", &CClientSettings::audioCapture},
    {"AudioPlay", &CClientSettings::audioPlay},
    {"PlayLocal", &CClientSettings::playLocal},
    {"AutoVolume", &CClientSettings::autoVolume},
    {"Denoise", &CClientSettings::denoise},
    {"FECType", &CClientSettings::fecType},
    {"AutoFEC", &CClientSettings::autoFec},
    {"ASC", &CClientSettings::asc},
    {"AEC", &CClientSettings::aec},
    {"AGC", &CClientSettings::agc},
    {"VideoCaptureDev", &CClientSettings::videoCaptureDev},
    {"VideoEncoder", &CClientSettings::videoEncoder},
    {"VideoEncodeMode", &CClientSettings::videoEncodeMode},
    {"BitRate", &CClientSettings::bitRate},
    {"VideoInput", &CClientSettings::videoInput},
    {"VideoControlPort", &CClientSettings::videoControlPort},
    {"EnableImgFilter", &CClientSettings::enableImgFilter},
    {"UserOverlay", &CClientSettings::userOverlay},
    {"CameraType", &CClientSettings::cameraType},
    {"VideoSize", &CClientSettings::videoSize},
};

const size_t kFolderChars = 259;

template <size_t N>
void CopyText(char (&field)[N], const char* text)
{
    strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

} // namespace

void CClientSettings::InitNetworkDefaults(const std::string& appFolder, LOGIN_INFO* login)
{
    *this = CClientSettings();
    photoFilePath = appFolder + "ShareAll";
    recvFilePath = appFolder + "NetFile";
    if (login) {
        memset(login, 0, sizeof *login);
        CopyText(login->serverAddress, "255.255.255.0");
        login->serverPort = 6999;
        CopyText(login->roomName, "NoName");
        login->roomId = 0;
        login->meetingMode = 1;
        login->freeFileSending = 0;
        CopyText(login->userName, "No Name");
        login->userId = 0;
        login->role = 1;
        login->loginMode = 0;
    }
}

void CClientSettings::Load(ISettingsStore& store, const std::string& appFolder,
                           CLanguageManager& languages, LOGIN_INFO* login)
{
    for (const DRIVER_VALUE& value : kDriverValues)
        store.ReadDword(DRIVER_SETTINGS_KEY, value.name, &(this->*value.field));
    DWORD format = audioFormat;
    if (store.ReadDword(DRIVER_SETTINGS_KEY, "AudioFormat", &format))
        audioFormat = static_cast<BYTE>(format);

    std::string folder;
    if (store.ReadString(CLIENT_SETTINGS_KEY, "PhotoFilePath", kFolderChars, &folder) &&
        !folder.empty())
        photoFilePath = folder;
    folder.clear();
    if (store.ReadString(CLIENT_SETTINGS_KEY, "RecvFilePath", kFolderChars, &folder) &&
        !folder.empty())
        recvFilePath = folder;

    version = store.ReadIniString(SETTINGS_INI_SECTION, "Version", "");
    versionId = store.ReadIniInt(SETTINGS_INI_SECTION, "VersionID", versionId);
    serverPort = store.ReadIniInt(SETTINGS_INI_SECTION, "ServerPort", serverPort);
    ftpServerPort = store.ReadIniInt(SETTINGS_INI_SECTION, "FtpServerPort", ftpServerPort);
    upgradeServerPort =
        store.ReadIniInt(SETTINGS_INI_SECTION, "UpgradeServerPort", upgradeServerPort);
    applicationServerPort =
        store.ReadIniInt(SETTINGS_INI_SECTION, "AppicationServerPort", applicationServerPort);
    if (login)
        login->serverPort = static_cast<uint32_t>(serverPort);

    languages.ScanLanguageFiles(appFolder.c_str());
    language = store.ReadIniInt(SETTINGS_INI_SECTION, "Language", 936);
    if (!languages.SelectByCodePage(language) && languages.GetCount() > 0)
        languages.Select(0);
}

void CClientSettings::Save(ISettingsStore& store, const CLanguageManager& languages) const
{
    for (const DRIVER_VALUE& value : kDriverValues)
        store.WriteDword(DRIVER_SETTINGS_KEY, value.name, this->*value.field);
    store.WriteDword(DRIVER_SETTINGS_KEY, "AudioFormat", audioFormat);
    // The folders are written only where the key exists already.
    store.WriteString(CLIENT_SETTINGS_KEY, "PhotoFilePath", photoFilePath.c_str(), false);
    store.WriteString(CLIENT_SETTINGS_KEY, "RecvFilePath", recvFilePath.c_str(), false);
    if (languages.GetCount() > 0 && languages.GetCurrentCodePage() != 0) {
        char text[16];
        snprintf(text, sizeof text, "%d", languages.GetCurrentCodePage());
        store.WriteIniString(SETTINGS_INI_SECTION, "Language", text);
    }
}
