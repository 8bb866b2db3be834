#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "AecCore.h"
#include "AudioBlockQueue.h"
#include "CVolumeControl.h"
#include "DcHighPass.h"
#include "LevelTracker.h"
#include "SonvexCallbacks.h"
#include "VoiceActivityDetector.h"

namespace SonvexDevice {

// The echo-cancelling front end between the devices and the caller: takes
// the blocks just played (far end, "X") and the blocks just captured (near
// end, "Y"), pairs them in time, cancels the echo, keeps the two streams
// aligned, steers the microphone volume and hands every processed near-end
// block to the capture callback, one block behind the newest.
class AecProcessor
{
public:
    enum { BLOCK_BYTES = 640, BLOCK_SAMPLES = 320, FRAME_SAMPLES = 32 };

    explicit AecProcessor(IMixerApi& mixer = IMixerApi::System());
    virtual ~AecProcessor();

    AecProcessor(const AecProcessor&) = delete;
    AecProcessor& operator=(const AecProcessor&) = delete;

    // Only (16000, 20) is accepted.
    bool init(int rate, int blockMs);
    bool IsReady() const { return !m_notReady; }

    // Each takes the caller's block and gives a spare of the same size back.
    void NearInput(CAudioBlock** block);
    void FarInput(CAudioBlock** block);
    // Dithers an all-zero block and high-passes the block about to be played.
    void FarReference(short* pcm, int length);

    void SetCallback(SONVEX_CAPTURE_CALLBACK callback, void* context);
    void SetAEC(int on) { m_aecOn = on; }
    int GetAEC() const { return m_aecOn; }
    void SetVolumeControl(int on) { m_volumeOn = on; }

    // The microphone volume is remembered when the capture side is opened and
    // set back when it is closed, unless the user moved it in between.
    int OpenCaptureVolume(int device);
    void CloseCaptureVolume();
    int OpenSpeakerVolume();
    CVolumeControl& Volume() { return m_volume; }

    // The core's resynchronisation request: +1 leaves the next near-end
    // block out of the pairing, -1 the next far-end block.
    void RequestResync(int request);

    double Drift() const { return m_drift; }
    const AecCore& Core() const { return m_core; }

private:
    void Pair();
    void Process(CAudioBlock* x, CAudioBlock* y);
    void AdjustVolume(CAudioBlock* x, CAudioBlock* y);
    void Deliver(CAudioBlock* header);

    AecCore m_core;
    int m_aecOn = 0;
    int m_dropFar = 0;
    int m_dropNear = 0;
    SONVEX_CAPTURE_CALLBACK m_callback = nullptr;
    void* m_context = nullptr;
    int m_notReady = 1;
    std::unique_ptr<AudioBlockQueue> m_queue;
    std::unique_ptr<CAudioBlock> m_work;
    int m_rate = 0;
    int m_blockMs = 0;
    int m_blockSamples = 0;
    double m_drift = 0.0;
    SonvexFilterCore::VoiceActivityDetector m_farVad;
    SonvexFilterCore::VoiceActivityDetector m_nearVad;
    int m_lastFarVoice = 0;
    int m_lastNearVoice = 0;
    DcHighPass m_farFilter;
    DcHighPass m_nearFilter;
    LevelTracker m_levels{5};
    double m_level = -96.0;
    double m_peak = -96.0;
    double m_floor = -96.0;
    int m_volumeOn = 1;
    CVolumeControl m_volume;
    int m_savedVolume = -1;
    int m_currentVolume = 0;
    int m_lastVolumeSet = 0;
    int m_stepAccumulator = 0;
    double m_nearActivity = 0.5;
    double m_farActivity = 0.1;
    short m_previous[BLOCK_SAMPLES] = {};
    CRITICAL_SECTION m_lock;
};

} // namespace SonvexDevice
