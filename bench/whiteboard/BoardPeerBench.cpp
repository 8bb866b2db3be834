// The whiteboard between two participants, each figure beside a reference
// run of the bare work in the same process:
// - a document of 2,000 objects appearing on a peer's board (the owner
//   announces it and sends every object, the peer applies the records and
//   paints the page), beside opening the same document from its file and
//   painting it;
// - page pictures through the file-transfer library and the server's file
//   store (upload, then the peer's download), beside a plain loopback socket
//   copy of the same bytes.
#include <winsock2.h>
#include <windows.h>

#include "../BenchRow.h"
#include "CLineObj.h"
#include "CFileStore.h"
#include "CPassLibrary.h"
#include "CRectObj.h"
#include "CRectfillObj.h"
#include "CStandInServer.h"
#include "CWBFrame.h"
#include "CWBFrameTransfers.h"
#include "CWBTransferList.h"
#include "IWBTransferHost.h"
#include "StandInTestKit.h"

#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

double NowMs()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string TempFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

CDrawObj* MakeObject(DWORD i)
{
    const int x = (int)(i * 37 % 560), y = (int)(i * 91 % 760);
    CDrawObj* obj;
    switch (i % 3) {
    case 0:
        obj = new CLineObj(i);
        obj->OnLButtonDown(CPoint(x, y));
        obj->OnLButtonUp(CPoint(x + 30, y + 20));
        break;
    case 1:
        obj = new CRectObj(i);
        obj->SetRect(CRect(x, y, x + 25, y + 30));
        break;
    default:
        obj = new CRectfillObj(i);
        obj->SetRect(CRect(x, y, x + 15, y + 10));
        break;
    }
    obj->SetColor(RGB(i & 0xFF, 0, 128));
    return obj;
}

// What one board writes, for the other.
struct Outbox
{
    std::vector<BYTE> bytes;
    static void Send(const void* data, size_t length, void* context)
    {
        const BYTE* p = static_cast<const BYTE*>(data);
        static_cast<Outbox*>(context)->bytes.insert(static_cast<Outbox*>(context)->bytes.end(), p,
                                                    p + length);
    }
};

struct Board
{
    CWnd parent;
    CWBFrame* frame = nullptr;
    Outbox out;
    bool Create(const char* name, IWBTransfers* transfers)
    {
        if (!parent.CreateEx(0, AfxRegisterWndClass(0), name, WS_POPUP | WS_VISIBLE, 0, 0, 900, 700,
                             NULL, NULL))
            return false;
        frame = new CWBFrame;
        if (!frame->CreateFrame(&parent, 1, nullptr, transfers, nullptr)) {
            delete frame;
            frame = nullptr;
            return false;
        }
        frame->SetSendCallback(&Outbox::Send, &out);
        Pump();
        return true;
    }
    ~Board()
    {
        if (parent.m_hWnd)
            parent.DestroyWindow();
        Pump();
    }
};

// Relay payloads are at most 65530 bytes: the records go in runs of whole
// records no longer than that, as the main window sends them.
void DeliverInRuns(const std::vector<BYTE>& bytes, CWBFrame* to)
{
    size_t at = 0;
    while (at < bytes.size()) {
        size_t used = to->OnPeerData(bytes.data() + at, bytes.size() - at);
        if (used == 0)
            break;
        at += used;
    }
}

void BenchDocumentOnPeer()
{
    const int objects = 2000;
    Board owner, peer;
    if (!owner.Create("owner", nullptr) || !peer.Create("peer", nullptr)) {
        printf("cannot make the boards\n");
        return;
    }
    owner.frame->SetEditRight(TRUE);
    DeliverInRuns(owner.out.bytes, peer.frame);
    owner.out.bytes.clear();
    CWBView* doc = owner.frame->Views()->CreateLocalDocument(&owner.frame->Settings(), 1, NULL);
    if (!doc) {
        printf("cannot make the document\n");
        return;
    }
    for (int i = 0; i < objects; ++i)
        doc->GetDocument().AddObject(0, MakeObject(0x1000 + i));
    const std::string file = TempFolder() + "wb_peer_bench.kqf";
    doc->SaveDocument(file.c_str());

    // Ours: announced, every object sent, applied and painted on the peer.
    const double t0 = NowMs();
    owner.frame->AddDocumentView(doc, TRUE);
    doc->SendAllObjects();
    const size_t sent = owner.out.bytes.size();
    DeliverInRuns(owner.out.bytes, peer.frame);
    CWBView* shown = peer.frame->ActiveView();
    if (shown) {
        shown->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump();
    }
    const double ours = NowMs() - t0;
    const int arrived = shown ? shown->GetDocument().CountObjects() : 0;

    // The reference: the same objects read from their file and painted.
    const double r0 = NowMs();
    CWBDocument copy;
    copy.Open(file.c_str());
    CDC screen;
    screen.Attach(::GetDC(NULL));
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 600, 800);
    ::ReleaseDC(NULL, screen.Detach());
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 600, 800, RGB(255, 255, 255));
    CWBPage* page = copy.GetPage(0);
    for (POSITION pos = page ? page->GetHeadPosition() : NULL; pos;)
        page->GetNext(pos)->Draw(&dc);
    dc.SelectObject(old);
    const double reference = NowMs() - r0;
    printf("a document of %d objects: %u bytes of board records, %d objects on the peer\n", objects,
           (unsigned)sent, arrived);
    printf("  on the peer %.2f ms, read from its file and painted %.2f ms\n", ours, reference);
    BenchRow("2,000-object document appearing on a peer", ours, reference, "ms", "<=", 4.0);
    DeleteFileA(file.c_str());
}

// The transfers' host: the store of this process, nothing shown.
class QuietHost : public IWBTransferHost
{
public:
    QuietHost(CPassLibrary& pass, uint16_t port) : m_pass(pass), m_port(port) {}
    CPassLibrary& Pass() override { return m_pass; }
    std::string ServerAddress() override { return "127.0.0.1"; }
    uint16_t FileTransferPort() override { return m_port; }
    uint32_t RoomId() override { return 2; }
    HWND MainWindow() override { return NULL; }
    void OnPageArrived(uint32_t, int) override {}
    void AnnounceDocument(const WB_UPLOADED_DOCUMENT&) override {}
    void ShowMessage(const char* text) override { printf("  message: %s\n", text); }

private:
    CPassLibrary& m_pass;
    uint16_t m_port;
};

// The size of a file, or -1 where there is none.
long long FileBytes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (long long)data.nFileSizeLow | ((long long)data.nFileSizeHigh << 32);
}

bool WriteBytes(const std::string& path, size_t size)
{
    std::vector<char> data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = (char)(i * 2654435761u >> 13);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = fwrite(data.data(), 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

// A plain loopback copy: one thread sends the file's bytes, this one
// receives them into another file.
double PlainCopyMs(const std::string& from, const std::string& to, size_t size)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(listener, (sockaddr*)&address, sizeof address) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, (sockaddr*)&address, &length) != 0) {
        closesocket(listener);
        return -1;
    }
    const double t0 = NowMs();
    std::thread sender([&] {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (connect(s, (sockaddr*)&address, sizeof address) == 0) {
            FILE* f = fopen(from.c_str(), "rb");
            std::vector<char> chunk(65536);
            size_t n;
            while (f && (n = fread(chunk.data(), 1, chunk.size(), f)) > 0) {
                size_t at = 0;
                while (at < n) {
                    int put = send(s, chunk.data() + at, (int)(n - at), 0);
                    if (put <= 0)
                        break;
                    at += (size_t)put;
                }
            }
            if (f)
                fclose(f);
        }
        closesocket(s);
    });
    SOCKET in = accept(listener, NULL, NULL);
    FILE* out = fopen(to.c_str(), "wb");
    std::vector<char> chunk(65536);
    size_t total = 0;
    int got;
    while (in != INVALID_SOCKET && (got = recv(in, chunk.data(), (int)chunk.size(), 0)) > 0) {
        if (out)
            fwrite(chunk.data(), 1, (size_t)got, out);
        total += (size_t)got;
    }
    if (out)
        fclose(out);
    sender.join();
    const double ms = NowMs() - t0;
    closesocket(in);
    closesocket(listener);
    return total == size ? ms : -1;
}

void BenchPageTransfers()
{
    const size_t size = 8 * 1024 * 1024;
    CStandInServer server(StandInTestConfig());
    CPassLibrary pass;
    if (!server.Start(0) || !server.FileStore() || !pass.Load("pass.dll")) {
        printf("no file store or no pass.dll: %s\n", pass.Error().c_str());
        return;
    }
    const std::string folder = TempFolder();
    const std::string page = folder + "wb_transfer_bench.bmp";
    const std::string fetched = folder + "wb_transfer_bench_got.bmp";
    const std::string copied = folder + "wb_transfer_bench_copy.bmp";
    if (!WriteBytes(page, size)) {
        printf("cannot write %s\n", page.c_str());
        return;
    }
    CWBFrameTransfers uploader(
        std::unique_ptr<IWBTransferHost>(new QuietHost(pass, server.FileStore()->GetPort())));
    CWBFrameTransfers fetcher(
        std::unique_ptr<IWBTransferHost>(new QuietHost(pass, server.FileStore()->GetPort())));
    const char* pages[1] = {page.c_str()};
    const char* targets[1] = {fetched.c_str()};
    BYTE flag = 0;
    std::string stored;
    SIZE pageSize = {600, 800};

    // Ours: up to the store, then down to the peer. The bytes move on the
    // library's threads; the dialogs see each end on their next poll (every
    // 200 ms up, every 1000 ms down), which is when the program shows it.
    // The download starts once the store holds the page, not when the
    // uploader's dialog sees its end: a peer starts on the owner's
    // announcement, which never waits for that dialog.
    const double t0 = NowMs();
    bool ok = uploader.StartUpload(1, -1, true, "bench", pageSize, pages, 1, &flag, &stored);
    double up = -1;
    while (ok && up < 0 && NowMs() - t0 < 120000) {
        Pump();
        if (server.FileStore()->GetCompleteParts(stored) >= 1)
            up = NowMs() - t0;
        else
            Sleep(1);
    }
    ok =
        ok && up >= 0 && fetcher.StartDownload("127.0.0.1", 2, 1, flag, targets, 1, stored.c_str());
    double ours = -1;
    while (ok && NowMs() - t0 < 240000) {
        Pump();
        if (ours < 0 && FileBytes(fetched) == (long long)size)
            ours = NowMs() - t0;
        if (ours >= 0 && uploader.List().GetUploadCount() == 0 &&
            fetcher.List().GetDownloadCount() == 0)
            break;
        Sleep(1);
    }
    const double seen = NowMs() - t0;
    ok = ok && ours > 0 && fetcher.List().GetDownloadCount() == 0;
    // The reference: the same bytes copied twice over a plain socket.
    const double plain1 = PlainCopyMs(page, copied, size),
                 plain2 = PlainCopyMs(copied, fetched, size);
    if (!ok || plain1 < 0 || plain2 < 0) {
        printf("the transfer failed\n");
    } else {
        const double mb = size / (1024.0 * 1024.0) * 2;
        printf("an %u MB page up and down: %.1f ms (upload %.1f ms), plain socket copies %.1f ms\n",
               (unsigned)(size >> 20), ours, up, plain1 + plain2);
        printf("  both dialogs had seen their ends after %.1f ms\n", seen);
        BenchRow("page pictures through the file store", mb * 1000.0 / ours,
                 mb * 1000.0 / (plain1 + plain2), "MB/s", ">=", 0.25);
    }
    DeleteFileA(page.c_str());
    DeleteFileA(fetched.c_str());
    DeleteFileA(copied.c_str());
    pass.Unload();
    server.Stop();
}

} // namespace

int main()
{
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return 1;
    BenchDocumentOnPeer();
    BenchPageTransfers();
    WSACleanup();
    return 0;
}
