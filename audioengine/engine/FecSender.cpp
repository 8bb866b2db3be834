#include "FecSender.h"

#include "FecEncoder.h"

namespace RavoEngine {

FecSender::FecSender(int n, int k, int payloadCapacity)
    : m_encoder(new FecEncoder(n, k, payloadCapacity))
{}

FecSender::~FecSender() = default;

bool FecSender::IsValid() const { return m_encoder && m_encoder->IsConfigured(); }

bool FecSender::Accept(uint8_t* packet, int payloadLength, Result* out)
{
    if (!IsValid() || !packet || !out)
        return false;
    FecEncoder::Output o;
    if (!m_encoder->Accept(packet, payloadLength, &o))
        return false;
    out->data = o.data;
    out->dataLength = o.dataLength;
    out->parityLength = o.parityLength;
    out->parityCount = o.parityCount > MAX_PARITY ? MAX_PARITY : o.parityCount;
    for (int i = 0; i < out->parityCount; ++i)
        out->parity[i] = o.parity[i];
    return true;
}

} // namespace RavoEngine
