#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "CClientSettings.h"
#include "CLanguageManager.h"
#include "CWin32SettingsStore.h"

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.rfind('\\') + 1);
}

// Settings in the prefix's registry and in an ini file of a scratch folder.
class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, DRIVER_SETTINGS_KEY);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, CLIENT_SETTINGS_KEY);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        ini = std::string(temp) + "settings_" + std::to_string(GetCurrentProcessId()) + ".ini";
        DeleteFileA(ini.c_str());
    }
    void TearDown() override
    {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, DRIVER_SETTINGS_KEY);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, CLIENT_SETTINGS_KEY);
        DeleteFileA(ini.c_str());
    }

    std::string ini;
};

} // namespace

TEST_F(SettingsTest, NothingStoredKeepsTheDefaults)
{
    CWin32SettingsStore store(ini);
    CClientSettings settings;
    LOGIN_INFO login;
    memset(&login, 0x5A, sizeof login);
    settings.InitNetworkDefaults("C:\\app\\", &login);
    CLanguageManager languages;
    settings.Load(store, "C:\\nowhere\\", languages, &login);

    CClientSettings expected;
    EXPECT_EQ(settings.bitRate, 256u);
    EXPECT_EQ(settings.denoise, 1u);
    EXPECT_EQ(settings.videoSize, 2u);
    EXPECT_EQ(settings.frameRate, 15u);
    EXPECT_EQ(settings.photoFilePath, "C:\\app\\ShareAll");
    EXPECT_EQ(settings.recvFilePath, "C:\\app\\NetFile");
    EXPECT_EQ(settings.version, "");
    EXPECT_EQ(settings.versionId, 1003);
    EXPECT_EQ(settings.ftpServerPort, 7000);
    EXPECT_EQ(settings.applicationServerPort, 7002);
    EXPECT_EQ(settings.language, 936);
    EXPECT_STREQ(login.serverAddress, "255.255.255.0");
    EXPECT_EQ(login.serverPort, 6999u);
    EXPECT_STREQ(login.roomName, "NoName");
    EXPECT_STREQ(login.userName, "No Name");
    EXPECT_EQ(login.meetingMode, 1);
    EXPECT_EQ(login.role, 1);
    EXPECT_EQ(login.roomId, 0u);
    EXPECT_EQ(login.loginMode, 0u);
    EXPECT_EQ(languages.GetCurrentIndex(), -1);
}

TEST_F(SettingsTest, SavedValuesComeBack)
{
    CWin32SettingsStore store(ini);
    CClientSettings saved;
    saved.InitNetworkDefaults("C:\\app\\", nullptr);
    saved.audioCapture = 3;
    saved.audioFormat = 0x7F;
    saved.aec = 0;
    saved.bitRate = 512;
    saved.cameraType = 2;
    saved.videoSize = 4;
    saved.photoFilePath = "D:\\照片";
    saved.recvFilePath = "D:\\收到";
    CLanguageManager languages;
    languages.ScanLanguageFiles(ProgramFolder().c_str());
    ASSERT_GT(languages.GetCount(), 0);
    ASSERT_TRUE(languages.SelectByCodePage(936));

    // The folders are written only where their key exists.
    saved.Save(store, languages);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, CLIENT_SETTINGS_KEY, 0, KEY_READ, &key),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, CLIENT_SETTINGS_KEY, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    saved.Save(store, languages);
    store.WriteIniString(SETTINGS_INI_SECTION, "Version", "03.06.01.00");
    store.WriteIniString(SETTINGS_INI_SECTION, "ServerPort", "7100");

    CClientSettings loaded;
    LOGIN_INFO login = {};
    loaded.InitNetworkDefaults("C:\\other\\", &login);
    CLanguageManager again;
    loaded.Load(store, ProgramFolder(), again, &login);
    EXPECT_EQ(loaded.audioCapture, 3u);
    EXPECT_EQ(loaded.audioFormat, 0x7F);
    EXPECT_EQ(loaded.aec, 0u);
    EXPECT_EQ(loaded.bitRate, 512u);
    EXPECT_EQ(loaded.cameraType, 2u);
    EXPECT_EQ(loaded.videoSize, 4u);
    EXPECT_EQ(loaded.denoise, 1u);
    EXPECT_EQ(loaded.photoFilePath, "D:\\照片");
    EXPECT_EQ(loaded.recvFilePath, "D:\\收到");
    EXPECT_EQ(loaded.version, "03.06.01.00");
    EXPECT_EQ(loaded.serverPort, 7100);
    EXPECT_EQ(login.serverPort, 7100u);
    EXPECT_EQ(again.GetCurrentCodePage(), 936);
    EXPECT_EQ(store.ReadIniInt(SETTINGS_INI_SECTION, "Language", 0), 936);
}

TEST_F(SettingsTest, OddStoredValuesAreReadSafely)
{
    CWin32SettingsStore store(ini);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, DRIVER_SETTINGS_KEY, &key), ERROR_SUCCESS);
    DWORD wide = 0x1FF;
    RegSetValueExA(key, "AudioFormat", 0, REG_DWORD, reinterpret_cast<BYTE*>(&wide), 4);
    // A value of the wrong type leaves the default.
    RegSetValueExA(key, "BitRate", 0, REG_SZ, reinterpret_cast<const BYTE*>("999"), 4);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, CLIENT_SETTINGS_KEY, &key), ERROR_SUCCESS);
    // An empty folder keeps the default; an unterminated one of 400 bytes is cut at 259.
    RegSetValueExA(key, "PhotoFilePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    std::string longPath(400, 'p');
    RegSetValueExA(key, "RecvFilePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(longPath.data()),
                   400);
    RegCloseKey(key);
    // The configured language is missing: the first language is taken.
    store.WriteIniString(SETTINGS_INI_SECTION, "Language", "1250");

    CClientSettings settings;
    settings.InitNetworkDefaults("C:\\app\\", nullptr);
    CLanguageManager languages;
    settings.Load(store, ProgramFolder(), languages, nullptr);
    EXPECT_EQ(settings.audioFormat, 0xFF);
    EXPECT_EQ(settings.bitRate, 256u);
    EXPECT_EQ(settings.photoFilePath, "C:\\app\\ShareAll");
    EXPECT_EQ(settings.recvFilePath, std::string(259, 'p'));
    ASSERT_GT(languages.GetCount(), 0);
    EXPECT_EQ(languages.GetCurrentIndex(), 0);
}
