#include <gtest/gtest.h>

#include "CCpuMeter.h"
#include "CHyperLink.h"
#include "CPercentProgress.h"
#include "CTestKit.h"
#include "ControlTestKit.h"

using namespace controltest;

TEST(CpuMeter, LoadFromTwoSamplesStaysWithinTheScale)
{
    const ULONGLONG s = 10000000; // one second in 100 ns units
    struct Case
    {
        ULONGLONG dIdle, dTime;
        int processors, previous, expect;
        const char* what;
    } cases[] = {
        {2 * s, 2 * s, 2, 40, 50, "two processors, one of them idle all the time"},
        {0, s, 1, 40, 100, "never idle"},
        {s, s, 1, 40, 0, "idle all the time"},
        {3 * s, s, 1, 40, 0, "idle counted beyond the elapsed time: kept at 0"},
        {s / 4, s, 1, 40, 75, "rounded"},
        {s, 0, 2, 37, 37, "no elapsed time: the previous load stands"},
        {s, s, 0, 40, 0, "no processor count: taken as one"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCpuMeter::ComputeLoad(1000, 5000, 1000 + c.dIdle, 5000 + c.dTime, c.processors,
                                         c.previous),
                  c.expect)
            << c.what;
    EXPECT_EQ(CCpuMeter::ComputeLoad(9000, 5000, 1000, 6000, 1, 33), 33)
        << "counters that ran backwards";
}

namespace {
class CTestMeter : public CCpuMeter
{
public:
    void SetLoadForTest(int load) { m_nLoad = load; }
};
int g_sunk = -1;
void Sink(int load) { g_sunk = load; }
} // namespace

TEST(CpuMeter, DrawsFreeAndUsedLinesByLoadAndHandsEverySampleOn)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    CTestMeter meter;
    ASSERT_TRUE(meter.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 250), &parent, 60));
    EXPECT_EQ(meter.GetLoad(), 40) << "until the first sample";
    const COLORREF freeLine = 0x005000, usedLine = 0x008C00;
    meter.SetLoadForTest(0);
    Pixels p = Snap(meter);
    EXPECT_EQ(p.Count(usedLine), 0);
    EXPECT_GT(p.Count(freeLine), 0);
    meter.SetLoadForTest(100);
    p = Snap(meter);
    EXPECT_EQ(p.Count(freeLine), 0);
    EXPECT_GT(p.Count(usedLine), 0);

    CCpuMeter::SetLoadSink(Sink);
    meter.SendMessage(WM_TIMER, 1);
    EXPECT_GE(g_sunk, 0);
    EXPECT_LE(g_sunk, 100);
    CCpuMeter::SetLoadSink(NULL);
    parent.DestroyWindow();
}

TEST(PercentProgress, BarHeightFollowsTheValueWithinTheClientArea)
{
    EXPECT_EQ(CPercentProgress::BarHeight(0, 125), 0);
    EXPECT_EQ(CPercentProgress::BarHeight(50, 125), 50);
    EXPECT_EQ(CPercentProgress::BarHeight(100, 125), 100);
    EXPECT_EQ(CPercentProgress::BarHeight(250, 125), 100) << "kept at 100 percent";
    EXPECT_EQ(CPercentProgress::BarHeight(-5, 125), 0);
    EXPECT_EQ(CPercentProgress::BarHeight(100, 10), 0) << "no room";
}

namespace {
class CTestLink : public CHyperLink
{
public:
    INT_PTR result = 26;
    CString opened;

protected:
    INT_PTR GotoURL(LPCSTR url, int) override
    {
        opened = url;
        return result;
    }
};

HWND MakeStatic(CWnd& parent, LPCSTR text, UINT id)
{
    return ::CreateWindowA("STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 200, 30,
                           parent.m_hWnd, (HMENU)(UINT_PTR)id, NULL, NULL);
}
} // namespace

TEST(HyperLink, TextAndAddressStandInForEachOther)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    CHyperLink byAddress, byText;
    byAddress.SetURL("http://meeting.example/");
    ASSERT_TRUE(byAddress.SubclassWindow(MakeStatic(parent, "", 70)));
    CString text;
    byAddress.GetWindowText(text);
    EXPECT_STREQ(text, "http://meeting.example/");
    ASSERT_TRUE(byText.SubclassWindow(MakeStatic(parent, "www.example.org", 71)));
    EXPECT_STREQ(byText.GetURL(), "www.example.org");
    EXPECT_TRUE(byText.GetStyle() & SS_NOTIFY);
    CRect rc;
    byText.GetWindowRect(&rc);
    EXPECT_LT(rc.Width(), 200) << "fitted to its text";
    parent.DestroyWindow();
}

TEST(HyperLink, FailedOpeningIsReportedAndASuccessMarksTheLinkVisited)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    CTestLink link;
    ASSERT_TRUE(link.SubclassWindow(MakeStatic(parent, "http://a.example/", 72)));
    {
        CTestKit::MessageBoxes boxes;
        parent.SendMessage(WM_COMMAND, MAKEWPARAM(72, STN_CLICKED), (LPARAM)link.m_hWnd);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text,
                  "Unable to open hyperlink:\n\nA sharing violation occurred. ");
        EXPECT_TRUE(boxes.Shown()[0].type & MB_ICONEXCLAMATION);
    }
    EXPECT_STREQ(link.opened, "http://a.example/");
    EXPECT_FALSE(link.GetVisited());
    link.result = 42;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(72, STN_CLICKED), (LPARAM)link.m_hWnd);
    EXPECT_TRUE(link.GetVisited());

    EXPECT_STREQ(CHyperLink::GetErrorText(2), "The specified file was not found.");
    EXPECT_STREQ(CHyperLink::GetErrorText(99), "Unknown Error (99) occurred.");

    CTestKit::SendMouse(link.GetSafeHwnd(), WM_MOUSEMOVE, POINT{2, 2});
    EXPECT_TRUE(link.IsHovering());
    link.DestroyWindow();
    parent.DestroyWindow();
}
