// The exports of the file-transfer library stand-in, by ordinal (pass.def),
// plus two by name for tests: the time limits and the last error's text.
#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <type_traits>

#include "CPassTransfers.h"
#include "CString.h"
#include "PassApi.h"

namespace {

typedef CPassTransfers::Kind Kind;

void StartWinsock()
{
    static bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

void Report(const std::string& text)
{
    CPassTransfers::Instance().SetLastError(text);
    OutputDebugStringA(("<pass> " + text + "\n").c_str());
}

PASS_SETUP Setup(LPCSTR server, WORD port, DWORD roomId)
{
    PASS_SETUP setup;
    setup.server = server ? server : "";
    setup.port = port;
    setup.roomId = roomId;
    return setup;
}

bool Paths(const LPCSTR* paths, int count, std::vector<std::string>& out)
{
    if (!paths || count <= 0 || count > static_cast<int>(STORE_MAX_PARTS))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!paths[i] || !*paths[i])
            return false;
        out.push_back(paths[i]);
    }
    return true;
}

// Starts an upload and files it; the handle, or 0.
uint32_t StartUpload(Kind kind, const PASS_SETUP& setup, bool storeIdIsHandle)
{
    std::unique_ptr<CPassTransfer> transfer(new CPassTransfer());
    if (!transfer->StartUpload(setup)) {
        Report(transfer->Error());
        return 0;
    }
    uint32_t id = transfer->StoreId();
    uint32_t handle =
        CPassTransfers::Instance().Add(kind, std::move(transfer), storeIdIsHandle ? id : 0);
    if (!handle)
        Report("transfer id " + std::to_string(id) + " is already in use here");
    return handle;
}

uint32_t StartDownload(Kind kind, const PASS_SETUP& setup, uint32_t handle)
{
    std::unique_ptr<CPassTransfer> transfer(new CPassTransfer());
    if (!transfer->StartDownload(setup)) {
        Report(transfer->Error());
        return 0;
    }
    handle = CPassTransfers::Instance().Add(kind, std::move(transfer), handle);
    if (!handle)
        Report("that transfer is already being received here");
    return handle;
}

int Poll(Kind kind, DWORD handle, int* done, int* total, int* progress)
{
    int result = 3;
    std::string error;
    bool found = CPassTransfers::Instance().With(kind, handle, [&](CPassTransfer& t) {
        result = t.Poll(done, total, progress);
        if (result == CPassTransfer::FAILED)
            error = t.Error();
    });
    // Reported once the table's lock is let go.
    if (!found)
        Report("no transfer " + std::to_string(handle));
    else if (!error.empty())
        Report(error);
    return result;
}

int GetValue(Kind kind, DWORD handle, CString* value, bool fileName)
{
    if (!value)
        return 0;
    std::string text;
    bool found = CPassTransfers::Instance().With(
        kind, handle, [&](CPassTransfer& t) { text = fileName ? t.FileName() : t.StoredName(); });
    if (!found)
        return 0;
    *value = text.c_str();
    return 1;
}

template <class F>
auto Guard(F f) -> decltype(f())
{
    try {
        return f();
    } catch (...) {
        Report("unexpected failure inside the file-transfer library");
        return decltype(f())();
    }
}

} // namespace

extern "C" {

int WINAPI PASS_StartSend(LPCSTR server, WORD port, DWORD roomId, LPCSTR path, DWORD* handle)
{
    return Guard([&] {
        if (handle)
            *handle = 0;
        if (!path || !*path || !handle)
            return 0;
        StartWinsock();
        PASS_SETUP setup = Setup(server, port, roomId);
        setup.paths.push_back(path);
        *handle = StartUpload(CPassTransfers::SEND, setup, true);
        return *handle ? 1 : 0;
    });
}

int WINAPI PASS_PollSend(DWORD handle, int* progress)
{
    return Guard([&] { return Poll(CPassTransfers::SEND, handle, nullptr, nullptr, progress); });
}

void WINAPI PASS_StopSend(DWORD handle)
{
    Guard([&] { CPassTransfers::Instance().Remove(CPassTransfers::SEND, handle); });
}

int WINAPI PASS_StartReceive(LPCSTR server, WORD port, DWORD roomId, DWORD transferId,
                             LPCSTR targetPath)
{
    return Guard([&] {
        if (!targetPath || !*targetPath || transferId == 0)
            return 0;
        StartWinsock();
        PASS_SETUP setup = Setup(server, port, roomId);
        setup.paths.push_back(targetPath);
        setup.storedName = std::to_string(transferId);
        return StartDownload(CPassTransfers::RECEIVE, setup, transferId) ? 1 : 0;
    });
}

int WINAPI PASS_PollReceive(DWORD transferId, int* progress)
{
    return Guard(
        [&] { return Poll(CPassTransfers::RECEIVE, transferId, nullptr, nullptr, progress); });
}

void WINAPI PASS_StopReceive(DWORD transferId)
{
    Guard([&] { CPassTransfers::Instance().Remove(CPassTransfers::RECEIVE, transferId); });
}

int WINAPI PASS_StartDocUpload(LPCSTR server, WORD port, DWORD roomId, LPCSTR path, DWORD* handle)
{
    return Guard([&] {
        if (handle)
            *handle = 0;
        if (!path || !*path || !handle)
            return 0;
        StartWinsock();
        PASS_SETUP setup = Setup(server, port, roomId);
        setup.paths.push_back(path);
        *handle = StartUpload(CPassTransfers::DOC_UPLOAD, setup, false);
        return *handle ? 1 : 0;
    });
}

int WINAPI PASS_GetDocUploadValueB(DWORD handle, CString* value)
{
    return Guard([&] { return GetValue(CPassTransfers::DOC_UPLOAD, handle, value, true); });
}

int WINAPI PASS_GetDocUploadValueA(DWORD handle, CString* value)
{
    return Guard([&] { return GetValue(CPassTransfers::DOC_UPLOAD, handle, value, false); });
}

int WINAPI PASS_PollDocUpload(DWORD handle, int* progress)
{
    return Guard(
        [&] { return Poll(CPassTransfers::DOC_UPLOAD, handle, nullptr, nullptr, progress); });
}

void WINAPI PASS_StopDocUpload(DWORD handle)
{
    Guard([&] { CPassTransfers::Instance().Remove(CPassTransfers::DOC_UPLOAD, handle); });
}

int WINAPI PASS_StartBoardUpload(LPCSTR server, WORD port, DWORD roomId, BYTE noAnnouncement,
                                 const LPCSTR* paths, int count, BYTE* uploadFlag, DWORD* handle)
{
    (void)noAnnouncement; // the store keeps live and shared documents alike
    return Guard([&] {
        if (handle)
            *handle = 0;
        if (uploadFlag)
            *uploadFlag = 0;
        PASS_SETUP setup = Setup(server, port, roomId);
        if (!handle || !Paths(paths, count, setup.paths)) {
            Report("a whiteboard upload needs 1 to 1024 file paths");
            return 0;
        }
        StartWinsock();
        *handle = StartUpload(CPassTransfers::BOARD_UPLOAD, setup, false);
        if (*handle && uploadFlag)
            *uploadFlag = 1;
        return *handle ? 1 : 0;
    });
}

int WINAPI PASS_GetBoardUploadValue(DWORD handle, CString* storedName)
{
    return Guard([&] { return GetValue(CPassTransfers::BOARD_UPLOAD, handle, storedName, false); });
}

int WINAPI PASS_PollBoardUpload(DWORD handle, int* stored, int* total, int* progress)
{
    return Guard(
        [&] { return Poll(CPassTransfers::BOARD_UPLOAD, handle, stored, total, progress); });
}

void WINAPI PASS_StopBoardUpload(DWORD handle)
{
    Guard([&] { CPassTransfers::Instance().Remove(CPassTransfers::BOARD_UPLOAD, handle); });
}

int WINAPI PASS_StartBoardDownload(LPCSTR server, WORD port, DWORD roomId, BYTE openedHere,
                                   BYTE uploadFlag, const LPCSTR* paths, int count,
                                   LPCSTR storedName, DWORD* handle)
{
    (void)openedHere; // a stored document and a live one are fetched alike
    return Guard([&] {
        if (handle)
            *handle = 0;
        PASS_SETUP setup = Setup(server, port, roomId);
        if (!handle || !Paths(paths, count, setup.paths) || !storedName || !*storedName) {
            Report("a whiteboard download needs 1 to 1024 target paths and a stored name");
            return 0;
        }
        setup.storedName = storedName;
        setup.waitForParts = uploadFlag != 0;
        StartWinsock();
        *handle = StartDownload(CPassTransfers::BOARD_DOWNLOAD, setup, 0);
        return *handle ? 1 : 0;
    });
}

int WINAPI PASS_PollBoardDownload(DWORD handle, int* pages, int* total, int* progress)
{
    return Guard(
        [&] { return Poll(CPassTransfers::BOARD_DOWNLOAD, handle, pages, total, progress); });
}

void WINAPI PASS_StopBoardDownload(DWORD handle)
{
    Guard([&] { CPassTransfers::Instance().Remove(CPassTransfers::BOARD_DOWNLOAD, handle); });
}

// For tests: how long a connection may take, and how long a transfer may
// move nothing before it fails.
void WINAPI PassStandIn_SetTimeouts(DWORD connectMs, DWORD stallMs)
{
    CPassTransfer::SetConnectTimeout(connectMs);
    CPassTransfer::SetStallTimeout(stallMs);
}

// The text of the last failure (a start refused, a poll that failed).
int WINAPI PassStandIn_GetLastError(char* buffer, int size)
{
    return Guard([&] {
        if (!buffer || size <= 0)
            return 0;
        std::string text = CPassTransfers::Instance().LastError();
        strncpy(buffer, text.c_str(), static_cast<size_t>(size) - 1);
        buffer[size - 1] = 0;
        return static_cast<int>(text.size());
    });
}

} // extern "C"

// The exports have the types the client binds them by.
static_assert(std::is_same<decltype(&PASS_StartSend), PFN_PASS_StartSend>::value, "ordinal 1");
static_assert(std::is_same<decltype(&PASS_PollSend), PFN_PASS_PollSend>::value, "ordinal 2");
static_assert(std::is_same<decltype(&PASS_StopSend), PFN_PASS_StopSend>::value, "ordinal 3");
static_assert(std::is_same<decltype(&PASS_StartReceive), PFN_PASS_StartReceive>::value, "4");
static_assert(std::is_same<decltype(&PASS_PollReceive), PFN_PASS_PollReceive>::value, "5");
static_assert(std::is_same<decltype(&PASS_StopReceive), PFN_PASS_StopReceive>::value, "6");
static_assert(std::is_same<decltype(&PASS_StartDocUpload), PFN_PASS_StartDocUpload>::value, "7");
static_assert(std::is_same<decltype(&PASS_GetDocUploadValueB), PFN_PASS_GetDocUploadValue>::value,
              "8");
static_assert(std::is_same<decltype(&PASS_GetDocUploadValueA), PFN_PASS_GetDocUploadValue>::value,
              "9");
static_assert(std::is_same<decltype(&PASS_PollDocUpload), PFN_PASS_PollDocUpload>::value, "10");
static_assert(std::is_same<decltype(&PASS_StopDocUpload), PFN_PASS_StopDocUpload>::value, "11");
static_assert(std::is_same<decltype(&PASS_StartBoardUpload), PFN_PASS_StartBoardUpload>::value,
              "12");
static_assert(
    std::is_same<decltype(&PASS_GetBoardUploadValue), PFN_PASS_GetBoardUploadValue>::value, "13");
static_assert(std::is_same<decltype(&PASS_PollBoardUpload), PFN_PASS_PollBoardUpload>::value, "14");
static_assert(std::is_same<decltype(&PASS_StopBoardUpload), PFN_PASS_StopBoardUpload>::value, "15");
static_assert(std::is_same<decltype(&PASS_StartBoardDownload), PFN_PASS_StartBoardDownload>::value,
              "16");
static_assert(std::is_same<decltype(&PASS_PollBoardDownload), PFN_PASS_PollBoardDownload>::value,
              "17");
static_assert(std::is_same<decltype(&PASS_StopBoardDownload), PFN_PASS_StopBoardDownload>::value,
              "18");
