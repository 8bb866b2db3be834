// The left pane of this edition: its microphone level is RavoTM's capture
// level painted in the microphone slider; the meter itself stays put.
#include <gtest/gtest.h>

#include <cstring>

#include "CDlgLeft.h"
#include "CMicMeter.h"
#include "CRavoTMSlots.h"
#include "CTestKit.h"
#include "FakeRavoTM.h"
#include "MediaFunctionList.h"
#include "PaneTestKit.h"

using namespace panetest;

namespace {

class QuilletLeftPane : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FakeRavoTM::Reset();
        CRavoTMSlots::Fill(ravotm, nullptr, &g_MediaFunctions);
        CDlgLeft::SetMicLevelPainter(&CMicMeter::Paint);
        ASSERT_TRUE(StartWinsockOnce());
        ASSERT_TRUE(server.Start(0));
        ASSERT_TRUE(host.Login("host", "pw"));
        ASSERT_TRUE(parent.CreateTop(300, 700));
        left.reset(new CDlgLeft(host.Context(&fake)));
        ASSERT_TRUE(left->CreatePane(&parent));
        left->KillTimer(CDlgLeft::TIMER_LEVELS); // the test drives the levels
        CTestKit::PumpPending();
    }
    void TearDown() override
    {
        left->DestroyWindow();
        parent.DestroyWindow();
        CTestKit::PumpPending();
        CDlgLeft::SetMicLevelPainter(nullptr);
        memset(&g_MediaFunctions, 0, sizeof g_MediaFunctions);
    }

    RAVOTM_FUNCTIONS ravotm = FakeRavoTM::Functions();
    CStandInServer server{StandInTestConfig()};
    CMeetingClient host{server};
    CFakeHost fake;
    CParentWnd parent;
    std::unique_ptr<CDlgLeft> left;
};

} // namespace

TEST_F(QuilletLeftPane, MicrophoneMessagePaintsTheCaptureLevelInTheSlider)
{
    const struct
    {
        int level, painted;
    } cases[] = {{0, 0}, {37, 37}, {99, 99}, {100, 100}, {140, 100}, {-5, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        FakeRavoTM::captureLevel = c.level;
        left->SendMessage(WM_USER + 112);
        EXPECT_EQ(left->GetMicSlider().m_nLevel, c.painted);
        EXPECT_EQ(left->GetMicMeter().GetPos(), 0) << "the meter is not moved";
    }
    EXPECT_FALSE(FakeRavoTM::Only("D_G_GetCapEnergy").empty());
}
