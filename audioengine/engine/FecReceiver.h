#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <vector>
class FecDecoder;

namespace RavoEngine {

// A source's side of the packet FEC: collects FEC packets of one coded frame
// each, rebuilds lost data packets and hands the frames on in order, with the
// frame number taken from the FEC header (group x k + index). Keeps two
// smoothed ratios per group handed on: the share of data packets that did
// not arrive (starts at 0) and the share present after recovery (starts at
// 1). Its creation starts the trace file. Without the shared packet FEC code
// in the build every receiver is invalid.
class FecReceiver
{
public:
    enum { HEADER = 4, OUTPUT_LIMIT = 80 };

    explicit FecReceiver(int packetBytes);
    ~FecReceiver();

    FecReceiver(const FecReceiver&) = delete;
    FecReceiver& operator=(const FecReceiver&) = delete;

    bool IsValid() const;
    // The receiver's check of a 4-byte FEC header.
    static bool CheckHeader(const uint8_t* header);

    // packet: header and payload, packetBytes in all.
    bool Insert(const uint8_t* packet, int packetBytes);
    // The oldest frame handed on: its payload (after the header) into frame,
    // its number; false when none is waiting.
    bool Pull(uint8_t* frame, int capacity, int* length, uint32_t* number);
    void Flush();

    uint32_t GetBuffered() const;
    // k of the stream (0 until its first packet).
    int GetK() const;
    double GetMissingRatio() const { return m_missing; }
    double GetPresentRatio() const { return m_present; }

private:
    void FinishGroup(uint16_t group, int delivered);

    std::unique_ptr<FecDecoder> m_decoder;
    int m_packetBytes;
    std::vector<uint8_t> m_packet;          // one pulled packet
    std::map<uint16_t, uint64_t> m_arrived; // data packets that arrived, per group
    bool m_haveGroup = false;
    uint16_t m_group = 0;
    int m_delivered = 0;
    double m_missing = 0.0;
    double m_present = 1.0;
};

} // namespace RavoEngine
