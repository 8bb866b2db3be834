// Two participants on the stand-in server: one shares a document (converted
// by the converter stand-in, uploaded through the real file-transfer
// library), the other sees it in its list, opens it and fetches its page.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CDlgNetDisk.h"
#include "CDocTransfer.h"
#include "CLanguageManager.h"
#include "CServerDispatcher.h"
#include "CStandInServer.h"
#include "CFileStore.h"
#include "CTestKit.h"
#include "DispatchTargets.h"
#include "DocsResource.h"
#include "FakeDocHost.h"
#include "StandInTestKit.h"

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string TempPath(const std::string& name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "docs_e2e_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

std::string ReadFile(const std::string& path)
{
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, got);
    fclose(f);
    return bytes;
}

// A participant's side: its connection carries what the lists send.
class LinkedHost : public FakeDocHost
{
public:
    explicit LinkedHost(StandInClient& client) : m_client(client) {}

    void SendDocumentDelete(uint32_t id, uint8_t docClass) override
    {
        FakeDocHost::SendDocumentDelete(id, docClass);
        m_client.manager.SendDocumentDelete(id, docClass);
    }
    void RequestDocumentList() override
    {
        FakeDocHost::RequestDocumentList();
        m_client.manager.SendDocumentListRequest(0xFFFFFFFFu, 1);
    }
    bool AnnounceDocumentCategory(uint32_t folderId, const char* name, const char* second,
                                  const char* third) override
    {
        FakeDocHost::AnnounceDocumentCategory(folderId, name, second, third);
        return m_client.manager.SendDocumentCategory(2, folderId, 2, name, second, third);
    }

private:
    StandInClient& m_client;
};

// One participant: connection, network-disk page and the dispatcher that
// feeds the page's lists.
struct Participant
{
    Participant(CStandInServer& server, const char* user, const char* password)
        : host(client), transfer(&host), page(&host, &transfer)
    {
        EXPECT_TRUE(client.Login(server.GetPort(), user, password, 2)) << client.text;
        host.programFolder = ProgramFolder();
        host.port = server.FileStore()->GetPort();
        host.roomId = 2;
        EXPECT_TRUE(host.pass.Load((ProgramFolder() + "pass.dll").c_str())) << host.pass.Error();
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 900, 600, NULL, NULL,
                                 GetModuleHandle(NULL), NULL);
        EXPECT_TRUE(page.CreatePage(CWnd::FromHandle(parent)));
        page.MoveWindow(0, 0, 900, 600);
        page.EnableControls(true);
        DISPATCH_TARGETS targets;
        targets.users = &client.users;
        targets.login = &client.login;
        targets.language = &language;
        targets.files = &page.Files();
        targets.diskDocs = &page.Documents();
        targets.meetingDocs = &page.MeetingDocuments();
        targets.netDisk = &page;
        dispatcher.reset(new CServerDispatcher(targets));
    }
    ~Participant()
    {
        transfer.Stop();
        page.DestroyWindow();
        DestroyWindow(parent);
    }

    // Hands every message that arrived to the dispatcher, pumping the
    // window messages in between, until pred() holds.
    bool DispatchUntil(const std::function<bool()>& pred, DWORD ms)
    {
        return CTestKit::PumpUntil(
            [&] {
                std::vector<uint8_t> m;
                while (client.Next(m, 10))
                    if (!m.empty())
                        dispatcher->Dispatch(m.data(), m.size());
                return pred();
            },
            ms);
    }

    StandInClient client;
    LinkedHost host;
    CDocTransfer transfer;
    CDlgNetDisk page;
    CLanguageManager language;
    std::unique_ptr<CServerDispatcher> dispatcher;
    HWND parent = NULL;
};

} // namespace

TEST(DocShareEndToEnd, ADocumentSharedByOneOpensOnTheOther)
{
    WSADATA wsa;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    SetEnvironmentVariableA("HALVERN_CALL_SCRIPT", NULL);
    CStandInServer server(StandInTestConfig());
    ASSERT_TRUE(server.Start(0));
    ASSERT_NE(server.FileStore(), nullptr);
    {
        Participant alice(server, "alice", "a");
        Participant bob(server, "bob", "b");

        const std::string source = TempPath("Agenda.Day1.txt");
        FILE* f = fopen(source.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fputs("Agenda\r\n1. <budget>\r\n", f);
        fclose(f);
        ASSERT_TRUE(alice.transfer.Begin(source, "Agenda.Day1.txt", 0xFFFFFFFF));
        ASSERT_TRUE(alice.DispatchUntil([&] { return !alice.transfer.IsBusy(); }, 60000));
        ASSERT_TRUE(alice.host.infos.empty()) << alice.host.infos.front();

        // Both lists show the item; the other participant opens it on its board.
        ASSERT_TRUE(bob.DispatchUntil([&] { return bob.page.Files().GetItemCount() == 1; }, 10000));
        ASSERT_TRUE(
            alice.DispatchUntil([&] { return alice.page.Files().GetItemCount() == 1; }, 10000));
        CDocShareList& files = bob.page.Files();
        EXPECT_EQ(std::string(files.GetItemText(0, 0)), "Agenda");
        EXPECT_EQ(std::string(files.GetItemText(0, 1)), "Day1.txt");
        const SHARED_DOC_RECORD* record = files.Record(0);
        ASSERT_NE(record, nullptr);
        EXPECT_TRUE(record->IsOpenable());
        ASSERT_FALSE(record->address.empty());
        const std::string stored = record->address;
        const uint32_t id = record->id;
        files.OpenRow(0);
        EXPECT_EQ(bob.host.calls.back(), "board " + stored);

        // The page behind the address is the converted document, fetched whole.
        const std::string fetched = TempPath("fetched.htm");
        const LPCSTR targets[1] = {fetched.c_str()};
        DWORD handle = 0;
        const PASS_FUNCTIONS& pass = bob.host.pass.Functions();
        ASSERT_TRUE(pass.StartBoardDownload("127.0.0.1", bob.host.port, 2, 0, 0, targets, 1,
                                            stored.c_str(), &handle));
        int result = 0;
        ASSERT_TRUE(CTestKit::PumpUntil(
            [&] {
                int pages = 0, total = 0, progress = 0;
                result = pass.PollBoardDownload(handle, &pages, &total, &progress);
                return result != 0;
            },
            30000));
        pass.StopBoardDownload(handle);
        EXPECT_EQ(result, 1);
        EXPECT_NE(ReadFile(fetched).find("1. &lt;budget&gt;"), std::string::npos);

        // A late reload lists it again; a delete removes it on both sides.
        bob.page.Files().Reload();
        ASSERT_TRUE(bob.DispatchUntil([&] { return bob.page.Files().GetItemCount() == 1; }, 10000));
        EXPECT_EQ(bob.page.Files().Record(0)->id, id);
        CRect row;
        bob.page.Files().GetItemRect(0, &row, LVIR_LABEL);
        HMENU menu = bob.page.Files().PrepareMenuAt(row.CenterPoint());
        ASSERT_NE(menu, nullptr);
        DestroyMenu(menu);
        bob.page.Files().SendMessage(WM_COMMAND, MAKEWPARAM(ID_DOC_DELETE, 0), 0);
        ASSERT_TRUE(bob.DispatchUntil([&] { return bob.page.Files().GetItemCount() == 0; }, 10000));
        ASSERT_TRUE(
            alice.DispatchUntil([&] { return alice.page.Files().GetItemCount() == 0; }, 10000));
        DeleteFileA(source.c_str());
        DeleteFileA(fetched.c_str());
    }
    server.Stop();
    WSACleanup();
}
