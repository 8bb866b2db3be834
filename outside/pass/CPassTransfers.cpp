#include "CPassTransfers.h"

CPassTransfers& CPassTransfers::Instance()
{
    static CPassTransfers transfers;
    return transfers;
}

uint32_t CPassTransfers::Add(Kind kind, std::unique_ptr<CPassTransfer> transfer, uint32_t handle)
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto& table = m_tables[kind];
    if (handle == 0) {
        while (m_next == 0 || table.count(m_next))
            ++m_next;
        handle = m_next++;
    } else if (table.count(handle)) {
        return 0;
    }
    table[handle] = std::move(transfer);
    return handle;
}

void CPassTransfers::Remove(Kind kind, uint32_t handle)
{
    std::unique_ptr<CPassTransfer> transfer;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        auto it = m_tables[kind].find(handle);
        if (it == m_tables[kind].end())
            return;
        transfer = std::move(it->second);
        m_tables[kind].erase(it);
    }
    transfer->Stop();
}

void CPassTransfers::SetLastError(const std::string& text)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_lastError = text;
}

std::string CPassTransfers::LastError()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_lastError;
}
