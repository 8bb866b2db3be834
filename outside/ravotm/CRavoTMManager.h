#pragma once
#include <winsock2.h>
#include <windows.h>

#include <mutex>
#include <string>

#include "CKadrelManager.h"
#include "RavoTMApi.h"

// The earlier edition's audio library behind its D_G_ exports. It is the
// audio manager of the current edition (device layer over the engine, the
// same audio channel to the server) seen through the older interface: no
// start-up call (the devices come up with the first call that needs them),
// device and format lists as string lists, the coding format chosen by its
// list position at each capture start, dedicated setters in place of the
// processing parameters, and a record tap of four values.
class CRavoTMManager
{
public:
    explicit CRavoTMManager(const std::string& engineFolder);
    ~CRavoTMManager();

    CRavoTMManager(const CRavoTMManager&) = delete;
    CRavoTMManager& operator=(const CRavoTMManager&) = delete;

    int GetCapDevices(CStringList* names);
    int GetCapFormats(CStringList* names);
    int GetPlayDevices(CStringList* names);
    // format: the position in the format list (low 8 bits).
    int StartCapture(int device, int format);
    int StopCapture();
    int SetDeNoise(int level);
    int SetASC(int on);
    int SetFECType(int level, int automatic);
    int GetFECTypeCount();
    int SetAEC(int on);
    int SetAGC(int on);
    int Connect(unsigned long roomId, unsigned long userId, const char* server, int port);
    int SetSendAudio(int on);
    int Disconnect();
    int StartPlay(int device);
    int StopPlay();
    int SetPlayLocal(int on);
    int SetRecord(int on, D_G_RECORD_CALLBACK callback, void* context);
    int GetCapEnergy();
    int GetPlayEnergy();
    int AddSource(unsigned long userId);
    int DelSource(unsigned long userId);
    int SourceIsExist(unsigned long userId);
    int SetSourceVolume(unsigned long userId, int volume);
    int GetSourceVolume(unsigned long userId);
    int GetSourceEnergy(unsigned long userId);
    int SetPlayCallback(void* context, D_G_PLAY_CALLBACK callback);
    int GetPlayFormat(void* waveFormat);
    int GetNetState();

    // The gain level the gain stage runs at while automatic gain is on.
    enum { AGC_LEVEL = 2 };

private:
    bool Ready();
    static int OnRecord(void* context, unsigned long extra, unsigned long userId, const void* data,
                        unsigned long length);

    CKadrelManager m_manager;
    bool m_ready = false;
    bool m_connected = false;

    std::mutex m_recordLock;
    D_G_RECORD_CALLBACK m_record = nullptr;
    void* m_recordContext = nullptr;
};
