#pragma once
#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A fault the store plays once, for tests and the console: cut the
// connection or stall it after so many bytes of the next part put or
// fetched that is longer than that, or answer the next request of a kind
// with raw bytes of the test's choice.
struct STORE_FAULT
{
    enum Kind { NONE, CUT, STALL, RAW_REPLY } kind = NONE;
    uint16_t op = 0;          // STORE_OP_PUT, STORE_OP_GET, STORE_OP_CREATE
    uint32_t afterBytes = 0;  // CUT, STALL: part bytes moved first
    std::vector<uint8_t> raw; // RAW_REPLY: sent in place of the reply, then closed
};

// The file store of the stand-in conference server: the file-transfer
// library puts files, whiteboard page files and documents here and
// participants of the same room fetch them by their stored names. Items are
// kept in memory until the server stops; each connection has a thread.
class CFileStore
{
public:
    CFileStore();
    ~CFileStore();
    CFileStore(const CFileStore&) = delete;
    CFileStore& operator=(const CFileStore&) = delete;

    // Port 0 takes a free one. Winsock must be started.
    bool Start(uint16_t port, bool loopbackOnly);
    void Stop();
    uint16_t GetPort() const { return m_port; }

    // Bytes the store keeps at most; a part beyond it is refused.
    void SetMaxBytes(uint64_t bytes) { m_maxBytes = bytes; }

    void ScriptFault(const STORE_FAULT& fault);
    // Lets a stalled connection go (it is then closed).
    void Resume();
    // Waits until a stall was reached.
    bool WaitForStall(uint32_t timeoutMs);

    size_t GetItemCount();
    uint64_t GetStoredBytes();
    // Parts of an item complete so far; -1 for no such item.
    int GetCompleteParts(const std::string& name);

private:
    struct PART
    {
        std::vector<uint8_t> data;
        bool complete = false;
    };
    struct ITEM
    {
        uint32_t roomId = 0;
        uint32_t owner = 0; // the connection that created it
        std::string fileName;
        std::vector<PART> parts;
        bool failed = false;
    };

    void AcceptLoop();
    void ConnectionLoop(SOCKET s, uint32_t connection);
    // The scripted fault, taken when it applies: a raw reply to the next
    // request of its kind, a cut or stall to the next part of that kind
    // longer than its byte count. NONE otherwise.
    STORE_FAULT TakeFault(uint16_t op, bool raw, uint32_t partBytes = 0);
    bool Stall(); // waits for Resume or Stop; always false (the connection ends)
    void EndOwned(uint32_t connection);

    SOCKET m_listener = INVALID_SOCKET;
    uint16_t m_port = 0;
    std::atomic<bool> m_running{false};
    std::thread m_acceptThread;

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::map<std::string, ITEM> m_items;
    uint32_t m_nextId = 1;
    uint64_t m_storedBytes = 0;
    uint64_t m_maxBytes = 256ull * 1024 * 1024;
    STORE_FAULT m_fault;
    bool m_stalled = false;
    bool m_resume = false;
    uint32_t m_nextConnection = 1;
    std::vector<std::pair<std::thread, std::shared_ptr<std::atomic<bool>>>> m_threads;
    std::vector<SOCKET> m_open;
};
