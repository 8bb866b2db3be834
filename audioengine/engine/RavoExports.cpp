// The library's exported functions, reached by ordinal only (Ravo.def).
#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <new>

#include "AudioMixer.h"
#include "AudioProcesser.h"
#include "AudioSource.h"
#include "AudioSourceGroup.h"
#include "CCrashReport.h"
#include "FecTrace.h"
#include "RavoTables.h"
#include "RavoTypes.h"

using namespace RavoEngine;

typedef AudioSource* SOURCE;
typedef AudioSourceGroup* GROUP;
typedef AudioProcesser* PROCESSER;

extern "C" {

void __cdecl RavoMix16(short* dst, const short* src, int count)
{
    AudioCommon::AudioMixer::Mix16(dst, src, count);
}

void __cdecl RavoMix8(char* dst, const char* src, int count)
{
    AudioCommon::AudioMixer::Mix8(reinterpret_cast<int8_t*>(dst),
                                  reinterpret_cast<const int8_t*>(src), count);
}

void* __cdecl RavoSourceCreate(const WAVEFORMATEX* format, int local)
{
    if (!format)
        return nullptr;
    return new (std::nothrow) AudioSource(*format, local == 1);
}

void __cdecl RavoSourceWriteData(void* handle, unsigned char* packet, int length)
{
    if (handle)
        static_cast<SOURCE>(handle)->Insert(packet, length);
}

int __cdecl RavoSourceReadData(void* handle, char* pcm, int length)
{
    if (!handle)
        return 0;
    return static_cast<SOURCE>(handle)->Read(reinterpret_cast<uint8_t*>(pcm), length);
}

void __cdecl RavoSourceSetVolume(void* handle, int volume)
{
    if (handle)
        static_cast<SOURCE>(handle)->SetVolume(volume);
}

int __cdecl RavoSourceGetVolume(void* handle)
{
    return handle ? static_cast<SOURCE>(handle)->GetVolume() : 0;
}

void __cdecl RavoSourceEnableCalEnergy(void* handle, int on)
{
    if (handle)
        static_cast<SOURCE>(handle)->EnableCalEnergy(on != 0);
}

int __cdecl RavoSourceGetEnergy(void* handle)
{
    return handle ? static_cast<SOURCE>(handle)->GetEnergy() : 0;
}

void __cdecl RavoSourceDestroy(void** handle)
{
    if (!handle || !*handle)
        return;
    SOURCE source = static_cast<SOURCE>(*handle);
    source->Close();
    delete source;
    *handle = nullptr;
}

void* __cdecl RavoGroupCreate(const WAVEFORMATEX* format)
{
    if (!format)
        return nullptr;
    return new (std::nothrow) AudioSourceGroup(*format);
}

int __cdecl RavoGroupSourceIsExist(void* group, uint32_t id)
{
    return group && static_cast<GROUP>(group)->SourceExists(id) ? 1 : 0;
}

int __cdecl RavoGroupAddSource(void* group, uint32_t id)
{
    return group && static_cast<GROUP>(group)->AddSource(id) ? 1 : 0;
}

int __cdecl RavoGroupRemoveSource(void* group, uint32_t id)
{
    return group && static_cast<GROUP>(group)->RemoveSource(id) ? 1 : 0;
}

int __cdecl RavoGroupWriteSource(void* group, uint32_t id, unsigned char* packet, int length)
{
    return group && static_cast<GROUP>(group)->WriteSource(id, packet, length) ? 1 : 0;
}

void __cdecl RavoGroupSetSourceVolume(void* group, uint32_t id, int volume)
{
    if (group)
        static_cast<GROUP>(group)->SetSourceVolume(id, volume);
}

int __cdecl RavoGroupGetSourceVolume(void* group, uint32_t id)
{
    return group ? static_cast<GROUP>(group)->GetSourceVolume(id) : 0;
}

void __cdecl RavoGroupEnableSourceCalEnergy(void* group, uint32_t id, int on)
{
    if (group)
        static_cast<GROUP>(group)->EnableSourceCalEnergy(id, on != 0);
}

int __cdecl RavoGroupGetSourceEnergy(void* group, uint32_t id)
{
    return group ? static_cast<GROUP>(group)->GetSourceEnergy(id) : 0;
}

void __cdecl RavoGroupWriteLocal(void* group, unsigned char* packet, int length)
{
    if (group)
        static_cast<GROUP>(group)->WriteLocal(packet, length);
}

int __cdecl RavoGroupReadData(void* group, short* buffer, int length)
{
    if (!group)
        return 0;
    return static_cast<GROUP>(group)->ReadData(reinterpret_cast<uint8_t*>(buffer), length);
}

int __cdecl RavoGroupGetEnergy(void* group)
{
    return group ? static_cast<GROUP>(group)->GetEnergy() : 0;
}

void __cdecl RavoGroupEnableCalEnergy(void* group, int on)
{
    if (group)
        static_cast<GROUP>(group)->EnableCalEnergy(on != 0);
}

void __cdecl RavoGroupEnableLocal(void* group, int on)
{
    if (group)
        static_cast<GROUP>(group)->EnableLocal(on != 0);
}

void __cdecl RavoGroupDestroy(void** group)
{
    if (!group || !*group)
        return;
    GROUP g = static_cast<GROUP>(*group);
    g->Close();
    delete g;
    *group = nullptr;
}

// Takes the address of the caller's handle variable. The text buffer, when
// given, must hold NET_STATE_TEXT_MIN (256) bytes; no more are written.
int __cdecl RavoGroupGetNetState(void** group, uint32_t id, FEC_NET_STATE* out, char* text)
{
    if (!group || !*group || !out)
        return 0;
    return static_cast<GROUP>(*group)->GetNetState(id, out, text, text ? NET_STATE_TEXT_MIN : 0);
}

void* __cdecl RavoProcesserCreate(unsigned char row, const WAVEFORMATEX* input)
{
    AudioProcesser* p = new (std::nothrow) AudioProcesser();
    if (!p)
        return nullptr;
    if (!p->Create(row, input)) {
        delete p;
        return nullptr;
    }
    return p;
}

void __cdecl RavoProcesserSetDenoise(void* handle, int mode)
{
    if (handle)
        static_cast<PROCESSER>(handle)->SetDenoise(mode);
}

void __cdecl RavoProcesserSetAGC(void* handle, int mode)
{
    if (handle)
        static_cast<PROCESSER>(handle)->SetAGC(mode);
}

void __cdecl RavoProcesserEnableSilenceDetect(void* handle, int on)
{
    if (handle)
        static_cast<PROCESSER>(handle)->EnableSilenceDetect(on != 0);
}

void __cdecl RavoProcesserSetFECMode(void* handle, int mode)
{
    if (handle)
        static_cast<PROCESSER>(handle)->SetFECMode(mode);
}

int __cdecl RavoGetFECModeCount() { return FEC_MODE_COUNT; }

void __cdecl RavoProcesserSetDenoiseChain(void* handle, int order)
{
    if (handle)
        static_cast<PROCESSER>(handle)->SetDenoiseChain(order);
}

void __cdecl RavoProcesserEnableCalEnergy(void* handle, int on)
{
    if (handle)
        static_cast<PROCESSER>(handle)->EnableCalEnergy(on != 0);
}

int __cdecl RavoProcesserGetEnergy(void* handle)
{
    return handle ? static_cast<PROCESSER>(handle)->GetEnergy() : 0;
}

int __cdecl RavoProcesserProcess(void* handle, AUDIO_STREAM_HEAD* io, uint32_t* out)
{
    if (out)
        *out = 0;
    if (!handle)
        return 0;
    return static_cast<PROCESSER>(handle)->Process(io, out);
}

void __cdecl RavoProcesserDestroy(void** handle)
{
    if (!handle || !*handle)
        return;
    PROCESSER p = static_cast<PROCESSER>(*handle);
    p->Destroy();
    delete p;
    *handle = nullptr;
}

unsigned char __cdecl RavoGetEncodeFormatCount() { return ENCODE_FORMAT_COUNT; }

int __cdecl RavoGetEncodeFormatName(unsigned char index, char* buffer, unsigned int size)
{
    if (index >= ENCODE_FORMAT_COUNT || !buffer)
        return 0;
    const size_t length = strlen(EncodeFormatTable[index].name);
    if (size <= length)
        return 0;
    memcpy(buffer, EncodeFormatTable[index].name, length + 1);
    return static_cast<int>(length);
}

int __cdecl RavoGetEncodeFormatIn(unsigned char index, WAVEFORMATEX* out)
{
    if (index > 4 || !out)
        return 0;
    return RavoTables::GetPcmFormat(index, out) ? 1 : 0;
}

int __cdecl RavoGetEncodeBlockSize(unsigned char index)
{
    if (index >= ENCODE_FORMAT_COUNT)
        return 0;
    return static_cast<int>(EncodeFormatTable[index].blockBytes);
}

} // extern "C"

namespace {
CCrashReport* g_crashReport = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_crashReport = new (std::nothrow) CCrashReport();
    } else if (reason == DLL_PROCESS_DETACH) {
        delete g_crashReport;
        g_crashReport = nullptr;
        FecTrace::Close();
    }
    return TRUE;
}
