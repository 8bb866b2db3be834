#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

namespace RavoTDevice {

class ApaEchoState;
class CAudioConvert;
class NlmsEchoState;

// Removes the echo of the played audio from the captured audio. Played
// blocks go into a one-second ring; captured blocks are matched with the
// played bytes by count and rewritten in place by the chosen algorithm:
// 1 NLMS, 2 affine projection, 3 to 5 NLMS with one state for the whole
// library and a double-talk threshold of 0.25, 0.85 or 1.5. Any other mode
// keeps the ring and the alignment and changes no sample.
class CAecFilter
{
public:
    CAecFilter();
    virtual ~CAecFilter();

    CAecFilter(const CAecFilter&) = delete;
    CAecFilter& operator=(const CAecFilter&) = delete;

    int Init(int mode, const WAVEFORMATEX* micFormat, const WAVEFORMATEX* speakerFormat);
    void ProcessSpeekData(const uint8_t* data, uint32_t length);
    void ProcessMicData(uint8_t* samples, uint32_t length);

    int GetMode() const { return m_mode; }
    bool IsInitialised() const { return m_initialised != 0; }
    uint32_t GetSpeakerBytes() const { return m_speakerBytes; }
    uint32_t GetMicBytes() const { return m_micBytes; }

private:
    void Release();

    NlmsEchoState* m_nlms = nullptr;
    void* m_sharedMarker = nullptr;
    ApaEchoState* m_apa = nullptr;
    int m_mode = 0;
    int m_initialised = 0;
    uint32_t m_intervalBytes = 0;
    uint8_t* m_convertBuf = nullptr;
    uint32_t m_convertBufSize = 0;
    uint8_t* m_ring = nullptr;
    uint32_t m_ringSize = 0;
    uint32_t m_writePos = 0;
    uint32_t m_readPos = 0;
    uint32_t m_speakerBytes = 0;
    uint32_t m_micBytes = 0;
    WAVEFORMATEX m_micFormat;
    WAVEFORMATEX m_speakerFormat;
    CAudioConvert* m_converter = nullptr;
    LARGE_INTEGER m_frequency;
};

} // namespace RavoTDevice
