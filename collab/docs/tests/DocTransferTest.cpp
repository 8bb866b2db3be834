// The conversion and upload of a presentation file: the real converter
// stand-in, a scripted file-transfer library, and the real library with the
// stand-in server's file store.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "CDocConversion.h"
#include "CDocTransfer.h"
#include "CPPTFileSendingDlg.h"
#include "CFileStore.h"
#include "CStandInServer.h"
#include "CTestKit.h"
#include "FakeDocHost.h"
#include "StandInTestKit.h"

namespace {

typedef std::vector<std::string> Lines;

// --- A scripted file-transfer library (document uploads only) ---

struct FAKE_UPLOAD
{
    bool startWorks = true;
    std::vector<int> polls; // played one per poll, then "running"
    size_t next = 0;
    std::string path;    // the file given to the start
    std::string content; // read at the start
    int stops = 0;
    int starts = 0;
} g_up;

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

void WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

int WINAPI FStart(LPCSTR, WORD, DWORD, LPCSTR path, DWORD* handle)
{
    ++g_up.starts;
    if (!g_up.startWorks)
        return 0;
    g_up.path = path;
    g_up.content = ReadFile(path);
    *handle = 77;
    return 1;
}
int WINAPI FPoll(DWORD, int* progress)
{
    *progress = 40;
    return g_up.next < g_up.polls.size() ? g_up.polls[g_up.next++] : 0;
}
void WINAPI FStop(DWORD) { ++g_up.stops; }
int WINAPI FValueA(DWORD, CString* s)
{
    *s = "stored-77";
    return 1;
}
int WINAPI FValueB(DWORD, CString* s)
{
    *s = "PPTFile.htm";
    return 1;
}
int WINAPI FNo5(LPCSTR, WORD, DWORD, LPCSTR, DWORD*) { return 0; }
int WINAPI FNoRecv(LPCSTR, WORD, DWORD, DWORD, LPCSTR) { return 0; }
int WINAPI FNoBoardUp(LPCSTR, WORD, DWORD, BYTE, const LPCSTR*, int, BYTE*, DWORD*) { return 0; }
int WINAPI FNoBoardDown(LPCSTR, WORD, DWORD, BYTE, BYTE, const LPCSTR*, int, LPCSTR, DWORD*)
{
    return 0;
}
int WINAPI FNoPoll3(DWORD, int*, int*, int*) { return 3; }
int WINAPI FNoValue(DWORD, CString*) { return 0; }

PASS_FUNCTIONS FakeFunctions()
{
    PASS_FUNCTIONS f;
    f.StartSend = FNo5;
    f.PollSend = FPoll;
    f.StopSend = FStop;
    f.StartReceive = FNoRecv;
    f.PollReceive = FPoll;
    f.StopReceive = FStop;
    f.StartDocUpload = FStart;
    f.GetDocUploadValueB = FValueB;
    f.GetDocUploadValueA = FValueA;
    f.PollDocUpload = FPoll;
    f.StopDocUpload = FStop;
    f.StartBoardUpload = FNoBoardUp;
    f.GetBoardUploadValue = FNoValue;
    f.PollBoardUpload = FNoPoll3;
    f.StopBoardUpload = FStop;
    f.StartBoardDownload = FNoBoardDown;
    f.PollBoardDownload = FNoPoll3;
    f.StopBoardDownload = FStop;
    return f;
}

// The folder of this test program, where the converter was built too.
std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string TempSource(const char* name, const std::string& content)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path =
        std::string(folder) + "docs_test_" + std::to_string(GetCurrentProcessId()) + "_" + name;
    WriteFile(path, content);
    return path;
}

class DocTransferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_up = FAKE_UPLOAD();
        host.programFolder = ProgramFolder();
        ASSERT_TRUE(host.pass.Bind(FakeFunctions()));
        SetEnvironmentVariableA("HALVERN_CALL_SCRIPT", NULL);
    }
    void TearDown() override
    {
        transfer.Stop();
        SetEnvironmentVariableA("HALVERN_CALL_SCRIPT", NULL);
        CTestKit::PumpPending();
    }

    bool WaitIdle(DWORD ms = 30000)
    {
        return CTestKit::PumpUntil([&] { return !transfer.IsBusy(); }, ms);
    }

    FakeDocHost host;
    CDocTransfer transfer{&host};
};

} // namespace

TEST(DocConversionText, OutputPathsCommandLineAndFlagName)
{
    const std::pair<const char*, const char*> outputs[] = {
        {".dwg", "C:\\P\\temp\\PPTFile1234.dwg"},
        {".ppt", "C:\\P\\temp\\PPTFile1234.htm"},
        {".txt", "C:\\P\\temp\\PPTFile1234.htm"},
        {".", "C:\\P\\temp\\PPTFile1234.htm"},
    };
    for (const auto& o : outputs)
        EXPECT_EQ(CDocTransfer::MakeOutputPath("C:\\P\\", o.first, 1234), o.second) << o.first;
    EXPECT_EQ(CDocConversion::FlagName(0x80000001u), "PelquinpptShareMem-2147483647");
    EXPECT_EQ(CDocConversion::CommandLine("C:\\Program Files\\Halvern\\", ".ppt",
                                          "C:\\my docs\\a b.ppt", "C:\\out\\PPTFile5.htm",
                                          "PelquinpptShareMem5"),
              "\"C:\\Program Files\\Halvern\\Call.exe\" \".ppt\" \"C:\\my docs\\a b.ppt\" "
              "\"C:\\out\\PPTFile5.htm\" PelquinpptShareMem5");
}

TEST_F(DocTransferTest, AConvertedTextIsUploadedAndAnnounced)
{
    const std::string source = TempSource("Talk Notes.TXT", "first <line>\r\nsecond line\r\n");
    ASSERT_TRUE(transfer.Begin(source, "Talk Notes.TXT", 0xFFFFFFFF));
    EXPECT_TRUE(transfer.IsBusy());
    EXPECT_EQ(transfer.Extension(), ".txt");
    EXPECT_EQ(transfer.SourcePath(), source);
    ASSERT_NE(transfer.Dialog(), nullptr);
    EXPECT_TRUE(transfer.Dialog()->IsWindowVisible());
    g_up.polls = {0, 0, 1};
    ASSERT_TRUE(WaitIdle());

    // The converter's page went to the upload; the announcement carries the
    // file name, then value B, then value A.
    EXPECT_EQ(g_up.path, transfer.OutputPath());
    EXPECT_NE(g_up.content.find("first &lt;line&gt;"), std::string::npos);
    EXPECT_EQ(g_up.stops, 1);
    EXPECT_EQ(host.calls, Lines{"announce -1 Talk Notes.TXT PPTFile.htm stored-77"});
    EXPECT_TRUE(host.infos.empty());
    DeleteFileA(source.c_str());
    DeleteFileA(transfer.OutputPath().c_str());
}

TEST_F(DocTransferTest, EveryFailureLeavesTheTransferIdleAndAnnouncesNothing)
{
    struct Case
    {
        const char* what;
        const char* file;
        const char* content;
        const char* script;
        bool startWorks;
        std::vector<int> polls;
        int starts;
        int stops;
        const char* info;
    } cases[] = {
        {"converter refuses the kind",
         "deck.ppt",
         "office",
         nullptr,
         true,
         {},
         0,
         0,
         "转换文档 deck.ppt 失败!"},
        {"converter fails (scripted)",
         "a.txt",
         "text",
         "fail",
         true,
         {},
         0,
         0,
         "转换文档 a.txt 失败!"},
        {"upload does not start", "a.txt", "text", nullptr, false, {}, 1, 0, "错误号01!"},
        {"upload fails", "a.txt", "text", nullptr, true, {0, 5}, 1, 1, "发送文件a.txt失败!"},
    };
    for (const Case& c : cases) {
        g_up = FAKE_UPLOAD();
        g_up.startWorks = c.startWorks;
        g_up.polls = c.polls;
        host.calls.clear();
        host.infos.clear();
        SetEnvironmentVariableA("HALVERN_CALL_SCRIPT", c.script);
        const std::string source = TempSource(c.file, c.content);
        ASSERT_TRUE(transfer.Begin(source, c.file, 3)) << c.what;
        ASSERT_TRUE(WaitIdle()) << c.what;
        EXPECT_EQ(g_up.starts, c.starts) << c.what;
        EXPECT_EQ(g_up.stops, c.stops) << c.what;
        EXPECT_TRUE(host.calls.empty()) << c.what;
        EXPECT_EQ(host.infos, Lines{c.info}) << c.what;
        EXPECT_EQ(transfer.Dialog(), nullptr);
        DeleteFileA(source.c_str());
    }
}

TEST_F(DocTransferTest, ASecondUploadIsRefusedWhileOneRuns)
{
    SetEnvironmentVariableA("HALVERN_CALL_SCRIPT", "hang 2000");
    const std::string source = TempSource("first.txt", "one");
    ASSERT_TRUE(transfer.Begin(source, "first.txt", 1));
    CPPTFileSendingDlg* first = transfer.Dialog();
    const std::string output = transfer.OutputPath();

    host.chosenPath = source;
    host.chosenName = "second.txt";
    transfer.StartPresentationUpload(1); // refused before the properties
    EXPECT_FALSE(transfer.Begin(source, "second.txt", 1));
    EXPECT_EQ(host.infos, Lines(2, "对不起,正在进行的文档传输还没有完成!"));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(transfer.Dialog(), first);
    EXPECT_EQ(transfer.OutputPath(), output);
    // The first one goes on to its end: the hang ends without a conversion.
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(host.infos.back(), "转换文档 first.txt 失败!");
    DeleteFileA(source.c_str());
}

TEST_F(DocTransferTest, CancelDuringAHangingConversionEndsItOnTheClientSide)
{
    SetEnvironmentVariableA("HALVERN_CALL_SCRIPT", "hang 2500");
    const std::string source = TempSource("slow.txt", "slow");
    ASSERT_TRUE(transfer.Begin(source, "slow.txt", 1));
    HWND dialog = transfer.Dialog()->m_hWnd;
    CTestKit::PumpFor(500);
    EXPECT_TRUE(transfer.IsBusy());
    // Cancel: idle at once, nothing told, the window gone.
    ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(transfer.IsBusy());
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_TRUE(host.infos.empty());

    // A new upload runs while the old converter still hangs, and the old
    // worker's late end reaches nobody.
    SetEnvironmentVariableA("HALVERN_CALL_SCRIPT", NULL);
    g_up.polls = {1};
    ASSERT_TRUE(transfer.Begin(source, "slow.txt", 1));
    ASSERT_TRUE(WaitIdle());
    CTestKit::PumpFor(3000);
    EXPECT_EQ(host.calls, Lines{"announce 1 slow.txt PPTFile.htm stored-77"});
    EXPECT_TRUE(host.infos.empty());
    EXPECT_EQ(g_up.starts, 1);
    DeleteFileA(source.c_str());
}

TEST_F(DocTransferTest, StopEndsARunningUploadOnce)
{
    const std::string source = TempSource("s.txt", "stop me");
    ASSERT_TRUE(transfer.Begin(source, "s.txt", 1));
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return g_up.starts == 1; }, 30000));
    ASSERT_TRUE(transfer.Dialog()->IsUploading());
    transfer.Stop();
    EXPECT_FALSE(transfer.IsBusy());
    EXPECT_EQ(g_up.stops, 1);
    transfer.Stop();
    CTestKit::PumpFor(300);
    EXPECT_EQ(g_up.stops, 1);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(host.infos.empty());
    DeleteFileA(source.c_str());
}

TEST_F(DocTransferTest, APictureReachesTheServersStoreThroughTheRealLibrary)
{
    WSADATA wsa;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    CStandInServer server(StandInTestConfig());
    ASSERT_TRUE(server.Start(0));
    ASSERT_NE(server.FileStore(), nullptr);
    host.pass.Unload();
    ASSERT_TRUE(host.pass.Load((ProgramFolder() + "pass.dll").c_str())) << host.pass.Error();
    host.port = server.FileStore()->GetPort();
    host.roomId = 1;

    const std::string source = TempSource("pic.bmp", "BM" + std::string(100, '\x33'));
    ASSERT_TRUE(transfer.Begin(source, "pic.bmp", 0xFFFFFFFF));
    ASSERT_TRUE(WaitIdle(60000));
    EXPECT_TRUE(host.infos.empty()) << host.infos.front();
    ASSERT_EQ(host.calls.size(), 1u);
    // File name, the store's own file name, the stored name.
    EXPECT_EQ(host.calls[0].rfind("announce -1 pic.bmp ", 0), 0u) << host.calls[0];
    EXPECT_EQ(server.FileStore()->GetItemCount(), 1u);
    DeleteFileA(source.c_str());
    server.Stop();
    WSACleanup();
}
