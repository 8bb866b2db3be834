// The dialogs as the main window and the dispatcher reach them, and the
// language dialog.
#include "CClientSettings.h"
#include "CDlgLanguage.h"
#include "CLanguageManager.h"
#include "CRemoteSettings.h"
#include "CServerDispatcher.h"
#include "CSettingsDialogs.h"
#include "CTestKit.h"
#include "DispatchTargets.h"
#include "SettingsResource.h"
#include "SettingsTestKit.h"
#include "WireWriter.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace settingstest;

namespace {

std::vector<uint8_t> DeviceState(uint8_t index)
{
    std::vector<uint8_t> m(4, 0);
    WireWriter w(m.data(), m.size());
    w.U16(2106);
    w.U8(index);
    return m;
}

std::vector<uint8_t> FromParticipant(uint32_t sender, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> m(12 + payload.size(), 0);
    WireWriter w(m.data(), m.size());
    w.U16(2110);
    w.Seek(4);
    w.U32(sender);
    w.U16((uint16_t)payload.size());
    w.Seek(12);
    w.Bytes(payload.data(), payload.size());
    return m;
}

class SettingsDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InstallMediaFakes();
        m_saved = g_Settings;
        g_Settings = CClientSettings();
        host.users.AddUser(1, "host", 1);
        host.users.AddUser(2, "alice", 2);
        login.userId = 1;
        ASSERT_TRUE(top.Make());
        ASSERT_TRUE(dialogs.Create(&top));
        targets.users = &host.users;
        targets.login = &login;
        targets.device = &dialogs;
        targets.remoteDevice = &dialogs;
        ClearCalls();
    }
    void TearDown() override
    {
        dialogs.Destroy();
        g_Settings = m_saved;
        UninstallMediaFakes();
    }
    bool Dispatch(const std::vector<uint8_t>& m)
    {
        CServerDispatcher dispatcher(targets);
        return dispatcher.Dispatch(m.data(), m.size());
    }

    CTestSettingsHost host;
    CTopWindow top;
    CSettingsDialogs dialogs;
    LOGIN_INFO login = {};
    DISPATCH_TARGETS targets;
    CClientSettings m_saved;
};

} // namespace

TEST_F(SettingsDialogs, ServerMessagesReachTheDialogs)
{
    ASSERT_TRUE(Dispatch(DeviceState(1)));
    EXPECT_EQ(g_Settings.videoCaptureDev, 1u);
    EXPECT_EQ(host.Report(), "report 0 1 3 1");

    ASSERT_TRUE(Dispatch(FromParticipant(2, CRemoteSettings::BuildQuery())));
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].user, 2u);
    EXPECT_EQ(host.sent[0].data.size(), 1244u);

    DEVICE_SETTINGS wanted = DEVICE_SETTINGS::From(g_Settings);
    wanted.VideoSize = 0;
    ClearCalls();
    ASSERT_TRUE(Dispatch(FromParticipant(2, CRemoteSettings::BuildApply(wanted))));
    EXPECT_EQ(g_Settings.videoSize, 0u);
    ASSERT_FALSE(CallsOf("T_S_StartCapture").empty());
    EXPECT_EQ(CallsOf("T_S_StartCapture")[0], "T_S_StartCapture 1 0 0 256 160 120");

    ClearCalls();
    ASSERT_TRUE(Dispatch(FromParticipant(9, CRemoteSettings::BuildApply(DEVICE_SETTINGS{}))));
    EXPECT_TRUE(Calls().empty()) << "settings from someone not in the meeting";
}

TEST_F(SettingsDialogs, EntryPointsShowTheirDialogs)
{
    dialogs.ToggleSystemSettings();
    EXPECT_TRUE(dialogs.Device().IsWindowVisible());
    EXPECT_TRUE(dialogs.Device().IsShown());
    dialogs.ToggleSystemSettings();
    EXPECT_FALSE(dialogs.Device().IsShown());
    EXPECT_FALSE(dialogs.Device().IsWindowVisible());
    dialogs.ShowSystemSettings();
    EXPECT_TRUE(dialogs.Device().IsWindowVisible());

    dialogs.ShowRemoteSettings(2);
    EXPECT_TRUE(dialogs.Remote().IsWindowVisible());
    EXPECT_EQ(dialogs.Remote().ShownUser(), 2u);

    dialogs.SelectVideoDevice(2);
    EXPECT_EQ(g_Settings.videoCaptureDev, 2u);

    dialogs.StartRecordTimer();
    EXPECT_TRUE(dialogs.RecordTimer().IsWindowVisible());
}

namespace {

// A window that counts the language-changed messages it gets.
class CCountingWindow : public CWnd
{
public:
    int count = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LANGUAGE_CHANGED)
            ++count;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::string WriteLanguage(const std::string& folder, const char* file, int codePage,
                          const char* name)
{
    std::string path = folder + "base\\" + file;
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        fprintf(f, "[Info]\r\nCodePage=%d\r\nLanguage=%s\r\n[String]\r\n61455=x\r\n", codePage,
                name);
        fclose(f);
    }
    return path;
}

} // namespace

TEST(LanguageDialog, OkWithAnotherLanguageSwitchesAndTellsEveryWindow)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "settings_lang\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "base").c_str(), nullptr);
    std::string first = WriteLanguage(folder, "a.dll", 936, "Chinese");
    std::string second = WriteLanguage(folder, "b.dll", 1252, "English");
    g_LangManager.ScanLanguageFiles(folder.c_str());
    ASSERT_EQ(g_LangManager.GetCount(), 2);
    ASSERT_TRUE(g_LangManager.Select(0));

    CCountingWindow top;
    ASSERT_TRUE(
        top.CreateEx(0, "STATIC", "lang test", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, NULL, NULL));
    CCountingWindow child;
    ASSERT_TRUE(
        child.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top.m_hWnd, NULL));

    // OK with the current language changes nothing.
    CDlgLanguage same(&top);
    CTestKit::RunModal(same, [](CDialog& d) {
        EXPECT_EQ(d.SendDlgItemMessage(IDC_LANGUAGE_LIST, LB_GETCOUNT), 2);
        EXPECT_EQ(d.SendDlgItemMessage(IDC_LANGUAGE_LIST, LB_GETCURSEL), 0);
        CTestKit::ClickButton(::GetDlgItem(d.m_hWnd, IDOK));
    });
    EXPECT_EQ(top.count, 0);
    EXPECT_EQ(g_LangManager.GetCurrentIndex(), 0);

    CDlgLanguage other(&top);
    INT_PTR result = CTestKit::RunModal(other, [](CDialog& d) {
        d.SendDlgItemMessage(IDC_LANGUAGE_LIST, LB_SETCURSEL, 1);
        CTestKit::ClickButton(::GetDlgItem(d.m_hWnd, IDOK));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(g_LangManager.GetCurrentIndex(), 1);
    EXPECT_EQ(top.count, 1);
    EXPECT_EQ(child.count, 1);

    child.DestroyWindow();
    top.DestroyWindow();
    DeleteFileA(first.c_str());
    DeleteFileA(second.c_str());
    RemoveDirectoryA((folder + "base").c_str());
    RemoveDirectoryA(folder.c_str());
}
