#pragma once
#include <cstdint>
#include <memory>
class FecEncoder;

namespace RavoEngine {

// The processer's side of the packet FEC: k data packets per group and
// n - k parity packets riding on the data packets of the groups after it.
// Without the shared packet FEC code in the build every sender is invalid and
// the FEC modes stay off.
class FecSender
{
public:
    enum { HEADER = 4, MAX_PARITY = 32 };

    struct Result
    {
        const uint8_t* data = nullptr; // header and payload
        int dataLength = 0;
        const uint8_t* parity[MAX_PARITY] = {};
        int parityLength = 0;
        int parityCount = 0;
    };

    FecSender(int n, int k, int payloadCapacity);
    ~FecSender();

    FecSender(const FecSender&) = delete;
    FecSender& operator=(const FecSender&) = delete;

    bool IsValid() const;
    // packet: 4 header bytes (written by the coder) and payloadLength bytes.
    bool Accept(uint8_t* packet, int payloadLength, Result* out);

private:
    std::unique_ptr<FecEncoder> m_encoder;
};

} // namespace RavoEngine
