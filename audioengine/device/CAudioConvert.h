#pragma once
#include <windows.h>
#include <mmreg.h>
#include <msacm.h>

#include "AcmStream.h"
#include "RavoApi.h"

namespace RavoTDevice {

// Converts PCM between two formats through an ACM stream. Where the system
// offers no stream for a plain 16-bit mono rate change by a whole factor
// (2:1, 1:2, ...), a built-in converter does it: averaging down, linear
// interpolation up.
class CAudioConvert
{
public:
    CAudioConvert();
    virtual ~CAudioConvert();

    CAudioConvert(const CAudioConvert&) = delete;
    CAudioConvert& operator=(const CAudioConvert&) = delete;

    int Open(const WAVEFORMATEX* source, const WAVEFORMATEX* target);
    void Close();
    // In: input/inputLength, output/outputCapacity; out: outputLength. 1 on success.
    int Convert(AUDIO_STREAM_HEAD* io);

    bool IsOpen() const { return m_stream.IsOpen() || m_factor != 0; }
    bool UsesSystemStream() const { return m_stream.IsOpen(); }

private:
    int ConvertBuiltIn(AUDIO_STREAM_HEAD* io);

    AudioCommon::AcmStream m_stream;
    // Built-in converter: >1 downsampling by that factor, <-1 upsampling.
    int m_factor = 0;
    short m_lastSample = 0;
};

} // namespace RavoTDevice
