// The exported functions of SonvexFilter.dll and its DllMain.
#include "SonvexFilter.h"

#include <cstring>
#include <new>

#include "AudioMixer.h"
#include "AudioProcesser.h"
#include "AudioSourceGroup.h"
#include "CLogFile.h"
#include "SonvexLog.h"

using namespace SonvexFilterCore;

namespace {

CLogFile* g_pLog = nullptr;

AudioSourceGroup* Group(SONVEX_HANDLE h) { return static_cast<AudioSourceGroup*>(h); }

AudioProcesser* Processer(SONVEX_HANDLE h) { return static_cast<AudioProcesser*>(h); }

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH] = {};
        DWORD n = GetModuleFileNameA(instance, path, MAX_PATH);
        if (n >= 4 && n + 1 < MAX_PATH)
            strcpy(path + n - 4, ".log");
        g_pLog = new (std::nothrow) CLogFile(CLogFile::LOG_DEBUGGER, 0, path, 0);
        SonvexLog::Install(g_pLog);
        if (g_pLog)
            g_pLog->Write(1, "<DllMain>,Loaded SonvexFilter.dll\n");
    } else if (reason == DLL_PROCESS_DETACH) {
        SonvexLog::Install(nullptr);
        delete g_pLog;
        g_pLog = nullptr;
    }
    return TRUE;
}

extern "C" {

void AUDIO_MIX_16(short* dst, short* src, int count)
{
    AudioCommon::AudioMixer::Mix16(dst, src, count);
}

void AUDIO_MIX_8(unsigned char* dst, unsigned char* src, int count)
{
    AudioCommon::AudioMixer::Mix8(reinterpret_cast<int8_t*>(dst),
                                  reinterpret_cast<const int8_t*>(src), count);
}

SONVEX_HANDLE Sonvex_SourceGroup_Create(int rate)
{
    return new (std::nothrow) AudioSourceGroup(rate);
}

int Sonvex_SourceGroup_SourceIsExist(SONVEX_HANDLE group, DWORD id)
{
    return group ? Group(group)->SourceIsExist(id) : 0;
}

int Sonvex_SourceGroup_AddSource(SONVEX_HANDLE group, DWORD id)
{
    return group ? Group(group)->AddSource(id) : 0;
}

int Sonvex_SourceGroup_RemoveSource(SONVEX_HANDLE group, DWORD id)
{
    return group ? Group(group)->RemoveSource(id) : 0;
}

int Sonvex_SourceGroup_WriteSource(SONVEX_HANDLE group, DWORD id, DWORD sequence,
                                   unsigned char* packet, unsigned int length)
{
    return group ? Group(group)->WriteSource(id, sequence, packet, length) : 0;
}

int Sonvex_SourceGroup_SetSourceVolume(SONVEX_HANDLE group, DWORD id, int volume)
{
    return group ? Group(group)->SetSourceVolume(id, volume) : 0;
}

int Sonvex_SourceGroup_GetSourceVolume(SONVEX_HANDLE group, DWORD id)
{
    return group ? Group(group)->GetSourceVolume(id) : 0;
}

int Sonvex_SourceGroup_EnableSourceCalEnergy(SONVEX_HANDLE group, DWORD id, int on)
{
    return group ? Group(group)->EnableSourceCalEnergy(id, on) : 0;
}

int Sonvex_SourceGroup_GetSourceEnergy(SONVEX_HANDLE group, DWORD id)
{
    return group ? Group(group)->GetSourceEnergy(id) : 0;
}

unsigned int Sonvex_SourceGroup_ReadData(SONVEX_HANDLE group, unsigned char* buffer,
                                         unsigned int length)
{
    return group ? Group(group)->ReadData(buffer, length) : 0;
}

int Sonvex_SourceGroup_GetEnergy(SONVEX_HANDLE group)
{
    return group ? Group(group)->GetEnergy() : 0;
}

int Sonvex_SourceGroup_EnableCalEnergy(SONVEX_HANDLE group, int on)
{
    if (!group)
        return 0;
    Group(group)->EnableCalEnergy(on);
    return 1;
}

int Sonvex_SourceGroup_EnableLocal(SONVEX_HANDLE group, int on)
{
    if (!group)
        return 0;
    Group(group)->EnableLocal(on);
    return 1;
}

void Sonvex_SourceGroup_Destroy(SONVEX_HANDLE* group)
{
    if (!group || !*group)
        return;
    delete Group(*group);
    *group = nullptr;
}

int Sonvex_SourceGroup_GetNetState(SONVEX_HANDLE* group, DWORD id, FEC_NET_STATE* state, char* text)
{
    if (!group || !*group)
        return 0;
    return Group(*group)->GetNetState(id, state, text);
}

SONVEX_HANDLE Sonvex_Processer_Create(WAVEFORMATEX* capture)
{
    return new (std::nothrow) AudioProcesser(capture);
}

int Sonvex_Processer_SetParam(SONVEX_HANDLE processer, int id, void* value)
{
    if (!processer || !value)
        return 0;
    return Processer(processer)->SetParam(id, *static_cast<int*>(value));
}

int Sonvex_Processer_GetParam(SONVEX_HANDLE processer, int id, void* value)
{
    if (!processer || !value)
        return 0;
    return Processer(processer)->GetParam(id, static_cast<int*>(value));
}

int Sonvex_Processer_Process(SONVEX_HANDLE processer, AUDIO_STREAM_HEAD* head)
{
    if (!processer || !head)
        return 0;
    return Processer(processer)->Process(head);
}

void Sonvex_Processer_Destroy(SONVEX_HANDLE* processer)
{
    if (!processer || !*processer)
        return;
    delete Processer(*processer);
    *processer = nullptr;
}

int Sonvex_GetEncodeFormatCount() { return ENCODE_FORMAT_COUNT; }

int Sonvex_GetEncodeFormatName(unsigned char row, unsigned char* id, char* buffer,
                               unsigned int size)
{
    if (row >= ENCODE_FORMAT_COUNT)
        return 0;
    if (id)
        *id = EncodeFormatTable[row].id;
    const char* name = EncodeFormatTable[row].name;
    size_t length = strlen(name);
    if (!buffer || length >= size)
        return 0;
    memcpy(buffer, name, length + 1);
    return static_cast<int>(length);
}

int Sonvex_GetEncodeFormatIn(unsigned char row, WAVEFORMATEX* format)
{
    if (row >= ENCODE_FORMAT_COUNT || !format)
        return 0;
    FillPcmFormat(EncodeFormatTable[row], format);
    return 1;
}

int Sonvex_GetEncodeBlockSize(unsigned char row)
{
    return row < ENCODE_FORMAT_COUNT ? static_cast<int>(EncodeFormatTable[row].blockBytes) : 0;
}

} // extern "C"
