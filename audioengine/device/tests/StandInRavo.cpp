// A stand-in Ravo.dll over the fake engine, for driving RavoT.dll under Wine
// where the real engine is not built. Exports the ordinals RavoT binds.
#include <windows.h>

#include "CFakeRavo.h"

using namespace RavoTDevice;

namespace {
const RavoApi& A()
{
    static RavoApi api = CFakeRavo::Api();
    return api;
}
} // namespace

extern "C" {
void* __cdecl R11(const WAVEFORMATEX* f) { return A().SourceGroup_Create(f); }
int __cdecl R12(void* g, uint32_t id) { return A().SourceGroup_SourceIsExist(g, id); }
int __cdecl R13(void* g, uint32_t id) { return A().SourceGroup_AddSource(g, id); }
int __cdecl R14(void* g, uint32_t id) { return A().SourceGroup_RemoveSource(g, id); }
int __cdecl R15(void* g, uint32_t id, uint8_t* p, int n)
{
    return A().SourceGroup_WriteSource(g, id, p, n);
}
void __cdecl R16(void* g, uint32_t id, int v) { A().SourceGroup_SetSourceVolume(g, id, v); }
int __cdecl R17(void* g, uint32_t id) { return A().SourceGroup_GetSourceVolume(g, id); }
int __cdecl R19(void* g, uint32_t id) { return A().SourceGroup_GetSourceEnergy(g, id); }
void __cdecl R20(void* g, uint8_t* p, int n) { A().SourceGroup_WriteLocal(g, p, n); }
int __cdecl R21(void* g, short* b, int n) { return A().SourceGroup_ReadData(g, b, n); }
int __cdecl R22(void* g) { return A().SourceGroup_GetEnergy(g); }
void __cdecl R23(void* g, int on) { A().SourceGroup_EnableCalEnergy(g, on); }
void __cdecl R24(void* g, int on) { A().SourceGroup_EnableLocal(g, on); }
void __cdecl R25(void** g) { A().SourceGroup_Destroy(g); }
int __cdecl R26(void** g, uint32_t id, void* s, char* t)
{
    return A().SourceGroup_GetNetState(g, id, s, t);
}
void* __cdecl R27(uint8_t i, const WAVEFORMATEX* f) { return A().Processer_Create(i, f); }
void __cdecl R28(void* h, int v) { A().Processer_SetDenoise(h, v); }
void __cdecl R29(void* h, int v) { A().Processer_SetAGC(h, v); }
void __cdecl R30(void* h, int v) { A().Processer_EnableSilenceDetect(h, v); }
void __cdecl R31(void* h, int v) { A().Processer_SetFECMode(h, v); }
int __cdecl R32() { return A().GetFECModeCount(); }
void __cdecl R33(void* h, int v) { A().Processer_SetDenoiseChain(h, v); }
int __cdecl R35(void* h) { return A().Processer_GetEnergy(h); }
int __cdecl R36(void* h, AUDIO_STREAM_HEAD* io, uint32_t* o)
{
    return A().Processer_Process(h, io, o);
}
void __cdecl R37(void** h) { A().Processer_Destroy(h); }
int __cdecl R38() { return A().GetEncodeFormatCount(); }
int __cdecl R39(uint8_t i, char* b, unsigned n) { return A().GetEncodeFormatName(i, b, n); }
int __cdecl R40(uint8_t i, WAVEFORMATEX* f) { return A().GetEncodeFormatIn(i, f); }
int __cdecl R41(uint8_t i) { return A().GetEncodeBlockSize(i); }
}
