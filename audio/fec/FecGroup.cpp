#include "FecGroup.h"

#include <cstring>

FecGroup::FecGroup(uint16_t group, int n, int k)
    : m_group(group), m_n(n), m_k(k), m_r(n - k), m_slots(static_cast<size_t>(n))
{}

bool FecGroup::Add(const FecHeader& header, const uint8_t* packet, int payloadLength)
{
    if (m_complete)
        return false;
    if (header.n != m_n || header.k != m_k || header.group != m_group)
        return false;
    if (m_received >= m_n || header.index < 0 || header.index >= m_n || Has(header.index))
        return false;
    if (m_received == 0) {
        if (payloadLength <= 0)
            return false;
        m_length = payloadLength;
    } else if (payloadLength != m_length) {
        return false;
    }
    std::vector<uint8_t>& slot = m_slots[static_cast<size_t>(header.index)];
    slot.assign(packet, packet + FecHeader::SIZE + payloadLength);
    m_mask |= uint64_t(1) << header.index;
    ++m_received;
    if (header.index > m_highest)
        m_highest = header.index;
    return true;
}

bool FecGroup::TryComplete(const ReedSolomon& rs)
{
    if (m_complete)
        return true;
    if (m_received < m_k)
        return false;
    bool allData = true;
    for (int i = 0; i < m_k; ++i)
        if (!Has(i))
            allData = false;
    if (allData) {
        m_complete = true;
        return true;
    }
    int erasures[64];
    int erasureCount = 0;
    for (int i = 0; i < m_n; ++i)
        if (!Has(i))
            erasures[erasureCount++] = i;
    // Decode every column first; the group changes only when all succeed.
    std::vector<uint8_t> columns(static_cast<size_t>(m_length) * static_cast<size_t>(m_n));
    for (int j = 0; j < m_length; ++j) {
        uint8_t* word = &columns[static_cast<size_t>(j) * static_cast<size_t>(m_n)];
        for (int i = 0; i < m_n; ++i)
            word[i] =
                Has(i) ? m_slots[static_cast<size_t>(i)][static_cast<size_t>(FecHeader::SIZE + j)]
                       : 0;
        if (rs.Decode(word, m_n, erasures, erasureCount) < 0)
            return false;
    }
    for (int i = 0; i < m_n; ++i) {
        std::vector<uint8_t>& slot = m_slots[static_cast<size_t>(i)];
        slot.resize(static_cast<size_t>(FecHeader::SIZE + m_length));
        for (int j = 0; j < m_length; ++j)
            slot[static_cast<size_t>(FecHeader::SIZE + j)] =
                columns[static_cast<size_t>(j) * static_cast<size_t>(m_n) + static_cast<size_t>(i)];
        FecHeader(m_group, i, m_n, m_k).Write(slot.data());
    }
    m_mask = (m_n >= 64) ? ~uint64_t(0) : ((uint64_t(1) << m_n) - 1);
    m_complete = true;
    return true;
}
