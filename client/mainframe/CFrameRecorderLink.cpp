#include "CFrameRecorderLink.h"

#include "IFrameRecorder.h"

void CFrameRecorderLink::WriteChatData(const char* text, uint32_t kind)
{
    if (IsRecording() && text)
        m_recorder->WriteChatData(text, kind);
}

void CFrameRecorderLink::WriteBoardData(const void* data, size_t length)
{
    if (IsRecording() && data && length > 0)
        m_recorder->WriteBoardData(data, (unsigned long)length);
}

void CFrameRecorderLink::AddAudio(uint32_t userId)
{
    if (IsRecording())
        m_recorder->AddAudio(userId);
}

void CFrameRecorderLink::DelAudio(uint32_t userId)
{
    if (IsRecording())
        m_recorder->DelAudio(userId);
}
