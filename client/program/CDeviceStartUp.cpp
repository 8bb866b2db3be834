#include "CDeviceStartUp.h"

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CUserTable.h"
#include "ClientLog.h"
#include "ClientUtil.h"
#include "MediaFunctionList.h"
#include "CStringList.h"

namespace {
typedef int(__cdecl* PFN_TAKE_DEVICES)(CStringList* list);
typedef int(__cdecl* PFN_ENABLE)(int flag);
typedef void(__cdecl* PFN_ENABLE_VOID)(int flag);
typedef int(__cdecl* PFN_START_CAPTURE)(int device, int encoder, int encodeMode, int kbitPerSecond, int width,
                                        int height);
typedef void(__cdecl* PFN_SET_BIT_RATE)(int kbitPerSecond);

template <class T> T Bound(int index)
{
    return g_MediaFunctions.Get<T>(index);
}

const int kSizes[7][2] = {{160, 120}, {176, 144}, {320, 240}, {352, 288}, {640, 480}, {704, 576}, {720, 576}};
} // namespace

void CDeviceStartUp::CaptureSize(uint32_t index, int* width, int* height)
{
    if (index > 6)
        index = 2;
    *width = kSizes[index][0];
    *height = kSizes[index][1];
}

CDeviceStartUp::REPORT CDeviceStartUp::Run(CUserTable& users, const LOGIN_INFO& login, CCommandManager& commands,
                                           const CClientSettings& settings)
{
    REPORT report = {};
    USER_INFO own = {};
    if (users.GetUser(login.userId, &own))
        report.hasAudio = own.hasAudio;

    CStringList devices;
    if (auto take = Bound<PFN_TAKE_DEVICES>(MF_T_TAKEDevices))
        take(&devices);
    const int count = (int)devices.GetCount();
    report.deviceCount = (uint8_t)(count > 255 ? 255 : count);
    report.selected = (uint8_t)(settings.videoCaptureDev < (DWORD)count ? settings.videoCaptureDev : 0);

    if (auto post = Bound<PFN_ENABLE>(MF_T_EnablePostProc))
        post((int)settings.enableImgFilter);
    if (auto overlay = Bound<PFN_ENABLE_VOID>(MF_T_EnableOverlay))
        overlay(0);
    int width = 0, height = 0;
    CaptureSize(settings.videoSize, &width, &height);
    if (auto start = Bound<PFN_START_CAPTURE>(MF_T_S_StartCapture))
        report.hasVideo = start((int)report.selected, (int)settings.videoEncoder, (int)settings.videoEncodeMode,
                                (int)settings.bitRate, width, height) ? 1 : 0;
    if (!report.hasVideo)
        AddSystemNoticeById(61484);
    else if (auto rate = Bound<PFN_SET_BIT_RATE>(MF_T_S_SetBitRate))
        rate((int)settings.bitRate);
    g_Log.Write(0, "<CDeviceStartUp::Run> audio %u, video %u, %u capture devices\n", report.hasAudio,
                report.hasVideo, report.deviceCount);

    users.SetHasAudio(login.userId, report.hasAudio);
    users.SetHasVideo(login.userId, report.hasVideo);
    users.SetFlag31(login.userId, report.deviceCount);
    users.SetFlag32(login.userId, report.selected);
    commands.SendDeviceInfo(report.hasVideo, report.hasAudio, report.deviceCount, report.selected);
    return report;
}
