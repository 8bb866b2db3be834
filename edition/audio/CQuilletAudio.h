#pragma once
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>

#include "MediaFunctionList.h"
#include "RavoTMApi.h"

class CClientSettings;
class CUserTable;
struct LOGIN_INFO;

// The earlier edition's audio control over RavoTM: capture and playback
// restarts, the settings applied all at once when the devices start, the
// room's audio connection, the stop of every stream, the record tap and the
// participants heard. Every call is made on the UI thread but the record
// callback, which RavoTM makes from its own.
class CQuilletAudio
{
public:
    // Shows the text of a string id to the user.
    typedef std::function<void(UINT id)> MessageFn;

    enum : UINT {
        IDS_PLAY_FAILED = 61482,
        IDS_CAPTURE_FAILED = 61483,
        IDS_CONNECT_FAILED = 61593,
        IDS_BAD_AUDIO_PORT = 61596,
    };

    CQuilletAudio(const RAVOTM_FUNCTIONS& ravotm, const MEDIA_FUNCTIONS& media,
                  CClientSettings& settings, MessageFn message);
    ~CQuilletAudio();

    CQuilletAudio(const CQuilletAudio&) = delete;
    CQuilletAudio& operator=(const CQuilletAudio&) = delete;

    // Stop, then start with the stored device (and format); a failed start
    // shows its message and gives false.
    bool RestartCapture();
    bool RestartPlay();
    // Every stored audio setting to the library, then every participant
    // who speaks (the own user aside) as a source. The capture state.
    bool ApplyAll(CUserTable& users, uint32_t ownUserId);
    // The room's audio at main-window creation; a port of 0 is shown and
    // tried all the same. False when the library did not connect.
    bool Connect(const LOGIN_INFO& login);
    // The video send, the audio connection, capture, playback and the
    // video capture, stopped in this order.
    void StopAll();

    // The left pane's boxes: stored, then applied at once.
    void SetAec(bool on);
    void SetAgc(bool on);

    // After the recorder started: the tap hands every packet to it.
    void StartRecording();
    // The tap is let go before the recorder stops, so that no packet
    // reaches a recorder that is stopping.
    void StopRecording();
    bool IsRecording() const { return m_recording; }
    // A participant's speech state: 2 heard, 0 not; the recorder follows
    // while it runs.
    void OnSpeakState(uint32_t userId, uint8_t state);

    // The record callback RavoTM calls: (this, source, packet, length).
    static int RecordCallback(void* context, unsigned long sourceId, const void* packet,
                              unsigned long length);

private:
    typedef int(__cdecl* PFN_RV_Audio)(uint32_t userId);
    typedef int(__cdecl* PFN_RV_WriteAudio)(const void* packet, int length, uint32_t sourceId);
    typedef int(__cdecl* PFN_RV_Stop)();
    typedef void(__cdecl* PFN_Void)();

    void Show(UINT id);

    const RAVOTM_FUNCTIONS& m_ravotm;
    const MEDIA_FUNCTIONS& m_media;
    CClientSettings& m_settings;
    MessageFn m_message;
    std::atomic<bool> m_recording{false};
};
