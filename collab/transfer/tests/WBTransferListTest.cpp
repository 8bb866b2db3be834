// The whiteboard's document transfers: the list and its two dialogs against
// a scripted file-transfer library, and two lists exchanging a document
// through the real library and the stand-in server's file store.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "CFileStore.h"
#include "CLanguageManager.h"
#include "CPassLibrary.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "CTestKit.h"
#include "CWBTransferList.h"
#include "IWBTransferHost.h"
#include "StandInTestKit.h"

namespace {

// --- A scripted file-transfer library ---

struct POLL
{
    int result;
    int pages;
};

struct FAKE_TRANSFER
{
    std::vector<POLL> polls; // played one per poll; then running with the last pages
    size_t next = 0;
    int lastPages = 0;
    int stops = 0;
};

struct FAKE_PASS
{
    bool startWorks = true;
    DWORD nextHandle = 1;
    std::map<DWORD, FAKE_TRANSFER> transfers;
    std::vector<POLL> script; // given to the next transfer started
} g_fake;

DWORD FakeStart(DWORD* handle)
{
    if (!g_fake.startWorks)
        return 0;
    *handle = g_fake.nextHandle++;
    g_fake.transfers[*handle].polls = g_fake.script;
    return 1;
}

int FakePoll(DWORD handle, int* pages, int* progress)
{
    FAKE_TRANSFER& t = g_fake.transfers[handle];
    if (progress)
        *progress = 50;
    if (t.next < t.polls.size()) {
        const POLL& p = t.polls[t.next++];
        t.lastPages = p.pages;
        if (pages)
            *pages = p.pages;
        return p.result;
    }
    if (pages)
        *pages = t.lastPages;
    return PASS_RUNNING;
}

int WINAPI FStartSend(LPCSTR, WORD, DWORD, LPCSTR, DWORD* h) { return FakeStart(h); }
int WINAPI FPollSend(DWORD h, int* p) { return FakePoll(h, nullptr, p); }
void WINAPI FStopSend(DWORD h) { g_fake.transfers[h].stops++; }
int WINAPI FStartReceive(LPCSTR, WORD, DWORD, DWORD id, LPCSTR) { return FakeStart(&id); }
int WINAPI FGetValue(DWORD, CString* s)
{
    *s = "42";
    return 1;
}
int WINAPI FStartBoardUpload(LPCSTR, WORD, DWORD, BYTE, const LPCSTR*, int, BYTE* flag, DWORD* h)
{
    *flag = 1;
    return FakeStart(h);
}
int WINAPI FPollBoard(DWORD h, int* pages, int* total, int* progress)
{
    *total = 0;
    return FakePoll(h, pages, progress);
}
int WINAPI FStartBoardDownload(LPCSTR, WORD, DWORD, BYTE, BYTE, const LPCSTR*, int, LPCSTR,
                               DWORD* h)
{
    return FakeStart(h);
}

PASS_FUNCTIONS FakeFunctions()
{
    PASS_FUNCTIONS f;
    f.StartSend = FStartSend;
    f.PollSend = FPollSend;
    f.StopSend = FStopSend;
    f.StartReceive = FStartReceive;
    f.PollReceive = FPollSend;
    f.StopReceive = FStopSend;
    f.StartDocUpload = FStartSend;
    f.GetDocUploadValueB = FGetValue;
    f.GetDocUploadValueA = FGetValue;
    f.PollDocUpload = FPollSend;
    f.StopDocUpload = FStopSend;
    f.StartBoardUpload = FStartBoardUpload;
    f.GetBoardUploadValue = FGetValue;
    f.PollBoardUpload = FPollBoard;
    f.StopBoardUpload = FStopSend;
    f.StartBoardDownload = FStartBoardDownload;
    f.PollBoardDownload = FPollBoard;
    f.StopBoardDownload = FStopSend;
    return f;
}

// --- The frame's side, recorded ---

class FakeHost : public IWBTransferHost
{
public:
    explicit FakeHost(CPassLibrary& pass, uint16_t port = 7000) : m_pass(pass), m_port(port) {}

    CPassLibrary& Pass() override { return m_pass; }
    std::string ServerAddress() override { return "127.0.0.1"; }
    uint16_t FileTransferPort() override { return m_port; }
    uint32_t RoomId() override { return 1; }
    HWND MainWindow() override { return NULL; }
    void OnPageArrived(uint32_t documentId, int pageIndex) override
    {
        arrived.push_back({documentId, pageIndex});
    }
    void AnnounceDocument(const WB_UPLOADED_DOCUMENT& document) override
    {
        announced.push_back(document);
    }
    void ShowMessage(const char* text) override { messages.push_back(text); }

    std::vector<std::pair<uint32_t, int>> arrived;
    std::vector<WB_UPLOADED_DOCUMENT> announced;
    std::vector<std::string> messages;

private:
    CPassLibrary& m_pass;
    uint16_t m_port;
};

std::string Text(UINT id)
{
    std::string text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM out)
{
    char cls[16] = {};
    GetClassNameA(hWnd, cls, sizeof cls);
    if (!strcmp(cls, "#32770"))
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(hWnd);
    return TRUE;
}

// The dialog boxes of this thread, top level, in the system's order.
std::vector<HWND> Dialogs()
{
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

int CountDialogs() { return static_cast<int>(Dialogs().size()); }

const LPCSTR kPaths[] = {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"};

class WBTransferListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_fake = FAKE_PASS();
        ASSERT_TRUE(pass.Bind(FakeFunctions())) << pass.Error();
    }

    bool StartUpload(CWBTransferList& list, uint8_t noAnnouncement = 0)
    {
        uint8_t flag = 0;
        CString stored;
        BOOL ok =
            list.StartUpload(7, 1354, noAnnouncement, "Plan", 600, 800, kPaths, 3, &flag, &stored);
        if (ok) {
            EXPECT_EQ(1, flag);
            EXPECT_EQ(std::string("42"), (LPCSTR)stored);
        }
        return ok != FALSE;
    }

    bool StartDownload(CWBTransferList& list, int pages = 3)
    {
        return list.StartDownload(nullptr, 9, 0, 1, kPaths, pages, "42") != FALSE;
    }

    int Stops() const
    {
        int stops = 0;
        for (const auto& t : g_fake.transfers)
            stops += t.second.stops;
        return stops;
    }

    CPassLibrary pass;
    FakeHost host{pass};
};

TEST_F(WBTransferListTest, EveryTransferStopsExactlyOnceOnEveryWayOut)
{
    enum Way { FINISHED, FAILED, CANCEL_BUTTON, CANCEL_BY_DOCUMENT, STOP_ALL, LIST_GONE };
    struct Case
    {
        bool upload;
        Way way;
        const char* what;
    } cases[] = {
        {true, FINISHED, "upload finished"},
        {true, FAILED, "upload failed"},
        {true, CANCEL_BUTTON, "upload cancelled"},
        {true, CANCEL_BY_DOCUMENT, "upload closed"},
        {true, STOP_ALL, "upload, window closed"},
        {true, LIST_GONE, "upload, list gone"},
        {false, FINISHED, "download finished"},
        {false, FAILED, "download failed"},
        {false, CANCEL_BUTTON, "download cancelled"},
        {false, CANCEL_BY_DOCUMENT, "download closed"},
        {false, STOP_ALL, "download, window closed"},
        {false, LIST_GONE, "download, list gone"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_fake = FAKE_PASS();
        host.announced.clear();
        host.messages.clear();
        if (c.way == FINISHED)
            g_fake.script = {{PASS_RUNNING, 1}, {PASS_FINISHED, 3}};
        else if (c.way == FAILED)
            g_fake.script = {{PASS_RUNNING, 1}, {2, 1}};
        std::vector<HWND> before = Dialogs();
        int dialogsBefore = static_cast<int>(before.size());
        std::unique_ptr<CWBTransferList> list(new CWBTransferList(&host));
        ASSERT_TRUE(c.upload ? StartUpload(*list) : StartDownload(*list));
        HWND dialog = NULL;
        for (HWND h : Dialogs())
            if (std::find(before.begin(), before.end(), h) == before.end())
                dialog = h;
        ASSERT_TRUE(dialog != NULL);
        EXPECT_EQ(c.upload, ::IsWindowVisible(dialog) != FALSE);
        auto count = [&] { return c.upload ? list->GetUploadCount() : list->GetDownloadCount(); };
        EXPECT_EQ(1, count());

        switch (c.way) {
        case FINISHED:
        case FAILED:
            EXPECT_TRUE(CTestKit::PumpUntil([&] { return count() == 0; }, 10000));
            break;
        case CANCEL_BUTTON:
            CTestKit::ClickButton(::GetDlgItem(dialog, IDCANCEL));
            CTestKit::PumpPending();
            break;
        case CANCEL_BY_DOCUMENT:
            // Another document, or the other direction: nothing.
            list->CancelUpload(9);
            list->CancelDownload(7);
            EXPECT_EQ(1, count());
            c.upload ? list->CancelUpload(7) : list->CancelDownload(9);
            break;
        case STOP_ALL:
            list->StopAll();
            break;
        case LIST_GONE:
            list.reset();
            break;
        }
        CTestKit::PumpFor(50);
        EXPECT_EQ(1, Stops());
        EXPECT_FALSE(::IsWindow(dialog));
        EXPECT_EQ(dialogsBefore, CountDialogs());
        if (list) {
            EXPECT_EQ(0, count());
        }
        // Only a finished upload is announced; only a failure is told.
        EXPECT_EQ(c.upload && c.way == FINISHED ? 1u : 0u, host.announced.size());
        std::vector<std::string> told;
        if (c.way == FAILED)
            told.push_back(Text(c.upload ? 61633 : 61634));
        EXPECT_EQ(told, host.messages);
        // A later stop of everything touches nothing that already ended.
        if (list)
            list->StopAll();
        EXPECT_EQ(1, Stops());
    }
}

TEST_F(WBTransferListTest, AFinishedUploadAnnouncesASharedDocumentButNotALiveOne)
{
    CWBTransferList list(&host);
    g_fake.script = {{PASS_FINISHED, 3}};
    ASSERT_TRUE(StartUpload(list, 1));
    ASSERT_TRUE(StartUpload(list, 0));
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return list.GetUploadCount() == 0; }, 10000));
    ASSERT_EQ(1u, host.announced.size());
    const WB_UPLOADED_DOCUMENT& d = host.announced[0];
    EXPECT_EQ(1354u, d.folder);
    EXPECT_EQ(1, d.uploadFlag);
    EXPECT_EQ(3, d.pageCount);
    EXPECT_EQ(600u, d.pageWidth);
    EXPECT_EQ(800u, d.pageHeight);
    EXPECT_EQ("Plan", d.name);
    EXPECT_EQ("42", d.storedName);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(WBTransferListTest, AFailedStartTellsTheUserAndLeavesNothingRunning)
{
    CWBTransferList list(&host);
    int dialogsBefore = CountDialogs();
    g_fake.startWorks = false;
    EXPECT_FALSE(StartUpload(list));
    EXPECT_FALSE(StartDownload(list));
    // A whiteboard cannot announce more pages than 16 bits count.
    g_fake.startWorks = true;
    std::vector<LPCSTR> many(70000, "x.bmp");
    EXPECT_FALSE(list.StartUpload(7, 0, 0, "Big", 1, 1, many.data(), 70000, nullptr, nullptr));
    // Without a bound library nothing starts either.
    CPassLibrary unbound;
    FakeHost bare(unbound);
    CWBTransferList other(&bare);
    EXPECT_FALSE(StartDownload(other));

    std::vector<std::string> told(3, Text(61448));
    EXPECT_EQ(told, host.messages);
    EXPECT_EQ(std::vector<std::string>{Text(61448)}, bare.messages);
    EXPECT_EQ(0, list.GetUploadCount());
    EXPECT_EQ(0, list.GetDownloadCount());
    EXPECT_EQ(dialogsBefore, CountDialogs());
    EXPECT_TRUE(g_fake.transfers.empty());
}

TEST_F(WBTransferListTest, EveryPageThatArrivesIsShownOnceInOrder)
{
    struct Case
    {
        const char* what;
        std::vector<POLL> polls;
        std::vector<int> shown;
        bool failed;
    } cases[] = {
        // Two pages on one tick, one later, the last two with the end.
        {"finished", {{0, 2}, {0, 2}, {0, 3}, {1, 5}}, {0, 1, 2, 3, 4}, false},
        // The end comes before any page was seen.
        {"all at the end", {{1, 5}}, {0, 1, 2, 3, 4}, false},
        // A failure keeps what arrived, including pages new on that tick.
        {"failed", {{0, 1}, {2, 3}}, {0, 1, 2}, true},
        // A library reporting more pages than there are is held to the count.
        {"too many pages", {{0, 9}, {1, 9}}, {0, 1, 2, 3, 4}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_fake = FAKE_PASS();
        g_fake.script = c.polls;
        host.arrived.clear();
        host.messages.clear();
        CWBTransferList list(&host);
        ASSERT_TRUE(StartDownload(list, 5));
        ASSERT_TRUE(CTestKit::PumpUntil([&] { return list.GetDownloadCount() == 0; }, 15000));
        std::vector<std::pair<uint32_t, int>> expected;
        for (int page : c.shown)
            expected.push_back({9, page});
        EXPECT_EQ(expected, host.arrived);
        EXPECT_EQ(c.failed ? 1u : 0u, host.messages.size());
        EXPECT_EQ(1, Stops());
    }
}

// --- Two lists, the real library and the stand-in server's store ---

std::vector<char> Pattern(size_t size, unsigned seed)
{
    std::vector<char> bytes(size);
    uint32_t x = seed * 2654435761u + 7;
    for (char& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<char>(x >> 21);
    }
    return bytes;
}

bool WriteWhole(const std::string& path, const std::vector<char>& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    BOOL ok = h != INVALID_HANDLE_VALUE &&
              WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return ok && written == bytes.size();
}

std::vector<char> ReadWhole(const std::string& path)
{
    std::vector<char> bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(h, nullptr));
    DWORD got = 0;
    if (!bytes.empty())
        ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(h);
    return bytes;
}

TEST(WBTransferStoreTest, TwoListsExchangeADocumentThroughTheServersStore)
{
    ASSERT_TRUE(StartWinsock());
    CStandInServer server(StandInTestConfig());
    ASSERT_TRUE(server.Start(0));
    ASSERT_TRUE(server.FileStore() != nullptr);
    uint16_t port = server.FileStore()->GetPort();

    CPassLibrary pass;
    ASSERT_TRUE(pass.Load("pass.dll")) << pass.Error();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "wbtransfer" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> pages, targets;
    size_t sizes[] = {700000, 3000, 150000};
    for (int i = 0; i < 3; ++i) {
        pages.push_back(folder + "\\page" + std::to_string(i) + ".bmp");
        targets.push_back(folder + "\\got" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(WriteWhole(pages[i], Pattern(sizes[i], i + 1)));
    }
    std::vector<LPCSTR> pagePaths, targetPaths;
    for (int i = 0; i < 3; ++i) {
        pagePaths.push_back(pages[i].c_str());
        targetPaths.push_back(targets[i].c_str());
    }

    FakeHost sender(pass, port), receiver(pass, port);
    {
        CWBTransferList uploads(&sender), downloads(&receiver);
        uint8_t flag = 0;
        CString stored;
        ASSERT_TRUE(
            uploads.StartUpload(5, 1354, 0, "Plan", 600, 800, pagePaths.data(), 3, &flag, &stored));
        // The peer starts as soon as the document is announced, while the
        // upload may still run.
        ASSERT_TRUE(
            downloads.StartDownload("127.0.0.1", 77, 0, flag, targetPaths.data(), 3, stored));
        EXPECT_TRUE(CTestKit::PumpUntil(
            [&] { return uploads.GetUploadCount() == 0 && downloads.GetDownloadCount() == 0; },
            60000));
        ASSERT_EQ(1u, sender.announced.size());
        EXPECT_EQ(std::string((LPCSTR)stored), sender.announced[0].storedName);
    }
    std::vector<std::pair<uint32_t, int>> expected = {{77, 0}, {77, 1}, {77, 2}};
    EXPECT_EQ(expected, receiver.arrived);
    EXPECT_TRUE(sender.messages.empty());
    EXPECT_TRUE(receiver.messages.empty());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(ReadWhole(pages[i]) == ReadWhole(targets[i])) << "page " << i;
        DeleteFileA(pages[i].c_str());
        DeleteFileA(targets[i].c_str());
    }
    RemoveDirectoryA(folder.c_str());
    pass.Unload();
    server.Stop();
    WSACleanup();
}

} // namespace
