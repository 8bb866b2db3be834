#include "CPassTransfer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

std::atomic<uint32_t> g_stallMs{30000};
std::atomic<uint32_t> g_connectMs{5000};
const uint32_t kChunk = 65536;

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StatusText(uint16_t status)
{
    switch (status) {
    case STORE_NOT_FOUND:
        return "the file store holds no such item in this room";
    case STORE_BAD_REQUEST:
        return "the file store refused the request as malformed";
    case STORE_REFUSED:
        return "the file store refused the item (too large or store full)";
    case STORE_FAILED:
        return "the upload of this item failed or was stopped";
    default:
        return "the file store answered with unknown status " + std::to_string(status);
    }
}

class CFileHandle
{
public:
    explicit CFileHandle(HANDLE h) : m_h(h) {}
    ~CFileHandle()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            CloseHandle(m_h);
    }
    HANDLE Get() const { return m_h; }
    bool Ok() const { return m_h != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_h;
};

} // namespace

void CPassTransfer::SetStallTimeout(uint32_t ms) { g_stallMs = ms; }

void CPassTransfer::SetConnectTimeout(uint32_t ms) { g_connectMs = ms; }

CPassTransfer::CPassTransfer() { m_socket.SetCancel(&m_cancel); }

CPassTransfer::~CPassTransfer() { Stop(); }

std::string CPassTransfer::FileName() const
{
    return m_setup.paths.empty() ? std::string() : BaseName(m_setup.paths[0]);
}

std::string CPassTransfer::Error()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_error;
}

void CPassTransfer::Fail(const std::string& text)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_state == RUNNING) {
        m_state = FAILED;
        m_error = text;
    }
}

void CPassTransfer::Progress(uint64_t done)
{
    std::lock_guard<std::mutex> lock(m_lock);
    int percent = m_totalBytes ? static_cast<int>(done * 100 / m_totalBytes) : 0;
    m_progress = std::min(100, std::max(m_progress, percent));
}

CPassTransfer::State CPassTransfer::Poll(int* partsDone, int* partsTotal, int* progress)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (partsDone)
        *partsDone = m_partsDone;
    if (partsTotal)
        *partsTotal = static_cast<int>(m_setup.paths.size());
    if (progress)
        *progress = m_state == FINISHED ? 100 : m_progress;
    return m_state;
}

bool CPassTransfer::Connect(const PASS_SETUP& setup)
{
    m_setup = setup;
    m_socket.SetStallTimeout(g_connectMs);
    if (!m_socket.Connect(setup.server.c_str(), setup.port, g_connectMs)) {
        m_error = m_socket.Error();
        return false;
    }
    return true;
}

bool CPassTransfer::StartUpload(const PASS_SETUP& setup)
{
    if (setup.paths.empty() || setup.paths.size() > STORE_MAX_PARTS) {
        m_error = "an upload needs 1 to 1024 files";
        return false;
    }
    // Every file must be there before anything is stored.
    for (const std::string& path : setup.paths) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            m_error = "cannot read the file " + path;
            return false;
        }
        if (data.nFileSizeHigh || data.nFileSizeLow > STORE_MAX_PART_BYTES) {
            m_error = "the file " + path + " is larger than the store takes";
            return false;
        }
        m_totalBytes += data.nFileSizeLow;
    }
    if (!Connect(setup))
        return false;
    std::string name = BaseName(setup.paths[0]).substr(0, STORE_MAX_NAME);
    STORE_REPLY reply = {};
    std::string stored;
    if (!m_socket.SendRequest(STORE_OP_CREATE, setup.roomId,
                              static_cast<uint32_t>(setup.paths.size()), 0, name) ||
        !m_socket.ReadReply(reply, stored)) {
        m_error = m_socket.Error();
        return false;
    }
    if (reply.status != STORE_OK) {
        m_error = StatusText(reply.status);
        return false;
    }
    if (reply.value == 0 || stored.empty() ||
        stored.find_first_not_of("0123456789") != std::string::npos) {
        m_error = "the file store named the new item \"" + stored.substr(0, 64) +
                  "\", which is no stored name";
        return false;
    }
    m_storedName = stored;
    m_storeId = reply.value;
    m_socket.SetStallTimeout(g_stallMs);
    m_worker = std::thread([this] { RunUpload(); });
    return true;
}

void CPassTransfer::RunUpload()
{
    std::vector<char> buffer(kChunk);
    uint64_t done = 0;
    for (size_t i = 0; i < m_setup.paths.size(); ++i) {
        CFileHandle file(CreateFileA(m_setup.paths[i].c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
        DWORD size = file.Ok() ? GetFileSize(file.Get(), nullptr) : INVALID_FILE_SIZE;
        if (!file.Ok() || size == INVALID_FILE_SIZE || size > STORE_MAX_PART_BYTES)
            return Fail("cannot read the file " + m_setup.paths[i]);
        if (!m_socket.SendRequest(STORE_OP_PUT, m_setup.roomId, static_cast<uint32_t>(i), size,
                                  m_storedName))
            return Fail(m_socket.Error());
        for (DWORD sent = 0; sent < size;) {
            DWORD want = std::min<DWORD>(kChunk, size - sent), got = 0;
            if (!ReadFile(file.Get(), buffer.data(), want, &got, nullptr) || got != want)
                return Fail("the file " + m_setup.paths[i] + " changed while it was sent");
            if (!m_socket.SendAll(buffer.data(), got))
                return Fail(m_socket.Error());
            sent += got;
            done += got;
            Progress(done);
        }
        STORE_REPLY reply = {};
        std::string name;
        if (!m_socket.ReadReply(reply, name))
            return Fail(m_socket.Error());
        if (reply.status != STORE_OK)
            return Fail(StatusText(reply.status));
        if (reply.value != i)
            return Fail("the file store confirmed part " + std::to_string(reply.value) +
                        " instead of part " + std::to_string(i));
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_partsDone;
    }
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_state == RUNNING)
        m_state = FINISHED;
}

bool CPassTransfer::StartDownload(const PASS_SETUP& setup)
{
    if (setup.paths.empty() || setup.paths.size() > STORE_MAX_PARTS) {
        m_error = "a download needs 1 to 1024 target files";
        return false;
    }
    if (setup.storedName.empty() || setup.storedName.size() > STORE_MAX_NAME) {
        m_error = "no stored name to fetch";
        return false;
    }
    if (!Connect(setup))
        return false;
    m_storedName = setup.storedName;
    m_socket.SetStallTimeout(g_stallMs);
    m_worker = std::thread([this] { RunDownload(); });
    return true;
}

void CPassTransfer::RunDownload()
{
    for (size_t i = 0; i < m_setup.paths.size(); ++i) {
        if (!FetchPart(i))
            return;
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_partsDone;
        m_progress = static_cast<int>((i + 1) * 100 / m_setup.paths.size());
    }
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_state == RUNNING)
        m_state = FINISHED;
}

bool CPassTransfer::FetchPart(size_t index)
{
    const std::string& target = m_setup.paths[index];
    if (!m_socket.SendRequest(STORE_OP_GET, m_setup.roomId, static_cast<uint32_t>(index), 0,
                              m_storedName)) {
        Fail(m_socket.Error());
        return false;
    }
    STORE_REPLY reply = {};
    std::string name;
    for (;;) {
        if (!m_socket.ReadReply(reply, name)) {
            Fail(m_socket.Error());
            return false;
        }
        if (reply.status != STORE_WAITING)
            break;
        if (!m_setup.waitForParts) {
            Fail("the document is not complete in the file store");
            return false;
        }
    }
    if (reply.status != STORE_OK) {
        Fail(StatusText(reply.status));
        return false;
    }
    if (reply.value != index) {
        Fail("the file store sent part " + std::to_string(reply.value) + " for part " +
             std::to_string(index));
        return false;
    }
    if (reply.size > STORE_MAX_PART_BYTES) {
        Fail("the file store announced a part of " + std::to_string(reply.size) +
             " bytes, more than a part may hold");
        return false;
    }

    // The part goes beside its target and replaces it only when whole.
    std::string partial = target + ".part";
    bool whole = false;
    {
        CFileHandle file(CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Ok()) {
            Fail("cannot write the file " + partial);
            return false;
        }
        std::vector<char> buffer(kChunk);
        uint32_t got = 0;
        size_t parts = m_setup.paths.size();
        while (got < reply.size) {
            uint32_t want = std::min<uint32_t>(kChunk, reply.size - got);
            if (!m_socket.RecvAll(buffer.data(), want)) {
                Fail(m_socket.Error());
                break;
            }
            DWORD written = 0;
            if (!WriteFile(file.Get(), buffer.data(), want, &written, nullptr) || written != want) {
                Fail("cannot write the file " + partial);
                break;
            }
            got += want;
            std::lock_guard<std::mutex> lock(m_lock);
            m_progress = static_cast<int>(
                (index * 100 + static_cast<uint64_t>(got) * 100 / reply.size) / parts);
        }
        whole = got == reply.size;
    }
    if (!whole || !MoveFileExA(partial.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        DeleteFileA(partial.c_str());
        if (whole)
            Fail("cannot put the file " + target + " in place");
        return false;
    }
    return true;
}

void CPassTransfer::Stop()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
    m_socket.Close();
}
