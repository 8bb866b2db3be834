#include "CLineObj.h"
#include "CTestKit.h"
#include "CWBChange.h"
#include "CWBFrame.h"
#include "WbFrameFakes.h"
#include "WbFrameMessages.h"
#include "WbFrameResource.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// Little-endian record bytes built by hand, apart from the frame's writers.
struct Rec
{
    std::vector<BYTE> b;
    Rec& U8(int v)
    {
        b.push_back((BYTE)v);
        return *this;
    }
    Rec& U16(int v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    Rec& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Rec& Str(const std::string& s)
    {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    Rec& Add(const std::vector<BYTE>& more)
    {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
    Rec& Add(const Rec& more) { return Add(more.b); }
};

Rec Opened(uint32_t doc, int width, int height, int pages, int backgrounds,
           const std::string& title = "doc", const std::string& server = "",
           const std::string& stored = "")
{
    return Rec()
        .U8(2)
        .U32(doc)
        .U32((uint32_t)width)
        .U32((uint32_t)height)
        .U8(pages)
        .U8(backgrounds)
        .U8(1)
        .U8(5)
        .U8((int)title.size())
        .U8((int)server.size())
        .U8((int)stored.size())
        .Str(title)
        .Str(server)
        .Str(stored);
}

// A kind-1 record adding a line to a page of a document.
Rec AddLine(uint32_t doc, int page, DWORD id)
{
    CLineObj line(id);
    line.OnLButtonDown(CPoint(10, 10));
    line.OnLButtonUp(CPoint(60, 40));
    std::vector<BYTE> change;
    CWBChange::BuildAdd(change, page, &line);
    return Rec().U8(1).U32(doc).U16((int)change.size()).Add(change);
}

class WbFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "wbparent", WS_POPUP | WS_VISIBLE,
                                      0, 0, 900, 600, NULL, NULL));
        m_frame = MakeFrame(&m_parent, &m_host, &m_calls, &m_sent);
        ASSERT_NE(m_frame, nullptr);
    }
    void TearDown() override
    {
        CTestKit::CloseThreadDialogs();
        m_parent.DestroyWindow(); // the frame goes with it
        CTestKit::PumpPending();
    }
    static CWBFrame* MakeFrame(CWnd* parent, FakeHost* host,
                               std::vector<FakeTransfers::Call>* calls, SentRecords* sent)
    {
        CWBFrame* frame = new CWBFrame;
        if (!frame->CreateFrame(parent, 1, host, new FakeTransfers(calls), nullptr)) {
            delete frame;
            return nullptr;
        }
        frame->SetSendCallback(&SentRecords::Callback, sent);
        CTestKit::PumpPending();
        return frame;
    }
    size_t Feed(const Rec& r) { return m_frame->OnPeerData(r.b.data(), r.b.size()); }
    CWBView* Doc(uint32_t id) { return m_frame->Views()->FindById(id); }

    CWnd m_parent;
    FakeHost m_host;
    std::vector<FakeTransfers::Call> m_calls;
    SentRecords m_sent;
    CWBFrame* m_frame = nullptr;
};

const uint32_t kDocA = 0x11111111, kDocB = 0x22222222;

} // namespace

TEST_F(WbFrameTest, PeerRecordsAreWalkedInOrderAndTheWalkStopsWhereItShould)
{
    struct Row
    {
        const char* name;
        Rec data;
        size_t consumed;
        uint32_t active;
        int pageOfB;
        int linesOnB2;
    };
    const Rec run = Rec().U8(4).U32(kDocB).U8(6).U32(kDocB).U8(2).Add(AddLine(kDocB, 2, 0x501));
    Rec cut = Rec().U8(4).U32(kDocB).U8(6).U32(kDocB).U8(2);
    cut.b.pop_back();
    const Row rows[] = {
        {"a 4/6/1 run applies in order", run, run.b.size(), kDocB, 2, 1},
        {"a cut tail keeps the whole records before it", cut, 5, kDocB, 0, 0},
        {"kind 7 ends the walk", Rec().U8(4).U32(kDocB).U8(7).U8(6).U32(kDocB).U8(2), 5, kDocB, 0,
         0},
        {"an unknown kind ends the walk", Rec().U8(9).U8(4).U32(kDocB), 0, kDocA, 0, 0},
        {"kind 0 ends the walk", Rec().U8(0), 0, kDocA, 0, 0},
        {"a change of an unknown document is skipped by its length",
         Rec().Add(AddLine(0x999, 2, 0x502)).U8(6).U32(kDocB).U8(1),
         AddLine(0x999, 2, 0x502).b.size() + 6, kDocA, 1, 0},
        {"a change too short for its length ends the walk",
         Rec().U8(1).U32(kDocB).U16(50).U8(1).U8(2), 0, kDocA, 0, 0},
        {"records of an unknown document change nothing",
         Rec().U8(4).U32(0x999).U8(6).U32(0x999).U8(1).U8(3).U32(0x999), 16, kDocA, 0, 0},
        {"a page outside the document changes nothing", Rec().U8(6).U32(kDocB).U8(3), 6, kDocA, 0,
         0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        m_parent.DestroyWindow();
        m_calls.clear();
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "wbparent", WS_POPUP | WS_VISIBLE,
                                      0, 0, 900, 600, NULL, NULL));
        m_frame = MakeFrame(&m_parent, &m_host, &m_calls, &m_sent);
        ASSERT_NE(m_frame, nullptr);
        Rec docs = Rec().Add(Opened(kDocB, 400, 300, 3, 0)).Add(Opened(kDocA, 400, 300, 2, 0));
        ASSERT_EQ(Feed(docs), docs.b.size());
        ASSERT_EQ(m_frame->ActiveView(), Doc(kDocA));

        EXPECT_EQ(m_frame->OnPeerData(r.data.b.data(), r.data.b.size()), r.consumed);
        ASSERT_NE(Doc(kDocB), nullptr);
        EXPECT_EQ(m_frame->ActiveView()->GetDocId(), r.active);
        EXPECT_EQ(m_frame->Tabs().GetCurTabId(), r.active);
        EXPECT_EQ(Doc(kDocB)->GetCurrentPage(), r.pageOfB);
        EXPECT_EQ(Doc(kDocB)->GetDocument().GetPage(2)->GetCount(), r.linesOnB2);
        EXPECT_TRUE(m_sent.records.empty()) << "received records are not sent back";
    }
}

TEST_F(WbFrameTest, AnOpenedDocumentIsMadeSizedAndItsPagesFetched)
{
    struct Row
    {
        const char* name;
        Rec data;
        bool chair;
        SIZE size;
        int pages;
        const char* title;
        int downloads; // page files asked for, -1 none
        const char* server;
    };
    const Row rows[] = {
        {"no server address: the own server",
         Opened(kDocA, 640, 480, 3, 2, "plan", "", "s1"),
         false,
         {640, 480},
         3,
         "plan",
         2,
         "10.1.2.3"},
        {"a named server",
         Opened(kDocA, 640, 480, 1, 1, "plan", "192.168.0.5", "s1"),
         false,
         {640, 480},
         1,
         "plan",
         1,
         "192.168.0.5"},
        {"more backgrounds than pages",
         Opened(kDocA, 640, 480, 2, 5),
         false,
         {640, 480},
         2,
         "doc",
         2,
         "10.1.2.3"},
        {"no size falls back", Opened(kDocA, 0, -5, 1, 0), false, {600, 800}, 1, "doc", -1, ""},
        {"a huge size is clamped",
         Opened(kDocA, 0x7FFFFFFF, 100000, 1, 0),
         false,
         {20000, 20000},
         1,
         "doc",
         -1,
         ""},
        {"an empty title", Opened(kDocA, 300, 200, 1, 0, ""), true, {300, 200}, 1, "", -1, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        m_parent.DestroyWindow();
        m_calls.clear();
        m_host.syncRequests = 0;
        m_host.chair = r.chair;
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "wbparent", WS_POPUP | WS_VISIBLE,
                                      0, 0, 900, 600, NULL, NULL));
        m_frame = MakeFrame(&m_parent, &m_host, &m_calls, &m_sent);
        ASSERT_NE(m_frame, nullptr);

        ASSERT_EQ(Feed(r.data), r.data.b.size());
        CWBView* view = Doc(kDocA);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->GetPageSize(), CSize(r.size));
        EXPECT_EQ(view->GetPageCount(), r.pages);
        EXPECT_STREQ(view->GetTitle(), r.title);
        EXPECT_FALSE(view->m_bOpenedHere);
        EXPECT_EQ(m_frame->ActiveView(), view);
        EXPECT_EQ(m_host.syncRequests, r.chair ? 0 : 1)
            << "only a participant asks the chair for its page";
        if (r.downloads < 0) {
            EXPECT_TRUE(m_calls.empty());
        } else {
            ASSERT_EQ(m_calls.size(), 1u);
            EXPECT_EQ(m_calls[0].what, "download");
            EXPECT_EQ(m_calls[0].doc, kDocA);
            EXPECT_EQ(m_calls[0].count, r.downloads);
            EXPECT_EQ(m_calls[0].server, r.server);
        }
        // A second announcement of the same document is not a second document.
        Feed(r.data);
        EXPECT_EQ(m_frame->Views()->GetViewCount(), 1);
    }
}

TEST_F(WbFrameTest, ZoomAndScrollRecordsChangeOnlyWhatDiffers)
{
    Feed(Opened(kDocA, 400, 3000, 1, 0));
    CComboBox& zoom = m_frame->ToolPanel().ZoomList();

    ASSERT_EQ(Feed(Rec().U8(5).U16(150).U16(100)), 5u);
    EXPECT_EQ(m_frame->Settings().zoomNum, 150);
    EXPECT_EQ(zoom.GetCurSel(), 3);
    EXPECT_EQ(Doc(kDocA)->GetZoomNum(), 150);
    // The same zoom again is not applied again.
    zoom.SetCurSel(0);
    Feed(Rec().U8(5).U16(150).U16(100));
    EXPECT_EQ(zoom.GetCurSel(), 0);
    // A zero denominator is refused: later drawing would divide by it.
    ASSERT_EQ(Feed(Rec().U8(5).U16(200).U16(0)), 5u);
    EXPECT_EQ(m_frame->Settings().zoomNum, 150);
    EXPECT_EQ(m_frame->Settings().zoomDen, 100);

    m_frame->SetWindowPos(NULL, 0, 0, 900, 400, SWP_NOZORDER);
    CTestKit::PumpPending();
    ASSERT_EQ(Feed(Rec().U8(8).U32(20)), 5u);
    EXPECT_EQ(Doc(kDocA)->GetScrollPosition().y, 200);
    Doc(kDocA)->ApplyScrollPos(0);
    Feed(Rec().U8(8).U32(20));
    EXPECT_EQ(Doc(kDocA)->GetScrollPosition().y, 0) << "the same position is not applied again";
    EXPECT_TRUE(m_sent.records.empty());
}

TEST_F(WbFrameTest, TheWritersLayOutEveryKind)
{
    m_frame->SetEditRight(TRUE);
    ASSERT_EQ(m_sent.Kinds(), (std::vector<int>{2, 4})) << "the right opens a blank document";
    CWBView* view = m_frame->ActiveView();
    ASSERT_NE(view, nullptr);
    const uint32_t doc = view->GetDocId();
    const CSize size = view->GetPageSize();
    const std::string title = (LPCTSTR)view->GetTitle();
    Rec opened = Rec()
                     .U8(2)
                     .U32(doc)
                     .U32(size.cx)
                     .U32(size.cy)
                     .U8(1)
                     .U8(0)
                     .U8(1)
                     .U8(0)
                     .U8((int)title.size())
                     .U8(0)
                     .U8(0)
                     .Str(title);
    EXPECT_EQ(m_sent.records[0], opened.b);
    EXPECT_EQ(m_sent.records[1], Rec().U8(4).U32(doc).b);

    m_sent.records.clear();
    m_frame->SendZoom(150, 100);
    m_frame->SendPageChange(view);
    m_frame->SendScrollPos(0x01020304);
    m_frame->SendDocumentClosed(0xA0B0C0D0);
    const BYTE change[] = {9, 8, 7};
    m_frame->SendChange(view, change, 3);
    ASSERT_EQ(m_sent.records.size(), 5u);
    EXPECT_EQ(m_sent.records[0], Rec().U8(5).U16(150).U16(100).b);
    EXPECT_EQ(m_sent.records[1], Rec().U8(6).U32(doc).U8(0).b);
    EXPECT_EQ(m_sent.records[2], Rec().U8(8).U32(0x01020304).b);
    EXPECT_EQ(m_sent.records[3], Rec().U8(3).U32(0xA0B0C0D0).b);
    EXPECT_EQ(m_sent.records[4], Rec().U8(1).U32(doc).U16(3).U8(9).U8(8).U8(7).b);

    // Strings longer than a length byte counts are cut before they are
    // counted, never inside a double-byte character.
    m_sent.records.clear();
    std::string longTitle;
    for (int i = 0; i < 150; ++i)
        longTitle += "\xD6\xD0"; // 300 bytes
    const std::string longServer(300, 's');
    view->m_strTitle = longTitle.c_str();
    m_frame->SendDocumentOpened(view, 0, 3, longServer.c_str(), "n");
    ASSERT_EQ(m_sent.records.size(), 1u);
    const std::vector<BYTE>& r = m_sent.records[0];
    ASSERT_GE(r.size(), 20u);
    EXPECT_EQ(r[17], 254) << "title";
    EXPECT_EQ(r[18], 255) << "server";
    EXPECT_EQ(r[19], 1) << "stored name";
    EXPECT_EQ(r.size(), 20u + 254 + 255 + 1);
    EXPECT_EQ(r.back(), 'n');
}

TEST_F(WbFrameTest, TheEditRightGatesCommandsToolsTabsPagesAndZoom)
{
    Feed(Opened(kDocA, 400, 300, 3, 0));
    Feed(Opened(kDocB, 400, 300, 1, 0));
    // Without the right: nothing changes, nothing is sent.
    m_frame->SendMessage(WM_COMMAND, ID_WB_RECT);
    EXPECT_EQ(m_frame->Settings().tool, 2);
    m_frame->SendMessage(WM_COMMAND, ID_WB_NEW);
    m_frame->SendMessage(WM_WB_SET_ZOOM, 3, 150);
    m_frame->SendMessage(WM_WB_GOTO_PAGE, 2);
    NMHDR hdr = {m_frame->Tabs().m_hWnd, IDC_WB_TABS, (UINT)TCN_SELCHANGING};
    EXPECT_EQ(m_frame->SendMessage(WM_NOTIFY, IDC_WB_TABS, (LPARAM)&hdr), -1);
    hdr.code = (UINT)TABN_CLOSING;
    EXPECT_EQ(m_frame->SendMessage(WM_NOTIFY, IDC_WB_TABS, (LPARAM)&hdr), -1);
    EXPECT_EQ(m_frame->Views()->GetViewCount(), 2);
    EXPECT_EQ(m_frame->Settings().zoomNum, 0);
    EXPECT_TRUE(m_sent.records.empty());
    EXPECT_FALSE(m_frame->ToolPanel().GetDlgItem(IDC_WB_T_RECT)->IsWindowEnabled());
    EXPECT_FALSE(m_frame->TopBar().GetDlgItem(IDC_WB_B_GOTO)->IsWindowEnabled());

    m_frame->SetEditRight(TRUE);
    EXPECT_EQ(m_frame->Views()->GetViewCount(), 2) << "documents are open: no blank one";
    EXPECT_TRUE(m_frame->ToolPanel().GetDlgItem(IDC_WB_T_RECT)->IsWindowEnabled());
    struct Tool
    {
        UINT command;
        int tool;
    };
    const Tool tools[] = {{ID_WB_ERASER, 1},        {ID_WB_SELECT, 2},    {IDC_WB_T_ICON, 3},
                          {IDC_WB_T_LINE, 4},       {ID_WB_LINE, 4},      {ID_WB_ARROW, 5},
                          {ID_WB_RECT, 6},          {ID_WB_RECTFILL, 7},  {ID_WB_ROUNDRECT, 8},
                          {ID_WB_ROUNDRECTFILL, 9}, {ID_WB_ELLIPSE, 10},  {ID_WB_ELLIPSEFILL, 11},
                          {ID_WB_TEXT, 12},         {IDC_WB_T_POLY, 13},  {IDC_WB_T_PEN, 14},
                          {ID_WB_PEN, 14},          {IDC_WB_T_PENCIL, 15}};
    for (const Tool& t : tools) {
        m_frame->SendMessage(WM_COMMAND, t.command);
        EXPECT_EQ(m_frame->Settings().tool, t.tool) << t.command;
    }
    // A tool panel button reaches the frame as its command.
    CTestKit::ClickButton(m_frame->ToolPanel().GetDlgItem(IDC_WB_T_ARROW)->m_hWnd);
    EXPECT_EQ(m_frame->Settings().tool, 5);

    // Pages of the shown document (B, one page; then A, three pages).
    m_frame->SendMessage(WM_COMMAND, ID_WB_NEXT);
    EXPECT_TRUE(m_sent.records.empty()) << "B has no second page";
    m_frame->Tabs().SelectTab(kDocA);
    hdr.code = (UINT)TCN_SELCHANGE;
    EXPECT_EQ(m_frame->SendMessage(WM_NOTIFY, IDC_WB_TABS, (LPARAM)&hdr), 0);
    EXPECT_EQ(m_frame->ActiveView(), Doc(kDocA));
    ASSERT_EQ(m_sent.records.size(), 1u);
    EXPECT_EQ(m_sent.records[0], Rec().U8(4).U32(kDocA).b);
    m_sent.records.clear();

    CDlgWbTopBar& bar = m_frame->TopBar();
    struct Goto
    {
        const char* typed;
        int page; // -1: nothing sent
    };
    const Goto gotos[] = {{"1", -1}, {" 3 ", 2}, {"3", -1}, {"4", -1},
                          {"0", -1}, {"x", -1},  {"2", 1}};
    for (const Goto& g : gotos) {
        SCOPED_TRACE(g.typed);
        m_sent.records.clear();
        const int before = Doc(kDocA)->GetCurrentPage();
        bar.SetDlgItemText(IDC_WB_B_PAGE, g.typed);
        CTestKit::ClickButton(bar.GetDlgItem(IDC_WB_B_GOTO)->m_hWnd);
        if (g.page < 0) {
            EXPECT_TRUE(m_sent.records.empty());
            EXPECT_EQ(Doc(kDocA)->GetCurrentPage(), before);
        } else {
            ASSERT_EQ(m_sent.records.size(), 1u);
            EXPECT_EQ(m_sent.records[0], Rec().U8(6).U32(kDocA).U8(g.page).b);
            EXPECT_EQ(Doc(kDocA)->GetCurrentPage(), g.page);
            char shown[16] = {0};
            bar.GetDlgItemText(IDC_WB_B_PAGE, shown, sizeof shown);
            EXPECT_EQ(atoi(shown), g.page + 1);
            bar.GetDlgItemText(IDC_WB_B_PAGES, shown, sizeof shown);
            EXPECT_STREQ(shown, "共3页");
        }
    }
    m_sent.records.clear();
    m_frame->SendMessage(WM_COMMAND, ID_WB_NEXT);
    m_frame->SendMessage(WM_COMMAND, ID_WB_NEXT);
    m_frame->SendMessage(WM_COMMAND, ID_WB_PREV);
    EXPECT_EQ(m_sent.Kinds(), (std::vector<int>{6, 6})) << "next past the last page sends nothing";
    EXPECT_EQ(Doc(kDocA)->GetCurrentPage(), 1);

    m_sent.records.clear();
    m_frame->SendMessage(WM_WB_SET_ZOOM, (WPARAM)-1, 150);
    EXPECT_TRUE(m_sent.records.empty());
    m_frame->SendMessage(WM_WB_SET_ZOOM, 3, 150);
    ASSERT_EQ(m_sent.records.size(), 1u);
    EXPECT_EQ(m_sent.records[0], Rec().U8(5).U16(150).U16(100).b);
    EXPECT_EQ(m_frame->GetZoomIndex(), 3);
    EXPECT_EQ(Doc(kDocA)->GetZoomNum(), 150);

    // Width and fill lists set the settings of new objects.
    CWbLineCombo& width = bar.WidthList();
    width.SetCurSel(6);
    bar.SendMessage(WM_COMMAND, MAKEWPARAM(ID_WB_WIDTH, CBN_SELCHANGE), (LPARAM)width.m_hWnd);
    EXPECT_EQ(m_frame->Settings().width, 10);
    CWbLineCombo& fill = bar.FillList();
    fill.SetCurSel(6);
    bar.SendMessage(WM_COMMAND, MAKEWPARAM(ID_WB_FILL, CBN_SELCHANGE), (LPARAM)fill.m_hWnd);
    EXPECT_EQ(m_frame->Settings().fill, 6);
}

TEST_F(WbFrameTest, ClosingADocumentStopsItsTransferOnEitherSide)
{
    // A picture opened here is uploaded and announced with what the upload gave.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string picture = std::string(temp) + "wbframe_pic.BMP";
    {
        CBitmap bmp;
        HDC screen = ::GetDC(NULL);
        bmp.Attach(::CreateCompatibleBitmap(screen, 40, 30));
        ::ReleaseDC(NULL, screen);
        BITMAPINFOHEADER bi = {sizeof bi, 40, 30, 1, 24, BI_RGB};
        std::vector<BYTE> bits(((40 * 3 + 3) & ~3) * 30, 0x80);
        BITMAPFILEHEADER fh = {0x4D42, (DWORD)(sizeof fh + sizeof bi + bits.size()), 0, 0,
                               sizeof fh + sizeof bi};
        FILE* f = fopen(picture.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi, sizeof bi, 1, f);
        fwrite(bits.data(), bits.size(), 1, f);
        fclose(f);
    }
    m_frame->SetEditRight(TRUE);
    m_sent.records.clear();
    m_calls.clear();
    ASSERT_TRUE(m_frame->OpenDocumentFile(picture.c_str()))
        << "extensions are compared without case";
    CWBView* mine = m_frame->ActiveView();
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->GetPageSize(), CSize(40, 30));
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].what, "upload");
    EXPECT_EQ(m_calls[0].doc, mine->GetDocId());
    ASSERT_EQ(m_sent.Kinds(), (std::vector<int>{2, 4}));
    const std::vector<BYTE>& opened = m_sent.records[0];
    EXPECT_EQ(opened[13], 1) << "pages";
    EXPECT_EQ(opened[14], 1) << "backgrounds";
    EXPECT_EQ(opened[15], 1) << "opened here";
    EXPECT_EQ(opened[16], 7) << "the upload's flag";
    EXPECT_EQ(std::string(opened.end() - 11, opened.end()), "stored-name");

    // The user closes its tab: kind 3, and the upload stops.
    m_sent.records.clear();
    m_calls.clear();
    const DWORD doc = mine->GetDocId();
    NMHDR hdr = {m_frame->Tabs().m_hWnd, IDC_WB_TABS, (UINT)TABN_CLOSING};
    m_frame->Tabs().SelectTab(doc);
    EXPECT_EQ(m_frame->SendMessage(WM_NOTIFY, IDC_WB_TABS, (LPARAM)&hdr), 0);
    EXPECT_EQ(Doc(doc), nullptr);
    ASSERT_FALSE(m_sent.records.empty());
    EXPECT_EQ(m_sent.records[0], Rec().U8(3).U32(doc).b);
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].what, "cancel upload");

    // A peer's document with pages closed by the peer: the download stops.
    Feed(Opened(kDocB, 400, 300, 2, 2));
    m_calls.clear();
    ASSERT_EQ(Feed(Rec().U8(3).U32(kDocB)), 5u);
    EXPECT_EQ(Doc(kDocB), nullptr);
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].what, "cancel download");
    EXPECT_EQ(m_calls[0].doc, kDocB);
    // A document without pictures has no transfer to stop.
    Feed(Opened(kDocA, 400, 300, 2, 0));
    m_calls.clear();
    Feed(Rec().U8(3).U32(kDocA));
    EXPECT_TRUE(m_calls.empty());
    DeleteFileA(picture.c_str());
}

TEST_F(WbFrameTest, ThePageShowsTheProgramsCursorsForDrawingAndChoosing)
{
    m_frame->SetEditRight(TRUE);
    CWBView* view = m_frame->ActiveView();
    ASSERT_NE(view, nullptr);
    const HINSTANCE module = GetModuleHandleA(NULL);
    const HCURSOR draw = LoadCursorA(module, MAKEINTRESOURCEA(518));
    const HCURSOR choose = LoadCursorA(module, MAKEINTRESOURCEA(520));
    ASSERT_NE(draw, nullptr);
    ASSERT_NE(choose, nullptr);
    EXPECT_NE(draw, choose);
    struct Row
    {
        const char* name;
        UINT command;
        HCURSOR expected;
    };
    const Row rows[] = {
        {"a drawing tool", ID_WB_RECT, draw},
        {"the select tool with nothing selected", ID_WB_SELECT, choose},
        {"the eraser", ID_WB_ERASER, choose},
        {"the pen", ID_WB_PEN, draw},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_frame->SendMessage(WM_COMMAND, row.command);
        SetCursor(NULL);
        view->SendMessage(WM_SETCURSOR, (WPARAM)view->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), row.expected);
    }
}
