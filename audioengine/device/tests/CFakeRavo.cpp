#include "CFakeRavo.h"

#include <cstring>

using namespace RavoTDevice;

namespace {
CFakeRavo& F() { return CFakeRavo::Get(); }
int g_groupToken, g_processerToken;

// Row table of the fake: index 0-2 at 8 kHz (480-byte blocks), 3-4 at 16 kHz.
int __cdecl FormatIn(uint8_t index, WAVEFORMATEX* out)
{
    if (index > 4 || !out)
        return 0;
    memset(out, 0, sizeof(*out));
    out->wFormatTag = WAVE_FORMAT_PCM;
    out->nChannels = 1;
    out->nSamplesPerSec = index >= 3 ? 16000 : 8000;
    out->nBlockAlign = 2;
    out->wBitsPerSample = 16;
    out->nAvgBytesPerSec = out->nSamplesPerSec * 2;
    return 1;
}
int __cdecl BlockSize(uint8_t index) { return index > 4 ? 0 : (index >= 3 ? 640 : 480); }
int __cdecl FormatCount() { return 5; }
int __cdecl FormatName(uint8_t index, char* buffer, unsigned size)
{
    static const char* names[] = {"G.723.1,6.4 kbps", "G.723.1,5.3 kbps", "CCITT A-Law,64 kbps",
                                  "G7221,24 kbps", "G7221,32 kbps"};
    if (index > 4 || !buffer)
        return 0;
    unsigned n = static_cast<unsigned>(strlen(names[index]));
    if (size <= n)
        return 0;
    memcpy(buffer, names[index], n + 1);
    return static_cast<int>(n);
}
int __cdecl FecCount() { return 5; }

void* __cdecl GroupCreate(const WAVEFORMATEX*)
{
    std::lock_guard<std::mutex> l(F().lock);
    ++F().groupsCreated;
    F().group = &g_groupToken;
    return F().group;
}
int __cdecl IsExist(void*, uint32_t id)
{
    std::lock_guard<std::mutex> l(F().lock);
    return F().sources.count(id) ? 1 : 0;
}
int __cdecl Add(void*, uint32_t id)
{
    std::lock_guard<std::mutex> l(F().lock);
    return F().sources.insert(id).second ? 1 : 0;
}
int __cdecl Remove(void*, uint32_t id)
{
    std::lock_guard<std::mutex> l(F().lock);
    return F().sources.erase(id) ? 1 : 0;
}
int __cdecl Write(void*, uint32_t id, uint8_t*, int length)
{
    std::lock_guard<std::mutex> l(F().lock);
    return F().sources.count(id) && length > 5 ? 1 : 0;
}
void __cdecl SetVolume(void*, uint32_t, int) {}
int __cdecl GetVolume(void*, uint32_t id)
{
    std::lock_guard<std::mutex> l(F().lock);
    return F().sources.count(id) ? 80 : 0;
}
int __cdecl SourceEnergy(void*, uint32_t) { return 7; }
void __cdecl WriteLocal(void*, uint8_t* packet, int length)
{
    std::lock_guard<std::mutex> l(F().lock);
    F().localPackets.emplace_back(packet, packet + length);
}
int __cdecl ReadData(void*, short* buffer, int length)
{
    std::lock_guard<std::mutex> l(F().lock);
    ++F().reads;
    int n = F().readBytes < 0 ? length : (F().readBytes < length ? F().readBytes : length);
    for (int i = 0; i < n / 2; ++i)
        buffer[i] = F().mixSample;
    return n;
}
int __cdecl GroupEnergy(void*) { return 42; }
void __cdecl CalEnergy(void*, int on) { F().calEnergy = on; }
void __cdecl EnableLocal(void*, int on) { F().enableLocal = on; }
void __cdecl GroupDestroy(void** group)
{
    std::lock_guard<std::mutex> l(F().lock);
    if (group && *group) {
        ++F().groupsDestroyed;
        *group = nullptr;
    }
}
int __cdecl NetState(void** group, uint32_t id, void* state, char*)
{
    if (!group || !*group || !state)
        return 0;
    std::lock_guard<std::mutex> l(F().lock);
    return F().sources.count(id) ? 1 : 0;
}
void* __cdecl ProcCreate(uint8_t index, const WAVEFORMATEX* format)
{
    std::lock_guard<std::mutex> l(F().lock);
    if (F().refuseProcesser || index > 4)
        return nullptr;
    ++F().processersCreated;
    F().lastFormatIndex = index;
    F().lastProcesserFormat = *format;
    F().sequence = 0;
    return &g_processerToken;
}
void __cdecl SetDenoise(void* h, int v)
{
    if (h)
        F().denoise = v;
}
void __cdecl SetAgc(void* h, int v)
{
    if (h)
        F().agc = v;
}
void __cdecl SetSilence(void* h, int v)
{
    if (h)
        F().silenceDetect = v;
}
void __cdecl SetFec(void* h, int v)
{
    if (h)
        F().fecMode = v;
}
void __cdecl SetChain(void* h, int v)
{
    if (h)
        F().denoiseChain = v;
}
int __cdecl ProcEnergy(void* h) { return h ? 55 : 0; }
int __cdecl Process(void* h, AUDIO_STREAM_HEAD* io, uint32_t* out)
{
    if (out)
        *out = 0;
    if (!h || !io)
        return 0;
    std::lock_guard<std::mutex> l(F().lock);
    const uint8_t* in = static_cast<const uint8_t*>(io->input);
    F().processedBlocks.emplace_back(in, in + io->inputLength);
    io->consumed = io->inputLength;
    if (F().silence) {
        io->outputLength = 0;
        return 1;
    }
    // Kind byte, sequence number, then the first eight input bytes.
    uint8_t packet[13];
    packet[0] = 6;
    uint32_t seq = F().sequence++;
    memcpy(packet + 1, &seq, 4);
    memcpy(packet + 5, io->input, io->inputLength < 8 ? io->inputLength : 8);
    if (io->outputCapacity < sizeof(packet))
        return 0;
    memcpy(io->output, packet, sizeof(packet));
    io->outputLength = sizeof(packet);
    return 1;
}
void __cdecl ProcDestroy(void** h)
{
    std::lock_guard<std::mutex> l(F().lock);
    if (h && *h) {
        ++F().processersDestroyed;
        *h = nullptr;
    }
}
} // namespace

CFakeRavo& CFakeRavo::Get()
{
    static CFakeRavo fake;
    return fake;
}

void CFakeRavo::Reset()
{
    std::lock_guard<std::mutex> l(lock);
    refuseProcesser = silence = false;
    readBytes = -1;
    mixSample = 1000;
    groupsCreated = groupsDestroyed = processersCreated = processersDestroyed = 0;
    group = nullptr;
    lastFormatIndex = 0xFF;
    processedBlocks.clear();
    localPackets.clear();
    sources.clear();
    denoise = agc = silenceDetect = fecMode = denoiseChain = enableLocal = calEnergy = -1;
    reads = 0;
    sequence = 0;
}

RavoApi CFakeRavo::Api()
{
    RavoApi a;
    a.SourceGroup_Create = GroupCreate;
    a.SourceGroup_SourceIsExist = IsExist;
    a.SourceGroup_AddSource = Add;
    a.SourceGroup_RemoveSource = Remove;
    a.SourceGroup_WriteSource = Write;
    a.SourceGroup_SetSourceVolume = SetVolume;
    a.SourceGroup_GetSourceVolume = GetVolume;
    a.SourceGroup_GetSourceEnergy = SourceEnergy;
    a.SourceGroup_WriteLocal = WriteLocal;
    a.SourceGroup_ReadData = ReadData;
    a.SourceGroup_GetEnergy = GroupEnergy;
    a.SourceGroup_EnableCalEnergy = CalEnergy;
    a.SourceGroup_EnableLocal = EnableLocal;
    a.SourceGroup_Destroy = GroupDestroy;
    a.SourceGroup_GetNetState = NetState;
    a.Processer_Create = ProcCreate;
    a.Processer_SetDenoise = SetDenoise;
    a.Processer_SetAGC = SetAgc;
    a.Processer_EnableSilenceDetect = SetSilence;
    a.Processer_SetFECMode = SetFec;
    a.GetFECModeCount = FecCount;
    a.Processer_SetDenoiseChain = SetChain;
    a.Processer_GetEnergy = ProcEnergy;
    a.Processer_Process = Process;
    a.Processer_Destroy = ProcDestroy;
    a.GetEncodeFormatCount = FormatCount;
    a.GetEncodeFormatName = FormatName;
    a.GetEncodeFormatIn = FormatIn;
    a.GetEncodeBlockSize = BlockSize;
    return a;
}
