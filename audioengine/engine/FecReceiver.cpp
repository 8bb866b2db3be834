#include "FecReceiver.h"

#include <cstring>
#include <vector>

#include "FecTrace.h"

#include "FecDecoder.h"
#include "FecHeader.h"

namespace RavoEngine {

FecReceiver::FecReceiver(int packetBytes)
    : m_decoder(new FecDecoder(OUTPUT_LIMIT)), m_packetBytes(packetBytes),
      m_packet(static_cast<size_t>(packetBytes > 0 ? packetBytes : 1))
{
    FecTrace::Write(FecTrace::TRACE, "%s", "");
}

bool FecReceiver::IsValid() const { return m_decoder && m_packetBytes > HEADER; }

bool FecReceiver::CheckHeader(const uint8_t* header)
{
    return header && FecHeader::Read(header).IsValid();
}

bool FecReceiver::Insert(const uint8_t* packet, int packetBytes)
{
    if (!IsValid() || !packet || packetBytes != m_packetBytes || !CheckHeader(packet))
        return false;
    if (!m_decoder->Insert(packet, packetBytes - HEADER))
        return false;
    const FecHeader h = FecHeader::Read(packet);
    if (h.index < h.k && h.index < 64) {
        if (m_arrived.size() > 64)
            m_arrived.erase(m_arrived.begin());
        m_arrived[h.group] |= uint64_t(1) << h.index;
    }
    return true;
}

bool FecReceiver::Pull(uint8_t* frame, int capacity, int* length, uint32_t* number)
{
    if (!IsValid() || !frame)
        return false;
    std::vector<uint8_t>& packet = m_packet;
    int got = 0;
    if (m_decoder->Pull(packet.data(), m_packetBytes, &got) <= 0 || got < HEADER)
        return false;
    const FecHeader h = FecHeader::Read(packet.data());
    const int payload = got - HEADER;
    if (payload > capacity)
        return false;
    // A frame of a newer group closes the groups before it.
    if (!m_haveGroup) {
        m_haveGroup = true;
        m_group = h.group;
        m_delivered = 0;
    } else if (h.group != m_group) {
        FinishGroup(m_group, m_delivered);
        int16_t skipped = static_cast<int16_t>(static_cast<uint16_t>(h.group - m_group - 1));
        for (int i = 0; i < skipped && i < 8; ++i)
            FinishGroup(static_cast<uint16_t>(m_group + 1 + i), 0);
        m_group = h.group;
        m_delivered = 0;
    }
    ++m_delivered;
    memcpy(frame, packet.data() + HEADER, payload);
    if (length)
        *length = payload;
    if (number)
        *number = static_cast<uint32_t>(h.group) * static_cast<uint32_t>(h.k) +
                  static_cast<uint32_t>(h.index);
    return true;
}

void FecReceiver::FinishGroup(uint16_t group, int delivered)
{
    const int k = m_decoder->GetK();
    if (k <= 0)
        return;
    int arrived = 0;
    auto it = m_arrived.find(group);
    if (it != m_arrived.end()) {
        for (int i = 0; i < k; ++i)
            if ((it->second >> i) & 1)
                ++arrived;
    }
    // Forget this group and every one before it.
    for (auto e = m_arrived.begin(); e != m_arrived.end();) {
        if (static_cast<int16_t>(static_cast<uint16_t>(e->first - group)) <= 0)
            e = m_arrived.erase(e);
        else
            ++e;
    }
    if (delivered > k)
        delivered = k;
    m_missing = 0.3 * (static_cast<double>(k - arrived) / k) + 0.7 * m_missing;
    m_present = 0.3 * (static_cast<double>(delivered) / k) + 0.7 * m_present;
}

void FecReceiver::Flush()
{
    if (m_decoder)
        m_decoder->Flush();
}

uint32_t FecReceiver::GetBuffered() const
{
    return m_decoder ? static_cast<uint32_t>(m_decoder->GetQueuedCount()) : 0;
}

int FecReceiver::GetK() const { return m_decoder ? m_decoder->GetK() : 0; }

FecReceiver::~FecReceiver() = default;

} // namespace RavoEngine
