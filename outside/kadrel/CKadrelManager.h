#pragma once
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AudioManagerApi.h"
#include "CAudioLink.h"

class CKadrelDevices;
namespace AudioCommon {
class IWaveApi;
}

// The audio manager behind the library's exports: the device layer over the
// engine (capture, processing, coding, mixing, playback), the audio channel
// to the server, the record and play taps and the processing settings. Calls
// come from the client's UI thread; the capture thread hands in the own
// packets and the channel's thread the others'.
class CKadrelManager
{
public:
    // The environment variable that replaces the sound devices by a test
    // tone and a paced silent speaker: "hz[,amplitude[,burst ms,period ms]]".
    static const char* const TONE_VARIABLE;

    explicit CKadrelManager(const std::string& engineFolder);
    ~CKadrelManager();

    CKadrelManager(const CKadrelManager&) = delete;
    CKadrelManager& operator=(const CKadrelManager&) = delete;

    int Init(int reserved, int sampleRate);
    int Release();
    int GetCapDevicesCount();
    int GetCapDeviceName(int index, char* name, int size);
    int GetEncodeFormatCount();
    int GetEncodeFormatName(int index, unsigned char* code, char* name, int size);
    int GetPlayDevicesCount();
    int GetPlayDeviceName(int index, char* name, int size);
    int StartCapture(int device);
    int StopCapture();
    int SetAEC(int on);
    int AutoSetFEC(int on);
    int SetVolumeControl(int on);
    int StartPlay(int device);
    int StopPlay();
    int GetPlayEnergy();
    int Connect(unsigned long roomId, unsigned long userId, const char* server, int port);
    int SetSendAudio(int on);
    int Disconnect();
    int SetPlayLocal(int on);
    int SetRecord(int on, AUDIO_RECORD_CALLBACK callback, void* context);
    int SetParam(int id, void* value);
    int GetParam(int id, void* value);
    int AddSource(unsigned long userId);
    int DelSource(unsigned long userId);
    int SourceIsExist(unsigned long userId);
    int SetSourceVolume(unsigned long userId, int volume);
    int GetSourceVolume(unsigned long userId);
    int GetSourceEnergy(unsigned long userId);
    int GetPlayFormat(void* waveFormat);
    int SetPlayCallback(void* context, AUDIO_PLAY_CALLBACK callback);

    // The engine format that a new manager codes with, when it opens here.
    enum { PREFERRED_FORMAT = 3 };

private:
    static void OnCaptured(void* context, void* manager, uint8_t* packet, int length);
    static void OnReceived(void* context, uint32_t sourceId, const uint8_t* packet, int length);
    static int OnPlayed(void* owner, void* sender, uint8_t* block, int length);

    void Pin();
    void Record(uint32_t sourceId, const uint8_t* packet, int length);
    void ApplySettings();
    void ApplyAgc();
    void ApplyFec();
    void ListFormats();
    bool Ready() const { return m_devices != nullptr; }

    std::string m_engineFolder;
    std::unique_ptr<AudioCommon::IWaveApi> m_testDevices;
    // Guards the device layer's existence against the channel's thread.
    std::mutex m_deviceLock;
    std::unique_ptr<CKadrelDevices> m_devices;
    CAudioLink m_link;
    std::atomic<bool> m_sending{false};
    HMODULE m_pin = nullptr;

    std::mutex m_recordLock;
    AUDIO_RECORD_CALLBACK m_record = nullptr;
    void* m_recordContext = nullptr;

    std::mutex m_playLock;
    AUDIO_PLAY_CALLBACK m_play = nullptr;
    void* m_playContext = nullptr;

    // Engine format indexes that code here, the preferred one first; the
    // index is also the format's code.
    std::vector<uint8_t> m_formats;
    uint8_t m_format = PREFERRED_FORMAT;
    bool m_capturing = false;
    int m_captureDevice = 0;
    bool m_playing = false;

    int m_denoise = 0;
    int m_silenceDetect = 0;
    int m_agcLevel = 0;
    bool m_volumeControl = false;
    int m_fecLevel = 0;
    bool m_autoFec = false;
    bool m_aec = false;
    bool m_playLocal = false;
};
