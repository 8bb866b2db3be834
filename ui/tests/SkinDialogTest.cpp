#include <gtest/gtest.h>

#include "CAutoDialog.h"
#include "CFlatEdit.h"
#include "CLanguageManager.h"
#include "CSkinDialog.h"
#include "CTestKit.h"
#include "SkinTestResource.h"

#include <cstdio>
#include <string>

namespace {
// A modeless skinned dialog that records the caption commands it receives.
class CTestSkinDialog : public CSkinDialog
{
public:
    explicit CTestSkinDialog(UINT id) : CSkinDialog(id, "CTestSkinDialog") {}
    UINT lastCommand = 0;
    int commands = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) >= ID_CAPTION_CLOSE && LOWORD(wParam) <= ID_CAPTION_MINIMIZE) {
            lastCommand = LOWORD(wParam);
            ++commands;
            return TRUE; // recorded, not carried out
        }
        return CSkinDialog::OnCommand(wParam, lParam);
    }
};

struct OpenDialog
{
    explicit OpenDialog(UINT id) : dlg(id)
    {
        // A window shown under the cursor gets a move at wherever the last
        // test left the cursor, later than the test's own first message:
        // the cursor is put off the dialog before it shows.
        CTestKit::MoveCursor(
            NULL, POINT{::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1});
        EXPECT_TRUE(dlg.Create(id, NULL));
        dlg.SetWindowPos(NULL, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        CTestKit::PumpPending();
    }
    ~OpenDialog()
    {
        if (dlg.GetSafeHwnd())
            dlg.DestroyWindow();
        CTestKit::PumpPending();
    }
    CTestSkinDialog dlg;
};

// Client coordinates of a point inside a caption button.
POINT Centre(const CCaptionButton& b)
{
    const RECT& r = b.GetRect();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Post(CWnd& wnd, UINT msg, POINT pt, WPARAM keys = 0)
{
    CTestKit::PostMouse(wnd.GetSafeHwnd(), msg, pt, keys);
    CTestKit::PumpPending();
}
} // namespace

TEST(SkinDialog, NonClientAreaIsTheSkinnedCaptionAndBorders)
{
    OpenDialog open(IDD_SKIN_FULL);
    CTestSkinDialog& dlg = open.dlg;
    CRect window, client;
    dlg.GetWindowRect(&window);
    dlg.GetClientRect(&client);
    dlg.ClientToScreen(&client);
    EXPECT_EQ(CSkinDialog::BORDER_LEFT, client.left - window.left);
    EXPECT_EQ(CSkinDialog::BORDER_RIGHT, window.right - client.right);
    EXPECT_EQ(CSkinDialog::BORDER_BOTTOM, window.bottom - client.bottom);
    EXPECT_EQ(dlg.GetCaptionHeight(), client.top - window.top);
    EXPECT_GE(dlg.GetCaptionHeight(), 30);

    // Caption and buttons: the close button lies at the right end of the caption.
    EXPECT_EQ(HTCAPTION,
              dlg.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left + 40, window.top + 10)));
    EXPECT_EQ(HTCLIENT,
              dlg.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(client.left + 5, client.top + 5)));
    const RECT& close = dlg.CloseButton().GetRect();
    EXPECT_EQ(window.Width() - 20 - CSkinDialog::BORDER_LEFT, close.left);
    EXPECT_LE(close.bottom, 0); // above the client area

    // The painted caption shows the skin image, not the button face.
    dlg.SendMessage(WM_NCPAINT, 1, 0);
    CTestKit::Snapshot shot = CTestKit::Capture(dlg.GetSafeHwnd(), false);
    ASSERT_GT(shot.width, 0);
    EXPECT_NE(::GetSysColor(COLOR_BTNFACE), shot.At(shot.width / 2, 3));
}

TEST(SkinDialog, ButtonsFollowTheWindowStyle)
{
    {
        OpenDialog open(IDD_SKIN_FULL);
        EXPECT_TRUE(open.dlg.CloseButton().IsCreated());
        EXPECT_TRUE(open.dlg.MaxButton().IsEnabled());
        EXPECT_TRUE(open.dlg.MinButton().IsEnabled());
    }
    {
        // A minimise box without a maximise box: all three, maximise disabled.
        OpenDialog open(IDD_SKIN_MINONLY);
        EXPECT_TRUE(open.dlg.CloseButton().IsCreated());
        EXPECT_TRUE(open.dlg.MaxButton().IsCreated());
        EXPECT_EQ(CCaptionButton::STATE_DISABLED, open.dlg.MaxButton().GetState());
        EXPECT_TRUE(open.dlg.MinButton().IsEnabled());
        // Clicking the disabled button does nothing.
        POINT p = Centre(open.dlg.MaxButton());
        Post(open.dlg, WM_MOUSEMOVE, p);
        Post(open.dlg, WM_LBUTTONDOWN, p, MK_LBUTTON);
        Post(open.dlg, WM_LBUTTONUP, p);
        EXPECT_EQ(0, open.dlg.commands);
        EXPECT_EQ(nullptr, CCaptionButton::GetCaptured());
    }
    {
        OpenDialog open(IDD_SKIN_NOSYSMENU);
        EXPECT_FALSE(open.dlg.CloseButton().IsCreated());
        EXPECT_FALSE(open.dlg.MaxButton().IsCreated());
        EXPECT_FALSE(open.dlg.MinButton().IsCreated());
        Post(open.dlg, WM_LBUTTONDOWN, POINT{open.dlg.GetCaptionHeight(), -10}, MK_LBUTTON);
        EXPECT_EQ(nullptr, CCaptionButton::GetCaptured());
    }
}

// Mouse sequences over a caption button: (message, where), then the command
// count, the state and whether the button still holds the capture.
TEST(CaptionButton, MouseSequences)
{
    enum Where { Inside, Outside };
    struct Step
    {
        UINT msg;
        Where where;
    };
    struct Case
    {
        const char* name;
        std::vector<Step> steps;
        int commands;
        int state;
        bool captured;
    };
    const Case cases[] = {
        {"hover", {{WM_MOUSEMOVE, Inside}}, 0, CCaptionButton::STATE_HOVER, true},
        {"hover and leave",
         {{WM_MOUSEMOVE, Inside}, {WM_MOUSEMOVE, Outside}},
         0,
         CCaptionButton::STATE_NORMAL,
         false},
        {"click",
         {{WM_MOUSEMOVE, Inside}, {WM_LBUTTONDOWN, Inside}, {WM_LBUTTONUP, Inside}},
         1,
         CCaptionButton::STATE_HOVER,
         true},
        {"press, leave, release outside",
         {{WM_MOUSEMOVE, Inside},
          {WM_LBUTTONDOWN, Inside},
          {WM_MOUSEMOVE, Outside},
          {WM_LBUTTONUP, Outside}},
         0,
         CCaptionButton::STATE_NORMAL,
         false},
        {"press, leave, come back",
         {{WM_MOUSEMOVE, Inside},
          {WM_LBUTTONDOWN, Inside},
          {WM_MOUSEMOVE, Outside},
          {WM_MOUSEMOVE, Inside}},
         0,
         CCaptionButton::STATE_PRESSED,
         true},
        {"press, leave, come back, release",
         {{WM_MOUSEMOVE, Inside},
          {WM_LBUTTONDOWN, Inside},
          {WM_MOUSEMOVE, Outside},
          {WM_MOUSEMOVE, Inside},
          {WM_LBUTTONUP, Inside}},
         1,
         CCaptionButton::STATE_HOVER,
         true},
        {"press outside",
         {{WM_LBUTTONDOWN, Outside}, {WM_LBUTTONUP, Outside}},
         0,
         CCaptionButton::STATE_NORMAL,
         false},
    };
    for (const Case& c : cases) {
        OpenDialog open(IDD_SKIN_FULL);
        CTestSkinDialog& dlg = open.dlg;
        POINT in = Centre(dlg.CloseButton());
        POINT out = {20, 20};
        for (const Step& s : c.steps)
            Post(dlg, s.msg, s.where == Inside ? in : out,
                 s.msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0);
        CTestKit::PumpPending();
        EXPECT_EQ(c.commands, dlg.commands) << c.name;
        if (c.commands) {
            EXPECT_EQ(ID_CAPTION_CLOSE, dlg.lastCommand) << c.name;
        }
        EXPECT_EQ(c.state, dlg.CloseButton().GetState()) << c.name;
        EXPECT_EQ(c.captured, CCaptionButton::GetCaptured() == &dlg.CloseButton()) << c.name;
        EXPECT_EQ(c.captured, ::GetCapture() == dlg.GetSafeHwnd()) << c.name;
    }
}

// While one button holds the capture the others ignore the mouse; once it
// lets go, every other button answers again.
TEST(CaptionButton, ReleasingTheCaptureFreesTheOtherButtons)
{
    OpenDialog open(IDD_SKIN_FULL);
    CTestSkinDialog& dlg = open.dlg;
    POINT close = Centre(dlg.CloseButton()), min = Centre(dlg.MinButton());
    Post(dlg, WM_MOUSEMOVE, close);
    ASSERT_EQ(&dlg.CloseButton(), CCaptionButton::GetCaptured());
    // Pressed on close, dragged onto minimise: minimise stays out of it.
    Post(dlg, WM_LBUTTONDOWN, close, MK_LBUTTON);
    Post(dlg, WM_MOUSEMOVE, min, MK_LBUTTON);
    EXPECT_EQ(CCaptionButton::STATE_NORMAL, dlg.MinButton().GetState());
    Post(dlg, WM_LBUTTONUP, min);
    // Close lets go; the cursor rests on minimise, which may take the
    // capture at once for its hover (the system's move after a capture
    // change), and nothing else may.
    const CCaptionButton* holder = CCaptionButton::GetCaptured();
    EXPECT_TRUE(holder == nullptr || holder == &dlg.MinButton());
    EXPECT_EQ(CCaptionButton::STATE_NORMAL, dlg.CloseButton().GetState());
    EXPECT_EQ(0, dlg.commands);
    // The minimise button reacts now.
    Post(dlg, WM_MOUSEMOVE, min);
    EXPECT_EQ(CCaptionButton::STATE_HOVER, dlg.MinButton().GetState());
    Post(dlg, WM_LBUTTONDOWN, min, MK_LBUTTON);
    Post(dlg, WM_LBUTTONUP, min);
    EXPECT_EQ(ID_CAPTION_MINIMIZE, dlg.lastCommand);
    // Losing the capture to another window puts the button back to normal.
    ::ReleaseCapture();
    CTestKit::PumpPending();
    EXPECT_EQ(nullptr, CCaptionButton::GetCaptured());
    EXPECT_EQ(CCaptionButton::STATE_NORMAL, dlg.MinButton().GetState());
}

TEST(CaptionButton, MaximiseButtonTracksTheWindowState)
{
    CCaptionMaxButton b;
    RECT r = {0, 0, 20, 20};
    b.Create(r, NULL, ID_CAPTION_MAXIMIZE, ID_CAPTION_RESTORE, NULL, NULL);
    struct Step
    {
        UINT size;
        bool changed;
        UINT command;
    };
    const Step steps[] = {
        {SIZE_MAXIMIZED, true, ID_CAPTION_RESTORE},  {SIZE_MAXIMIZED, false, ID_CAPTION_RESTORE},
        {SIZE_RESTORED, true, ID_CAPTION_MAXIMIZE},  {SIZE_MINIMIZED, true, ID_CAPTION_RESTORE},
        {SIZE_MAXIMIZED, false, ID_CAPTION_RESTORE}, // from minimised: no second toggle
        {SIZE_MINIMIZED, false, ID_CAPTION_RESTORE}, {SIZE_RESTORED, true, ID_CAPTION_MAXIMIZE},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(s.changed, b.TrackSize(s.size) != FALSE) << s.size;
        EXPECT_EQ(s.command, b.GetCommand()) << s.size;
    }
}

TEST(SkinDialog, CaptionCommandsChangeTheWindow)
{
    CSkinDialog dlg(IDD_SKIN_FULL, "CTestSkinDialog");
    ASSERT_TRUE(dlg.Create(IDD_SKIN_FULL, NULL));
    dlg.ShowWindow(SW_SHOW);
    dlg.SendMessage(WM_COMMAND, ID_CAPTION_MAXIMIZE);
    EXPECT_TRUE(dlg.IsZoomed());
    EXPECT_EQ((UINT)ID_CAPTION_RESTORE, dlg.MaxButton().GetCommand());
    dlg.SendMessage(WM_COMMAND, ID_CAPTION_RESTORE);
    EXPECT_FALSE(dlg.IsZoomed());
    EXPECT_EQ((UINT)ID_CAPTION_MAXIMIZE, dlg.MaxButton().GetCommand());
    dlg.SendMessage(WM_COMMAND, ID_CAPTION_CLOSE);
    EXPECT_TRUE(CTestKit::PumpUntil(
        [&] { return dlg.GetSafeHwnd() == NULL || !dlg.IsWindowVisible(); }, 1000));
    if (dlg.GetSafeHwnd())
        dlg.DestroyWindow();
}

TEST(SkinDialog, DialogAndStaticsShareTheBackground)
{
    OpenDialog open(IDD_SKIN_FULL);
    CWnd* label = open.dlg.GetDlgItem(IDC_SKIN_LABEL);
    ASSERT_TRUE(label);
    HDC dc = ::GetDC(label->GetSafeHwnd());
    HBRUSH brush =
        (HBRUSH)open.dlg.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label->GetSafeHwnd());
    EXPECT_EQ(CSkinDialog::BACKGROUND, ::GetBkColor(dc));
    LOGBRUSH lb = {};
    ::GetObjectA(brush, sizeof(lb), &lb);
    EXPECT_EQ(CSkinDialog::BACKGROUND, lb.lbColor);
    ::ReleaseDC(label->GetSafeHwnd(), dc);
    // The rounded region cuts the corners.
    CRect window;
    open.dlg.GetWindowRect(&window);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(open.dlg.GetSafeHwnd(), rgn));
    EXPECT_FALSE(::PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(::PtInRegion(rgn, window.Width() / 2, window.Height() / 2));
    ::DeleteObject(rgn);
}

TEST(FlatEdit, FrameAndBackgroundFollowTheEditState)
{
    OpenDialog open(IDD_SKIN_FULL);
    CFlatEdit edit, readOnly;
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_SKIN_EDIT, &open.dlg));
    ASSERT_TRUE(readOnly.SubclassDlgItem(IDC_SKIN_EDIT_RO, &open.dlg));
    edit.SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    CRect window, client;
    edit.GetWindowRect(&window);
    edit.GetClientRect(&client);
    EXPECT_EQ(window.Width() - 4, client.Width());

    auto brushColour = [&](CWnd& ctl) {
        HDC dc = ::GetDC(ctl.GetSafeHwnd());
        HBRUSH b =
            (HBRUSH)open.dlg.SendMessage(WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)ctl.GetSafeHwnd());
        ::ReleaseDC(ctl.GetSafeHwnd(), dc);
        LOGBRUSH lb = {};
        ::GetObjectA(b, sizeof(lb), &lb);
        return lb.lbColor;
    };
    EXPECT_EQ(RGB(255, 255, 255), brushColour(edit));
    EXPECT_EQ(CFlatEdit::READONLY_COLOUR, brushColour(readOnly));
    edit.EnableWindow(FALSE);
    EXPECT_EQ(CFlatEdit::READONLY_COLOUR, brushColour(edit));

    edit.SendMessage(WM_NCPAINT, 1, 0);
    CTestKit::Snapshot shot = CTestKit::Capture(edit.GetSafeHwnd(), false);
    EXPECT_EQ(CFlatEdit::FRAME_COLOUR, shot.At(0, shot.height / 2));
    EXPECT_EQ(RGB(255, 255, 255), shot.At(1, shot.height / 2));
    edit.UnsubclassWindow();
    readOnly.UnsubclassWindow();
}

TEST(LangDialog, TextsComeFromTheLanguageFileAndFollowChanges)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "skin_lang_test\\";
    ::CreateDirectoryA(folder.c_str(), NULL);
    ::CreateDirectoryA((folder + "base").c_str(), NULL);
    auto write = [&](const char* name, const char* title, const char* label) {
        std::string path = folder + "base\\" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fprintf(f,
                     "[Info]\r\nCodePage=1252\r\nLanguage=%s\r\n\r\n[CTestSkinDialog]\r\nTitle=%"
                     "s\r\n%d=%s\r\n",
                     name, title, IDC_SKIN_LABEL, label);
        std::fclose(f);
        return path;
    };
    std::string a = write("A.dll", "First title", "First label");
    std::string b = write("B.dll", "Second title", "Second label");
    g_LangManager.ScanLanguageFiles(folder.c_str());
    ASSERT_EQ(2, g_LangManager.GetCount());
    int first = std::string(g_LangManager.GetName(0)) == "A.dll" ? 0 : 1;
    ASSERT_TRUE(g_LangManager.Select(first));
    {
        OpenDialog open(IDD_SKIN_FULL);
        CString text;
        open.dlg.GetWindowText(text);
        EXPECT_STREQ("First title", (LPCSTR)text);
        open.dlg.GetDlgItem(IDC_SKIN_LABEL)->GetWindowText(text);
        EXPECT_STREQ("First label", (LPCSTR)text);

        ASSERT_TRUE(g_LangManager.Select(1 - first));
        open.dlg.SendMessage(WM_LANGUAGE_CHANGED);
        open.dlg.GetWindowText(text);
        EXPECT_STREQ("Second title", (LPCSTR)text);
        open.dlg.GetDlgItem(IDC_SKIN_LABEL)->GetWindowText(text);
        EXPECT_STREQ("Second label", (LPCSTR)text);
    }
    ::DeleteFileA(a.c_str());
    ::DeleteFileA(b.c_str());
    ::RemoveDirectoryA((folder + "base").c_str());
    ::RemoveDirectoryA(folder.c_str());
}

namespace {
class CResultWnd : public CWnd
{
public:
    std::vector<WPARAM> results;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_AUTODIALOG_RESULT) {
            results.push_back(wParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST(AutoDialog, AnswersByButtonOrByItself)
{
    CResultWnd owner;
    ASSERT_TRUE(
        owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
    struct Case
    {
        int button; // IDOK, IDCANCEL or 0 to wait
        WPARAM result;
    };
    const Case cases[] = {{IDOK, 1}, {IDCANCEL, 2}, {0, 2}};
    for (const Case& c : cases) {
        owner.results.clear();
        CAutoDialog dlg(1,
                        "A rather long question that has to wrap over several lines of the prompt, "
                        "so that the text control grows to hold it all.",
                        &owner);
        ASSERT_TRUE(dlg.Create(CAutoDialog::IDD, NULL));
        EXPECT_TRUE(dlg.IsWindowVisible());
        CRect text;
        dlg.GetDlgItem(1015)->GetWindowRect(&text);
        EXPECT_GE(text.Height(), 24); // never below the designed size
        if (c.button)
            CTestKit::ClickButton(dlg.GetDlgItem(c.button)->GetSafeHwnd());
        EXPECT_TRUE(CTestKit::PumpUntil([&] { return !owner.results.empty(); }, 2500)) << c.button;
        EXPECT_EQ(nullptr, dlg.GetSafeHwnd());
        ASSERT_EQ(1u, owner.results.size());
        EXPECT_EQ(c.result, owner.results[0]);
        EXPECT_EQ((int)c.result, dlg.GetResult());
    }
    // An owner that is gone gets nothing, and nothing fails.
    CAutoDialog orphan(1, "question", &owner);
    ASSERT_TRUE(orphan.Create(CAutoDialog::IDD, NULL));
    owner.DestroyWindow();
    CTestKit::ClickButton(orphan.GetDlgItem(IDOK)->GetSafeHwnd());
    CTestKit::PumpPending();
    EXPECT_EQ(CAutoDialog::RESULT_OK, orphan.GetResult());
}
