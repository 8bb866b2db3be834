#pragma once
// The audio manager library's interface as the client binds it: 31 plain
// functions (the caller pops the arguments) with int results. Two of them are
// exported under their C++ decorated names. The stand-in library in
// outside/kadrel implements exactly these types.

// Receives five values for every audio packet sent or received while recording
// is on: (context, extra word, source user id, data, length). The client keeps
// the fourth as the packet, the fifth as its length and the second as the
// extra word of the recorder's audio record.
typedef int (*AUDIO_RECORD_CALLBACK)(void* context, unsigned long extra, unsigned long userId,
                                     const void* data, unsigned long length);
typedef void (*AUDIO_PLAY_CALLBACK)(void* context, const void* data, unsigned long length);

typedef int (*PFN_AUDIO_MGR_Init)(int reserved, int sampleRate);
typedef int (*PFN_AUDIO_MGR_Release)();
typedef int (*PFN_AUDIO_MGR_GetCapDevicesCount)();
typedef int (*PFN_AUDIO_MGR_GetCapDeviceName)(int index, char* name, int size);
typedef int (*PFN_AUDIO_MGR_GetEncodeFormatCount)();
typedef int (*PFN_AUDIO_MGR_GetEncodeFormatName)(int index, unsigned char* code, char* name,
                                                 int size);
typedef int (*PFN_AUDIO_MGR_GetPlayDevicesCount)();
typedef int (*PFN_AUDIO_MGR_GetPlayDeviceName)(int index, char* name, int size);
typedef int (*PFN_AUDIO_MGR_StartCapture)(int device);
typedef int (*PFN_AUDIO_MGR_StopCapture)();
typedef int (*PFN_AUDIO_MGR_SetAEC)(int on);
typedef int (*PFN_AUDIO_MGR_AutoSetFEC)(int on);
typedef int (*PFN_AUDIO_MGR_SetVolumeControl)(int on);
typedef int (*PFN_AUDIO_MGR_StartPlay)(int device);
typedef int (*PFN_AUDIO_MGR_StopPlay)();
typedef int (*PFN_AUDIO_MGR_GetPlayEnergy)();
typedef int (*PFN_AUDIO_MGR_Connect)(unsigned long roomId, unsigned long userId, const char* server,
                                     int port);
typedef int (*PFN_AUDIO_MGR_SetSendAudio)(int on);
typedef int (*PFN_AUDIO_MGR_Disconnect)();
typedef int (*PFN_AUDIO_MGR_SetPlayLocal)(int on);
typedef int (*PFN_AUDIO_MGR_SetRecord)(int on, AUDIO_RECORD_CALLBACK callback, void* context);
typedef int (*PFN_AUDIO_MGR_Processer_SetParam)(int id, void* value);
typedef int (*PFN_AUDIO_MGR_Processer_GetParam)(int id, void* value);
typedef int (*PFN_AUDIO_MGR_AddSource)(unsigned long userId);
typedef int (*PFN_AUDIO_MGR_DelSource)(unsigned long userId);
typedef int (*PFN_AUDIO_MGR_SourceIsExist)(unsigned long userId);
typedef int (*PFN_AUDIO_MGR_SetSourceVolume)(unsigned long userId, int volume);
typedef int (*PFN_AUDIO_MGR_GetSourceVolume)(unsigned long userId);
typedef int (*PFN_AUDIO_MGR_GetSourceEnergy)(unsigned long userId);
typedef int (*PFN_AUDIO_MGR_GetPlayFormat)(void* waveFormat);
typedef int (*PFN_AUDIO_MGR_SetPlayCallback)(void* context, AUDIO_PLAY_CALLBACK callback);

// Exported names of the two C++ functions, int function of (int, void*).
#define AUDIO_MGR_SETPARAM_EXPORT "?AUDIO_MGR_Processer_SetParam@@YAHHPAX@Z"
#define AUDIO_MGR_GETPARAM_EXPORT "?AUDIO_MGR_Processer_GetParam@@YAHHPAX@Z"

// Processor parameter ids.
enum {
    AUDIO_PARAM_DENOISE = 1,       // 0 off, 1 weak, 2 medium, 3 strong
    AUDIO_PARAM_SILENCE = 2,       // silence detection 0/1
    AUDIO_PARAM_AGC_LEVEL = 3,     // 0 to 3
    AUDIO_PARAM_CAPTURE_LEVEL = 6, // read: microphone level 0 to 100
    AUDIO_PARAM_FEC_LEVEL = 7,     // 0 to FEC level count less 1
    AUDIO_PARAM_FEC_COUNT = 8,     // read: number of FEC levels
    AUDIO_PARAM_FORMAT = 10,       // capture coding format code
};
