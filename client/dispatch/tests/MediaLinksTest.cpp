#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "CAudioSourcesLink.h"
#include "CRecorderLink.h"
#include "CVideoLibraryLink.h"
#include "MediaFunctionList.h"

namespace {

std::string g_calls;

void Note(const std::string& call) { g_calls += call + ";"; }
int __cdecl StartSend(uint32_t id, const char* address, int port)
{
    Note("StartSend(" + std::to_string(id) + "," + address + "," + std::to_string(port) + ")");
    return 1;
}
void __cdecl StopSend() { Note("StopSend()"); }
void __cdecl SetWidth(int a, int b)
{
    Note("SetVideoWidth(" + std::to_string(a) + "," + std::to_string(b) + ")");
}
int AddSource(unsigned long id)
{
    Note("AddSource(" + std::to_string(id) + ")");
    return 1;
}
int DelSource(unsigned long id)
{
    Note("DelSource(" + std::to_string(id) + ")");
    return 1;
}
int __cdecl Chat(const char* text, uint32_t kind)
{
    Note(std::string("Chat(") + text + "," + std::to_string(kind) + ")");
    return 1;
}
int __cdecl Board(const void*, uint32_t n)
{
    Note("Board(" + std::to_string(n) + ")");
    return 1;
}
int __cdecl AddAudio(uint32_t id)
{
    Note("AddAudio(" + std::to_string(id) + ")");
    return 1;
}

template <class F>
void Bind(int index, F f)
{
    g_MediaFunctions.entries[index] = reinterpret_cast<FARPROC>(f);
}

} // namespace

// The links call the bound functions with the dispatcher's arguments and leave
// out an entry that is not bound.
TEST(MediaLinksTest, ForwardToTheBoundFunctionsAndSkipMissingOnes)
{
    g_MediaFunctions = MEDIA_FUNCTIONS();
    g_calls.clear();
    CVideoLibraryLink video;
    CAudioSourcesLink audio;
    volatile uint32_t recording = 0;
    CRecorderLink recorder(&recording);
    video.StartSend(7, "10.0.0.5", 7200);
    audio.AddSource(3);
    recorder.AddAudio(3);
    EXPECT_EQ(g_calls, "");

    Bind(MF_T_S_StartSend, StartSend);
    Bind(MF_T_S_StopSend, StopSend);
    Bind(MF_T_S_SetVideoWidth, SetWidth);
    Bind(MF_AUDIO_MGR_AddSource, AddSource);
    Bind(MF_AUDIO_MGR_DelSource, DelSource);
    Bind(MF_RV_WriteChatData, Chat);
    Bind(MF_RV_WriteBoardData, Board);
    Bind(MF_RV_AddAudio, AddAudio);
    video.StartSend(7, "10.0.0.5", 7200);
    video.StopSend();
    video.SetVideoWidth(176, 352);
    audio.AddSource(3);
    audio.DelSource(4);
    EXPECT_FALSE(recorder.IsRecording());
    recording = 1;
    EXPECT_TRUE(recorder.IsRecording());
    recorder.WriteChatData("bob", 1);
    recorder.WriteBoardData("abc", 3);
    recorder.AddAudio(5);
    recorder.DelAudio(5); // not bound
    EXPECT_EQ(g_calls, "StartSend(7,10.0.0.5,7200);StopSend();SetVideoWidth(176,352);AddSource(3);"
                       "DelSource(4);Chat(bob,1);Board(3);AddAudio(5);");
    g_MediaFunctions = MEDIA_FUNCTIONS();
}
