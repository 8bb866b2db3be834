// The file-transfer library stand-in against the stand-in server's file
// store: real transfers, failures and stalls played by the store, and
// malformed answers from it.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "CFileStore.h"
#include "CPassLibrary.h"
#include "CString.h"
#include "PassStoreWire.h"
#include "WireWriter.h"

namespace {

typedef void(WINAPI* PFN_SetTimeouts)(DWORD, DWORD);
typedef int(WINAPI* PFN_GetLastError)(char*, int);

const uint32_t kRoom = 1;

std::vector<char> Pattern(size_t size, unsigned seed)
{
    std::vector<char> bytes(size);
    uint32_t x = seed * 2654435761u + 1;
    for (char& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<char>(x >> 23);
    }
    return bytes;
}

bool WriteWhole(const std::string& path, const std::vector<char>& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

bool ReadWhole(const std::string& path, std::vector<char>& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(h, nullptr);
    bytes.resize(size);
    DWORD got = 0;
    BOOL ok = size == 0 || ReadFile(h, bytes.data(), size, &got, nullptr);
    CloseHandle(h);
    return ok && got == size;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class PassStandInTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        WSADATA data;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    }
    static void TearDownTestSuite() { WSACleanup(); }

    void SetUp() override
    {
        ASSERT_TRUE(store.Start(0, true));
        ASSERT_TRUE(pass.Load("pass.dll")) << pass.Error();
        HMODULE module = GetModuleHandleA("pass.dll");
        setTimeouts =
            reinterpret_cast<PFN_SetTimeouts>(GetProcAddress(module, "PassStandIn_SetTimeouts"));
        lastError =
            reinterpret_cast<PFN_GetLastError>(GetProcAddress(module, "PassStandIn_GetLastError"));
        ASSERT_TRUE(setTimeouts && lastError);
        setTimeouts(3000, 10000);
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "passtest" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }

    void TearDown() override
    {
        pass.Unload();
        store.Stop();
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((folder + found.cFileName).c_str());
            } while (FindNextFileA(h, &found));
            FindClose(h);
        }
        RemoveDirectoryA(folder.c_str());
    }

    const PASS_FUNCTIONS& F() { return pass.Functions(); }
    WORD Port() { return store.GetPort(); }

    std::string LastError()
    {
        char text[512] = {};
        lastError(text, sizeof text);
        return text;
    }

    // Polls until the transfer is no longer running; the last result.
    static int WaitEnd(const std::function<int()>& poll, DWORD timeoutMs = 60000)
    {
        DWORD start = GetTickCount();
        int result = PASS_RUNNING;
        while ((result = poll()) == PASS_RUNNING && GetTickCount() - start < timeoutMs)
            Sleep(20);
        return result;
    }

    std::string Make(const char* name, size_t size, unsigned seed)
    {
        std::string path = folder + name;
        EXPECT_TRUE(WriteWhole(path, Pattern(size, seed)));
        return path;
    }

    // Starts a whiteboard upload of the files; the handle (0 when refused).
    DWORD BoardUpload(const std::vector<std::string>& files, CString* stored, BYTE* flag = nullptr)
    {
        std::vector<LPCSTR> paths;
        for (const std::string& f : files)
            paths.push_back(f.c_str());
        DWORD handle = 0;
        BYTE uploadFlag = 0;
        if (!F().StartBoardUpload("127.0.0.1", Port(), kRoom, 1, paths.data(),
                                  static_cast<int>(paths.size()), &uploadFlag, &handle))
            return 0;
        if (flag)
            *flag = uploadFlag;
        if (stored) {
            EXPECT_TRUE(F().GetBoardUploadValue(handle, stored));
        }
        return handle;
    }

    DWORD BoardDownload(const std::vector<std::string>& targets, const char* stored,
                        BYTE uploadFlag = 1, DWORD room = kRoom)
    {
        std::vector<LPCSTR> paths;
        for (const std::string& t : targets)
            paths.push_back(t.c_str());
        DWORD handle = 0;
        if (!F().StartBoardDownload("127.0.0.1", Port(), room, 0, uploadFlag, paths.data(),
                                    static_cast<int>(paths.size()), stored, &handle))
            return 0;
        return handle;
    }

    int PollDownload(DWORD handle, int* pages = nullptr)
    {
        int got = 0, total = 0, progress = 0;
        int result = F().PollBoardDownload(handle, &got, &total, &progress);
        if (pages)
            *pages = got;
        return result;
    }

    int PollUpload(DWORD handle)
    {
        int stored = 0, total = 0, progress = 0;
        return F().PollBoardUpload(handle, &stored, &total, &progress);
    }

    CFileStore store;
    CPassLibrary pass;
    PFN_SetTimeouts setTimeouts = nullptr;
    PFN_GetLastError lastError = nullptr;
    std::string folder;
};

TEST_F(PassStandInTest, AWhiteboardDocumentTravelsWholeThroughTheStore)
{
    // A 5 MB page among small ones, and an empty one.
    std::vector<std::string> pages = {Make("p1.bmp", 5 * 1024 * 1024 + 17, 1),
                                      Make("p2.bmp", 1000, 2), Make("p3.bmp", 0, 3)};
    CString stored;
    BYTE flag = 0;
    DWORD up = BoardUpload(pages, &stored, &flag);
    ASSERT_NE(0u, up) << LastError();
    EXPECT_EQ(1, flag);
    EXPECT_FALSE(stored.IsEmpty());
    // The stored name filled a string of this module; it grows and frees here.
    stored += "";
    std::string name = (LPCSTR)stored;

    std::vector<std::string> targets = {folder + "d1.bmp", folder + "d2.bmp", folder + "d3.bmp"};
    DWORD down = BoardDownload(targets, name.c_str());
    ASSERT_NE(0u, down) << LastError();
    EXPECT_EQ(PASS_FINISHED, WaitEnd([&] { return PollUpload(up); })) << LastError();
    int pages_ = 0, total = 0, progress = 0;
    EXPECT_EQ(PASS_FINISHED, WaitEnd([&] { return PollDownload(down); })) << LastError();
    EXPECT_EQ(PASS_FINISHED, F().PollBoardDownload(down, &pages_, &total, &progress));
    EXPECT_EQ(3, pages_);
    EXPECT_EQ(3, total);
    EXPECT_EQ(100, progress);
    F().StopBoardUpload(up);
    F().StopBoardDownload(down);
    for (size_t i = 0; i < pages.size(); ++i) {
        std::vector<char> sent, got;
        ASSERT_TRUE(ReadWhole(pages[i], sent));
        ASSERT_TRUE(ReadWhole(targets[i], got)) << targets[i];
        EXPECT_TRUE(sent == got) << "page " << i;
        EXPECT_FALSE(Exists(targets[i] + ".part"));
    }
    // A stopped handle is gone: polling it fails, stopping it again does nothing.
    EXPECT_NE(PASS_RUNNING, PollUpload(up));
    EXPECT_NE(PASS_FINISHED, PollUpload(up));
    F().StopBoardUpload(up);
    // Another room does not see the document.
    DWORD stranger = BoardDownload({folder + "x.bmp"}, name.c_str(), 1, kRoom + 1);
    ASSERT_NE(0u, stranger);
    EXPECT_GT(WaitEnd([&] { return PollDownload(stranger); }), PASS_FINISHED);
    EXPECT_NE(std::string::npos, LastError().find("no such item")) << LastError();
    F().StopBoardDownload(stranger);
    EXPECT_FALSE(Exists(folder + "x.bmp"));
}

TEST_F(PassStandInTest, AFileSentReachesItsRecipientAndADocumentNamesItsValues)
{
    std::string source = Make("report.doc", 300000, 7);
    DWORD id = 0;
    ASSERT_TRUE(F().StartSend("127.0.0.1", Port(), kRoom, source.c_str(), &id)) << LastError();
    ASSERT_NE(0u, id);
    // The recipient fetches by the transfer id into a file that exists: it is
    // replaced only once the new one is whole.
    std::string target = folder + "received.doc";
    ASSERT_TRUE(WriteWhole(target, Pattern(10, 99)));
    ASSERT_TRUE(F().StartReceive("127.0.0.1", Port(), kRoom, id, target.c_str())) << LastError();
    int progress = -1;
    EXPECT_EQ(PASS_FINISHED, WaitEnd([&] { return F().PollSend(id, &progress); }));
    EXPECT_EQ(PASS_FINISHED, WaitEnd([&] { return F().PollReceive(id, &progress); }));
    EXPECT_EQ(100, progress);
    F().StopSend(id);
    F().StopReceive(id);
    std::vector<char> sent, got;
    ASSERT_TRUE(ReadWhole(source, sent));
    ASSERT_TRUE(ReadWhole(target, got));
    EXPECT_TRUE(sent == got);

    // A transfer id nobody sent fails cleanly on the poll.
    ASSERT_TRUE(F().StartReceive("127.0.0.1", Port(), kRoom, id + 1000, (folder + "n").c_str()));
    EXPECT_GT(WaitEnd([&] { return F().PollReceive(id + 1000, &progress); }), PASS_FINISHED);
    F().StopReceive(id + 1000);

    // A document upload: value A is the stored name, value B its file name.
    DWORD doc = 0;
    ASSERT_TRUE(F().StartDocUpload("127.0.0.1", Port(), kRoom, source.c_str(), &doc));
    CString a("old text that the value replaces"), b;
    EXPECT_TRUE(F().GetDocUploadValueA(doc, &a));
    EXPECT_TRUE(F().GetDocUploadValueB(doc, &b));
    EXPECT_EQ(std::string("report.doc"), (LPCSTR)b);
    EXPECT_NE(std::string::npos, std::string("0123456789").find(a[0]));
    EXPECT_EQ(PASS_FINISHED, WaitEnd([&] { return F().PollDocUpload(doc, &progress); }));
    F().StopDocUpload(doc);
    EXPECT_FALSE(F().GetDocUploadValueA(doc, &a));

    // Nothing starts without a store, or without a file to send.
    EXPECT_FALSE(F().StartSend("127.0.0.1", 1, kRoom, source.c_str(), &id));
    EXPECT_FALSE(F().StartSend("127.0.0.1", Port(), kRoom, (folder + "none").c_str(), &id));
    EXPECT_EQ(0u, id);
}

TEST_F(PassStandInTest, AFailedUploadFailsTheDownloadWaitingForItsPages)
{
    // The store stalls the second page after 64 KiB; the downloader, told
    // that the upload runs, takes the first page and waits for the second
    // longer than its stall time (the store tells it to keep waiting).
    setTimeouts(3000, 1500);
    std::vector<std::string> pages = {Make("a.bmp", 40000, 1), Make("b.bmp", 200000, 2)};
    STORE_FAULT fault;
    fault.kind = STORE_FAULT::STALL;
    fault.op = STORE_OP_PUT;
    fault.afterBytes = 65536;
    // The first page is shorter than the fault's byte count: it passes.
    store.ScriptFault(fault);
    CString stored;
    DWORD up = BoardUpload(pages, &stored);
    ASSERT_NE(0u, up);
    ASSERT_TRUE(store.WaitForStall(20000));
    std::vector<std::string> targets = {folder + "t1.bmp", folder + "t2.bmp"};
    DWORD down = BoardDownload(targets, (LPCSTR)stored);
    ASSERT_NE(0u, down);
    int pages_ = 0;
    DWORD start = GetTickCount();
    while (PollDownload(down, &pages_) == PASS_RUNNING && pages_ < 1 &&
           GetTickCount() - start < 20000)
        Sleep(20);
    EXPECT_EQ(1, pages_);
    Sleep(2500); // beyond the stall time: still waiting, not failed
    EXPECT_EQ(PASS_RUNNING, PollDownload(down, &pages_));
    // The uploader gives up on its stalled store: the waiting download fails.
    EXPECT_GT(WaitEnd([&] { return PollUpload(up); }, 20000), PASS_FINISHED);
    EXPECT_NE(std::string::npos, LastError().find("stalled")) << LastError();
    F().StopBoardUpload(up);
    store.Resume();
    EXPECT_GT(WaitEnd([&] { return PollDownload(down, &pages_); }, 20000), PASS_FINISHED);
    EXPECT_NE(std::string::npos, LastError().find("failed or was stopped")) << LastError();
    EXPECT_EQ(1, pages_);
    F().StopBoardDownload(down);
    EXPECT_TRUE(Exists(targets[0]));
    EXPECT_FALSE(Exists(targets[1]));
    EXPECT_FALSE(Exists(targets[1] + ".part"));
}

TEST_F(PassStandInTest, CutAndStalledFetchesFailAndLeaveNoPartialFile)
{
    setTimeouts(3000, 1000);
    std::string page = Make("big.bmp", 1024 * 1024, 5);
    CString stored;
    DWORD up = BoardUpload({page}, &stored);
    ASSERT_NE(0u, up);
    ASSERT_EQ(PASS_FINISHED, WaitEnd([&] { return PollUpload(up); }));
    F().StopBoardUpload(up);

    struct Case
    {
        STORE_FAULT::Kind kind;
        const char* error;
    } cases[] = {{STORE_FAULT::CUT, "ended early"}, {STORE_FAULT::STALL, "stalled"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        STORE_FAULT fault;
        fault.kind = c.kind;
        fault.op = STORE_OP_GET;
        fault.afterBytes = 300000;
        store.ScriptFault(fault);
        std::string target = folder + "kept.bmp";
        ASSERT_TRUE(WriteWhole(target, Pattern(5, 1)));
        DWORD down = BoardDownload({target}, (LPCSTR)stored);
        ASSERT_NE(0u, down);
        EXPECT_GT(WaitEnd([&] { return PollDownload(down); }, 20000), PASS_FINISHED);
        EXPECT_NE(std::string::npos, LastError().find(c.error)) << LastError();
        F().StopBoardDownload(down);
        store.Resume();
        // The file that was there is untouched, and nothing half-written stays.
        std::vector<char> kept;
        ASSERT_TRUE(ReadWhole(target, kept));
        EXPECT_TRUE(kept == Pattern(5, 1));
        EXPECT_FALSE(Exists(target + ".part"));
    }

    // A stop in the middle of a stall returns at once.
    STORE_FAULT fault;
    fault.kind = STORE_FAULT::STALL;
    fault.op = STORE_OP_GET;
    fault.afterBytes = 1000;
    store.ScriptFault(fault);
    setTimeouts(3000, 60000);
    DWORD down = BoardDownload({folder + "stopped.bmp"}, (LPCSTR)stored);
    ASSERT_NE(0u, down);
    ASSERT_TRUE(store.WaitForStall(20000));
    DWORD before = GetTickCount();
    F().StopBoardDownload(down);
    EXPECT_LT(GetTickCount() - before, 5000u);
    EXPECT_FALSE(Exists(folder + "stopped.bmp.part"));
    store.Resume();
}

std::vector<uint8_t> Reply(uint32_t magic, uint16_t status, const std::string& name, uint32_t value,
                           uint32_t size, size_t cut = 0)
{
    std::vector<uint8_t> bytes(sizeof(STORE_REPLY) + name.size());
    WireWriter w(bytes.data(), bytes.size());
    w.U32(magic);
    w.U16(status);
    w.U16(static_cast<uint16_t>(name.size()));
    w.U32(value);
    w.U32(size);
    w.Bytes(name.data(), name.size());
    if (cut)
        bytes.resize(cut);
    return bytes;
}

TEST_F(PassStandInTest, MalformedAnswersOfTheStoreGiveClearErrors)
{
    // Answers to the creation of an item: the upload does not start.
    struct Case
    {
        const char* what;
        std::vector<uint8_t> raw;
        const char* error;
    } creates[] = {
        {"short reply", Reply(STORE_REPLY_MAGIC, STORE_OK, "7", 7, 0, 10), "ended early"},
        {"wrong magic", Reply(0x12345678, STORE_OK, "7", 7, 0), "not a reply"},
        {"name over 255 bytes", Reply(STORE_REPLY_MAGIC, STORE_OK, std::string(300, '1'), 7, 0),
         "more than 255"},
        {"name that is no stored name", Reply(STORE_REPLY_MAGIC, STORE_OK, "..\\x", 7, 0),
         "no stored name"},
        {"refusal", Reply(STORE_REPLY_MAGIC, STORE_REFUSED, "", 0, 0), "refused the item"},
        {"nothing at all", {}, "ended early"},
    };
    std::string page = Make("page.bmp", 5000, 3);
    for (const Case& c : creates) {
        SCOPED_TRACE(c.what);
        STORE_FAULT fault;
        fault.kind = STORE_FAULT::RAW_REPLY;
        fault.op = STORE_OP_CREATE;
        fault.raw = c.raw;
        store.ScriptFault(fault);
        EXPECT_EQ(0u, BoardUpload({page}, nullptr));
        EXPECT_NE(std::string::npos, LastError().find(c.error)) << LastError();
    }

    CString stored;
    DWORD up = BoardUpload({page}, &stored);
    ASSERT_EQ(PASS_FINISHED, WaitEnd([&] { return PollUpload(up); }));
    F().StopBoardUpload(up);
    // Answers to a fetch: the download fails and writes nothing.
    Case gets[] = {
        {"another part", Reply(STORE_REPLY_MAGIC, STORE_OK, "", 5, 10), "sent part 5"},
        {"a part too large", Reply(STORE_REPLY_MAGIC, STORE_OK, "", 0, 0xFFFFFFF0u),
         "more than a part may hold"},
        {"fewer bytes than announced", Reply(STORE_REPLY_MAGIC, STORE_OK, "", 0, 100),
         "ended early"},
        {"unknown status", Reply(STORE_REPLY_MAGIC, 77, "", 0, 0), "unknown status 77"},
        {"short reply", Reply(STORE_REPLY_MAGIC, STORE_OK, "", 0, 0, 15), "ended early"},
    };
    for (const Case& c : gets) {
        SCOPED_TRACE(c.what);
        STORE_FAULT fault;
        fault.kind = STORE_FAULT::RAW_REPLY;
        fault.op = STORE_OP_GET;
        fault.raw = c.raw;
        store.ScriptFault(fault);
        std::string target = folder + "bad.bmp";
        DWORD down = BoardDownload({target}, (LPCSTR)stored);
        ASSERT_NE(0u, down);
        EXPECT_GT(WaitEnd([&] { return PollDownload(down); }, 20000), PASS_FINISHED);
        EXPECT_NE(std::string::npos, LastError().find(c.error)) << LastError();
        F().StopBoardDownload(down);
        EXPECT_FALSE(Exists(target));
        EXPECT_FALSE(Exists(target + ".part"));
    }
}

} // namespace

namespace {

// The other participant: a second process of this program, given the
// store's port, the stored name and where to put the page. Run on its own
// (without that) it has nothing to do.
TEST(PassStandInPeer, FetchesWhatTheParentProcessUploaded)
{
    char job[512] = {};
    if (!GetEnvironmentVariableA("HALVERN_PASS_PEER", job, sizeof job))
        GTEST_SKIP() << "run by PassStandInTest.AnotherProcessFetchesTheUpload";
    unsigned port = 0;
    char stored[64] = {}, target[400] = {};
    ASSERT_EQ(3, sscanf(job, "%u %63s %399[^\n]", &port, stored, target));
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    CPassLibrary pass;
    ASSERT_TRUE(pass.Load("pass.dll")) << pass.Error();
    LPCSTR paths[] = {target};
    DWORD handle = 0;
    ASSERT_TRUE(pass.Functions().StartBoardDownload("127.0.0.1", static_cast<WORD>(port), kRoom, 0,
                                                    1, paths, 1, stored, &handle));
    int pages = 0, total = 0, progress = 0, result = PASS_RUNNING;
    DWORD start = GetTickCount();
    while ((result = pass.Functions().PollBoardDownload(handle, &pages, &total, &progress)) ==
               PASS_RUNNING &&
           GetTickCount() - start < 60000)
        Sleep(20);
    pass.Functions().StopBoardDownload(handle);
    EXPECT_EQ(PASS_FINISHED, result);
    EXPECT_EQ(1, pages);
    pass.Unload();
    WSACleanup();
}

TEST_F(PassStandInTest, AnotherProcessFetchesTheUpload)
{
    std::string page = Make("shared.bmp", 2 * 1024 * 1024 + 3, 11);
    CString stored;
    DWORD up = BoardUpload({page}, &stored);
    ASSERT_NE(0u, up) << LastError();

    std::string target = folder + "peer.bmp";
    std::string job = std::to_string(Port()) + " " + (LPCSTR)stored + " " + target;
    ASSERT_TRUE(SetEnvironmentVariableA("HALVERN_PASS_PEER", job.c_str()));
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command = std::string("\"") + program +
                          "\" --gtest_filter=PassStandInPeer.FetchesWhatTheParentProcessUploaded";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    SetEnvironmentVariableA("HALVERN_PASS_PEER", nullptr);
    DWORD waited = WaitForSingleObject(pi.hProcess, 120000);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 99);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(WAIT_OBJECT_0, waited);
    EXPECT_EQ(0u, code);

    EXPECT_EQ(PASS_FINISHED, WaitEnd([&] { return PollUpload(up); }));
    F().StopBoardUpload(up);
    std::vector<char> sent, got;
    ASSERT_TRUE(ReadWhole(page, sent));
    ASSERT_TRUE(ReadWhole(target, got));
    EXPECT_TRUE(sent == got);
}

} // namespace
