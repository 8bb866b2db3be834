#include "SettingsTestKit.h"

#include "CStringList.h"

#include <cstdio>
#include <cstring>

namespace settingstest {

namespace {
FAKE_MEDIA g_media;
std::vector<std::string> g_calls;

void Call(const std::string& text) { g_calls.push_back(text); }

int CopyName(const std::vector<std::string>& names, int index, char* out, int size)
{
    if (index < 0 || index >= (int)names.size() || size <= 0)
        return 0;
    snprintf(out, (size_t)size, "%s", names[index].c_str());
    return 1;
}

int FillList(const std::vector<std::string>& names, CStringList* list)
{
    list->RemoveAll();
    for (const std::string& name : names)
        list->AddTail(CString(name.c_str()));
    return (int)list->GetCount();
}

int GetCapDevicesCount() { return (int)g_media.captureDevices.size(); }
int GetPlayDevicesCount() { return (int)g_media.playDevices.size(); }
int GetCapDeviceName(int i, char* name, int size)
{
    return CopyName(g_media.captureDevices, i, name, size);
}
int GetPlayDeviceName(int i, char* name, int size)
{
    return CopyName(g_media.playDevices, i, name, size);
}
int GetEncodeFormatCount() { return (int)g_media.formats.size(); }
int GetEncodeFormatName(int i, unsigned char* code, char* name, int size)
{
    if (!CopyName(g_media.formats, i, name, size))
        return 0;
    *code = FormatCode(i);
    return 1;
}
int StartCapture(int device)
{
    Call("AUDIO_MGR_StartCapture " + std::to_string(device));
    return g_media.captureStarts ? 1 : 0;
}
int StopCapture()
{
    Call("AUDIO_MGR_StopCapture");
    return 1;
}
int StartPlay(int device)
{
    Call("AUDIO_MGR_StartPlay " + std::to_string(device));
    return g_media.playStarts ? 1 : 0;
}
int StopPlay()
{
    Call("AUDIO_MGR_StopPlay");
    return 1;
}
int SetAEC(int on)
{
    Call("AUDIO_MGR_SetAEC " + std::to_string(on));
    return 1;
}
int AutoSetFEC(int on)
{
    Call("AUDIO_MGR_AutoSetFEC " + std::to_string(on));
    return 1;
}
int SetVolumeControl(int on)
{
    Call("AUDIO_MGR_SetVolumeControl " + std::to_string(on));
    return 1;
}
int SetPlayLocal(int on)
{
    Call("AUDIO_MGR_SetPlayLocal " + std::to_string(on));
    return 1;
}
int SetParam(int id, void* value)
{
    Call("AUDIO_MGR_Processer_SetParam " + std::to_string(id) + " " + std::to_string(*(int*)value));
    return 1;
}
int GetParam(int id, void* value)
{
    if (id == AUDIO_PARAM_FEC_COUNT)
        *(int*)value = g_media.fecLevels;
    return 1;
}
int AddSource(unsigned long user)
{
    Call("AUDIO_MGR_AddSource " + std::to_string(user));
    return 1;
}

int __cdecl TakeDevices(CStringList* list) { return FillList(g_media.videoDevices, list); }
int __cdecl TakeEncoders(CStringList* list) { return FillList(g_media.encoders, list); }
int __cdecl GetVideoSource(CStringList* list) { return FillList(g_media.inputs, list); }
int __cdecl EnablePostProc(int flag)
{
    Call("T_EnablePostProc " + std::to_string(flag));
    return 1;
}
void __cdecl EnableOverlay(int flag) { Call("T_EnableOverlay " + std::to_string(flag)); }
int __cdecl GetDefImgProcSetting(IMG_PROC_SETTING* s)
{
    *s = g_media.defaults;
    return 1;
}
int __cdecl SetImgProcSetting(const IMG_PROC_SETTING* s)
{
    std::string text = "T_SetImgProcSetting";
    for (int i = 0; i < 12; ++i)
        text += " " + std::to_string(s->field[i]);
    Call(text);
    return 1;
}
int __cdecl SStartCapture(int device, int encoder, int mode, int kbit, int width, int height)
{
    char text[128];
    snprintf(text, sizeof text, "T_S_StartCapture %d %d %d %d %d %d", device, encoder, mode, kbit,
             width, height);
    Call(text);
    return g_media.videoStarts ? 1 : 0;
}
void __cdecl SSetBitRate(int kbit) { Call("T_S_SetBitRate " + std::to_string(kbit)); }
int __cdecl SSetVideoSourceIndex(int index)
{
    Call("T_S_SetVideoSourceIndex " + std::to_string(index));
    return 1;
}
void __cdecl SShowPropertyPage(HWND) { Call("T_S_ShowPropertyPage"); }
} // namespace

FAKE_MEDIA& Media() { return g_media; }

std::vector<std::string>& Calls() { return g_calls; }

void ClearCalls() { g_calls.clear(); }

std::vector<std::string> CallsOf(const std::string& prefix)
{
    std::vector<std::string> out;
    for (const std::string& c : g_calls)
        if (c.compare(0, prefix.size(), prefix) == 0)
            out.push_back(c);
    return out;
}

unsigned char FormatCode(int index) { return (unsigned char)(0x40 + index); }

void InstallMediaFakes()
{
    g_media = FAKE_MEDIA();
    g_calls.clear();
    FARPROC* e = g_MediaFunctions.entries;
    e[MF_AUDIO_MGR_GetCapDevicesCount] = (FARPROC)&GetCapDevicesCount;
    e[MF_AUDIO_MGR_GetPlayDevicesCount] = (FARPROC)&GetPlayDevicesCount;
    e[MF_AUDIO_MGR_GetCapDeviceName] = (FARPROC)&GetCapDeviceName;
    e[MF_AUDIO_MGR_GetPlayDeviceName] = (FARPROC)&GetPlayDeviceName;
    e[MF_AUDIO_MGR_GetEncodeFormatCount] = (FARPROC)&GetEncodeFormatCount;
    e[MF_AUDIO_MGR_GetEncodeFormatName] = (FARPROC)&GetEncodeFormatName;
    e[MF_AUDIO_MGR_StartCapture] = (FARPROC)&StartCapture;
    e[MF_AUDIO_MGR_StopCapture] = (FARPROC)&StopCapture;
    e[MF_AUDIO_MGR_StartPlay] = (FARPROC)&StartPlay;
    e[MF_AUDIO_MGR_StopPlay] = (FARPROC)&StopPlay;
    e[MF_AUDIO_MGR_SetAEC] = (FARPROC)&SetAEC;
    e[MF_AUDIO_MGR_AutoSetFEC] = (FARPROC)&AutoSetFEC;
    e[MF_AUDIO_MGR_SetVolumeControl] = (FARPROC)&SetVolumeControl;
    e[MF_AUDIO_MGR_SetPlayLocal] = (FARPROC)&SetPlayLocal;
    e[MF_AUDIO_MGR_Processer_SetParam] = (FARPROC)&SetParam;
    e[MF_AUDIO_MGR_Processer_GetParam] = (FARPROC)&GetParam;
    e[MF_AUDIO_MGR_AddSource] = (FARPROC)&AddSource;
    e[MF_T_TAKEDevices] = (FARPROC)&TakeDevices;
    e[MF_T_TAKEEncoders] = (FARPROC)&TakeEncoders;
    e[MF_T_S_GetVideoSource] = (FARPROC)&GetVideoSource;
    e[MF_T_EnablePostProc] = (FARPROC)&EnablePostProc;
    e[MF_T_EnableOverlay] = (FARPROC)&EnableOverlay;
    e[MF_T_GetDefImgProcSetting] = (FARPROC)&GetDefImgProcSetting;
    e[MF_T_SetImgProcSetting] = (FARPROC)&SetImgProcSetting;
    e[MF_T_S_StartCapture] = (FARPROC)&SStartCapture;
    e[MF_T_S_SetBitRate] = (FARPROC)&SSetBitRate;
    e[MF_T_S_SetVideoSourceIndex] = (FARPROC)&SSetVideoSourceIndex;
    e[MF_T_S_ShowPropertyPage] = (FARPROC)&SShowPropertyPage;
}

void UninstallMediaFakes()
{
    for (FARPROC& entry : g_MediaFunctions.entries)
        entry = nullptr;
}

CTestSettingsHost::CTestSettingsHost() { SetSettingsHost(this); }

CTestSettingsHost::~CTestSettingsHost()
{
    SetSettingsHost(nullptr);
    users.RemoveAll();
}

int CTestSettingsHost::Reports() const
{
    int n = 0;
    for (const std::string& e : events)
        n += e.compare(0, 6, "report") == 0;
    return n;
}

std::string CTestSettingsHost::Report(int i) const
{
    for (const std::string& e : events)
        if (e.compare(0, 6, "report") == 0 && i-- == 0)
            return e;
    return std::string();
}

bool CTestSettingsHost::SendDeviceState(uint8_t hasAudio, uint8_t hasVideo, uint8_t count,
                                        uint8_t index)
{
    char text[64];
    snprintf(text, sizeof text, "report %u %u %u %u", hasAudio, hasVideo, count, index);
    events.push_back(text);
    return true;
}

bool CTestSettingsHost::SendToUser(uint32_t user, const void* data, uint16_t length)
{
    if (!sendWorks)
        return false;
    const uint8_t* b = static_cast<const uint8_t*>(data);
    sent.push_back({user, std::vector<uint8_t>(b, b + length)});
    return true;
}

BOOL CTopWindow::Make(int cx, int cy)
{
    return CreateEx(0, "STATIC", "settings test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, cx,
                    cy, NULL, NULL);
}

CTopWindow::~CTopWindow()
{
    if (m_hWnd)
        DestroyWindow();
}

} // namespace settingstest
