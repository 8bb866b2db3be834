#pragma once
// The earlier edition's audio library RavoTM as the client binds it: 30 plain
// functions named D_G_... (the caller pops the arguments) with int results.
// Device and format lists are filled into the caller's CStringList, one name
// per entry in index order. The stand-in library in outside/ravotm
// implements exactly these types.

class CStringList;

// Gets every audio packet sent or received while recording is on:
// (context, source user id, packet, length); its result is not used.
typedef int (*D_G_RECORD_CALLBACK)(void* context, unsigned long sourceId, const void* packet,
                                   unsigned long length);
// Gets every block just before it is played: (context, PCM, length in bytes).
typedef void (*D_G_PLAY_CALLBACK)(void* context, const void* data, unsigned long length);

typedef int (*PFN_D_G_GetCapDevices)(CStringList* names);
typedef int (*PFN_D_G_GetCapFormats)(CStringList* names);
typedef int (*PFN_D_G_GetPlayDevices)(CStringList* names);
typedef int (*PFN_D_G_StartCapture)(int device, int format);
typedef int (*PFN_D_G_StopCapture)();
typedef int (*PFN_D_G_SetDeNoise)(int level);
typedef int (*PFN_D_G_SetASC)(int on);
typedef int (*PFN_D_G_SetFECType)(int level, int automatic);
typedef int (*PFN_D_G_GetFECTypeCount)();
typedef int (*PFN_D_G_SetAEC)(int on);
typedef int (*PFN_D_G_SetAGC)(int on);
typedef int (*PFN_D_G_SetOrder)(int order);
typedef int (*PFN_D_G_Connect)(unsigned long roomId, unsigned long userId, const char* server,
                               int port);
typedef int (*PFN_D_G_SetSendAudio)(int on);
typedef int (*PFN_D_G_Disconnect)();
typedef int (*PFN_D_G_StartPlay)(int device);
typedef int (*PFN_D_G_StopPlay)();
typedef int (*PFN_D_G_SetPlayLocal)(int on);
typedef int (*PFN_D_G_SetRecord)(int on, D_G_RECORD_CALLBACK callback, void* context);
typedef int (*PFN_D_G_GetCapEnergy)();
typedef int (*PFN_D_G_GetPlayEnergy)();
typedef int (*PFN_D_G_AddSource)(unsigned long userId);
typedef int (*PFN_D_G_DelSource)(unsigned long userId);
typedef int (*PFN_D_G_SourceIsExist)(unsigned long userId);
typedef int (*PFN_D_G_SetSourceVolume)(unsigned long userId, int volume);
typedef int (*PFN_D_G_GetSourceVolume)(unsigned long userId);
typedef int (*PFN_D_G_GetSourceEnergy)(unsigned long userId);
typedef int (*PFN_D_G_SetPlayCallback)(void* context, D_G_PLAY_CALLBACK callback);
typedef int (*PFN_D_G_GetPlayFormat)(void* waveFormat);
typedef int (*PFN_D_G_GetNetState)();

// The 30 names in binding order: X(name).
#define RAVOTM_FUNCTION_LIST(X)                                                                    \
    X(D_G_GetCapDevices)                                                                           \
    X(D_G_GetCapFormats)                                                                           \
    X(D_G_GetPlayDevices)                                                                          \
    X(D_G_StartCapture)                                                                            \
    X(D_G_StopCapture)                                                                             \
    X(D_G_SetDeNoise)                                                                              \
    X(D_G_SetASC)                                                                                  \
    X(D_G_SetFECType)                                                                              \
    X(D_G_GetFECTypeCount)                                                                         \
    X(D_G_SetAEC)                                                                                  \
    X(D_G_SetAGC)                                                                                  \
    X(D_G_SetOrder)                                                                                \
    X(D_G_Connect)                                                                                 \
    X(D_G_SetSendAudio)                                                                            \
    X(D_G_Disconnect)                                                                              \
    X(D_G_StartPlay)                                                                               \
    X(D_G_StopPlay)                                                                                \
    X(D_G_SetPlayLocal)                                                                            \
    X(D_G_SetRecord)                                                                               \
    X(D_G_GetCapEnergy)                                                                            \
    X(D_G_GetPlayEnergy)                                                                           \
    X(D_G_AddSource)                                                                               \
    X(D_G_DelSource)                                                                               \
    X(D_G_SourceIsExist)                                                                           \
    X(D_G_SetSourceVolume)                                                                         \
    X(D_G_GetSourceVolume)                                                                         \
    X(D_G_GetSourceEnergy)                                                                         \
    X(D_G_SetPlayCallback)                                                                         \
    X(D_G_GetPlayFormat)                                                                           \
    X(D_G_GetNetState)

// The bound functions, one pointer per name.
struct RAVOTM_FUNCTIONS
{
#define RAVOTM_POINTER(name) PFN_##name name = nullptr;
    RAVOTM_FUNCTION_LIST(RAVOTM_POINTER)
#undef RAVOTM_POINTER
};

enum { RAVOTM_FUNCTION_COUNT = 30 };
