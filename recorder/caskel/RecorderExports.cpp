// The recorder's exported functions, bound by name by the clients. Each one
// forwards to the library's one CRecorder.
#include <windows.h>

#include <cstdint>

#include "CaskelRecorder.h"
#include "CRecorder.h"

#define CASKEL_EXPORT extern "C" __cdecl

CASKEL_EXPORT int RvStartRecord(const char* path, const char* text)
{
    return CaskelRecorder().StartRecord(path, text);
}

CASKEL_EXPORT int RvWriteAudioData(const void* packet, int length, uint32_t sourceId)
{
    return CaskelRecorder().WriteAudioData(packet, length, sourceId);
}

CASKEL_EXPORT int RvWriteVideoData(const void* frame, int length, uint32_t videoId)
{
    return CaskelRecorder().WriteVideoData(frame, length, videoId);
}

CASKEL_EXPORT int RvWriteBoardData(const void* data, int length)
{
    return CaskelRecorder().WriteBoardData(data, length);
}

CASKEL_EXPORT int RvWriteFile(const char* path, uint32_t key1, uint32_t key2)
{
    return CaskelRecorder().WriteFile(path, key1, key2);
}

CASKEL_EXPORT int RvWriteCommadnData(const void* data, int length)
{
    return CaskelRecorder().WriteCommandData(data, length);
}

CASKEL_EXPORT int RvWriteChatData(const char* text, uint32_t kind)
{
    return CaskelRecorder().WriteChatData(text, kind);
}

CASKEL_EXPORT int RvStopRecord() { return CaskelRecorder().StopRecord(); }

CASKEL_EXPORT int RvAddVideo(uint32_t videoId) { return CaskelRecorder().AddVideo(videoId); }

CASKEL_EXPORT int RvDelVideo(uint32_t videoId) { return CaskelRecorder().DelVideo(videoId); }

CASKEL_EXPORT int RvFloatVideo(uint32_t videoId) { return CaskelRecorder().FloatVideo(videoId); }

CASKEL_EXPORT int RvFullVideo(uint32_t videoId, uint8_t flag)
{
    return CaskelRecorder().FullVideo(videoId, flag);
}

CASKEL_EXPORT int RvMainVideo(uint32_t videoId) { return CaskelRecorder().MainVideo(videoId); }

CASKEL_EXPORT int RvLastVideo(uint32_t videoId) { return CaskelRecorder().LastVideo(videoId); }

CASKEL_EXPORT int RvSwapVideo(uint32_t videoId1, uint32_t videoId2)
{
    return CaskelRecorder().SwapVideo(videoId1, videoId2);
}

CASKEL_EXPORT int RvShowVideoWnd(uint8_t show) { return CaskelRecorder().ShowVideoWnd(show); }

CASKEL_EXPORT int RvShowBoardWnd(uint8_t show) { return CaskelRecorder().ShowBoardWnd(show); }

CASKEL_EXPORT int RvShowChatWnd(uint8_t show) { return CaskelRecorder().ShowChatWnd(show); }

CASKEL_EXPORT int RvSplitVideoWnd(uint8_t mode) { return CaskelRecorder().SplitVideoWnd(mode); }

CASKEL_EXPORT void RvResetError() { CaskelRecorder().ResetError(); }

CASKEL_EXPORT int RvAddAudio(uint32_t sourceId) { return CaskelRecorder().AddAudio(sourceId); }

CASKEL_EXPORT int RvDelAudio(uint32_t sourceId) { return CaskelRecorder().DelAudio(sourceId); }
