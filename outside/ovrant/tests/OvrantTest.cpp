// The stand-in player program's window driven as a user would: open a
// recording, watch the slider move, pause, seek, resume to the end, close.
#include <gtest/gtest.h>

#include "afxwin.h"
#include "afxcmn.h"

#include <string>

#include "COvrantLibrary.h"
#include "COvrantWnd.h"
#include "CRecorder.h"
#include "CTestKit.h"
#include "RecordingFixture.h"

namespace {

class Ovrant : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library.Load("Caskel.dll"));
        wnd = new COvrantWnd(library);
        ASSERT_TRUE(wnd->CreatePlayer());
        wnd->ShowWindow(SW_SHOWNOACTIVATE);
        CTestKit::PumpFor(50);
    }
    void TearDown() override
    {
        if (wnd && ::IsWindow(wnd->m_hWnd))
            wnd->DestroyWindow(); // frees the window object
        CTestKit::PumpPending();
    }
    // A recording of about a second and a half: a participant, chat lines
    // spread over the time and one video window.
    std::string Record()
    {
        const std::string path = dir.File("ovrant.Pellrund");
        CRecorder recorder;
        EXPECT_EQ(1, recorder.StartRecord(path.c_str(), ""));
        recorder.AddVideo(3);
        recorder.WriteChatData("alice", 1);
        for (int i = 0; i < 6; ++i) {
            recorder.WriteChatData(("line " + std::to_string(i)).c_str(), 0);
            Sleep(250);
        }
        recorder.StopRecord();
        return path;
    }
    void SendSliderEnd(uint32_t ms)
    {
        wnd->Slider().SendMessage(TBM_SETPOS, TRUE, static_cast<LPARAM>(ms));
        wnd->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                         reinterpret_cast<LPARAM>(wnd->Slider().m_hWnd));
    }
    int SliderPos() { return static_cast<int>(wnd->Slider().SendMessage(TBM_GETPOS)); }

    TempFolder dir;
    COvrantLibrary library;
    COvrantWnd* wnd = nullptr;
};

} // namespace

TEST_F(Ovrant, OpensPlaysPausesSeeksAndCloses)
{
    const std::string path = Record();
    ASSERT_TRUE(wnd->Open(path.c_str()));
    EXPECT_TRUE(wnd->IsPlaying());
    EXPECT_GE(wnd->GetTotal(), 1500u);
    EXPECT_EQ(static_cast<int>(wnd->GetTotal()), wnd->Slider().GetRangeMax());
    EXPECT_TRUE(wnd->Slider().IsWindowEnabled());
    // The player's windows sit in the program's window.
    EXPECT_NE(nullptr, ::GetDlgItem(wnd->m_hWnd, 1234));
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return SliderPos() > 0; }, 3000));

    CTestKit::ClickButton(wnd->PauseButton().m_hWnd);
    CTestKit::PumpPending();
    EXPECT_TRUE(wnd->IsPaused());
    char text[32] = "";
    ::GetWindowTextA(wnd->PauseButton().m_hWnd, text, sizeof text);
    EXPECT_STREQ("继续", text);
    const uint32_t held = library.GetCurTime();
    CTestKit::PumpFor(300);
    EXPECT_EQ(held, library.GetCurTime());

    // A seek while paused: the slider and the position read the new time.
    SendSliderEnd(1000);
    EXPECT_EQ(1000u, library.GetCurTime());
    CTestKit::PumpFor(250);
    EXPECT_EQ(1000, SliderPos());
    EXPECT_EQ("00:00:01 / " + std::string(wnd->TimeText()).substr(11), wnd->TimeText());

    CTestKit::ClickButton(wnd->PauseButton().m_hWnd);
    CTestKit::PumpPending();
    EXPECT_FALSE(wnd->IsPaused());
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return wnd->IsFinished(); }, 5000));
    EXPECT_FALSE(wnd->HadError());
    EXPECT_EQ(static_cast<int>(wnd->GetTotal()), SliderPos());
    EXPECT_FALSE(wnd->PauseButton().IsWindowEnabled());

    // After the end the slider plays it again from where it is put.
    SendSliderEnd(500);
    EXPECT_TRUE(wnd->IsPlaying());
    EXPECT_FALSE(wnd->IsFinished());
    EXPECT_GE(library.GetCurTime(), 500u);

    CTestKit::ClickButton(wnd->CloseButton().m_hWnd);
    CTestKit::PumpPending();
    EXPECT_FALSE(wnd->IsPlaying());
    EXPECT_EQ(nullptr, ::GetDlgItem(wnd->m_hWnd, 1234));
    EXPECT_FALSE(wnd->Slider().IsWindowEnabled());
    EXPECT_EQ(0u, library.GetTotalTime());
}

TEST_F(Ovrant, AFileThatIsNoRecordingIsRefusedWithAMessage)
{
    const std::string path = dir.File("notes.Pellrund");
    ASSERT_TRUE(WriteWholeFile(path, Bytes(300, 'n')));
    CTestKit::MessageBoxes boxes(IDOK);
    EXPECT_FALSE(wnd->Open(path.c_str()));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("无法播放这个录像文件", boxes.Shown()[0].text);
    EXPECT_FALSE(wnd->IsPlaying());
    EXPECT_FALSE(wnd->PauseButton().IsWindowEnabled());
}
