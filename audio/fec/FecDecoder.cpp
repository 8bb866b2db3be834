#include "FecDecoder.h"

#include <cstdlib>
#include <cstring>

FecDecoder::FecDecoder(int outputLimit)
    : m_limit(outputLimit < 10 || outputLimit > 200 ? size_t(DEFAULT_LIMIT)
                                                    : static_cast<size_t>(outputLimit))
{}

bool FecDecoder::Insert(const uint8_t* packet, int payloadLength)
{
    if (!packet || payloadLength <= 0)
        return false;
    FecHeader h = FecHeader::Read(packet);
    if (!h.IsValid())
        return false;
    if (m_n == 0) {
        m_n = h.n;
        m_k = h.k;
        m_rs.reset(new ReedSolomon(m_n - m_k));
    } else if (h.n != m_n || h.k != m_k) {
        return false;
    }

    if (m_firstUse) {
        m_lastHandedOn = static_cast<uint16_t>(h.group - 1);
        m_firstUse = false;
    }
    int16_t ahead = static_cast<int16_t>(h.group - m_lastHandedOn);
    if (ahead < 1) {
        if (++m_oldRun <= MAX_OLD_RUN)
            return false;
        m_oldRun = 0; // a long run of old packets: take it as a new start
    } else {
        m_oldRun = 0;
    }

    auto it = m_groups.end();
    while (it != m_groups.begin()) {
        auto prev = it - 1;
        if (static_cast<int16_t>((*prev)->GetNumber() - h.group) > 0)
            it = prev;
        else
            break;
    }
    FecGroup* group = nullptr;
    if (it != m_groups.begin() && (*(it - 1))->GetNumber() == h.group) {
        group = (it - 1)->get();
    } else {
        it = m_groups.insert(it, std::unique_ptr<FecGroup>(new FecGroup(h.group, m_n, m_k)));
        group = it->get();
    }

    bool added = group->Add(h, packet, payloadLength);
    if (added && group->GetReceived() >= m_k && !group->IsComplete())
        group->TryComplete(*m_rs);
    HandOn(false);
    return added;
}

void FecDecoder::Output(const uint8_t* packet, int length)
{
    m_output.emplace_back(packet, packet + length);
    if (m_output.size() > m_limit)
        m_output.pop_front();
}

int FecDecoder::HandOn(bool forceAll)
{
    if (m_groups.empty())
        return -1;
    FecGroup* head = m_groups.front().get();
    bool forced = forceAll || head->IsComplete() || m_groups.size() > MAX_OPEN_GROUPS;
    if (!forced && m_groups.size() > 2) {
        const FecGroup* newest = m_groups.back().get();
        int d = static_cast<int16_t>(newest->GetNumber() - head->GetNumber());
        if (std::abs(newest->GetHighest() + d * m_k) > m_n)
            forced = true;
    }
    int length = FecHeader::SIZE + head->GetPayloadLength();
    for (; head->nextIndex < m_k; ++head->nextIndex) {
        if (head->Has(head->nextIndex))
            Output(head->GetPacket(head->nextIndex), length);
        else if (!forced)
            return 0;
    }
    m_lastHandedOn = head->GetNumber();
    m_groups.pop_front();
    return 1;
}

int FecDecoder::Pull(uint8_t* buffer, int capacity, int* length)
{
    if (m_output.empty() || !buffer)
        return 0;
    const std::vector<uint8_t>& front = m_output.front();
    if (static_cast<int>(front.size()) > capacity)
        return 0;
    int before = static_cast<int>(m_output.size());
    memcpy(buffer, front.data(), front.size());
    if (length)
        *length = static_cast<int>(front.size());
    m_output.pop_front();
    return before;
}

void FecDecoder::Flush()
{
    while (!m_groups.empty())
        HandOn(true);
}
