#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstdint>

namespace AudioCommon {

// One stream of the platform's Audio Compression Manager between two formats
// (no driver chosen, no filter, no callback, no flags), for every audio
// library that converts through it.
class AcmStream
{
public:
    AcmStream() = default;
    ~AcmStream();

    AcmStream(const AcmStream&) = delete;
    AcmStream& operator=(const AcmStream&) = delete;

    bool Open(const WAVEFORMATEX* source, const WAVEFORMATEX* target);
    void Close();
    bool IsOpen() const { return m_stream != nullptr; }

    // One conversion; the destination bytes used, 0 on failure.
    uint32_t Convert(const void* source, uint32_t sourceBytes, void* target, uint32_t targetBytes);
    // The same, telling which step failed and the source bytes used too.
    enum Result { CONVERTED, PREPARE_FAILED, CONVERT_FAILED };
    Result Convert(const void* source, uint32_t sourceBytes, void* target, uint32_t targetBytes,
                   uint32_t& sourceUsed, uint32_t& targetUsed);

    // Source bytes needed for targetBytes of output (destination query), or
    // the target bytes that sourceBytes give (source query); 0 on failure.
    uint32_t SourceBytesFor(uint32_t targetBytes) const;
    uint32_t TargetBytesFor(uint32_t sourceBytes) const;

private:
    HACMSTREAM m_stream = nullptr;
};

} // namespace AudioCommon
