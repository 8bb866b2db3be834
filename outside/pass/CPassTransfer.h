#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CStoreSocket.h"

// Where a transfer goes and what it moves.
struct PASS_SETUP
{
    std::string server;
    uint16_t port = 0;
    uint32_t roomId = 0;
    std::vector<std::string> paths; // files to put, or targets of the parts fetched
    std::string storedName;         // downloads: the item to fetch
    bool waitForParts = true;       // downloads: wait for parts still being put
};

// One transfer between this process and the file store: the connection and
// the item's creation happen in the start (bounded), the data moves on a
// worker thread, and the caller polls. A download writes each part beside
// its target first and puts it in place only when it is whole.
class CPassTransfer
{
public:
    enum State { RUNNING = 0, FINISHED = 1, FAILED = 2 };

    CPassTransfer();
    ~CPassTransfer(); // stops

    bool StartUpload(const PASS_SETUP& setup);
    bool StartDownload(const PASS_SETUP& setup);
    // Ends the worker and closes the connection; an unfinished download
    // leaves no partial file behind.
    void Stop();

    State Poll(int* partsDone, int* partsTotal, int* progress);
    const std::string& StoredName() const { return m_storedName; }
    uint32_t StoreId() const { return m_storeId; }
    std::string FileName() const;
    std::string Error();

    static void SetStallTimeout(uint32_t ms);
    static void SetConnectTimeout(uint32_t ms);

private:
    bool Connect(const PASS_SETUP& setup);
    void RunUpload();
    void RunDownload();
    bool FetchPart(size_t index);
    void Fail(const std::string& text);
    void Progress(uint64_t done);

    PASS_SETUP m_setup;
    CStoreSocket m_socket;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    std::string m_storedName;
    uint32_t m_storeId = 0;
    uint64_t m_totalBytes = 0;

    std::mutex m_lock;
    State m_state = RUNNING;
    int m_partsDone = 0;
    int m_progress = 0;
    std::string m_error;
};
