#include "FakeRavoTM.h"

#include <cstdio>
#include <cstring>

std::vector<std::string> FakeRavoTM::calls;
int FakeRavoTM::captureResult = 1;
int FakeRavoTM::playResult = 1;
int FakeRavoTM::connectResult = 1;
int FakeRavoTM::captureLevel = 0;
void (*FakeRavoTM::duringRecordOff)() = nullptr;

namespace {

int Log(const char* name, const std::string& args = std::string(), int result = 1)
{
    FakeRavoTM::calls.push_back(std::string(name) + "(" + args + ")");
    return result;
}

std::string Ints(long a) { return std::to_string(a); }
std::string Ints(long a, long b) { return std::to_string(a) + "," + std::to_string(b); }

template <class F>
FARPROC Entry(F f)
{
    FARPROC p;
    memcpy(&p, &f, sizeof p);
    return p;
}

} // namespace

void FakeRavoTM::Reset()
{
    calls.clear();
    captureResult = playResult = connectResult = 1;
    captureLevel = 0;
    duringRecordOff = nullptr;
}

std::vector<std::string> FakeRavoTM::Only(const char* prefix)
{
    std::vector<std::string> out;
    for (const std::string& c : calls)
        if (c.compare(0, strlen(prefix), prefix) == 0)
            out.push_back(c);
    return out;
}

RAVOTM_FUNCTIONS FakeRavoTM::Functions()
{
    RAVOTM_FUNCTIONS f;
    f.D_G_GetCapDevices = [](CStringList*) { return Log("D_G_GetCapDevices"); };
    f.D_G_GetCapFormats = [](CStringList*) { return Log("D_G_GetCapFormats"); };
    f.D_G_GetPlayDevices = [](CStringList*) { return Log("D_G_GetPlayDevices"); };
    f.D_G_StartCapture = [](int d, int fmt) {
        return Log("D_G_StartCapture", Ints(d, fmt), captureResult);
    };
    f.D_G_StopCapture = []() { return Log("D_G_StopCapture"); };
    f.D_G_SetDeNoise = [](int v) { return Log("D_G_SetDeNoise", Ints(v)); };
    f.D_G_SetASC = [](int v) { return Log("D_G_SetASC", Ints(v)); };
    f.D_G_SetFECType = [](int l, int a) { return Log("D_G_SetFECType", Ints(l, a)); };
    f.D_G_GetFECTypeCount = []() { return Log("D_G_GetFECTypeCount", "", 3); };
    f.D_G_SetAEC = [](int v) { return Log("D_G_SetAEC", Ints(v)); };
    f.D_G_SetAGC = [](int v) { return Log("D_G_SetAGC", Ints(v)); };
    f.D_G_SetOrder = [](int v) { return Log("D_G_SetOrder", Ints(v)); };
    f.D_G_Connect = [](unsigned long room, unsigned long user, const char* server, int port) {
        return Log("D_G_Connect",
                   Ints(room, user) + "," + (server ? server : "null") + "," + Ints(port),
                   connectResult);
    };
    f.D_G_SetSendAudio = [](int v) { return Log("D_G_SetSendAudio", Ints(v)); };
    f.D_G_Disconnect = []() { return Log("D_G_Disconnect"); };
    f.D_G_StartPlay = [](int d) { return Log("D_G_StartPlay", Ints(d), playResult); };
    f.D_G_StopPlay = []() { return Log("D_G_StopPlay"); };
    f.D_G_SetPlayLocal = [](int v) { return Log("D_G_SetPlayLocal", Ints(v)); };
    f.D_G_SetRecord = [](int on, D_G_RECORD_CALLBACK cb, void* ctx) {
        if (!on && duringRecordOff)
            duringRecordOff();
        return Log("D_G_SetRecord",
                   Ints(on) + (cb ? ",callback" : ",null") + (ctx ? ",context" : ",null"));
    };
    f.D_G_GetCapEnergy = []() { return Log("D_G_GetCapEnergy", "", captureLevel); };
    f.D_G_GetPlayEnergy = []() { return Log("D_G_GetPlayEnergy", "", 7); };
    f.D_G_AddSource = [](unsigned long id) { return Log("D_G_AddSource", Ints(id)); };
    f.D_G_DelSource = [](unsigned long id) { return Log("D_G_DelSource", Ints(id)); };
    f.D_G_SourceIsExist = [](unsigned long id) { return Log("D_G_SourceIsExist", Ints(id)); };
    f.D_G_SetSourceVolume = [](unsigned long id, int v) {
        return Log("D_G_SetSourceVolume", Ints(id, v));
    };
    f.D_G_GetSourceVolume = [](unsigned long id) { return Log("D_G_GetSourceVolume", Ints(id)); };
    f.D_G_GetSourceEnergy = [](unsigned long id) { return Log("D_G_GetSourceEnergy", Ints(id)); };
    f.D_G_SetPlayCallback = [](void*, D_G_PLAY_CALLBACK) { return Log("D_G_SetPlayCallback"); };
    f.D_G_GetPlayFormat = [](void*) { return Log("D_G_GetPlayFormat"); };
    f.D_G_GetNetState = []() { return Log("D_G_GetNetState"); };
    return f;
}

MEDIA_FUNCTIONS FakeRavoTM::Media()
{
    MEDIA_FUNCTIONS m = {};
    typedef int (*Void)();
    typedef int (*Id)(uint32_t);
    typedef int (*Write)(const void*, int, uint32_t);
    m.entries[MF_T_S_StopSend] = Entry<Void>([]() { return Log("T_S_StopSend"); });
    m.entries[MF_T_S_StopCapture] = Entry<Void>([]() { return Log("T_S_StopCapture"); });
    m.entries[MF_RV_StopRecord] = Entry<Void>([]() { return Log("RV_StopRecord"); });
    m.entries[MF_RV_AddAudio] = Entry<Id>([](uint32_t id) { return Log("RV_AddAudio", Ints(id)); });
    m.entries[MF_RV_DelAudio] = Entry<Id>([](uint32_t id) { return Log("RV_DelAudio", Ints(id)); });
    m.entries[MF_RV_WriteAudioData] = Entry<Write>([](const void* p, int n, uint32_t source) {
        return Log("RV_WriteAudioData", std::string(static_cast<const char*>(p), n) + "," +
                                            Ints(n) + "," + Ints(source));
    });
    return m;
}
