#include <gtest/gtest.h>

#include "CCJFlatComboBox.h"
#include "CFlatHeaderCtrl.h"
#include "CIconListBox.h"
#include "CMemoryDC.h"
#include "CSkinComboBox.h"
#include "CSkinEdit.h"
#include "CTestKit.h"
#include "ControlTestKit.h"
#include "SkinTestResource.h"

#include <memory>

using namespace controltest;

namespace {
struct ComboFixture
{
    CRecorderWnd parent;
    CCJFlatComboBox combo;
    bool Make()
    {
        if (!parent.CreateTop())
            return false;
        parent.ShowWindow(SW_SHOWNOACTIVATE);
        HWND h = ::CreateWindowA("COMBOBOX", "",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN |
                                     CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_AUTOHSCROLL,
                                 10, 10, 150, 200, parent.m_hWnd, (HMENU)30, NULL, NULL);
        if (!h || !combo.SubclassWindow(h))
            return false;
        for (LPCSTR s : {"apple", "banana", "cherry"})
            combo.AddString(s);
        return true;
    }
    ~ComboFixture()
    {
        if (parent.m_hWnd)
            parent.DestroyWindow();
    }
    // Types text as the edit field would: the text, the caret at its end,
    // then the update notification.
    void Type(LPCSTR text)
    {
        combo.SetWindowText(text);
        int n = (int)strlen(text);
        combo.SetEditSel(n, n);
        parent.SendMessage(WM_COMMAND, MAKEWPARAM(30, CBN_EDITUPDATE), (LPARAM)combo.m_hWnd);
    }
    CString Text()
    {
        CString s;
        combo.GetWindowText(s);
        return s;
    }
};
} // namespace

TEST(CJFlatComboBox, TypeAheadCompletesTheFirstMatchAndSelectsTheRest)
{
    ComboFixture f;
    ASSERT_TRUE(f.Make());
    f.Type("b");
    EXPECT_EQ(f.combo.GetCurSel(), 1);
    EXPECT_STREQ(f.Text(), "banana");
    DWORD sel = f.combo.GetEditSel();
    EXPECT_EQ(LOWORD(sel), 1);
    EXPECT_EQ(HIWORD(sel), 6) << "the completed rest is selected";

    f.Type("bx");
    EXPECT_STREQ(f.Text(), "bx") << "no match: the text stays as typed";

    f.combo.SetAutoComplete(FALSE);
    f.combo.SetCurSel(-1);
    f.Type("c");
    EXPECT_STREQ(f.Text(), "c");
    EXPECT_EQ(f.combo.GetCurSel(), -1);
}

TEST(CJFlatComboBox, FocusKeepsTheFrameRaisedAndSelectionHandsTheFocusOn)
{
    ComboFixture f;
    ASSERT_TRUE(f.Make());
    EXPECT_FALSE(f.combo.GetStyle() & WS_BORDER);
    f.parent.SendMessage(WM_COMMAND, MAKEWPARAM(30, CBN_SETFOCUS), (LPARAM)f.combo.m_hWnd);
    EXPECT_TRUE(f.combo.HasFocus());
    CTestKit::SendMouse(f.combo.GetSafeHwnd(), WM_MOUSEMOVE, POINT{500, 500});
    EXPECT_TRUE(f.combo.IsHot()) << "with the focus the frame stays raised";
    f.combo.KillTimer(1);

    f.parent.SendMessage(WM_COMMAND, MAKEWPARAM(30, CBN_KILLFOCUS), (LPARAM)f.combo.m_hWnd);
    EXPECT_FALSE(f.combo.HasFocus());
    f.combo.SendMessage(WM_TIMER, 1);
    EXPECT_FALSE(f.combo.IsHot()) << "mouse away and no focus: back to normal";

    // Choosing an item while focused hands the focus to the parent.
    f.parent.SetActiveWindow();
    f.combo.SetFocus();
    f.parent.SendMessage(WM_COMMAND, MAKEWPARAM(30, CBN_SETFOCUS), (LPARAM)f.combo.m_hWnd);
    f.combo.SetCurSel(2);
    f.parent.SendMessage(WM_COMMAND, MAKEWPARAM(30, CBN_SELCHANGE), (LPARAM)f.combo.m_hWnd);
    EXPECT_EQ(::GetFocus(), f.parent.m_hWnd);
}

TEST(CJFlatComboBox, PaintsTheSelectionAndAFrameWithoutItsButtonImages)
{
    std::unique_ptr<ComboFixture> fixture;
    {
        // The control's resources are looked up in a module that has none.
        ScopedResourceModule none(::GetModuleHandleA("kernel32.dll"));
        fixture.reset(new ComboFixture);
        ASSERT_TRUE(fixture->Make());
    }
    ComboFixture& f = *fixture;
    f.combo.SetCurSel(0);
    Pixels p = Snap(f.combo);
    ASSERT_GT(p.width, 20);
    EXPECT_EQ(p.At(0, 0), ::GetSysColor(COLOR_3DSHADOW)) << "no button strip: a sunken frame";
    EXPECT_EQ(p.At(p.width - 1, p.height - 1), ::GetSysColor(COLOR_3DHILIGHT));
}

TEST(SkinComboBox, BorderAndDropButtonInItsColours)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    HWND h = ::CreateWindowA("COMBOBOX", "",
                             WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                                 CBS_HASSTRINGS,
                             10, 10, 120, 200, parent.m_hWnd, (HMENU)31, NULL, NULL);
    CSkinComboBox combo;
    ASSERT_TRUE(combo.SubclassWindow(h));
    combo.AddString("宋体");
    combo.SetCurSel(0);
    Pixels p = Snap(combo);
    EXPECT_EQ(p.At(0, 0), (COLORREF)0xBDA6A4);
    EXPECT_EQ(p.At(p.width - 14, p.height / 2), (COLORREF)0xBDA6A4) << "the button's left edge";
    EXPECT_EQ(p.At(p.width - 3, 2), (COLORREF)0xF7F5F5);
    parent.DestroyWindow();
}

TEST(SkinEdit, JumpsBetweenTheTwoTopCornersOnEveryMouseMove)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop(1280, 1024));
    CSkinEdit edit;
    ASSERT_TRUE(
        edit.Create(WS_CHILD | WS_VISIBLE | ES_READONLY, CRect(300, 300, 460, 340), &parent, 32));
    int right = ::GetSystemMetrics(SM_CXSCREEN) - 180;
    int expect[] = {10, right, 10, right};
    for (int x : expect) {
        CTestKit::SendMouse(edit.GetSafeHwnd(), WM_MOUSEMOVE, POINT{5, 5});
        CRect rc;
        edit.GetWindowRect(&rc);
        parent.ScreenToClient(&rc);
        EXPECT_EQ(rc.TopLeft(), CPoint(x, 10));
        EXPECT_EQ(rc.Size(), CSize(160, 40));
    }
    parent.DestroyWindow();
}

namespace {
BOOL g_controlRight = FALSE;
BOOL ControlRight() { return g_controlRight; }
} // namespace

TEST(IconListBox, SelectionAsksForTheLayoutOnlyWithTheControlRight)
{
    CRecorderWnd parent, mainWnd;
    mainWnd.watched.push_back(CIconListBox::WM_LAYOUT_REQUEST);
    ASSERT_TRUE(parent.CreateTop());
    ASSERT_TRUE(mainWnd.CreateTop());
    HWND h = ::CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_OWNERDRAWFIXED,
                             0, 0, 120, 300, parent.m_hWnd, (HMENU)33, NULL, NULL);
    CIconListBox list;
    ASSERT_TRUE(list.SubclassWindow(h));
    list.SetLayoutTarget(&mainWnd);
    CIconListBox::SetControlRightQuery(ControlRight);
    HDC screen = ::GetDC(NULL);
    HBITMAP strip = ::CreateCompatibleBitmap(screen, 5 * 100, 87);
    ::ReleaseDC(NULL, screen);
    ASSERT_TRUE(list.SetImageStrip(strip, 100));
    for (int i = 0; i < 5; ++i)
        list.AddString("");

    list.SetCurSel(3);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(33, LBN_SELCHANGE), (LPARAM)list.m_hWnd);
    EXPECT_EQ(mainWnd.Count(CIconListBox::WM_LAYOUT_REQUEST), 0)
        << "no control right: no layout message";

    g_controlRight = TRUE;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(33, LBN_SELCHANGE), (LPARAM)list.m_hWnd);
    ASSERT_EQ(mainWnd.Count(CIconListBox::WM_LAYOUT_REQUEST), 1);
    EXPECT_EQ(mainWnd.sent.back().wParam, 3u);

    MEASUREITEMSTRUCT mis = {};
    list.MeasureItem(&mis);
    EXPECT_EQ(mis.itemHeight, 89u);
    CIconListBox::SetControlRightQuery(NULL);
    parent.DestroyWindow();
    mainWnd.DestroyWindow();
}

TEST(FlatHeaderCtrl, DrawsItsItemsAndTracksTheHotItem)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    CFlatHeaderCtrl header;
    ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_HORZ, CRect(0, 0, 300, 24), &parent, 34));
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.cxy = 100;
    item.fmt = HDF_STRING | HDF_LEFT;
    item.pszText = (LPSTR) "会议室";
    header.InsertItem(0, &item);
    header.InsertItem(1, &item);
    EXPECT_NE(header.GetHeaderFont().GetSafeHandle(), nullptr);
    CTestKit::SendMouse(header.GetSafeHwnd(), WM_MOUSEMOVE, POINT{150, 10});
    EXPECT_EQ(header.GetHotItem(), 1);
    CTestKit::MoveCursor(header.GetSafeHwnd(), POINT{-20, -20});
    header.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(header.GetHotItem(), -1);
    // Without its background bitmap (looked up in a module that has none)
    // the raised frames show.
    ScopedResourceModule none(::GetModuleHandleA("kernel32.dll"));
    Pixels p = Snap(header);
    EXPECT_EQ(p.At(0, 0), ::GetSysColor(COLOR_3DHIGHLIGHT)) << "raised frame of the first item";
    EXPECT_EQ(p.At(99, 10), ::GetSysColor(COLOR_3DSHADOW));
    parent.DestroyWindow();
}

namespace {
// Combo boxes that count the item drawings they get.
class CCountingFlatCombo : public CCJFlatComboBox
{
public:
    int drawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        ++drawn;
        CCJFlatComboBox::DrawItem(lpDIS);
    }
};
class CCountingSkinCombo : public CSkinComboBox
{
public:
    int drawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        ++drawn;
        CSkinComboBox::DrawItem(lpDIS);
    }
};
class CComboDialog : public CDialog
{
public:
    CComboDialog() : CDialog(IDD_SKIN_COMBOS) {}
    CCountingFlatCombo flat;
    CCountingSkinCombo skin;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        flat.SubclassDlgItem(IDC_SKIN_FLAT_COMBO, this);
        skin.SubclassDlgItem(IDC_SKIN_SKIN_COMBO, this);
        for (LPCSTR s : {"宋体", "Tahoma"}) {
            flat.AddString(s);
            skin.AddString(s);
        }
        flat.SetCurSel(1);
        skin.SetCurSel(0);
        return TRUE;
    }
};
} // namespace

TEST(CJFlatComboBox, ComboFromATemplateDrawsItsItems)
{
    CComboDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SKIN_COMBOS, NULL));
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    dlg.UpdateWindow();
    CTestKit::PumpPending();
    EXPECT_TRUE(dlg.flat.GetStyle() & CBS_OWNERDRAWFIXED);
    EXPECT_FALSE(dlg.flat.GetStyle() & WS_BORDER);
    EXPECT_FALSE(dlg.flat.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return dlg.flat.drawn > 0 && dlg.skin.drawn > 0; }, 1000))
        << "flat " << dlg.flat.drawn << ", skinned " << dlg.skin.drawn;
    CString text;
    dlg.flat.GetLBText(1, text);
    EXPECT_STREQ("Tahoma", text);
    dlg.DestroyWindow();
}
