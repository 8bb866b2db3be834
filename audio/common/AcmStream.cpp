#include "AcmStream.h"

#include <cstring>

namespace AudioCommon {

AcmStream::~AcmStream() { Close(); }

bool AcmStream::Open(const WAVEFORMATEX* source, const WAVEFORMATEX* target)
{
    Close();
    if (!source || !target)
        return false;
    HACMSTREAM stream = nullptr;
    MMRESULT rc = acmStreamOpen(&stream, nullptr, const_cast<WAVEFORMATEX*>(source),
                                const_cast<WAVEFORMATEX*>(target), nullptr, 0, 0, 0);
    if (rc != 0 || !stream)
        return false;
    m_stream = stream;
    return true;
}

void AcmStream::Close()
{
    if (m_stream) {
        acmStreamClose(m_stream, 0);
        m_stream = nullptr;
    }
}

uint32_t AcmStream::Convert(const void* source, uint32_t sourceBytes, void* target,
                            uint32_t targetBytes)
{
    uint32_t sourceUsed = 0, targetUsed = 0;
    if (Convert(source, sourceBytes, target, targetBytes, sourceUsed, targetUsed) != CONVERTED)
        return 0;
    return targetUsed;
}

AcmStream::Result AcmStream::Convert(const void* source, uint32_t sourceBytes, void* target,
                                     uint32_t targetBytes, uint32_t& sourceUsed,
                                     uint32_t& targetUsed)
{
    sourceUsed = targetUsed = 0;
    if (!m_stream || !source || !target || !sourceBytes || !targetBytes)
        return PREPARE_FAILED;
    ACMSTREAMHEADER header;
    static_assert(sizeof(ACMSTREAMHEADER) == 84, "ACMSTREAMHEADER is 84 bytes");
    memset(&header, 0, sizeof header);
    header.cbStruct = sizeof header;
    header.pbSrc = static_cast<LPBYTE>(const_cast<void*>(source));
    header.cbSrcLength = sourceBytes;
    header.pbDst = static_cast<LPBYTE>(target);
    header.cbDstLength = targetBytes;
    if (acmStreamPrepareHeader(m_stream, &header, 0) != 0)
        return PREPARE_FAILED;
    MMRESULT rc = acmStreamConvert(m_stream, &header, 0);
    acmStreamUnprepareHeader(m_stream, &header, 0);
    if (rc != 0)
        return CONVERT_FAILED;
    sourceUsed = header.cbSrcLengthUsed;
    targetUsed = header.cbDstLengthUsed;
    return CONVERTED;
}

uint32_t AcmStream::SourceBytesFor(uint32_t targetBytes) const
{
    DWORD out = 0;
    if (!m_stream || acmStreamSize(m_stream, targetBytes, &out, ACM_STREAMSIZEF_DESTINATION) != 0)
        return 0;
    return out;
}

uint32_t AcmStream::TargetBytesFor(uint32_t sourceBytes) const
{
    DWORD out = 0;
    if (!m_stream || acmStreamSize(m_stream, sourceBytes, &out, ACM_STREAMSIZEF_SOURCE) != 0)
        return 0;
    return out;
}

} // namespace AudioCommon
