#include "CFrameRecorder.h"

#include "MediaFunctionList.h"
#include "afx.h"

namespace {
typedef int(__cdecl* PFN_RV_StartRecord)(const char* path, const char* text);
typedef int(__cdecl* PFN_RV_NoArgs)();
typedef int(__cdecl* PFN_RV_GetErrorMsg)(CString& out);
typedef int(__cdecl* PFN_RV_WriteAudioData)(const void* data, int length, uint32_t extra);
typedef int(__cdecl* PFN_RV_WriteChatData)(const char* text, uint32_t kind);
typedef int(__cdecl* PFN_RV_WriteBoardData)(const void* data, int length);
typedef int(__cdecl* PFN_RV_UserId)(uint32_t userId);
typedef int(__cdecl* PFN_RV_Byte)(uint8_t value);

template <class T>
T Bound(int index)
{
    return g_MediaFunctions.Get<T>(index);
}

void CallByte(int index, uint8_t value)
{
    if (PFN_RV_Byte f = Bound<PFN_RV_Byte>(index))
        f(value);
}
} // namespace

bool CFrameRecorder::StartRecord(const char* path)
{
    PFN_RV_StartRecord start = Bound<PFN_RV_StartRecord>(MF_RV_StartRecord);
    return start && start(path ? path : "", "") != 0;
}

void CFrameRecorder::StopRecord()
{
    if (PFN_RV_NoArgs stop = Bound<PFN_RV_NoArgs>(MF_RV_StopRecord))
        stop();
}

std::string CFrameRecorder::GetErrorMsg()
{
    CString text;
    if (PFN_RV_GetErrorMsg get = Bound<PFN_RV_GetErrorMsg>(MF_RV_GetErrorMsg))
        get(text);
    return std::string((LPCSTR)text);
}

void CFrameRecorder::WriteAudioData(const void* data, unsigned long length, unsigned long extra)
{
    if (PFN_RV_WriteAudioData f = Bound<PFN_RV_WriteAudioData>(MF_RV_WriteAudioData))
        f(data, (int)length, (uint32_t)extra);
}

void CFrameRecorder::WriteChatData(const char* text, uint32_t kind)
{
    if (PFN_RV_WriteChatData f = Bound<PFN_RV_WriteChatData>(MF_RV_WriteChatData))
        f(text ? text : "", kind);
}

void CFrameRecorder::WriteBoardData(const void* data, unsigned long length)
{
    if (PFN_RV_WriteBoardData f = Bound<PFN_RV_WriteBoardData>(MF_RV_WriteBoardData))
        f(data, (int)length);
}

void CFrameRecorder::AddAudio(uint32_t userId)
{
    if (PFN_RV_UserId f = Bound<PFN_RV_UserId>(MF_RV_AddAudio))
        f(userId);
}

void CFrameRecorder::DelAudio(uint32_t userId)
{
    if (PFN_RV_UserId f = Bound<PFN_RV_UserId>(MF_RV_DelAudio))
        f(userId);
}

void CFrameRecorder::ShowVideoWnd(uint8_t show) { CallByte(MF_RV_ShowVideoWnd, show); }
void CFrameRecorder::ShowBoardWnd(uint8_t show) { CallByte(MF_RV_ShowBoardWnd, show); }
void CFrameRecorder::ShowChatWnd(uint8_t show) { CallByte(MF_RV_ShowChatWnd, show); }
void CFrameRecorder::SplitVideoWnd(uint8_t count) { CallByte(MF_RV_SplitVideoWnd, count); }

void CFrameRecorder::SetAudioRecord(bool on, AUDIO_RECORD_CALLBACK callback, void* context)
{
    if (PFN_AUDIO_MGR_SetRecord f = Bound<PFN_AUDIO_MGR_SetRecord>(MF_AUDIO_MGR_SetRecord))
        f(on ? 1 : 0, callback, context);
}
