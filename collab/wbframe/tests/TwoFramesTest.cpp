#include "CTestKit.h"
#include "CWBFrame.h"
#include "WbFrameFakes.h"
#include "WbFrameMessages.h"
#include "WbFrameResource.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <sstream>
#include <string>

namespace {

// Two whiteboard frames wired back to back, as two clients are through the
// server: what one writes, the other receives, several records per payload.
class WbTwoFrames : public ::testing::Test
{
protected:
    struct Side
    {
        CWnd parent;
        FakeHost host;
        std::vector<FakeTransfers::Call> calls;
        std::deque<std::vector<BYTE>> outbox;
        CWBFrame* frame = nullptr;
        static void Send(const void* data, size_t length, void* context)
        {
            const BYTE* p = static_cast<const BYTE*>(data);
            static_cast<Side*>(context)->outbox.emplace_back(p, p + length);
        }
    };

    void SetUp() override
    {
        for (int i = 0; i < 2; ++i) {
            Side& s = m_sides[i];
            ASSERT_TRUE(s.parent.CreateEx(0, AfxRegisterWndClass(0), i ? "wb-b" : "wb-a",
                                          WS_POPUP | WS_VISIBLE, i * 40, i * 40, 900, 600, NULL,
                                          NULL));
            s.frame = new CWBFrame;
            ASSERT_TRUE(
                s.frame->CreateFrame(&s.parent, 1, &s.host, new FakeTransfers(&s.calls), nullptr));
            s.frame->SetSendCallback(&Side::Send, &s);
        }
        m_sides[0].host.chair = true;
        CTestKit::PumpPending();
    }
    void TearDown() override
    {
        for (Side& s : m_sides)
            s.parent.DestroyWindow();
        CTestKit::PumpPending();
    }

    // Hands each side's records to the other until nothing is left; the
    // records of one turn travel as one payload.
    void Deliver()
    {
        for (int round = 0; round < 10; ++round) {
            bool moved = false;
            for (int i = 0; i < 2; ++i) {
                Side& from = m_sides[i];
                if (from.outbox.empty())
                    continue;
                std::vector<BYTE> payload;
                while (!from.outbox.empty()) {
                    payload.insert(payload.end(), from.outbox.front().begin(),
                                   from.outbox.front().end());
                    from.outbox.pop_front();
                }
                EXPECT_EQ(m_sides[1 - i].frame->OnPeerData(payload.data(), payload.size()),
                          payload.size());
                moved = true;
            }
            if (!moved)
                return;
        }
    }

    void Drag(CWBView* view, CPoint a, CPoint b)
    {
        CTestKit::SendMouse(view->m_hWnd, WM_LBUTTONDOWN, a, MK_LBUTTON);
        CTestKit::SendMouse(view->m_hWnd, WM_MOUSEMOVE, CPoint((a.x + b.x) / 2, (a.y + b.y) / 2),
                            MK_LBUTTON);
        CTestKit::SendMouse(view->m_hWnd, WM_MOUSEMOVE, b, MK_LBUTTON);
        CTestKit::SendMouse(view->m_hWnd, WM_LBUTTONUP, b);
    }

    // Every document, page and object (id and bytes) of one frame.
    static std::string Describe(CWBFrame* frame, const std::vector<DWORD>& docs)
    {
        std::ostringstream out;
        CWBView* active = frame->ActiveView();
        out << "active " << (active ? active->GetDocId() : 0) << " zoom "
            << frame->Settings().zoomNum << "\n";
        for (DWORD id : docs) {
            CWBView* view = frame->Views()->FindById(id);
            if (!view) {
                out << id << " missing\n";
                continue;
            }
            out << id << " page " << view->GetCurrentPage() << "/" << view->GetPageCount() << "\n";
            for (int p = 0; p < view->GetPageCount(); ++p) {
                CWBPage* page = view->GetDocument().GetPage(p);
                for (POSITION pos = page->GetHeadPosition(); pos;) {
                    CDrawObj* obj = page->GetNext(pos);
                    std::vector<BYTE> blob(obj->Pack(NULL, 0));
                    obj->Pack(blob.data(), (UINT)blob.size());
                    out << "  p" << p << " " << obj->GetId() << ":";
                    for (BYTE b : blob)
                        out << (int)b << ",";
                    out << "\n";
                }
            }
        }
        return out.str();
    }

    Side m_sides[2];
    std::vector<DWORD> m_docs;
};

} // namespace

TEST_F(WbTwoFrames, RandomEditsOnBothSidesConvergeOnTheSamePages)
{
    for (Side& s : m_sides) {
        s.frame->SetEditRight(TRUE);
        Deliver();
    }
    // The first side's blank document reached the second, which opened none
    // of its own.
    ASSERT_EQ(m_sides[0].frame->Views()->GetViewCount(), 1);
    ASSERT_EQ(m_sides[1].frame->Views()->GetViewCount(), 1);
    m_docs.push_back(m_sides[0].frame->ActiveView()->GetDocId());
    EXPECT_EQ(m_sides[1].host.syncRequests, 1) << "the participant asked the chair for its page";

    std::mt19937 random(2211);
    const int drawTools[] = {4, 6, 7, 10, 5};
    const int zooms[] = {0, 50, 100, 150};
    for (int step = 0; step < 40; ++step) {
        SCOPED_TRACE(step);
        Side& s = m_sides[random() % 2];
        CWBFrame* f = s.frame;
        CWBView* view = f->ActiveView();
        ASSERT_NE(view, nullptr);
        switch (random() % 7) {
        case 0: { // a new document of three pages
            if (m_docs.size() >= 4)
                break;
            CWBView* doc = f->Views()->CreateLocalDocument(&f->Settings(), 3, NULL);
            ASSERT_NE(doc, nullptr);
            ASSERT_TRUE(f->AddDocumentView(doc, TRUE));
            m_docs.push_back(doc->GetDocId());
            break;
        }
        case 1: // another page
            f->GotoPage((int)(random() % view->GetPageCount()));
            break;
        case 2: { // another document, chosen in the tab strip
            DWORD id = m_docs[random() % m_docs.size()];
            f->Tabs().SelectTab(id);
            NMHDR hdr = {f->Tabs().m_hWnd, IDC_WB_TABS, (UINT)TCN_SELCHANGE};
            f->SendMessage(WM_NOTIFY, IDC_WB_TABS, (LPARAM)&hdr);
            break;
        }
        case 3: { // the eraser over a corner
            f->SendMessage(WM_COMMAND, ID_WB_ERASER);
            Drag(view, CPoint(5, 5), CPoint(120, 120));
            break;
        }
        case 4: {
            int z = (int)(random() % 4);
            f->SendMessage(WM_WB_SET_ZOOM, z, zooms[z]);
            break;
        }
        default: { // draw
            const int tool = drawTools[random() % 5];
            f->Settings().tool = tool;
            f->Views()->CancelToolActions();
            int x = 20 + (int)(random() % 300), y = 20 + (int)(random() % 200);
            Drag(view, CPoint(x, y),
                 CPoint(x + 30 + (int)(random() % 100), y + 20 + (int)(random() % 80)));
            break;
        }
        }
        CTestKit::PumpPending();
        Deliver();
        ASSERT_EQ(Describe(m_sides[0].frame, m_docs), Describe(m_sides[1].frame, m_docs));
    }
    // Something was drawn, and both sides keep it.
    int objects = 0;
    for (DWORD id : m_docs)
        objects += m_sides[0].frame->Views()->FindById(id)->GetDocument().CountObjects();
    EXPECT_GT(objects, 5);
}
