#pragma once
#include <cstdint>

namespace SonvexDevice {

// One 16-bit mono PCM block as it travels between device, manager, echo
// canceller and caller. Blocks are handed on by swapping pointers, never by
// copying: whoever receives a block gives a block of the same size back.
class CAudioBlock
{
public:
    enum Kind { KIND_NONE = -1, KIND_FAR = 0, KIND_NEAR = 1 };

    // The PCM buffer is allocated with the given length in bytes and zeroed.
    explicit CAudioBlock(uint32_t length);
    virtual ~CAudioBlock();

    CAudioBlock(const CAudioBlock&) = delete;
    CAudioBlock& operator=(const CAudioBlock&) = delete;

    int16_t* Samples() { return reinterpret_cast<int16_t*>(m_data); }
    const int16_t* Samples() const { return reinterpret_cast<const int16_t*>(m_data); }
    int SampleCount() const { return static_cast<int>(m_length / 2); }

    // Marks the block as handed over by a device.
    void Stamp(int32_t kind, uint32_t sequence, uint32_t timeStamp);

    uint32_t m_sequence = 0;
    uint32_t m_timeStamp = 0;
    int32_t m_voice = 0; // -1 handed over, then 1 voice / 0 none
    int32_t m_kind = KIND_NONE;
    uint8_t* m_data = nullptr;
    uint32_t m_length = 0;
};

} // namespace SonvexDevice
