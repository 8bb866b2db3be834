#include <gtest/gtest.h>

#include "CTestKit.h"
#include "afxcmn.h"
#include "afxwin.h"

#include <string>
#include <vector>

// Windows: message-map dispatch, command routing inside a window, handle
// maps, subclassing, reflection of control notifications and self-deleting
// windows.
namespace {

const UINT WM_PROBE = WM_USER + 1;
const UINT ID_FIRST = 40001;
const UINT ID_RANGE_LO = 40010;
const UINT ID_RANGE_HI = 40019;
UINT g_registered = RegisterWindowMessageA("FrameworkProbeMessage");

class CProbeWnd : public CWnd
{
public:
    std::vector<std::string> log;
    UINT lastRangeId = 0;
    int sizeCx = -1;

protected:
    void PreSubclassWindow() override { log.push_back("presubclass"); }
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        log.push_back(std::string("create:") + (m_hWnd ? "attached" : "detached"));
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnSize(UINT type, int cx, int cy)
    {
        sizeCx = cx;
        CWnd::OnSize(type, cx, cy);
    }
    afx_msg LRESULT OnProbe(WPARAM wp, LPARAM lp) { return (LRESULT)(wp + lp); }
    afx_msg LRESULT OnRegistered(WPARAM wp, LPARAM) { return (LRESULT)(wp * 2); }
    afx_msg void OnFirst() { log.push_back("first"); }
    afx_msg void OnRange(UINT id) { lastRangeId = id; }
    afx_msg void OnUpdateFirst(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_PROBE, OnProbe)
    ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
    ON_COMMAND(ID_FIRST, OnFirst)
    ON_COMMAND_RANGE(ID_RANGE_LO, ID_RANGE_HI, OnRange)
END_MESSAGE_MAP()

// A derived window whose map comes before its base's.
class CDerivedProbe : public CProbeWnd
{
public:
    int derivedProbe = 0;

protected:
    afx_msg LRESULT OnProbe2(WPARAM, LPARAM)
    {
        ++derivedProbe;
        return 99;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CProbeWnd)
    ON_MESSAGE(WM_PROBE, OnProbe2)
END_MESSAGE_MAP()

BOOL CreateProbe(CWnd& w, LPCSTR title = "probe")
{
    return w.CreateEx(0, AfxRegisterWndClass(0), title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 150, NULL,
                      NULL);
}

} // namespace

TEST(FrameworkWindow, MessageMapDispatchesByMessageAndSignature)
{
    CProbeWnd w;
    ASSERT_TRUE(CreateProbe(w));
    ASSERT_GE(w.log.size(), 2u);
    EXPECT_EQ(w.log[0], "presubclass") << "PreSubclassWindow also runs for Create";
    EXPECT_EQ(w.log[1], "create:attached");
    EXPECT_EQ(CWnd::FromHandlePermanent(w.m_hWnd), &w);

    EXPECT_EQ(w.SendMessage(WM_PROBE, 3, 4), 7);
    EXPECT_EQ(w.SendMessage(g_registered, 21, 0), 42);
    w.MoveWindow(0, 0, 300, 200);
    RECT rc;
    w.GetClientRect(&rc);
    EXPECT_EQ(w.sizeCx, rc.right);

    w.SendMessage(WM_COMMAND, ID_FIRST, 0);
    EXPECT_EQ(w.log.back(), "first");
    w.SendMessage(WM_COMMAND, ID_RANGE_LO + 5, 0);
    EXPECT_EQ(w.lastRangeId, ID_RANGE_LO + 5);
    w.SendMessage(WM_COMMAND, ID_RANGE_HI + 1, 0);
    EXPECT_EQ(w.lastRangeId, ID_RANGE_LO + 5);

    CDerivedProbe d;
    ASSERT_TRUE(CreateProbe(d));
    EXPECT_EQ(d.SendMessage(WM_PROBE, 3, 4), 99);
    EXPECT_EQ(d.derivedProbe, 1);
    d.SendMessage(WM_COMMAND, ID_FIRST, 0);
    EXPECT_EQ(d.log.back(), "first") << "the base map still answers";
    d.DestroyWindow();
    w.DestroyWindow();
    EXPECT_EQ(w.m_hWnd, nullptr);
}

TEST(FrameworkWindow, HandleMapsGiveTemporaryObjectsForForeignWindows)
{
    HWND raw = CreateWindowA("STATIC", "raw", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    CWnd* temp = CWnd::FromHandle(raw);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(CWnd::FromHandle(raw), temp) << "one temporary object per handle";
    EXPECT_EQ(temp->m_hWnd, raw);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(raw)) << "freeing a temporary object leaves the window";

    CWnd perm;
    ASSERT_TRUE(perm.Attach(raw));
    EXPECT_EQ(CWnd::FromHandle(raw), &perm);
    CWnd other;
    EXPECT_FALSE(other.Attach(raw)) << "one object per window";
    EXPECT_EQ(perm.Detach(), raw);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    DestroyWindow(raw);
    EXPECT_EQ(CWnd::FromHandle(NULL), nullptr);
    CWnd* volatile none = NULL;
    EXPECT_EQ(none->GetSafeHwnd(), nullptr);
}

namespace {
class CCountingEdit : public CEdit
{
public:
    int chars = 0;

protected:
    afx_msg void OnChar(UINT ch, UINT rep, UINT flags)
    {
        ++chars;
        CEdit::OnChar(ch, rep, flags);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCountingEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()
} // namespace

TEST(FrameworkWindow, SubclassingRoutesThroughTheMapAndDefaultReachesTheControl)
{
    HWND edit = CreateWindowA("EDIT", "", WS_POPUP, 0, 0, 100, 20, NULL, NULL, NULL, NULL);
    ASSERT_NE(edit, nullptr);
    WNDPROC original = (WNDPROC)GetWindowLongPtrA(edit, GWLP_WNDPROC);
    CCountingEdit e;
    ASSERT_TRUE(e.SubclassWindow(edit));
    EXPECT_NE((WNDPROC)GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    SendMessageA(edit, WM_CHAR, 'h', 1);
    SendMessageA(edit, WM_CHAR, 'i', 1);
    EXPECT_EQ(e.chars, 2);
    CString text;
    e.GetWindowText(text);
    EXPECT_STREQ(text, "hi") << "Default passes the message to the edit control";
    EXPECT_EQ(e.UnsubclassWindow(), edit);
    EXPECT_EQ((WNDPROC)GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    SendMessageA(edit, WM_CHAR, '!', 1);
    EXPECT_EQ(e.chars, 2);
    DestroyWindow(edit);
}

namespace {
const UINT IDC_PLAIN = 501;
const UINT IDC_REFLECT = 502;
const UINT IDC_REFLECT_EX = 503;
const UINT IDC_LABEL = 504;
const UINT IDC_OWNER = 505;

class CReflectButton : public CButton
{
public:
    int clicks = 0;
    int notifies = 0;

protected:
    afx_msg void OnClicked() { ++clicks; }
    afx_msg void OnNotifyClick(NMHDR*, LRESULT* r)
    {
        ++notifies;
        *r = 5;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, OnNotifyClick)
END_MESSAGE_MAP()

class CReflectExButton : public CButton
{
public:
    int clicks = 0;

protected:
    afx_msg BOOL OnClicked()
    {
        ++clicks;
        return FALSE; // let the parent see it too
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectExButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CColorLabel : public CStatic
{
public:
    CBrush brush{RGB(1, 2, 3)};
    BOOL giveBrush = TRUE;

protected:
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT)
    {
        pDC->SetTextColor(RGB(200, 0, 0));
        return giveBrush ? (HBRUSH)brush : NULL;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColorLabel, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class COwnerButton : public CButton
{
public:
    int draws = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { ++draws; }
};

class CParentWnd : public CWnd
{
public:
    std::vector<UINT> clicked;
    int notifies = 0;

protected:
    afx_msg void OnPlain() { clicked.push_back(IDC_PLAIN); }
    afx_msg void OnReflect() { clicked.push_back(IDC_REFLECT); }
    afx_msg void OnReflectEx() { clicked.push_back(IDC_REFLECT_EX); }
    afx_msg void OnNotifyClick(NMHDR*, LRESULT*) { ++notifies; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_BN_CLICKED(IDC_PLAIN, OnPlain)
    ON_BN_CLICKED(IDC_REFLECT, OnReflect)
    ON_BN_CLICKED(IDC_REFLECT_EX, OnReflectEx)
    ON_NOTIFY(NM_CLICK, IDC_REFLECT, OnNotifyClick)
    ON_NOTIFY(NM_CLICK, IDC_PLAIN, OnNotifyClick)
END_MESSAGE_MAP()
} // namespace

TEST(FrameworkWindow, NotificationsReflectToTheControlOrFallBackToTheParent)
{
    CParentWnd parent;
    ASSERT_TRUE(CreateProbe(parent, "parent"));
    CButton plain;
    CReflectButton reflect;
    CReflectExButton reflectEx;
    CColorLabel label;
    COwnerButton owner;
    CRect r(0, 0, 50, 20);
    ASSERT_TRUE(plain.Create("p", WS_CHILD | WS_VISIBLE, r, &parent, IDC_PLAIN));
    ASSERT_TRUE(reflect.Create("r", WS_CHILD | WS_VISIBLE, r, &parent, IDC_REFLECT));
    ASSERT_TRUE(reflectEx.Create("x", WS_CHILD | WS_VISIBLE, r, &parent, IDC_REFLECT_EX));
    ASSERT_TRUE(label.Create("label", WS_CHILD | WS_VISIBLE, r, &parent, IDC_LABEL));
    ASSERT_TRUE(owner.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, r, &parent, IDC_OWNER));

    for (CButton* b : {&plain, (CButton*)&reflect, (CButton*)&reflectEx})
        CTestKit::ClickButton(b->m_hWnd);
    EXPECT_EQ(parent.clicked, (std::vector<UINT>{IDC_PLAIN, IDC_REFLECT_EX}));
    EXPECT_EQ(reflect.clicks, 1);
    EXPECT_EQ(reflectEx.clicks, 1);

    NMHDR nm = {reflect.m_hWnd, IDC_REFLECT, (UINT)NM_CLICK};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, IDC_REFLECT, (LPARAM)&nm), 5);
    EXPECT_EQ(reflect.notifies, 1);
    EXPECT_EQ(parent.notifies, 0);
    NMHDR nm2 = {plain.m_hWnd, IDC_PLAIN, (UINT)NM_CLICK};
    parent.SendMessage(WM_NOTIFY, IDC_PLAIN, (LPARAM)&nm2);
    EXPECT_EQ(parent.notifies, 1);

    HDC dc = GetDC(label.m_hWnd);
    LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label.m_hWnd);
    EXPECT_EQ((HBRUSH)brush, (HBRUSH)label.brush);
    EXPECT_EQ(GetTextColor(dc), RGB(200, 0, 0));
    label.giveBrush = FALSE;
    brush = parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label.m_hWnd);
    EXPECT_EQ(brush,
              DefWindowProcA(parent.m_hWnd, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label.m_hWnd))
        << "no brush: the parent's default answers";
    ReleaseDC(label.m_hWnd, dc);

    parent.ShowWindow(SW_SHOW);
    owner.Invalidate();
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return owner.draws >= 1; }, 2000))
        << "WM_DRAWITEM reaches the button's DrawItem";
    parent.DestroyWindow();
    EXPECT_EQ(plain.m_hWnd, nullptr) << "children are detached with their windows";
}

namespace {
int g_selfDeleted = 0;
class CSelfDeleting : public CWnd
{
public:
    ~CSelfDeleting() { ++g_selfDeleted; }

protected:
    void PostNcDestroy() override { delete this; }
};
} // namespace

TEST(FrameworkWindow, SelfDeletingWindowsFreeThemselvesOnDestroy)
{
    g_selfDeleted = 0;
    CSelfDeleting* w = new CSelfDeleting;
    ASSERT_TRUE(CreateProbe(*w));
    HWND h = w->m_hWnd;
    PostMessageA(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(CTestKit::PumpUntil([] { return g_selfDeleted == 1; }, 2000));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(FrameworkWindow, UpdateHandlersDisableCommandsAndDrawingReadsBack)
{
    CProbeWnd w;
    ASSERT_TRUE(CreateProbe(w));
    w.ShowWindow(SW_SHOW);

    struct Recorder : CCmdUI
    {
        int enabled = -1;
        void Enable(BOOL on) override
        {
            enabled = on;
            m_bEnableChanged = TRUE;
        }
    } rec;
    rec.m_nID = ID_RANGE_LO; // handler, no update handler: enabled when asked to disable others
    rec.DoUpdate(&w, TRUE);
    EXPECT_EQ(rec.enabled, 1);
    rec.enabled = -1;
    rec.m_nID = 45000; // nobody handles it
    rec.DoUpdate(&w, TRUE);
    EXPECT_EQ(rec.enabled, 0);

    // Paint into a memory DC and read it back.
    CClientDC dc(&w);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&dc));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&dc, 20, 20));
    CBitmap* old = mem.SelectObject(&bmp);
    mem.FillSolidRect(0, 0, 20, 20, RGB(0, 0, 255));
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* oldPen = mem.SelectObject(&pen);
    mem.MoveTo(0, 5);
    mem.LineTo(20, 5);
    mem.SelectObject(oldPen);
    EXPECT_EQ(mem.GetPixel(10, 5), RGB(255, 0, 0));
    EXPECT_EQ(mem.GetPixel(10, 10), RGB(0, 0, 255));
    mem.SelectObject(old);
    w.DestroyWindow();
}

namespace {
class CSortedList : public CListBox
{
public:
    int compares = 0, deletes = 0;
    int CompareItem(LPCOMPAREITEMSTRUCT cis) override
    {
        ++compares;
        return cis->itemData1 < cis->itemData2 ? -1 : (cis->itemData1 > cis->itemData2 ? 1 : 0);
    }
    void DeleteItem(LPDELETEITEMSTRUCT) override { ++deletes; }
};
} // namespace

TEST(FrameworkWindow, OwnerDrawnListsSortAndDeleteThroughReflection)
{
    CWnd parent;
    ASSERT_TRUE(CreateProbe(parent, "lists"));
    CSortedList list;
    ASSERT_TRUE(
        list.Create(WS_CHILD | LBS_OWNERDRAWFIXED | LBS_SORT, CRect(0, 0, 100, 100), &parent, 9));
    list.AddString((LPCSTR)30);
    list.AddString((LPCSTR)10);
    list.AddString((LPCSTR)20);
    EXPECT_GT(list.compares, 0);
    EXPECT_EQ(list.GetItemData(0), 10u);
    EXPECT_EQ(list.GetItemData(2), 30u);
    list.ResetContent();
    EXPECT_EQ(list.deletes, 3);
    parent.DestroyWindow();
}
