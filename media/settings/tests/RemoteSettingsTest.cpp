// Another participant's device settings: the records terminals exchange,
// the dialog that shows and edits them, and the terminal that applies them.
#include "CClientSettings.h"
#include "CDlgDevice.h"
#include "CDlgDeviceRemote.h"
#include "CRemoteSettings.h"
#include "CTestKit.h"
#include "SettingsControls.h"
#include "SettingsResource.h"
#include "SettingsTestKit.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace settingstest;
using namespace settingsui;

namespace {

DEVICE_SETTINGS Sample()
{
    DEVICE_SETTINGS s = {};
    uint32_t* words = &s.AudioCapture;
    for (int i = 0; i < 22; ++i)
        words[i] = 100 + i;
    s.AudioFormat = 0x1234; // only the low byte travels
    return s;
}

uint32_t WordAt(const std::vector<uint8_t>& d, size_t at)
{
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | (uint32_t)d[at + 3] << 24;
}

} // namespace

TEST(RemoteSettingsRecords, ReportCarriesBothPartsAndTheNames)
{
    REMOTE_NAMES names;
    names.list[NAMES_VIDEO_DEVICES] = {"Camera A", "Camera B"};
    names.list[NAMES_AUDIO_FORMATS] = {"G.722.1"};
    std::vector<uint8_t> report = CRemoteSettings::BuildReport(Sample(), names);
    ASSERT_EQ(report.size(), 1244u);
    EXPECT_EQ(report[0], 2);
    EXPECT_EQ(report[1], 0);
    EXPECT_EQ(report[2] | report[3], 0) << "bytes not set go out as zero";
    EXPECT_EQ(WordAt(report, 4), 100u);
    EXPECT_EQ(WordAt(report, 12), 0x34u);
    EXPECT_EQ(WordAt(report, 48), 111u);
    EXPECT_EQ(WordAt(report, 88), 121u);
    EXPECT_EQ(std::memcmp(&report[92], "Camera A\0Camera B\0\0", 19), 0);
    for (size_t i = 1116; i < 1244; ++i)
        ASSERT_EQ(report[i], 0) << i;

    DEVICE_SETTINGS parsed;
    REMOTE_NAMES back;
    ASSERT_TRUE(CRemoteSettings::ParseReport(report.data(), report.size(), &parsed, &back));
    DEVICE_SETTINGS expected = Sample();
    expected.AudioFormat = 0x34;
    EXPECT_EQ(std::memcmp(&parsed, &expected, sizeof parsed), 0);
    EXPECT_EQ(back.list[NAMES_VIDEO_DEVICES], names.list[NAMES_VIDEO_DEVICES]);
    EXPECT_EQ(back.list[NAMES_AUDIO_FORMATS], names.list[NAMES_AUDIO_FORMATS]);
    EXPECT_TRUE(back.list[NAMES_VIDEO_INPUTS].empty());

    EXPECT_FALSE(CRemoteSettings::ParseReport(report.data(), 1243, &parsed, &back));
    report[0] = 3;
    EXPECT_FALSE(CRemoteSettings::ParseReport(report.data(), report.size(), &parsed, &back));
}

TEST(RemoteSettingsRecords, SettingsToApplyLeaveTheCameraFieldsOut)
{
    std::vector<uint8_t> record = CRemoteSettings::BuildApply(Sample());
    ASSERT_EQ(record.size(), 92u);
    EXPECT_EQ(record[0], 3);
    EXPECT_EQ(record[2] | record[3], 0);
    EXPECT_EQ(WordAt(record, 48), 111u);
    EXPECT_EQ(WordAt(record, 64), 0u) << "control port";
    EXPECT_EQ(WordAt(record, 68), 0u) << "camera type";
    EXPECT_EQ(WordAt(record, 72), 117u) << "bit rate";

    DEVICE_SETTINGS parsed;
    ASSERT_TRUE(CRemoteSettings::ParseApply(record.data(), record.size(), &parsed));
    EXPECT_EQ(parsed.BitRate, 117u);
    EXPECT_EQ(parsed.PollingTime, 121u);
    EXPECT_FALSE(CRemoteSettings::ParseApply(record.data(), 91, &parsed));
    EXPECT_FALSE(CRemoteSettings::ParseApply(CRemoteSettings::BuildQuery().data(), 2, &parsed));
}

TEST(RemoteSettingsRecords, NamesFieldsStayWithinTheirBytes)
{
    struct Case
    {
        const char* name;
        std::vector<uint8_t> field;
        std::vector<std::string> names;
    };
    auto field = [](const std::string& bytes) {
        std::vector<uint8_t> f(128, 0);
        std::memcpy(f.data(), bytes.data(), std::min<size_t>(bytes.size(), 128));
        return f;
    };
    std::string noEnd(128, 'x');
    std::string lastCut = std::string("abc\0", 4) + std::string(124, 'y');
    Case cases[] = {
        {"empty", field(""), {}},
        {"two", field(std::string("one\0two\0\0", 9)), {"one", "two"}},
        {"no terminator at all", field(noEnd), {}},
        {"last name cut at the end", field(lastCut), {"abc"}},
        {"empty name ends the list", field(std::string("a\0\0b\0", 5)), {"a"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CRemoteSettings::ParseNames(c.field.data()), c.names) << c.name;

    // Packing leaves out what does not fit, and the field still ends.
    std::vector<std::string> many(20, std::string(10, 'n'));
    uint8_t packed[128];
    CRemoteSettings::PackNames(many, packed);
    std::vector<std::string> back = CRemoteSettings::ParseNames(packed);
    EXPECT_EQ(back.size(), 11u);
    EXPECT_EQ(packed[127], 0);
}

namespace {

class RemoteSettings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InstallMediaFakes();
        m_saved = g_Settings;
        g_Settings = CClientSettings();
        host.users.AddUser(1, "host", 1);
        host.users.AddUser(2, "alice", 2);
        ASSERT_TRUE(top.Make());
        ASSERT_TRUE(device.Create(&top));
        ASSERT_TRUE(remote.Create(&top));
        remote.SetDeviceDialog(&device);
        ClearCalls();
    }
    void TearDown() override
    {
        remote.DestroyWindow();
        device.DestroyWindow();
        g_Settings = m_saved;
        UninstallMediaFakes();
    }
    // The report alice's terminal sends: her settings as the own settings of a terminal.
    std::vector<uint8_t> AliceReport()
    {
        CClientSettings own = g_Settings;
        g_Settings.videoCaptureDev = 1;
        g_Settings.videoSize = 3;
        g_Settings.bitRate = 384;
        g_Settings.aec = 0;
        std::vector<uint8_t> report = CDlgDeviceRemote::BuildOwnReport();
        g_Settings = own;
        return report;
    }
    bool PagesEnabled()
    {
        return ::IsWindowEnabled(Item(&remote.VideoPage(), IDC_VIDEO_DEVICE_LIST)) != FALSE;
    }

    CTestSettingsHost host;
    CTopWindow top;
    CDlgDevice device;
    CDlgDeviceRemote remote;
    CClientSettings m_saved;
};

} // namespace

TEST_F(RemoteSettings, AskingShowsTheOtherParticipantOnly)
{
    remote.ShowForUser(1);
    remote.ShowForUser(99);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_FALSE(remote.IsWindowVisible());

    remote.ShowForUser(2);
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].user, 2u);
    EXPECT_EQ(host.sent[0].data, (std::vector<uint8_t>{1, 0}));
    EXPECT_TRUE(remote.IsWindowVisible());
    EXPECT_FALSE(PagesEnabled());
    char caption[64] = {};
    remote.GetWindowText(caption, sizeof caption);
    EXPECT_STREQ(caption, "系统设置--alice");
}

TEST_F(RemoteSettings, OnlyAWholeReportOfTheParticipantShownFillsThePages)
{
    remote.ShowForUser(2);
    std::vector<uint8_t> report = AliceReport();
    host.users.AddUser(3, "bob", 2);
    remote.OnRemoteSettings(3, report.data(), report.size());
    remote.OnRemoteSettings(2, report.data(), 1243);
    EXPECT_FALSE(PagesEnabled());
    EXPECT_FALSE(remote.Received());

    remote.OnRemoteSettings(2, report.data(), report.size());
    EXPECT_TRUE(PagesEnabled());
    EXPECT_TRUE(remote.Received());
    CWnd* video = &remote.VideoPage();
    EXPECT_EQ(ListCount(video, IDC_VIDEO_DEVICE_LIST), 3);
    EXPECT_EQ(ListSel(video, IDC_VIDEO_DEVICE_LIST), 1);
    EXPECT_EQ(ListText(video, IDC_VIDEO_SIZE_LIST, 3), "352 * 288");
    EXPECT_EQ(ListSel(video, IDC_VIDEO_SIZE_LIST), 3);
    char label[32] = {};
    video->GetDlgItemText(IDC_VIDEO_RATE_LABEL, label, sizeof label);
    EXPECT_STREQ(label, "384Kbps");
    CWnd* audio = &remote.AudioPage();
    EXPECT_EQ(ListText(audio, IDC_AUDIO_CAPTURE_LIST, 1), "Mic B");
    EXPECT_FALSE(Checked(audio, IDC_AUDIO_AEC));
    EXPECT_TRUE(Checked(audio, IDC_AUDIO_FEC_AUTO));
}

TEST_F(RemoteSettings, OkSendsTheEditedSettingsOnlyAfterAReport)
{
    remote.ShowForUser(2);
    CTestKit::ClickButton(::GetDlgItem(remote.m_hWnd, IDOK));
    EXPECT_EQ(host.sent.size(), 1u) << "only the query: nothing to send without a report";

    remote.ShowForUser(2);
    std::vector<uint8_t> report = AliceReport();
    remote.OnRemoteSettings(2, report.data(), report.size());
    ListSetSel(&remote.VideoPage(), IDC_VIDEO_SIZE_LIST, 4);
    SetChecked(&remote.AudioPage(), IDC_AUDIO_AEC, true);
    CTestKit::ClickButton(::GetDlgItem(remote.m_hWnd, IDOK));
    ASSERT_EQ(host.sent.size(), 3u);
    const std::vector<uint8_t>& sent = host.sent[2].data;
    EXPECT_EQ(host.sent[2].user, 2u);
    DEVICE_SETTINGS out;
    ASSERT_TRUE(CRemoteSettings::ParseApply(sent.data(), sent.size(), &out));
    EXPECT_EQ(sent.size(), 92u);
    EXPECT_EQ(out.VideoSize, 4u);
    EXPECT_EQ(out.VideoCaptureDev, 1u);
    EXPECT_EQ(out.BitRate, 384u);
    EXPECT_EQ(out.AEC, 1u);
    EXPECT_EQ(out.PollingTime, 15u);
    EXPECT_FALSE(remote.IsWindowVisible());
    EXPECT_FALSE(remote.Received());
}

TEST_F(RemoteSettings, AQueryIsAnsweredWithTheOwnSettings)
{
    g_Settings.videoSize = 4;
    g_Settings.audioPlay = 1;
    remote.OnSettingsQuery(7, CRemoteSettings::BuildQuery().data(), 2);
    EXPECT_TRUE(host.sent.empty()) << "no answer to a stranger";

    remote.OnSettingsQuery(2, CRemoteSettings::BuildQuery().data(), 2);
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].user, 2u);
    DEVICE_SETTINGS parsed;
    REMOTE_NAMES names;
    ASSERT_TRUE(CRemoteSettings::ParseReport(host.sent[0].data.data(), host.sent[0].data.size(),
                                             &parsed, &names));
    EXPECT_EQ(parsed.VideoSize, 4u);
    EXPECT_EQ(parsed.AudioPlay, 1u);
    EXPECT_EQ(names.list[NAMES_VIDEO_DEVICES], Media().videoDevices);
    EXPECT_EQ(names.list[NAMES_AUDIO_PLAY], Media().playDevices);
    EXPECT_EQ(names.list[NAMES_IMAGE_SIZES].size(), 7u);
}

TEST_F(RemoteSettings, ReceivedSettingsApplyOnlyWhatChanged)
{
    std::vector<uint8_t> same = CRemoteSettings::BuildApply(DEVICE_SETTINGS::From(g_Settings));
    remote.ApplyReceivedSettings(2, same.data(), same.size());
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(host.Reports(), 0);

    DEVICE_SETTINGS wanted = DEVICE_SETTINGS::From(g_Settings);
    wanted.VideoSize = 4;
    wanted.BitRate = 512;
    std::vector<uint8_t> record = CRemoteSettings::BuildApply(wanted);
    remote.ApplyReceivedSettings(7, record.data(), record.size());
    remote.ApplyReceivedSettings(2, record.data(), 91);
    EXPECT_TRUE(Calls().empty()) << "a stranger's or a short record changes nothing";

    remote.ApplyReceivedSettings(2, record.data(), record.size());
    std::vector<std::string> calls = {"T_S_StartCapture 0 0 0 256 640 480",
                                      "T_S_SetVideoSourceIndex 0", "T_S_SetBitRate 512"};
    EXPECT_EQ(Calls(), calls);
    EXPECT_EQ(g_Settings.videoSize, 4u);
    EXPECT_EQ(g_Settings.bitRate, 512u);
    EXPECT_EQ(host.Report(), "report 0 1 3 0");
    EXPECT_EQ(ListSel(&device.VideoPage(), IDC_VIDEO_SIZE_LIST), 4)
        << "the own pages show the new settings";

    ClearCalls();
    wanted.VideoInput = 0xFFFFFFFFu;
    record = CRemoteSettings::BuildApply(wanted);
    remote.ApplyReceivedSettings(2, record.data(), record.size());
    EXPECT_TRUE(Calls().empty()) << "input -1 is stored, not set";
    EXPECT_EQ(g_Settings.videoInput, 0xFFFFFFFFu);
}

TEST_F(RemoteSettings, ChairChangesAnotherTerminalsVideoSize)
{
    // Two terminals in one process: the chair's dialog and alice's terminal,
    // with the messages carried between them as the server would.
    remote.ShowForUser(2);
    ASSERT_EQ(host.sent.size(), 1u);
    std::vector<uint8_t> query = host.sent[0].data;
    host.sent.clear();

    // Alice's side answers (the own id is hers for the moment).
    host.ownId = 2;
    remote.OnSettingsQuery(1, query.data(), query.size());
    ASSERT_EQ(host.sent.size(), 1u);
    std::vector<uint8_t> report = host.sent[0].data;
    host.sent.clear();

    host.ownId = 1;
    remote.OnRemoteSettings(2, report.data(), report.size());
    ASSERT_TRUE(remote.Received());
    ListSetSel(&remote.VideoPage(), IDC_VIDEO_SIZE_LIST, 6);
    CTestKit::ClickButton(::GetDlgItem(remote.m_hWnd, IDOK));
    ASSERT_EQ(host.sent.size(), 1u);
    std::vector<uint8_t> settings = host.sent[0].data;

    host.ownId = 2;
    ClearCalls();
    remote.ApplyReceivedSettings(1, settings.data(), settings.size());
    EXPECT_EQ(g_Settings.videoSize, 6u);
    ASSERT_FALSE(CallsOf("T_S_StartCapture").empty());
    EXPECT_EQ(CallsOf("T_S_StartCapture")[0], "T_S_StartCapture 0 0 0 256 720 576");
}
