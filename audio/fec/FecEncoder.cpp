#include "FecEncoder.h"

#include <cstring>

#include "FecHeader.h"

FecEncoder::FecEncoder(int n, int k, int payloadCapacity)
    : m_n(n), m_k(k), m_r(n - k), m_capacity(payloadCapacity)
{
    if (k <= 0 || k > 32 || m_r <= 0 || m_r > 32 || payloadCapacity < 1 ||
        payloadCapacity > MAX_PAYLOAD)
        return;
    m_rs.reset(new ReedSolomon(m_r));
    m_slots.assign(static_cast<size_t>(k),
                   std::vector<uint8_t>(static_cast<size_t>(FecHeader::SIZE + payloadCapacity)));
    m_parity.reset(new FecParityQueue(n, k, payloadCapacity));
    m_configured = true;
}

bool FecEncoder::EncodeGroup()
{
    uint16_t group = static_cast<uint16_t>(m_groupCounter - 1);
    for (int i = 0; i < m_k; ++i) {
        FecHeader h = FecHeader::Read(m_slots[static_cast<size_t>(i)].data());
        if (h.index != i || h.group != group)
            return false;
    }
    std::vector<uint8_t*> parity = m_parity->AddGroup(group, m_payloadLength);
    uint8_t column[32];
    uint8_t check[32];
    for (int j = 0; j < m_payloadLength; ++j) {
        for (int i = 0; i < m_k; ++i)
            column[i] = m_slots[static_cast<size_t>(i)][static_cast<size_t>(FecHeader::SIZE + j)];
        if (!m_rs->Encode(column, m_k, check, m_r))
            return false;
        for (int p = 0; p < m_r; ++p)
            parity[static_cast<size_t>(p)][FecHeader::SIZE + j] = check[p];
    }
    return true;
}

bool FecEncoder::Accept(const uint8_t* packet, int payloadLength, Output* out)
{
    if (!m_configured || !packet || !out || payloadLength < 1)
        return false;
    if (m_payloadLength < 0) {
        if (payloadLength > m_capacity)
            return false;
    } else if (payloadLength != m_payloadLength) {
        return false;
    }
    if (m_nextIndex == 0 && m_groupDone && !EncodeGroup())
        return false;
    m_payloadLength = payloadLength;

    std::vector<uint8_t>& slot = m_slots[static_cast<size_t>(m_nextIndex)];
    memcpy(slot.data() + FecHeader::SIZE, packet + FecHeader::SIZE,
           static_cast<size_t>(payloadLength));
    FecHeader(static_cast<uint16_t>(m_groupCounter), m_nextIndex, m_n, m_k).Write(slot.data());

    int count = m_parity->HandOut();
    *out = Output();
    out->data = slot.data();
    out->dataLength = FecHeader::SIZE + payloadLength;
    out->parityCount = count;
    out->parityLength = m_parity->GetPacketLength();
    for (int i = 0; i < count; ++i)
        out->parity[i] = m_parity->GetSlot(i);

    if (++m_nextIndex == m_k) {
        m_nextIndex = 0;
        ++m_groupCounter;
        m_groupDone = true;
    }
    return true;
}
