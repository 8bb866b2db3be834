#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "CPassTransfer.h"

// The library's running transfers, one table per kind, by handle. Handles
// of sends are the store's ids (they travel to the recipients as transfer
// ids), receives are kept by the transfer id they fetch, and the other
// kinds get running numbers from 1.
class CPassTransfers
{
public:
    enum Kind { SEND, RECEIVE, DOC_UPLOAD, BOARD_UPLOAD, BOARD_DOWNLOAD, KIND_COUNT };

    static CPassTransfers& Instance();

    // Adds a started transfer; its handle, or 0 when the handle is taken.
    uint32_t Add(Kind kind, std::unique_ptr<CPassTransfer> transfer, uint32_t handle = 0);
    // Runs f on the transfer under the table's lock; false for no such handle.
    template <class F>
    bool With(Kind kind, uint32_t handle, F f)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        auto it = m_tables[kind].find(handle);
        if (it == m_tables[kind].end())
            return false;
        f(*it->second);
        return true;
    }
    // Takes the transfer out and stops it; nothing for an unknown handle.
    void Remove(Kind kind, uint32_t handle);

    void SetLastError(const std::string& text);
    std::string LastError();

private:
    std::mutex m_lock;
    std::map<uint32_t, std::unique_ptr<CPassTransfer>> m_tables[KIND_COUNT];
    uint32_t m_next = 1;
    std::string m_lastError;
};
