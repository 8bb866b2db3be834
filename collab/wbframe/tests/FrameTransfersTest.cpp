// Whiteboard frames whose documents' page pictures travel through the real
// file-transfer library and the stand-in server's file store: what one frame
// opens or uploads, another shows with the same pictures.
#include <winsock2.h>
#include <windows.h>

#include "CFileStore.h"
#include "CPassLibrary.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "CTestKit.h"
#include "CWBFrame.h"
#include "CWBFrameTransfers.h"
#include "PassStoreWire.h"
#include "StandInTestKit.h"
#include "WbFrameFakes.h"
#include "WbFrameResource.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

// The transfers' side of the meeting: the store of this process, pages
// that arrived (passed on to the frame) and the announcements.
class StoreHost : public IWBTransferHost
{
public:
    StoreHost(CPassLibrary& pass, uint16_t port) : m_pass(pass), m_port(port) {}

    CPassLibrary& Pass() override { return m_pass; }
    std::string ServerAddress() override { return "127.0.0.1"; }
    uint16_t FileTransferPort() override { return m_port; }
    uint32_t RoomId() override { return 2; }
    HWND MainWindow() override { return NULL; }
    void OnPageArrived(uint32_t documentId, int pageIndex) override
    {
        arrived.push_back({documentId, pageIndex});
        if (sink)
            sink->OnPageArrived(documentId, pageIndex);
    }
    void AnnounceDocument(const WB_UPLOADED_DOCUMENT& document) override
    {
        announced.push_back(document);
    }
    void ShowMessage(const char* text) override { messages.push_back(text); }

    IWBPageSink* sink = nullptr;
    std::vector<std::pair<uint32_t, int>> arrived;
    std::vector<WB_UPLOADED_DOCUMENT> announced;
    std::vector<std::string> messages;

private:
    CPassLibrary& m_pass;
    uint16_t m_port;
};

std::string ReadWhole(const std::string& path)
{
    std::string bytes;
    HANDLE h =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, NULL) && got)
        bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

// A picture of one colour, with a stripe of a second one so that two
// pictures of one size still differ.
bool WritePicture(const std::string& path, int width, int height, COLORREF colour, int stripe)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = stride * height;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bits(info.biSizeImage, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = y == stripe ? RGB(255, 255, 255) : colour;
            char* p = &bits[y * stride + x * 3];
            p[0] = (char)GetBValue(c);
            p[1] = (char)GetGValue(c);
            p[2] = (char)GetRValue(c);
        }
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    bool ok = WriteFile(h, &file, sizeof file, &put, NULL) &&
              WriteFile(h, &info, sizeof info, &put, NULL) &&
              WriteFile(h, bits.data(), (DWORD)bits.size(), &put, NULL);
    CloseHandle(h);
    return ok;
}

class WbFrameTransfers : public ::testing::Test
{
protected:
    struct Side
    {
        CWnd parent;
        FakeHost frameHost;
        StoreHost* store = nullptr; // owned by the frame's transfers
        CWBFrameTransfers* transfers = nullptr;
        CWBFrame* frame = nullptr;
        std::deque<std::vector<BYTE>> outbox;
        static void Send(const void* data, size_t length, void* context)
        {
            const BYTE* p = static_cast<const BYTE*>(data);
            static_cast<Side*>(context)->outbox.emplace_back(p, p + length);
        }
    };

    void SetUp() override
    {
        ASSERT_TRUE(StartWinsock());
        m_server.reset(new CStandInServer(StandInTestConfig()));
        ASSERT_TRUE(m_server->Start(0));
        ASSERT_NE(m_server->FileStore(), nullptr);
        ASSERT_TRUE(m_pass.Load("pass.dll")) << m_pass.Error();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_folder =
            std::string(temp) + "wbframetransfers" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_folder.c_str(), NULL);
        for (int i = 0; i < 2; ++i) {
            Side& s = m_sides[i];
            ASSERT_TRUE(s.parent.CreateEx(0, AfxRegisterWndClass(0), i ? "wb-b" : "wb-a",
                                          WS_POPUP | WS_VISIBLE, i * 40, i * 40, 900, 600, NULL,
                                          NULL));
            s.store = new StoreHost(m_pass, m_server->FileStore()->GetPort());
            s.transfers = new CWBFrameTransfers(std::unique_ptr<IWBTransferHost>(s.store));
            s.frameHost.server = "127.0.0.1";
            s.frame = new CWBFrame;
            s.store->sink = s.frame;
            ASSERT_TRUE(s.frame->CreateFrame(&s.parent, 1, &s.frameHost, s.transfers, nullptr));
            s.frame->SetSendCallback(&Side::Send, &s);
        }
        m_sides[0].frameHost.chair = true;
        CTestKit::PumpPending();
    }

    void TearDown() override
    {
        for (Side& s : m_sides)
            s.parent.DestroyWindow();
        CTestKit::PumpPending();
        for (const std::string& file : m_files)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(m_folder.c_str());
        m_pass.Unload();
        if (m_server)
            m_server->Stop();
        WSACleanup();
    }

    std::string Picture(const char* name, COLORREF colour, int stripe)
    {
        std::string path = m_folder + name;
        EXPECT_TRUE(WritePicture(path, 160, 120, colour, stripe));
        m_files.push_back(path);
        return path;
    }

    // Every record side from wrote so far, as one payload to side to.
    void Deliver(Side& from, Side& to)
    {
        std::vector<BYTE> payload;
        for (const auto& r : from.outbox)
            payload.insert(payload.end(), r.begin(), r.end());
        from.outbox.clear();
        if (!payload.empty()) {
            EXPECT_EQ(to.frame->OnPeerData(payload.data(), payload.size()), payload.size());
        }
    }

    bool TransfersEnd(DWORD timeoutMs = 60000)
    {
        return CTestKit::PumpUntil(
            [&] {
                for (Side& s : m_sides)
                    if (s.transfers->List().GetUploadCount() ||
                        s.transfers->List().GetDownloadCount())
                        return false;
                return true;
            },
            timeoutMs);
    }

    std::unique_ptr<CStandInServer> m_server;
    CPassLibrary m_pass;
    std::string m_folder;
    std::vector<std::string> m_files;
    Side m_sides[2];
};

} // namespace

TEST_F(WbFrameTransfers, PicturesOpenedOnOneFrameShowOnTheOtherWithTheirOwnPages)
{
    Side& a = m_sides[0];
    Side& b = m_sides[1];
    a.frame->SetEditRight(TRUE);
    Deliver(a, b);
    // Two pictures opened one after the other reach the peer in one payload,
    // as a late joiner gets the board's history: each keeps its own page.
    const std::string red = Picture("red.bmp", RGB(200, 0, 0), 3);
    const std::string blue = Picture("blue.bmp", RGB(0, 0, 200), 7);
    ASSERT_TRUE(a.frame->OpenDocumentFile(red.c_str()));
    DWORD redDoc = a.frame->ActiveView()->GetDocId();
    ASSERT_TRUE(a.frame->OpenDocumentFile(blue.c_str()));
    DWORD blueDoc = a.frame->ActiveView()->GetDocId();
    EXPECT_EQ(2, a.transfers->List().GetUploadCount());
    Deliver(a, b);
    EXPECT_EQ(2, b.transfers->List().GetDownloadCount());
    ASSERT_TRUE(TransfersEnd()) << "uploads " << a.transfers->List().GetUploadCount()
                                << ", downloads " << b.transfers->List().GetDownloadCount();

    struct Expect
    {
        DWORD doc;
        const std::string& picture;
    };
    for (const Expect& e : {Expect{redDoc, red}, Expect{blueDoc, blue}}) {
        SCOPED_TRACE(e.picture);
        CWBView* view = b.frame->Views()->FindById(e.doc);
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(1, view->GetPageCount());
        LPCTSTR path = NULL;
        view->GetDocument().GetBackgroundPaths(&path, 1);
        ASSERT_NE(path, nullptr);
        m_files.push_back(path);
        EXPECT_TRUE(ReadWhole(path) == ReadWhole(e.picture)) << path;
        EXPECT_EQ(CSize(160, 120), view->GetPageSize());
    }
    // Each page was reported once; a live board document is no shared item.
    std::vector<std::pair<uint32_t, int>> arrived = {{redDoc, 0}, {blueDoc, 0}};
    EXPECT_EQ(arrived, b.store->arrived);
    EXPECT_TRUE(a.store->announced.empty());
    EXPECT_TRUE(a.store->messages.empty());
    EXPECT_TRUE(b.store->messages.empty());
}

TEST_F(WbFrameTransfers, AnUploadedFileOpensOnThePeerFromTheStoreOnce)
{
    Side& a = m_sides[0];
    Side& b = m_sides[1];
    a.frame->SetEditRight(TRUE);
    b.frame->SetEditRight(TRUE);
    const std::string plan = Picture("plan.bmp", RGB(0, 150, 0), 11);
    a.frameHost.files.push_back(plan);
    a.frame->UploadLocalFile();
    ASSERT_TRUE(TransfersEnd());
    // Stored, it is announced to the room as a shared document.
    ASSERT_EQ(1u, a.store->announced.size());
    const WB_UPLOADED_DOCUMENT item = a.store->announced[0];
    EXPECT_EQ((uint32_t)CWBFrame::UPLOAD_FOLDER, item.folder);
    EXPECT_EQ("plan.bmp", item.name);
    ASSERT_FALSE(item.storedName.empty());

    // The peer opens the stored document from the shared list.
    a.outbox.clear();
    b.outbox.clear();
    const DWORD storedId = 4711;
    ASSERT_TRUE(b.frame->OpenStoredDocument(storedId, item.uploadFlag, 1, CSize(160, 120), "plan",
                                            "", item.storedName.c_str()));
    CWBView* view = b.frame->ActiveView();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(1, b.transfers->List().GetDownloadCount());
    ASSERT_TRUE(TransfersEnd());
    LPCTSTR path = NULL;
    view->GetDocument().GetBackgroundPaths(&path, 1);
    ASSERT_NE(path, nullptr);
    m_files.push_back(path);
    EXPECT_TRUE(ReadWhole(path) == ReadWhole(plan));

    // Its announcement makes the uploader fetch it too, from the same store.
    Deliver(b, a);
    CWBView* copy = a.frame->Views()->FindById(view->GetDocId());
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(TransfersEnd());
    LPCTSTR copyPath = NULL;
    copy->GetDocument().GetBackgroundPaths(&copyPath, 1);
    ASSERT_NE(copyPath, nullptr);
    m_files.push_back(copyPath);
    EXPECT_TRUE(ReadWhole(copyPath) == ReadWhole(plan));

    // Opened again, it is only shown: nothing is fetched twice.
    const int views = b.frame->Views()->GetViewCount();
    ASSERT_TRUE(b.frame->OpenStoredDocument(storedId, item.uploadFlag, 1, CSize(160, 120), "plan",
                                            "", item.storedName.c_str()));
    EXPECT_EQ(0, b.transfers->List().GetDownloadCount());
    EXPECT_EQ(views, b.frame->Views()->GetViewCount());
    EXPECT_EQ(view, b.frame->ActiveView());
    EXPECT_TRUE(b.store->messages.empty());
}

TEST_F(WbFrameTransfers, ADocumentClosedWhileItsPagesTravelStopsItsTransfers)
{
    Side& a = m_sides[0];
    Side& b = m_sides[1];
    a.frame->SetEditRight(TRUE);
    Deliver(a, b);
    // The store holds the peer's fetch: the download is still running when
    // the owner closes the document.
    STORE_FAULT fault;
    fault.kind = STORE_FAULT::STALL;
    fault.op = STORE_OP_GET;
    fault.afterBytes = 100;
    m_server->FileStore()->ScriptFault(fault);
    const std::string big = Picture("big.bmp", RGB(90, 90, 0), 1);
    ASSERT_TRUE(a.frame->OpenDocumentFile(big.c_str()));
    const DWORD doc = a.frame->ActiveView()->GetDocId();
    Deliver(a, b);
    ASSERT_EQ(1, b.transfers->List().GetDownloadCount());
    ASSERT_TRUE(m_server->FileStore()->WaitForStall(30000));
    CWBView* view = b.frame->Views()->FindById(doc);
    ASSERT_NE(view, nullptr);
    LPCTSTR path = NULL;
    view->GetDocument().GetBackgroundPaths(&path, 1);
    const std::string target = path ? path : "";
    m_files.push_back(target);

    // The owner closes its tab: kind 3 ends the peer's download at once.
    a.frame->Tabs().SelectTab(doc);
    NMHDR hdr = {a.frame->Tabs().m_hWnd, IDC_WB_TABS, (UINT)TABN_CLOSING};
    a.frame->SendMessage(WM_NOTIFY, IDC_WB_TABS, (LPARAM)&hdr);
    EXPECT_EQ(0, a.transfers->List().GetUploadCount());
    Deliver(a, b);
    EXPECT_EQ(0, b.transfers->List().GetDownloadCount());
    EXPECT_EQ(nullptr, b.frame->Views()->FindById(doc));
    m_server->FileStore()->Resume();
    // No page file, whole or partial, is left behind, and nobody is told of
    // a failure they caused themselves.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((target + ".part").c_str()));
    EXPECT_TRUE(b.store->messages.empty());
}
