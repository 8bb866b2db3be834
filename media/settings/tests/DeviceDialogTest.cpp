// The system settings dialog with its audio, video and options pages, over
// stand-in libraries: what each change calls, in order, and the device
// state the terminal reports.
#include "CClientSettings.h"
#include "CDlgDevice.h"
#include "CLanguageManager.h"
#include "CTestKit.h"
#include "SettingsControls.h"
#include "SettingsResource.h"
#include "SettingsTestKit.h"

#include <gtest/gtest.h>

#include <functional>

using namespace settingstest;
using namespace settingsui;
using Calls_t = std::vector<std::string>;

namespace {

class DeviceDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InstallMediaFakes();
        m_saved = g_Settings;
        g_Settings = CClientSettings();
        g_Settings.recvFilePath = "C:\\Halvern\\NetFile";
        g_Settings.photoFilePath = "C:\\Halvern\\ShareAll";
        host.users.AddUser(1, "host", 1);
        host.users.AddUser(2, "alice", 2);
        host.users.AddUser(3, "bob", 2);
        ASSERT_TRUE(top.Make());
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
        g_Settings = m_saved;
        UninstallMediaFakes();
    }
    void Open()
    {
        ASSERT_TRUE(dlg.Create(&top));
        ClearCalls();
        host.events.clear();
    }
    void ClickOk() { CTestKit::ClickButton(::GetDlgItem(dlg.m_hWnd, IDOK)); }
    void ClickCancel() { CTestKit::ClickButton(::GetDlgItem(dlg.m_hWnd, IDCANCEL)); }
    CWnd* Audio() { return &dlg.AudioPage(); }
    CWnd* Video() { return &dlg.VideoPage(); }

    CTestSettingsHost host;
    CTopWindow top;
    CDlgDevice dlg;
    CClientSettings m_saved;
};

} // namespace

TEST_F(DeviceDialog, StartUpStartsEveryDeviceAndTheSpeakersAudio)
{
    host.users.SetSpeakState(2, 2);
    host.users.SetSpeakState(3, 1);
    host.recording = true;
    Open();
    dlg.InitDevices();
    Calls_t expected = {"AUDIO_MGR_StopCapture",
                        "AUDIO_MGR_StartCapture 0",
                        "AUDIO_MGR_Processer_SetParam 10 64",
                        "AUDIO_MGR_SetAEC 1",
                        "AUDIO_MGR_SetVolumeControl 0",
                        "AUDIO_MGR_Processer_SetParam 1 1",
                        "AUDIO_MGR_Processer_SetParam 2 1",
                        "AUDIO_MGR_Processer_SetParam 3 1",
                        "AUDIO_MGR_AutoSetFEC 1",
                        "AUDIO_MGR_Processer_SetParam 7 1",
                        "AUDIO_MGR_StopPlay",
                        "AUDIO_MGR_StartPlay 0",
                        "AUDIO_MGR_SetPlayLocal 0",
                        "T_EnablePostProc 0",
                        "T_EnableOverlay 0",
                        "T_S_StartCapture 0 0 0 256 320 240",
                        "T_S_SetVideoSourceIndex 0",
                        "T_S_SetBitRate 256",
                        "AUDIO_MGR_AddSource 2"};
    EXPECT_EQ(Calls(), expected);
    Calls_t events = {"notice 初始化视频设备成功。", "notice 初始化音频成功。", "report 1 1 3 0",
                      "redraw 1", "record audio 2"};
    EXPECT_EQ(host.events, events);
    USER_INFO own = {};
    ASSERT_TRUE(host.users.GetUser(1, &own));
    EXPECT_EQ(own.hasAudio, 1);
    EXPECT_EQ(own.hasVideo, 1);
    EXPECT_EQ(own.deviceFlagA, 3);
    EXPECT_EQ(own.deviceFlagB, 0);
}

TEST_F(DeviceDialog, FailingDevicesAreReportedAndTheUserIsTold)
{
    Media().captureStarts = false;
    Media().playStarts = false;
    Media().videoStarts = false;
    host.users.SetHasVideo(1, 1);
    host.users.SetVideoState(1, 2);
    host.users.SetBroadcastFlag(1, 1);
    Open();
    dlg.InitDevices();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0], "启动音频采集设备失败!");
    EXPECT_EQ(host.messages[1], "启动音频播放设备失败!");
    EXPECT_TRUE(CallsOf("AUDIO_MGR_Processer_SetParam 10").empty()) << "no format without capture";
    Calls_t events = {"notice 打开视频采集设备失败,请检查是否已经安装视频采集设备!",
                      "report 0 0 3 0", "remove 1", "redraw 1"};
    EXPECT_EQ(host.events, events);
    uint8_t state = 9;
    ASSERT_TRUE(host.users.GetVideoState(1, &state));
    EXPECT_EQ(state, 0);
    EXPECT_EQ(host.users.GetBroadcastFlag(1), 0);
    EXPECT_EQ(dlg.VideoPage().GetDlgItem(IDC_VIDEO_INPUT_LIST)->IsWindowEnabled(), FALSE);
    EXPECT_EQ(ListCount(Video(), IDC_VIDEO_INPUT_LIST), 0);
}

TEST_F(DeviceDialog, EachAudioChangeCallsTheAudioManagerForItAlone)
{
    struct Case
    {
        const char* name;
        std::function<void(CWnd*)> change;
        Calls_t calls;
    } cases[] = {
        {"playback device",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_PLAY_LIST, 1); },
         {"AUDIO_MGR_StopPlay", "AUDIO_MGR_StartPlay 1"}},
        {"capture device",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_CAPTURE_LIST, 1); },
         {"AUDIO_MGR_StopCapture", "AUDIO_MGR_StartCapture 1",
          "AUDIO_MGR_Processer_SetParam 10 64"}},
        {"format",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_FORMAT_LIST, 2); },
         {"AUDIO_MGR_StopCapture", "AUDIO_MGR_StartCapture 0",
          "AUDIO_MGR_Processer_SetParam 10 66"}},
        {"echo", [](CWnd* p) { SetChecked(p, IDC_AUDIO_AEC, false); }, {"AUDIO_MGR_SetAEC 0"}},
        {"volume",
         [](CWnd* p) { SetChecked(p, IDC_AUDIO_AUTO_VOLUME, true); },
         {"AUDIO_MGR_SetVolumeControl 1"}},
        {"play local",
         [](CWnd* p) { SetChecked(p, IDC_AUDIO_PLAY_LOCAL, true); },
         {"AUDIO_MGR_SetPlayLocal 1"}},
        {"silence",
         [](CWnd* p) { SetChecked(p, IDC_AUDIO_ASC, false); },
         {"AUDIO_MGR_Processer_SetParam 2 0"}},
        {"denoise",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_DENOISE_LIST, 3); },
         {"AUDIO_MGR_Processer_SetParam 1 3"}},
        {"gain",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_AGC_LIST, 0); },
         {"AUDIO_MGR_Processer_SetParam 3 0"}},
        {"small delay",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_DELAY_LIST, 1); },
         {"AUDIO_MGR_AutoSetFEC 0", "AUDIO_MGR_Processer_SetParam 7 0"}},
        {"high delay",
         [](CWnd* p) { ListSetSel(p, IDC_AUDIO_DELAY_LIST, 3); },
         {"AUDIO_MGR_AutoSetFEC 0", "AUDIO_MGR_Processer_SetParam 7 2"}},
    };
    Open();
    for (const Case& c : cases) {
        g_Settings = CClientSettings();
        dlg.RefreshPages();
        ClearCalls();
        c.change(Audio());
        ClickOk();
        EXPECT_EQ(CallsOf("AUDIO_MGR_"), c.calls) << c.name;
        // The same OK again changes nothing.
        ClearCalls();
        ClickOk();
        EXPECT_TRUE(CallsOf("AUDIO_MGR_").empty()) << c.name;
    }
}

TEST_F(DeviceDialog, DelayListIsTheFecChoiceTheUserSees)
{
    g_Settings.autoFec = 0;
    g_Settings.fecType = 2;
    Open();
    EXPECT_EQ(ListSel(Audio(), IDC_AUDIO_DELAY_LIST), 3);
    EXPECT_TRUE(Checked(Audio(), IDC_AUDIO_FEC_MANUAL));
    ListSetSel(Audio(), IDC_AUDIO_DELAY_LIST, 0);
    ClickOk();
    Calls_t calls = {"AUDIO_MGR_AutoSetFEC 1", "AUDIO_MGR_Processer_SetParam 7 2"};
    EXPECT_EQ(CallsOf("AUDIO_MGR_"), calls) << "automatic at the stored level";
    EXPECT_EQ(g_Settings.autoFec, 1u);
    EXPECT_EQ(g_Settings.fecType, 2u);
    EXPECT_TRUE(Checked(Audio(), IDC_AUDIO_FEC_AUTO));
}

TEST_F(DeviceDialog, NothingChangedSendsNoReport)
{
    Open();
    dlg.ToggleShow();
    EXPECT_TRUE(dlg.IsWindowVisible());
    ClickOk();
    EXPECT_FALSE(dlg.IsWindowVisible());
    Calls_t calls = {"T_EnablePostProc 0"};
    EXPECT_EQ(Calls(), calls);
    EXPECT_EQ(host.Reports(), 0);
}

TEST_F(DeviceDialog, EmptyDeviceListsKeepTheStoredDevices)
{
    Media().captureDevices.clear();
    Media().playDevices.clear();
    Media().formats.clear();
    Media().videoDevices.clear();
    Media().encoders.clear();
    g_Settings.audioCapture = 1;
    g_Settings.audioPlay = 1;
    g_Settings.audioFormat = 1;
    g_Settings.videoCaptureDev = 2;
    g_Settings.videoEncoder = 1;
    Open();
    EXPECT_EQ(ListCount(Audio(), IDC_AUDIO_CAPTURE_LIST), 0);
    ClickOk();
    EXPECT_TRUE(CallsOf("AUDIO_MGR_Start").empty());
    EXPECT_TRUE(CallsOf("T_S_StartCapture").empty());
    EXPECT_EQ(g_Settings.audioCapture, 1u);
    EXPECT_EQ(g_Settings.audioPlay, 1u);
    EXPECT_EQ(g_Settings.audioFormat, 1);
    EXPECT_EQ(g_Settings.videoCaptureDev, 2u);
    EXPECT_EQ(g_Settings.videoEncoder, 1u);
}

TEST_F(DeviceDialog, StoredIndexesBeyondTheListsBecomeTheFirstEntry)
{
    g_Settings.audioCapture = 5;
    g_Settings.audioPlay = 2;
    g_Settings.videoCaptureDev = 3;
    g_Settings.videoEncoder = 7;
    g_Settings.videoEncodeMode = 4;
    Open();
    EXPECT_EQ(ListSel(Audio(), IDC_AUDIO_CAPTURE_LIST), 0);
    EXPECT_EQ(ListSel(Audio(), IDC_AUDIO_PLAY_LIST), 0);
    EXPECT_EQ(ListSel(Video(), IDC_VIDEO_DEVICE_LIST), 0);
    EXPECT_EQ(g_Settings.audioCapture, 0u);
    EXPECT_EQ(g_Settings.audioPlay, 0u);
    EXPECT_EQ(g_Settings.videoCaptureDev, 0u);
    EXPECT_EQ(g_Settings.videoEncoder, 0u);
    EXPECT_EQ(g_Settings.videoEncodeMode, 0u);
}

TEST_F(DeviceDialog, CaptureFormatBeyondTheFormatsStartsWithTheFirst)
{
    Open();
    g_Settings.audioFormat = 3;
    EXPECT_EQ(dlg.AudioPage().RestartCapture(), 1);
    EXPECT_EQ(g_Settings.audioFormat, 0);
    Calls_t calls = {"AUDIO_MGR_StopCapture", "AUDIO_MGR_StartCapture 0",
                     "AUDIO_MGR_Processer_SetParam 10 64"};
    EXPECT_EQ(Calls(), calls);

    Media().formats.clear();
    ClearCalls();
    g_Settings.audioFormat = 2;
    EXPECT_EQ(dlg.AudioPage().RestartCapture(), 1);
    EXPECT_EQ(g_Settings.audioFormat, 0);
    EXPECT_TRUE(CallsOf("AUDIO_MGR_Processer_SetParam").empty()) << "no format code to set";
}

TEST_F(DeviceDialog, CaptureChangeThatFailsReportsNoAudio)
{
    host.users.SetHasAudio(1, 1);
    Open();
    Media().captureStarts = false;
    ListSetSel(Audio(), IDC_AUDIO_CAPTURE_LIST, 1);
    ClickOk();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "启动音频采集设备失败!");
    ASSERT_EQ(host.Reports(), 1);
    EXPECT_EQ(host.Report(), "report 0 0 3 0");
    EXPECT_EQ(host.users.HasAudio(1), 0);
}

TEST_F(DeviceDialog, CancelPutsTheStoredValuesBack)
{
    Open();
    SetChecked(Audio(), IDC_AUDIO_AEC, false);
    ListSetSel(Audio(), IDC_AUDIO_DELAY_LIST, 2);
    SetChecked(Video(), IDC_VIDEO_OVERLAY, false);
    ListSetSel(Video(), IDC_VIDEO_SIZE_LIST, 5);
    ClickCancel();
    EXPECT_TRUE(Checked(Audio(), IDC_AUDIO_AEC));
    EXPECT_EQ(ListSel(Audio(), IDC_AUDIO_DELAY_LIST), 0);
    EXPECT_TRUE(Checked(Video(), IDC_VIDEO_OVERLAY));
    EXPECT_EQ(ListSel(Video(), IDC_VIDEO_SIZE_LIST), 2);
    EXPECT_TRUE(Calls().empty());
    ClickOk();
    EXPECT_TRUE(CallsOf("AUDIO_MGR_").empty());
    EXPECT_TRUE(CallsOf("T_S_").empty());
}

TEST_F(DeviceDialog, EachVideoChangeCallsTheVideoLibraryForItAlone)
{
    struct Case
    {
        const char* name;
        std::function<void(CWnd*)> change;
        Calls_t calls;
    } cases[] = {
        {"input only",
         [](CWnd* p) { ListSetSel(p, IDC_VIDEO_INPUT_LIST, 1); },
         {"T_EnablePostProc 0", "T_S_SetVideoSourceIndex 1"}},
        {"size",
         [](CWnd* p) { ListSetSel(p, IDC_VIDEO_SIZE_LIST, 4); },
         {"T_EnablePostProc 0", "T_S_StartCapture 0 0 0 256 640 480", "T_S_SetVideoSourceIndex 0"}},
        {"device",
         [](CWnd* p) { ListSetSel(p, IDC_VIDEO_DEVICE_LIST, 2); },
         {"T_EnablePostProc 0", "T_S_StartCapture 2 0 0 256 320 240", "T_S_SetVideoSourceIndex 0"}},
        {"data mode",
         [](CWnd* p) { ListSetSel(p, IDC_VIDEO_DATA_MODE_LIST, 1); },
         {"T_EnablePostProc 0", "T_S_StartCapture 0 0 1 256 320 240", "T_S_SetVideoSourceIndex 0"}},
        {"bit rate",
         [](CWnd* p) { ListSetSel(p, IDC_VIDEO_RATE_LIST, 4); },
         {"T_EnablePostProc 0", "T_S_SetBitRate 512"}},
        {"overlay",
         [](CWnd* p) { SetChecked(p, IDC_VIDEO_OVERLAY, false); },
         {"T_EnableOverlay 0", "T_EnablePostProc 0"}},
        {"post-processing",
         [](CWnd* p) { SetChecked(p, IDC_VIDEO_POST_PROC, true); },
         {"T_EnablePostProc 1"}},
    };
    Open();
    for (const Case& c : cases) {
        g_Settings = CClientSettings();
        dlg.RefreshPages();
        dlg.VideoPage().OpenCapture();
        ClearCalls();
        c.change(Video());
        ClickOk();
        EXPECT_EQ(CallsOf("T_"), c.calls) << c.name;
    }
    EXPECT_EQ(g_Settings.enableImgFilter, 1u);
}

TEST_F(DeviceDialog, BitRatesOutsideTheListKeepTheStoredRate)
{
    g_Settings.bitRate = 300;
    Open();
    EXPECT_EQ(ListSel(Video(), IDC_VIDEO_RATE_LIST), -1);
    char label[32] = {};
    dlg.VideoPage().GetDlgItemText(IDC_VIDEO_RATE_LABEL, label, sizeof label);
    EXPECT_STREQ(label, "300Kbps");
    ClickOk();
    EXPECT_EQ(g_Settings.bitRate, 300u);
    EXPECT_TRUE(CallsOf("T_S_SetBitRate").empty());

    g_Settings.bitRate = 0;
    dlg.RefreshPages();
    EXPECT_EQ(g_Settings.bitRate, 128u) << "a rate of 0 is shown and stored as 128";
    EXPECT_EQ(ListSel(Video(), IDC_VIDEO_RATE_LIST), 1);
}

TEST_F(DeviceDialog, ChairsDeviceChoiceReopensTheCaptureOnce)
{
    Open();
    dlg.ApplyDeviceState(0);
    dlg.ApplyDeviceState(3);
    dlg.ApplyDeviceState(200);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(host.Reports(), 0);

    dlg.ApplyDeviceState(2);
    Calls_t calls = {"T_S_StartCapture 2 0 0 256 320 240", "T_S_SetVideoSourceIndex 0"};
    EXPECT_EQ(Calls(), calls);
    EXPECT_EQ(g_Settings.videoCaptureDev, 2u);
    EXPECT_EQ(ListSel(Video(), IDC_VIDEO_DEVICE_LIST), 2);
    ASSERT_EQ(host.Reports(), 1);
    EXPECT_EQ(host.Report(), "report 0 1 3 2");
    EXPECT_EQ(host.users.GetDeviceFlagB(1), 2);
}

TEST_F(DeviceDialog, OptionsPageStoresTheFoldersAndTheMessageButton)
{
    Open();
    char text[MAX_PATH] = {};
    dlg.PathPage().GetDlgItemText(IDC_PATH_RECV_EDIT, text, sizeof text);
    EXPECT_STREQ(text, "C:\\Halvern\\NetFile");
    dlg.PathPage().SetDlgItemText(IDC_PATH_PHOTO_EDIT, "D:\\Pictures");
    SetChecked(&dlg.PathPage(), IDC_PATH_SHOW_STATISTICS, false);
    ClickOk();
    EXPECT_EQ(g_Settings.photoFilePath, "D:\\Pictures");
    EXPECT_EQ(g_Settings.recvFilePath, "C:\\Halvern\\NetFile");
    ASSERT_FALSE(host.events.empty());
    EXPECT_EQ(host.events[0], "button off");
}

TEST_F(DeviceDialog, MenuCommandTogglesTheDialogOnTheVideoPage)
{
    Open();
    dlg.Tabs().SelectPage(2);
    dlg.ToggleShow();
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_EQ(dlg.Tabs().GetCurSel(), 0);
    EXPECT_TRUE(dlg.VideoPage().IsWindowVisible());
    dlg.ToggleShow();
    EXPECT_FALSE(dlg.IsWindowVisible());

    // The video window's command shows it without refreshing the video page;
    // the audio page is brought up to date on every showing.
    g_Settings.aec = 0;
    g_Settings.videoSize = 5;
    dlg.Tabs().SelectPage(1);
    dlg.ShowPages();
    EXPECT_EQ(dlg.Tabs().GetCurSel(), 0);
    EXPECT_FALSE(Checked(Audio(), IDC_AUDIO_AEC));
    EXPECT_EQ(ListSel(Video(), IDC_VIDEO_SIZE_LIST), 2);
}

TEST_F(DeviceDialog, PageButtonsOpenTheDriverPageAndTheImageSettings)
{
    Media().defaults.field[0] = 42;
    Open();
    CTestKit::ClickButton(Item(Video(), IDC_VIDEO_PROPERTIES));
    EXPECT_EQ(Calls(), Calls_t{"T_S_ShowPropertyPage"});

    // The image settings run modally on the page's record; closed without a
    // change they put the page's record back into the library.
    ClearCalls();
    {
        CTestKit::AutoCloseDialogs closer(300);
        CTestKit::ClickButton(Item(Video(), IDC_VIDEO_IMAGE_BUTTON));
        EXPECT_GE(closer.Closed(), 1);
    }
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls().back().compare(0, 23, "T_SetImgProcSetting 42 "), 0) << Calls().back();
    EXPECT_EQ(dlg.VideoPage().ImageSettings().field[0], 42);
}

TEST_F(DeviceDialog, LanguageChangeRefillsTheLevelListsKeepingTheChoice)
{
    Open();
    ListSetSel(Audio(), IDC_AUDIO_DENOISE_LIST, 3);
    ListSetSel(Video(), IDC_VIDEO_DATA_MODE_LIST, 1);
    Audio()->SendMessage(WM_LANGUAGE_CHANGED);
    Video()->SendMessage(WM_LANGUAGE_CHANGED);
    EXPECT_EQ(ListCount(Audio(), IDC_AUDIO_DENOISE_LIST), 4);
    EXPECT_EQ(ListSel(Audio(), IDC_AUDIO_DENOISE_LIST), 3);
    EXPECT_EQ(ListText(Audio(), IDC_AUDIO_DENOISE_LIST, 3), "强");
    EXPECT_EQ(ListCount(Video(), IDC_VIDEO_DATA_MODE_LIST), 2);
    EXPECT_EQ(ListSel(Video(), IDC_VIDEO_DATA_MODE_LIST), 1);
    EXPECT_EQ(ListText(Video(), IDC_VIDEO_DATA_MODE_LIST, 1), "恒定码流");
}
