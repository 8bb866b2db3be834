#include "CLineObj.h"
#include "CRectfillObj.h"
#include "CTestKit.h"
#include "CWBChange.h"
#include "CWBView.h"
#include "CWBViewManView.h"
#include "WbRecords.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdio.h>
#include <string>

namespace {

struct Sent
{
    std::vector<std::vector<BYTE>> records;
    static void Callback(void* ctx, CWBView*, const BYTE* p, UINT n)
    {
        static_cast<Sent*>(ctx)->records.emplace_back(p, p + n);
    }
};

class WbViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "wb", WS_POPUP | WS_VISIBLE, 0, 0,
                                      700, 500, NULL, NULL));
        m_settings.zoomNum = 100;
        m_settings.color = RGB(255, 0, 0);
        m_settings.pfnChange = &Sent::Callback;
        m_settings.pChangeContext = &m_sent;
        m_view = new CWBView;
        ASSERT_TRUE(m_view->CreateView(&m_parent, 1, &m_settings));
        ASSERT_TRUE(m_view->GetDocument().CreateBlank(2, 0));
        m_view->Rescale();
        m_view->ShowWindow(SW_SHOW);
        CTestKit::PumpPending();
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        CTestKit::PumpPending();
    }
    void UseTool(int tool)
    {
        m_settings.tool = tool;
        m_view->ResetForTool(TRUE);
    }
    void Mouse(UINT msg, int x, int y, WPARAM keys = 0)
    {
        CTestKit::SendMouse(m_view->m_hWnd, msg, CPoint(x, y), keys);
    }
    void Drag(int x0, int y0, int x1, int y1)
    {
        Mouse(WM_LBUTTONDOWN, x0, y0, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, (x0 + x1) / 2, (y0 + y1) / 2, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, x1, y1, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, x1, y1);
    }
    CWBPage* Page(int i = 0) { return m_view->GetDocument().GetPage(i); }
    // An object added as a peer's record would add it.
    void PeerAdd(CDrawObj* obj, int page = 0)
    {
        std::vector<BYTE> rec;
        ASSERT_TRUE(CWBChange::BuildAdd(rec, page, obj));
        delete obj;
        m_view->ApplyChange(rec.data(), (UINT)rec.size());
    }
    const std::vector<BYTE>& Last() { return m_sent.records.back(); }

    CWnd m_parent;
    WB_SETTINGS m_settings;
    Sent m_sent;
    CWBView* m_view = nullptr;
};

std::string WbToHexView(const std::vector<BYTE>& bytes)
{
    std::string s;
    char b[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        sprintf(b, i ? " %02x" : "%02x", bytes[i]);
        s += b;
    }
    return s;
}

CLineObj* Line(DWORD id, int x0, int y0, int x1, int y1)
{
    CLineObj* l = new CLineObj(id);
    l->OnLButtonDown(CPoint(x0, y0));
    l->OnLButtonUp(CPoint(x1, y1));
    return l;
}

} // namespace

TEST_F(WbViewTest, EachDrawingToolMakesItsObjectAndSendsIt)
{
    struct Row
    {
        int tool;
        int type;
    };
    const Row rows[] = {{4, WB_LINE},     {5, WB_ARROW},        {6, WB_RECT},
                        {7, WB_RECTFILL}, {8, WB_ROUNDRECT},    {9, WB_ROUNDRECTFILL},
                        {10, WB_ELLIPSE}, {11, WB_ELLIPSEFILL}, {15, WB_PENCIL},
                        {3, WB_ICON}};
    int count = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.tool);
        UseTool(r.tool);
        size_t before = m_sent.records.size();
        Drag(150, 120, 50, 60);
        ASSERT_EQ(Page()->GetCount(), ++count);
        ASSERT_EQ(m_sent.records.size(), before + 1);
        const std::vector<BYTE>& rec = Last();
        ASSERT_GT(rec.size(), 15u);
        EXPECT_EQ(rec[0], 1);
        EXPECT_EQ(rec[1], 1) << "one item";
        EXPECT_EQ(rec[7], 0) << "page";
        EXPECT_EQ(rec[8], r.type);
        CDrawObj* obj = (CDrawObj*)Page()->m_objects.GetTail();
        EXPECT_EQ(obj->GetType(), r.type);
        EXPECT_EQ(obj->GetColor(), RGB(255, 0, 0));
        std::vector<BYTE> blob(obj->Pack(NULL, 0));
        obj->Pack(blob.data(), (UINT)blob.size());
        EXPECT_EQ(std::vector<BYTE>(rec.begin() + 15, rec.end()), blob)
            << "the record carries the object";
        CRect bound;
        obj->GetBoundRect(&bound);
        if (r.type != WB_ICON && r.type != WB_PENCIL) {
            EXPECT_EQ(bound.left, 49);
            EXPECT_EQ(bound.bottom, 121);
        }
    }
    EXPECT_EQ(m_view->GetState(), CWBView::stateDrawIdle);
}

TEST_F(WbViewTest, ZoomAndScrollConvertTheMouseToPageUnits)
{
    m_settings.zoomNum = 200;
    m_view->Rescale();
    UseTool(4);
    m_view->ApplyScrollPos(3);
    ASSERT_EQ(m_view->GetScrollPosition().y, 30);
    Drag(100, 70, 200, 170);
    ASSERT_EQ(Page()->GetCount(), 1);
    CDrawObj* line = (CDrawObj*)Page()->m_objects.GetHead();
    EXPECT_EQ(line->GetPoints()[0].x, 50);
    EXPECT_EQ(line->GetPoints()[0].y, 50);
    EXPECT_EQ(line->GetPoints()[1].x, 100);
    EXPECT_EQ(line->GetPoints()[1].y, 100);
    EXPECT_EQ(m_view->DocToClient(CPoint(50, 50)), CPoint(100, 70));
    EXPECT_EQ(m_view->GetTotalSize().cy, 1600);

    // fit: the page's width fills the window
    m_settings.zoomNum = 0;
    m_view->Rescale();
    CRect client;
    m_view->GetClientRect(&client);
    EXPECT_EQ(m_view->GetZoomNum(), client.Width() * 100 / 600);
}

TEST_F(WbViewTest, PolygonsAndPenLinesEndWithTheRightButton)
{
    UseTool(13);
    Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 10, 10);
    Mouse(WM_LBUTTONDOWN, 100, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 100, 10);
    Mouse(WM_MOUSEMOVE, 100, 80);
    Mouse(WM_LBUTTONDOWN, 100, 80, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 100, 80);
    EXPECT_TRUE(m_sent.records.empty());
    Mouse(WM_RBUTTONDOWN, 50, 50, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, 50, 50);
    ASSERT_EQ(Page()->GetCount(), 1);
    CDrawObj* poly = (CDrawObj*)Page()->m_objects.GetHead();
    EXPECT_EQ(poly->GetType(), WB_POLY);
    EXPECT_EQ(poly->GetPointCount(), 3u);
    ASSERT_EQ(m_sent.records.size(), 1u);

    // a pen line of one click is dropped and sends nothing
    UseTool(14);
    Mouse(WM_LBUTTONDOWN, 200, 200, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 200, 200);
    Mouse(WM_RBUTTONDOWN, 200, 200, MK_RBUTTON);
    EXPECT_EQ(Page()->GetCount(), 1);
    EXPECT_EQ(m_sent.records.size(), 1u);

    // Escape drops a line being drawn
    UseTool(4);
    Mouse(WM_LBUTTONDOWN, 300, 300, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 320, 320, MK_LBUTTON);
    CTestKit::KeyPress(m_view->m_hWnd, VK_ESCAPE);
    CTestKit::PumpPending();
    EXPECT_EQ(m_view->GetState(), CWBView::stateDrawIdle);
    Mouse(WM_LBUTTONUP, 320, 320);
    EXPECT_EQ(Page()->GetCount(), 1);
    EXPECT_EQ(m_sent.records.size(), 1u);
}

TEST_F(WbViewTest, SelectMoveAndResizeSendTheirTotalOffsets)
{
    PeerAdd(Line(0x51, 100, 100, 200, 100));
    UseTool(2);
    // a click on the line selects it
    Mouse(WM_LBUTTONDOWN, 150, 100, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 150, 100);
    ASSERT_EQ(m_view->GetSelectedCount(), 1);
    EXPECT_TRUE(m_sent.records.empty());

    Drag(150, 100, 170, 130);
    ASSERT_EQ(m_sent.records.size(), 1u);
    EXPECT_EQ(WbToHexView(Last()), "03 00 14 00 00 00 1e 00 00 00 01 00 51 00 00 00");
    CDrawObj* line = (CDrawObj*)Page()->m_objects.GetHead();
    EXPECT_EQ(line->GetPoints()[0].x, 120);
    EXPECT_EQ(line->GetPoints()[0].y, 130);

    // handle 0 (now at 120, 130) to (110, 140)
    Drag(120, 130, 110, 140);
    ASSERT_EQ(m_sent.records.size(), 2u);
    EXPECT_EQ(WbToHexView(Last()), "04 00 51 00 00 00 00 00 f6 ff ff ff 0a 00 00 00");
    EXPECT_EQ(line->GetPoints()[0].x, 110);
    EXPECT_EQ(line->GetPoints()[1].x, 220);

    // Delete removes what is selected and says so
    CTestKit::KeyPress(m_view->m_hWnd, VK_DELETE);
    CTestKit::PumpPending();
    EXPECT_EQ(Page()->GetCount(), 0);
    ASSERT_EQ(m_sent.records.size(), 3u);
    EXPECT_EQ(WbToHexView(Last()), "02 00 01 00 51 00 00 00");

    // a rubber rectangle selects everything it meets; a click selects one
    PeerAdd(Line(0x61, 10, 10, 50, 10));
    PeerAdd(Line(0x62, 10, 10, 50, 50));
    Drag(0, 0, 60, 60);
    EXPECT_EQ(m_view->GetSelectedCount(), 2);
    Drag(300, 300, 300, 300);
    EXPECT_EQ(m_view->GetSelectedCount(), 0);
    Drag(30, 10, 30, 10);
    EXPECT_EQ(m_view->GetSelectedCount(), 1);
}

TEST_F(WbViewTest, TheEraserDeletesOnlyTheFirstObjectAClickHits)
{
    CRectfillObj* a = new CRectfillObj(0x71);
    a->SetRect(CRect(10, 10, 100, 100));
    CRectfillObj* b = new CRectfillObj(0x72);
    b->SetRect(CRect(50, 50, 150, 150));
    PeerAdd(a);
    PeerAdd(b);
    UseTool(1);
    Drag(300, 300, 300, 300);
    EXPECT_TRUE(m_sent.records.empty()) << "empty space: nothing";
    Drag(70, 70, 70, 70);
    ASSERT_EQ(m_sent.records.size(), 1u);
    EXPECT_EQ(WbToHexView(Last()), "02 00 01 00 71 00 00 00");
    ASSERT_EQ(Page()->GetCount(), 1);
    EXPECT_EQ(((CDrawObj*)Page()->m_objects.GetHead())->GetId(), 0x72u);

    // choosing the eraser with a selection deletes nothing
    UseTool(2);
    Drag(70, 70, 70, 70);
    EXPECT_EQ(m_view->GetSelectedCount(), 1);
    UseTool(1);
    EXPECT_EQ(Page()->GetCount(), 1);
    EXPECT_EQ(m_sent.records.size(), 1u);
}

TEST_F(WbViewTest, TextIsTypedInPlace)
{
    UseTool(12);
    Mouse(WM_LBUTTONDOWN, 40, 40, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 40, 40);
    ASSERT_NE(m_view->GetTextEdit().m_hWnd, (HWND)NULL);
    EXPECT_EQ(m_view->GetTextEdit().GetLimitText(), 0u + WB_MAX_TEXT_BYTES);
    CTestKit::TypeText(m_view->GetTextEdit().m_hWnd, "Hi");
    CTestKit::PumpPending();
    CTestKit::KeyPress(m_view->GetTextEdit().m_hWnd, VK_RETURN);
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return Page()->GetCount() == 1; }));
    CDrawObj* text = (CDrawObj*)Page()->m_objects.GetHead();
    EXPECT_STREQ(text->GetText(), "Hi");
    EXPECT_EQ(text->GetPoints()[0].x, 40);
    ASSERT_EQ(m_sent.records.size(), 1u);
    EXPECT_EQ(Last()[8], WB_TEXT);
    EXPECT_EQ(m_view->GetTextEdit().m_hWnd, (HWND)NULL);

    // Enter without typing: no object, nothing sent
    Mouse(WM_LBUTTONDOWN, 200, 200, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 200, 200);
    CTestKit::KeyPress(m_view->GetTextEdit().m_hWnd, VK_RETURN);
    CTestKit::PumpUntil([&] { return m_view->GetTextEdit().m_hWnd == NULL; }, 1000);
    EXPECT_EQ(Page()->GetCount(), 1);
    EXPECT_EQ(m_sent.records.size(), 1u);
}

TEST_F(WbViewTest, PeersChangesReachTheRightPageAndEndADragOnWhatTheyDelete)
{
    PeerAdd(Line(0x81, 10, 10, 90, 10), 1);
    EXPECT_EQ(Page(1)->GetCount(), 1);
    EXPECT_EQ(Page(0)->GetCount(), 0);
    PeerAdd(Line(0x82, 100, 100, 200, 100), 0);
    UseTool(2);
    Drag(150, 100, 150, 100);
    ASSERT_EQ(m_view->GetSelectedCount(), 1);
    // the user takes a handle while a peer deletes the object
    Mouse(WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    ASSERT_EQ(m_view->GetState(), CWBView::stateDragHandle);
    std::vector<BYTE> del;
    DWORD id = 0x82;
    CWBChange::BuildDelete(del, 0, &id, 1);
    m_view->ApplyChange(del.data(), (UINT)del.size());
    EXPECT_EQ(m_view->GetSelectedCount(), 0);
    EXPECT_NE(m_view->GetState(), CWBView::stateDragHandle);
    Mouse(WM_MOUSEMOVE, 120, 120, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 120, 120);
    EXPECT_TRUE(m_sent.records.empty());
    EXPECT_EQ(Page(0)->GetCount(), 0);

    // a page change keeps to the pages there are
    EXPECT_TRUE(m_view->SetCurrentPage(1));
    EXPECT_FALSE(m_view->SetCurrentPage(1));
    EXPECT_FALSE(m_view->SetCurrentPage(2));
}

TEST_F(WbViewTest, AWholeDocumentTravelsInRecordsBelowTheSplitSize)
{
    m_view->SendAllObjects();
    EXPECT_TRUE(m_sent.records.empty()) << "no record without items";
    for (DWORD i = 0; i < 2000; ++i)
        m_view->GetDocument().AddObject(i % 2, Line(i, 0, 0, 10, 10));
    m_view->SendAllObjects();
    ASSERT_GE(m_sent.records.size(), 3u);
    DWORD items = 0;
    for (const std::vector<BYTE>& r : m_sent.records) {
        EXPECT_LT(r.size(), 0x6000u);
        WB_CHANGE_ADD_HEAD h;
        memcpy(&h, r.data(), sizeof h);
        EXPECT_EQ(h.length + 7u, r.size());
        items += h.count;
    }
    EXPECT_EQ(items, 2000u);

    // a second view made from them holds the same document
    CWBView* other = new CWBView;
    ASSERT_TRUE(other->CreateView(&m_parent, 2, &m_settings));
    other->GetDocument().CreateBlank(2, 0);
    for (const std::vector<BYTE>& r : m_sent.records)
        other->ApplyChange(r.data(), (UINT)r.size());
    EXPECT_EQ(other->GetDocument().CountObjects(), 2000);
    EXPECT_EQ(other->GetDocument().GetPage(1)->GetCount(), 1000);
}

TEST_F(WbViewTest, ThePageIsPaintedWithItsObjects)
{
    CRectfillObj* fill = new CRectfillObj(0x91);
    fill->SetColor(RGB(0, 0, 255));
    fill->SetRect(CRect(20, 20, 60, 60));
    PeerAdd(fill);
    m_view->UpdateWindow();
    CTestKit::PumpPending();
    CTestKit::Snapshot shot = CTestKit::Capture(m_view->m_hWnd);
    EXPECT_EQ(shot.At(40, 40), RGB(0, 0, 255));
    EXPECT_EQ(shot.At(100, 100), RGB(255, 255, 255));
    // at 50 % the square is a quarter of the size
    m_settings.zoomNum = 50;
    m_view->Rescale();
    m_view->UpdateWindow();
    shot = CTestKit::Capture(m_view->m_hWnd);
    EXPECT_EQ(shot.At(20, 20), RGB(0, 0, 255));
    EXPECT_EQ(shot.At(40, 40), RGB(255, 255, 255));
}

TEST(WbViewManager, DocumentsAreMadeFoundShownAndClosed)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "wbm", WS_POPUP | WS_VISIBLE, 0, 0, 500,
                                400, NULL, NULL));
    CWBViewManView* man = new CWBViewManView;
    ASSERT_TRUE(man->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 400), &parent, 1));
    WB_SETTINGS settings;
    CWBView* local = man->CreateLocalDocument(&settings, 1, NULL);
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->GetTitle(), "白板文件");
    EXPECT_TRUE(local->m_bOpenedHere);
    EXPECT_EQ(man->CreateLocalDocument(&settings, 256, NULL), nullptr)
        << "a page index is one byte";
    CWBView* remote = man->CreateRemoteDocument(&settings, 0x1234, "shared", CSize(300, 200), 3, 1);
    ASSERT_NE(remote, nullptr);
    EXPECT_EQ(remote->GetPageCount(), 3);
    EXPECT_EQ(remote->GetPageSize(), CSize(300, 200));
    EXPECT_EQ(remote->GetDocument().CountBackgrounds(), 1);
    EXPECT_EQ(man->FindById(0x1234), remote);
    EXPECT_TRUE(man->Activate(0x1234));
    EXPECT_EQ(man->GetActive(), remote);
    EXPECT_TRUE(remote->IsWindowVisible());
    EXPECT_TRUE(man->Activate(local->GetDocId()));
    EXPECT_FALSE(remote->IsWindowVisible());
    EXPECT_TRUE(man->CloseDocument(local->GetDocId()));
    EXPECT_EQ(man->GetActive(), nullptr);
    EXPECT_EQ(man->GetViewCount(), 1);
    EXPECT_FALSE(man->CloseDocument(0x9999));
    parent.DestroyWindow();
}

TEST_F(WbViewTest, LosingTheEditRightFinishesWhatWasGoingOn)
{
    UseTool(6);
    Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 80, 90, MK_LBUTTON);
    m_view->SetEditRight(FALSE);
    EXPECT_EQ(m_view->GetState(), CWBView::stateNone);
    ASSERT_EQ(m_sent.records.size(), 1u) << "the rectangle is committed and sent";
    EXPECT_EQ(Page()->GetCount(), 1);
    EXPECT_EQ(GetCapture(), (HWND)NULL);
    // without the right the mouse does nothing
    Drag(100, 100, 200, 200);
    EXPECT_EQ(Page()->GetCount(), 1);
    m_view->SetEditRight(TRUE);
    EXPECT_EQ(m_view->GetState(), CWBView::stateDrawIdle);
}

TEST_F(WbViewTest, ScrollingTellsTheParentItsPositionInTensOfPixels)
{
    MSG msg;
    while (PeekMessage(&msg, m_parent.m_hWnd, WM_WB_SCROLLED, WM_WB_SCROLLED, PM_REMOVE)) {}
    m_view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(m_view->GetScrollPosition().y, 10);
    m_view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(m_view->GetScrollPosition().y, 60);
    ASSERT_TRUE(PeekMessage(&msg, m_parent.m_hWnd, WM_WB_SCROLLED, WM_WB_SCROLLED, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    ASSERT_TRUE(PeekMessage(&msg, m_parent.m_hWnd, WM_WB_SCROLLED, WM_WB_SCROLLED, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 6u);
    EXPECT_EQ(m_settings.nScrollPos, 6);
    // a position received from a peer is applied without being told again
    m_view->ApplyScrollPos(2);
    EXPECT_EQ(m_view->GetScrollPosition().y, 20);
    EXPECT_FALSE(PeekMessage(&msg, m_parent.m_hWnd, WM_WB_SCROLLED, WM_WB_SCROLLED, PM_REMOVE));
}
