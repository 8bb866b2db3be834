#include "CDlgRecordTimer.h"
#include "CTestKit.h"
#include "SettingsResource.h"
#include "SettingsTestKit.h"

#include <gtest/gtest.h>

using namespace settingstest;

TEST(RecordTimer, ElapsedTimeShowsTotalMinutesAndSeconds)
{
    struct Case
    {
        long seconds;
        const char* text;
    } cases[] = {{0, "0:0"},      {59, "0:59"},   {60, "1:0"},
                 {3599, "59:59"}, {3725, "62:5"}, {-3, "0:0"}};
    for (const Case& c : cases)
        EXPECT_EQ(CDlgRecordTimer::FormatElapsed(c.seconds), c.text) << c.seconds;
}

namespace {
time_t g_now = 1000;
time_t FakeNow() { return g_now; }
} // namespace

TEST(RecordTimer, TicksShowTheTimeSinceStartAndFinishStopsTheRecording)
{
    CTestSettingsHost host;
    CDlgRecordTimer timer;
    timer.SetClock(FakeNow);
    ASSERT_TRUE(timer.Create(nullptr));
    EXPECT_FALSE(timer.IsWindowVisible());
    char text[32] = {};
    timer.GetDlgItemText(IDC_RECORD_SIZE, text, sizeof text);
    EXPECT_STREQ(text, "5k");
    for (int id = IDC_RECORD_VIDEO; id <= IDC_RECORD_USERS; ++id)
        EXPECT_EQ(timer.IsDlgButtonChecked(id), BST_CHECKED) << id;

    g_now = 1000;
    timer.Start();
    timer.ShowWindow(SW_SHOW);
    g_now = 1000 + 3725;
    timer.Tick();
    timer.GetDlgItemText(IDC_RECORD_TIME, text, sizeof text);
    EXPECT_STREQ(text, "62:5");

    CTestKit::ClickButton(timer.GetDlgItem(IDCANCEL)->m_hWnd);
    EXPECT_FALSE(timer.IsWindowVisible());
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0], "stop recording");

    // A new start counts from then.
    g_now = 9000;
    timer.Start();
    g_now = 9061;
    timer.Tick();
    timer.GetDlgItemText(IDC_RECORD_TIME, text, sizeof text);
    EXPECT_STREQ(text, "1:1");
    timer.DestroyWindow();
}
