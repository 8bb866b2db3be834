// File transfer between participants: the recipients dialog, sending and
// receiving against a scripted file-transfer library and a fake client,
// offered names that try to leave the receive folder, and a file that
// travels whole from one participant to another through the stand-in
// server's file store and the real file-transfer library.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CFileReceivingDlg.h"
#include "CFileStore.h"
#include "CFileSendDlg.h"
#include "CFileTransfers.h"
#include "CPassLibrary.h"
#include "CServerDispatcher.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "DispatchTargets.h"
#include "FileSendResource.h"
#include "IFileSendHost.h"
#include "StandInTestKit.h"

namespace {

const uint32_t OWN = 1001, ALICE = 1002, RESERVED = 1003, BOB = 1004, CAROL = 1005;

// --- A scripted file-transfer library ---

struct FAKE_TRANSFER
{
    std::string path;       // the local file or target
    std::vector<int> polls; // played one per poll, then running
    size_t next = 0;
    int stops = 0;
};

struct FAKE_PASS
{
    bool startWorks = true;
    DWORD nextHandle = 501;
    std::map<DWORD, FAKE_TRANSFER> sends;
    std::map<DWORD, FAKE_TRANSFER> receives;
    std::vector<int> script; // given to the next transfer started
} g_pass;

int Play(FAKE_TRANSFER& t, int* progress)
{
    *progress = 40;
    return t.next < t.polls.size() ? t.polls[t.next++] : PASS_RUNNING;
}

int WINAPI FStartSend(LPCSTR, WORD, DWORD, LPCSTR path, DWORD* handle)
{
    if (!g_pass.startWorks)
        return 0;
    *handle = g_pass.nextHandle++;
    g_pass.sends[*handle].path = path;
    g_pass.sends[*handle].polls = g_pass.script;
    return 1;
}
int WINAPI FPollSend(DWORD h, int* p) { return Play(g_pass.sends[h], p); }
void WINAPI FStopSend(DWORD h) { g_pass.sends[h].stops++; }
int WINAPI FStartReceive(LPCSTR, WORD, DWORD, DWORD id, LPCSTR target)
{
    if (!g_pass.startWorks)
        return 0;
    g_pass.receives[id].path = target;
    g_pass.receives[id].polls = g_pass.script;
    return 1;
}
int WINAPI FPollReceive(DWORD id, int* p) { return Play(g_pass.receives[id], p); }
void WINAPI FStopReceive(DWORD id) { g_pass.receives[id].stops++; }
int WINAPI FNone() { return 0; }

PASS_FUNCTIONS FakeFunctions()
{
    PASS_FUNCTIONS f;
    f.StartSend = FStartSend;
    f.PollSend = FPollSend;
    f.StopSend = FStopSend;
    f.StartReceive = FStartReceive;
    f.PollReceive = FPollReceive;
    f.StopReceive = FStopReceive;
    // Not used by these transfers.
    f.StartDocUpload = (PFN_PASS_StartDocUpload)FNone;
    f.GetDocUploadValueB = (PFN_PASS_GetDocUploadValue)FNone;
    f.GetDocUploadValueA = (PFN_PASS_GetDocUploadValue)FNone;
    f.PollDocUpload = (PFN_PASS_PollDocUpload)FNone;
    f.StopDocUpload = (PFN_PASS_StopDocUpload)FNone;
    f.StartBoardUpload = (PFN_PASS_StartBoardUpload)FNone;
    f.GetBoardUploadValue = (PFN_PASS_GetBoardUploadValue)FNone;
    f.PollBoardUpload = (PFN_PASS_PollBoardUpload)FNone;
    f.StopBoardUpload = (PFN_PASS_StopBoardUpload)FNone;
    f.StartBoardDownload = (PFN_PASS_StartBoardDownload)FNone;
    f.PollBoardDownload = (PFN_PASS_PollBoardDownload)FNone;
    f.StopBoardDownload = (PFN_PASS_StopBoardDownload)FNone;
    return f;
}

// --- The client as the transfers see it ---

class CFakeHost : public IFileSendHost
{
public:
    CFakeHost()
    {
        const std::pair<uint32_t, const char*> people[] = {
            {OWN, "me"}, {ALICE, "alice"}, {RESERVED, "tavqe"}, {BOB, "bob"}, {CAROL, "carol"}};
        for (const auto& person : people)
            users.AddUser(person.first, person.second, 2);
    }

    CUserTable& Users() override { return users; }
    uint32_t OwnUserId() override { return OWN; }
    std::string ServerAddress() override { return "127.0.0.1"; }
    uint16_t FileTransferPort() override { return 7000; }
    uint32_t RoomId() override { return 2; }
    CPassLibrary& Pass() override { return *pass; }
    HWND MainWindow() override { return NULL; }
    bool SendFileOffer(uint32_t size, uint32_t id, const std::string& name,
                       const std::vector<uint32_t>& to) override
    {
        std::string call = "2071 " + std::to_string(size) + " " + std::to_string(id) + " " + name;
        for (uint32_t r : to)
            call += " " + std::to_string(r);
        calls.push_back(call);
        return offerWorks;
    }
    void ShowMessage(const char* text) override { calls.push_back(std::string("box ") + text); }
    bool AskYesNo(const char* text) override
    {
        calls.push_back(std::string("ask ") + text);
        return answer;
    }
    bool ChooseFile(CWnd*, std::string* path) override
    {
        if (file.empty())
            return false;
        *path = file;
        return true;
    }
    bool ChooseRecipients(CFileSendDlg& dlg) override
    {
        return CTestKit::RunModal(dlg, [&](CDialog& d) {
                   if (recipients)
                       recipients(static_cast<CFileSendDlg&>(d));
                   d.SendMessage(WM_COMMAND, IDOK, 0);
                   d.PostMessage(WM_COMMAND, IDCANCEL, 0);
               }) == IDOK;
    }
    bool ChooseFolder(CWnd*, std::string* chosen) override
    {
        if (folder.empty())
            return false;
        *chosen = folder;
        return true;
    }
    std::string GetReceiveFolder() override { return receiveFolder; }
    void SetReceiveFolder(const std::string& f) override { receiveFolder = f; }
    bool Run(const std::string& line) override
    {
        calls.push_back("run " + line);
        return true;
    }

    CUserTable users;
    CPassLibrary* pass = nullptr;
    std::vector<std::string> calls;
    std::string file;
    std::string folder;
    std::string receiveFolder = "C:\\recv\\";
    std::function<void(CFileSendDlg&)> recipients;
    bool answer = true;
    bool offerWorks = true;
};

// A file of the given bytes in the temporary folder.
std::string TempFile(const char* name, const std::string& bytes)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FileTransfers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_pass = FAKE_PASS();
        ASSERT_TRUE(pass.Bind(FakeFunctions()));
        host.pass = &pass;
    }
    void TearDown() override
    {
        CTestKit::CloseThreadDialogs();
        CTestKit::PumpPending();
    }

    // Polls run until every dialog of the transfers has gone.
    bool PumpUntilAllClosed(CFileTransfers& transfers, DWORD ms = 3000)
    {
        return CTestKit::PumpUntil([&] { return transfers.OpenDialogs().empty(); }, ms);
    }

    CPassLibrary pass;
    CFakeHost host;
};

// --- The recipients dialog ---

TEST_F(FileTransfers, TheRecipientsAreEveryOtherParticipantInTableOrder)
{
    CFileSendDlg dlg(&host, "C:\\docs\\plan.txt", BOB);
    std::vector<uint32_t> rows;
    std::vector<bool> ticks;
    bool selectAll = false;
    std::string name;
    CTestKit::RunModal(dlg, [&](CDialog& d) {
        CFileSendDlg& send = static_cast<CFileSendDlg&>(d);
        for (int i = 0; i < send.List().GetItemCount(); ++i) {
            rows.push_back((uint32_t)send.List().GetItemData(i));
            ticks.push_back(send.IsTicked(i));
        }
        selectAll = send.IsDlgButtonChecked(IDC_FILE_SELECT_ALL) == BST_CHECKED;
        d.EndDialog(IDCANCEL);
    });
    // Neither the own user nor the reserved participant; only the chosen one ticked.
    EXPECT_EQ((std::vector<uint32_t>{ALICE, BOB, CAROL}), rows);
    EXPECT_EQ((std::vector<bool>{false, true, false}), ticks);
    EXPECT_TRUE(selectAll);
    EXPECT_EQ("plan.txt", dlg.GetFileName());
}

TEST_F(FileTransfers, OkNeedsAFileAndARecipientAndCollectsTheTickedInListOrder)
{
    struct CASE
    {
        const char* what;
        const char* path;
        std::function<void(CFileSendDlg&)> act;
        const char* box; // null: the dialog closes
        std::vector<uint32_t> recipients;
    };
    const CASE cases[] = {
        {"no file", "", [](CFileSendDlg&) {}, "box 请选择一个要发送的文件！", {}},
        {"nobody ticked",
         "C:\\a.txt",
         [](CFileSendDlg& d) { d.SetTicked(1, false); },
         "box 请选择至少一个文件接收者！",
         {}},
        {"the preselected one", "C:\\a.txt", [](CFileSendDlg&) {}, nullptr, {BOB}},
        {"two ticked",
         "C:\\a.txt",
         [](CFileSendDlg& d) { d.SetTicked(2, true); },
         nullptr,
         {BOB, CAROL}},
        {"select all, cleared, set again",
         "C:\\a.txt",
         [](CFileSendDlg& d) {
             for (int check : {BST_UNCHECKED, BST_CHECKED}) {
                 d.CheckDlgButton(IDC_FILE_SELECT_ALL, check);
                 d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FILE_SELECT_ALL, BN_CLICKED),
                               (LPARAM)d.GetDlgItem(IDC_FILE_SELECT_ALL)->m_hWnd);
             }
         },
         nullptr,
         {ALICE, BOB, CAROL}},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.what);
        host.calls.clear();
        CFileSendDlg dlg(&host, c.path, BOB);
        // Refused, the dialog stays and the test ends it with Cancel.
        const INT_PTR result = CTestKit::RunModal(dlg, [&](CDialog& d) {
            c.act(static_cast<CFileSendDlg&>(d));
            d.SendMessage(WM_COMMAND, IDOK, 0);
            d.PostMessage(WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(c.box ? IDCANCEL : IDOK, result);
        EXPECT_EQ(c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{}, host.calls);
        EXPECT_EQ(c.recipients, dlg.GetRecipients());
    }
}

TEST_F(FileTransfers, ClearingOneRowClearsSelectAll)
{
    CFileSendDlg dlg(&host, "C:\\a.txt", BOB);
    bool before = false, after = true;
    CTestKit::RunModal(dlg, [&](CDialog& d) {
        CFileSendDlg& send = static_cast<CFileSendDlg&>(d);
        before = send.IsDlgButtonChecked(IDC_FILE_SELECT_ALL) == BST_CHECKED;
        send.SetTicked(1, false);
        after = send.IsDlgButtonChecked(IDC_FILE_SELECT_ALL) == BST_CHECKED;
        d.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(before);
    EXPECT_FALSE(after);
}

// --- Sending ---

TEST_F(FileTransfers, SendingUploadsAnnouncesAndEndsAsThePollsSay)
{
    const std::string path = TempFile("send me.txt", "0123456789");
    struct CASE
    {
        const char* what;
        std::vector<int> polls;
        bool cancel;
        std::vector<std::string> after; // calls after the announcement
    };
    const CASE cases[] = {
        {"finished", {PASS_RUNNING, PASS_FINISHED}, false, {}},
        {"failed", {PASS_RUNNING, 3}, false, {"box 发送文件send me.txt失败!"}},
        {"cancelled", {}, true, {}},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.what);
        host.calls.clear();
        host.file = path;
        g_pass.script = c.polls;
        CFileTransfers transfers(&host);
        EXPECT_EQ(1, transfers.StartFileSend(BOB));
        const DWORD handle = g_pass.nextHandle - 1;
        ASSERT_EQ(1u, transfers.OpenDialogs().size());
        EXPECT_TRUE(::IsWindowVisible(transfers.OpenDialogs()[0]));
        EXPECT_EQ(path, g_pass.sends[handle].path);
        if (c.cancel)
            ::SendMessage(transfers.OpenDialogs()[0], WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(PumpUntilAllClosed(transfers));
        std::vector<std::string> expected = {"2071 10 " + std::to_string(handle) + " send me.txt " +
                                             std::to_string(BOB)};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(expected, host.calls);
        EXPECT_EQ(1, g_pass.sends[handle].stops);
    }
    DeleteFileA(path.c_str());
}

TEST_F(FileTransfers, ASendThatCannotStartLeavesNothingRunning)
{
    const std::string path = TempFile("refused.txt", "x");
    struct CASE
    {
        const char* what;
        std::string file;
        bool startWorks;
        bool offerWorks;
        std::function<void(CFileSendDlg&)> recipients;
        int result;
        std::vector<std::string> calls;
    };
    const std::string gone = path + ".gone";
    const CASE cases[] = {
        {"no file chosen", "", true, true, nullptr, 1, {}},
        {"no recipient chosen",
         path,
         true,
         true,
         [](CFileSendDlg& d) { d.SetTicked(1, false); },
         1,
         {"box 请选择至少一个文件接收者！"}},
        {"file gone", gone, true, true, nullptr, 0, {"box 无法定位当前发送的文件"}},
        {"library refuses", path, false, true, nullptr, 0, {"box 错误号01!"}},
        {"announcement not sent",
         path,
         true,
         false,
         nullptr,
         0,
         {"2071 1 501 refused.txt 1004", "box 发送文件refused.txt失败!"}},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.what);
        g_pass = FAKE_PASS();
        host.calls.clear();
        host.file = c.file;
        host.offerWorks = c.offerWorks;
        host.recipients = c.recipients;
        g_pass.startWorks = c.startWorks;
        CFileTransfers transfers(&host);
        EXPECT_EQ(c.result, transfers.StartFileSend(BOB));
        EXPECT_EQ(c.calls, host.calls);
        EXPECT_TRUE(transfers.OpenDialogs().empty());
        for (auto& send : g_pass.sends)
            EXPECT_EQ(1, send.second.stops);
    }
    DeleteFileA(path.c_str());
}

TEST_F(FileTransfers, OneOfferNamesAtMost255Recipients)
{
    const std::string path = TempFile("many.txt", "x");
    // 256 other participants in all.
    for (uint32_t id = 2000; id < 2000 + 253; ++id)
        host.users.AddUser(id, ("u" + std::to_string(id)).c_str(), 2);
    host.file = path;
    for (int ticked : {255, 256}) {
        SCOPED_TRACE(ticked);
        g_pass = FAKE_PASS();
        host.calls.clear();
        host.recipients = [ticked](CFileSendDlg& d) {
            ASSERT_EQ(256, d.List().GetItemCount());
            for (int i = 0; i < d.List().GetItemCount(); ++i)
                d.SetTicked(i, i < ticked);
        };
        CFileTransfers transfers(&host);
        if (ticked == 255) {
            EXPECT_EQ(1, transfers.StartFileSend(0));
            ASSERT_EQ(1u, host.calls.size());
            EXPECT_EQ(0u, host.calls[0].find("2071 1 501 many.txt 1002 1004 1005 2000 "));
            EXPECT_EQ(1u, g_pass.sends.size());
        } else {
            EXPECT_EQ(0, transfers.StartFileSend(0));
            EXPECT_EQ((std::vector<std::string>{"box 一次最多可以向255个用户发送文件!"}),
                      host.calls);
            EXPECT_TRUE(g_pass.sends.empty());
        }
    }
    DeleteFileA(path.c_str());
}

// --- Receiving ---

TEST_F(FileTransfers, AnOfferIsAskedAndFetchedIntoTheChosenFolder)
{
    struct CASE
    {
        const char* what;
        uint32_t sender;
        bool answer;
        std::string folder;
        std::vector<int> polls;
        std::vector<std::string> calls;
        std::string target; // empty: nothing fetched
    };
    const std::string ask = "ask 用户alice向你发送了文件report.doc,是否接收?";
    const CASE cases[] = {
        {"unknown sender", 4242, true, "", {}, {}, ""},
        {"refused", ALICE, false, "", {}, {ask}, ""},
        {"accepted into the kept folder",
         ALICE,
         true,
         "",
         {PASS_FINISHED},
         {ask, "box 已保存到 C:\\recv\\"},
         "C:\\recv\\report.doc"},
        {"accepted into a chosen folder",
         ALICE,
         true,
         "D:\\in\\\\",
         {PASS_RUNNING, PASS_FINISHED},
         {ask, "box 已保存到 D:\\in\\\\"},
         "D:\\in\\report.doc"},
        {"fetch failed",
         ALICE,
         true,
         "",
         {4},
         {ask, "box 接收文件report.doc失败!"},
         "C:\\recv\\report.doc"},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.what);
        g_pass = FAKE_PASS();
        g_pass.script = c.polls;
        host.calls.clear();
        host.answer = c.answer;
        host.folder = c.folder;
        host.receiveFolder = "C:\\recv\\";
        CFileTransfers transfers(&host);
        transfers.StartFileReceive(c.sender, 123, 77, "report.doc");
        EXPECT_TRUE(PumpUntilAllClosed(transfers));
        EXPECT_EQ(c.calls, host.calls);
        if (c.target.empty()) {
            EXPECT_TRUE(g_pass.receives.empty());
        } else {
            ASSERT_EQ(1u, g_pass.receives.count(77));
            EXPECT_EQ(c.target, g_pass.receives[77].path);
            EXPECT_EQ(1, g_pass.receives[77].stops);
        }
    }
}

TEST_F(FileTransfers, OfferedNamesStayInsideTheReceiveFolder)
{
    struct CASE
    {
        const char* offered;
        const char* saved; // null: refused
    };
    const CASE cases[] = {
        {"..\\..\\Windows\\evil.exe", "evil.exe"},
        {"C:\\boot.ini", "boot.ini"},
        {"../../etc/passwd", "passwd"},
        {"D:stream.txt", "stream.txt"},
        {"\\\\server\\share\\x.bin", "x.bin"},
        // A double-byte character whose second byte is a backslash stays whole.
        {"\x81\x5C.txt", "\x81\x5C.txt"},
        {"..", nullptr},
        {"a\\..", nullptr},
        {"", nullptr},
        {". . ", nullptr},
        {"CON", nullptr},
        {"nul.txt", nullptr},
        {"com1", nullptr},
        {"LPT9.log", nullptr},
        {"what?.txt", nullptr},
        {"tab\there", nullptr},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.offered);
        g_pass = FAKE_PASS();
        g_pass.script = {PASS_FINISHED};
        host.calls.clear();
        CFileTransfers transfers(&host);
        transfers.StartFileReceive(ALICE, 1, 9, c.offered);
        EXPECT_TRUE(PumpUntilAllClosed(transfers));
        if (c.saved) {
            ASSERT_EQ(1u, g_pass.receives.count(9));
            EXPECT_EQ(std::string("C:\\recv\\") + c.saved, g_pass.receives[9].path);
        } else {
            EXPECT_TRUE(g_pass.receives.empty());
            ASSERT_EQ(1u, host.calls.size());
            EXPECT_EQ(0u, host.calls[0].find("box "));
        }
    }
}

TEST_F(FileTransfers, SeveralOffersRunIndependently)
{
    std::unique_ptr<CFileTransfers> transfers(new CFileTransfers(&host));
    for (uint32_t id : {31u, 32u, 33u})
        transfers->StartFileReceive(id == 32 ? BOB : ALICE, 1, id,
                                    ("f" + std::to_string(id)).c_str());
    ASSERT_EQ(3u, transfers->OpenDialogs().size());
    EXPECT_EQ(3u, g_pass.receives.size());
    // The second one ends; the others keep running.
    g_pass.receives[32].polls = {PASS_FINISHED};
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return transfers->OpenDialogs().size() == 2; }));
    CTestKit::PumpFor(300);
    EXPECT_EQ(2u, transfers->OpenDialogs().size());
    EXPECT_EQ(1, g_pass.receives[32].stops);
    EXPECT_EQ(0, g_pass.receives[31].stops);
    EXPECT_EQ("C:\\recv\\f31", g_pass.receives[31].path);
    // What still runs stops once when the transfers go with the program.
    transfers.reset();
    EXPECT_EQ(1, g_pass.receives[31].stops);
    EXPECT_EQ(1, g_pass.receives[32].stops);
    EXPECT_EQ(1, g_pass.receives[33].stops);
}

TEST_F(FileTransfers, TheReceiveFolderOpensQuoted)
{
    for (const char* folder :
         {"C:\\Program Files\\Halvern\\NetFile\\", "C:\\Program Files\\Halvern\\NetFile"}) {
        host.calls.clear();
        host.receiveFolder = folder;
        CFileTransfers transfers(&host);
        transfers.OpenReceiveFolder();
        EXPECT_EQ(
            (std::vector<std::string>{"run Explorer \"C:\\Program Files\\Halvern\\NetFile\""}),
            host.calls);
    }
}

// --- A whole file from one participant to another ---

// The file transfer of one participant of a meeting on the embedded server.
class CMeetingHost : public CFakeHost
{
public:
    CMeetingHost(StandInClient& client, uint16_t filePort) : m_client(client), m_filePort(filePort)
    {}

    CUserTable& Users() override { return m_client.users; }
    uint32_t OwnUserId() override { return m_client.login.userId; }
    uint16_t FileTransferPort() override { return m_filePort; }
    uint32_t RoomId() override { return m_client.login.roomId; }
    bool SendFileOffer(uint32_t size, uint32_t id, const std::string& name,
                       const std::vector<uint32_t>& to) override
    {
        return m_client.manager.SendFileOffer(size, id, name.c_str(), to.data(),
                                              (uint8_t)to.size());
    }

private:
    StandInClient& m_client;
    uint16_t m_filePort;
};

TEST(FileTransferEndToEnd, AFileSentByOneParticipantArrivesWholeAtAnother)
{
    WSADATA wsa;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &wsa));
    CStandInServer server(StandInTestConfig());
    ASSERT_TRUE(server.Start(0));
    ASSERT_NE(nullptr, server.FileStore());
    CPassLibrary pass;
    ASSERT_TRUE(pass.Load("pass.dll")) << pass.Error();

    // Bob is in the room first: alice finds him in her login's list.
    StandInClient alice, bob;
    ASSERT_TRUE(bob.Login(server.GetPort(), "bob", "b", 2)) << bob.text;
    ASSERT_TRUE(alice.Login(server.GetPort(), "alice", "a", 2)) << alice.text;
    ASSERT_NE(nullptr, alice.users.FindUser(bob.login.userId));

    // About 300 KB of every byte value.
    std::string bytes;
    for (int i = 0; i < 300000; ++i)
        bytes += (char)((i * 7 + i / 251) & 0xFF);
    const std::string path = TempFile("whole file.bin", bytes);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "received by bob";
    CreateDirectoryA(folder.c_str(), NULL);
    const std::string arrived = folder + "\\whole file.bin";
    DeleteFileA(arrived.c_str());

    CMeetingHost sender(alice, server.FileStore()->GetPort());
    sender.pass = &pass;
    sender.file = path;
    CFileTransfers sending(&sender);
    ASSERT_EQ(1, sending.StartFileSend(bob.login.userId));
    ASSERT_EQ(1u, sending.OpenDialogs().size());

    // Bob's client takes the offer through its dispatcher.
    CMeetingHost receiver(bob, server.FileStore()->GetPort());
    receiver.pass = &pass;
    receiver.folder = folder;
    CFileTransfers receiving(&receiver);
    DISPATCH_TARGETS targets;
    targets.users = &bob.users;
    targets.login = &bob.login;
    targets.fileReceiver = &receiving;
    CServerDispatcher dispatcher(targets);
    // Alice's arrival, then her offer.
    std::vector<uint8_t> message;
    const uint64_t end = SteadyMs() + 5000;
    while (receiving.OpenDialogs().empty() && SteadyMs() < end)
        if (bob.Next(message, 100))
            dispatcher.Dispatch(message.data(), message.size());
    ASSERT_EQ(1u, receiving.OpenDialogs().size());

    EXPECT_TRUE(CTestKit::PumpUntil(
        [&] { return sending.OpenDialogs().empty() && receiving.OpenDialogs().empty(); }, 30000));
    EXPECT_EQ(bytes, ReadFile(arrived));
    const std::string asked = "ask 用户alice向你发送了文件whole file.bin,是否接收?";
    EXPECT_EQ((std::vector<std::string>{asked, "box 已保存到 " + folder}), receiver.calls);
    EXPECT_EQ(folder, receiver.GetReceiveFolder());

    alice.manager.Close();
    bob.manager.Close();
    server.Stop();
    DeleteFileA(arrived.c_str());
    RemoveDirectoryA(folder.c_str());
    DeleteFileA(path.c_str());
    WSACleanup();
}

} // namespace
