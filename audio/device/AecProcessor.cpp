#include "AecProcessor.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "CScopedLock.h"
#include "SonvexLog.h"

namespace SonvexDevice {

namespace {
// Advances on every volume step of every processor of the library.
unsigned g_volumeStepCounter = 0;

const int kVolumeFloor = 5631;
const int kVolumeUnit = 192;
} // namespace

AecProcessor::AecProcessor(IMixerApi& mixer) : m_volume(mixer)
{
    InitializeCriticalSection(&m_lock);
}

AecProcessor::~AecProcessor()
{
    CloseCaptureVolume();
    DeleteCriticalSection(&m_lock);
}

bool AecProcessor::init(int rate, int blockMs)
{
    m_notReady = 1;
    if (rate != 16000 || blockMs != 20)
        return false;
    static const int rates[] = {8000, 11025, 16000, 22050, 24000, 32000, 44100, 48000};
    bool known = false;
    for (int r : rates)
        known = known || r == rate;
    if (!known || blockMs < 5 || blockMs > 200 || (rate * blockMs) % 1000 != 0)
        return false;
    if ((rate * 2) % 1000 != 0) {
        SonvexLog(1, "\n invalid blksize: fractional sample ?? ");
        return false;
    }
    if (blockMs % 2 != 0) {
        SonvexLog(1, "\n AEC: invalid parameter of blksize ");
        return false;
    }
    // Each far-end block is paired with the near-end block captured one
    // block before it, so every echo reaches the canceller a block later
    // than it reaches the microphone: the filter spans 128 ms of room after
    // that block.
    if (!m_core.init(rate, 2.0f, 128.0f + blockMs)) {
        SonvexLog(1, "\n AEC: invalid parameters\n");
        return false;
    }
    m_rate = rate;
    m_blockMs = blockMs;
    m_blockSamples = rate * blockMs / 1000;
    m_drift = -blockMs / 2.0;
    m_queue.reset(new AudioBlockQueue());
    if (!m_queue->Create(3, BLOCK_BYTES))
        return false;
    m_work.reset(new CAudioBlock(BLOCK_BYTES));
    m_notReady = 0;
    return true;
}

void AecProcessor::SetCallback(SONVEX_CAPTURE_CALLBACK callback, void* context)
{
    CScopedLock lock(&m_lock);
    m_callback = callback;
    m_context = context;
}

void AecProcessor::FarInput(CAudioBlock** block)
{
    if (!block || !*block || m_notReady)
        return;
    CAudioBlock* x = *block;
    x->m_kind = CAudioBlock::KIND_FAR;
    m_queue->Push(x);
    *block = m_queue->TakeSpare();
    if (m_dropFar) {
        SonvexLog(5, "\n********** AEC Request Drop X ******************.\n ");
        m_dropFar = 0;
        m_queue->Drop(m_queue->Count() - 1);
        return;
    }
    if (x->m_length != BLOCK_BYTES)
        return;
    int voice = m_farVad.IsVoice(x->Samples(), BLOCK_SAMPLES);
    voice = voice > 0 ? 1 : 0;
    x->m_voice = voice;
    m_lastFarVoice = voice;
    CScopedLock lock(&m_lock);
    Pair();
}

void AecProcessor::NearInput(CAudioBlock** block)
{
    if (!block || !*block || m_notReady)
        return;
    CAudioBlock* y = *block;
    y->m_kind = CAudioBlock::KIND_NEAR;
    m_queue->Push(y);
    *block = m_queue->TakeSpare();
    if (y->m_length != BLOCK_BYTES)
        return;
    m_nearFilter.Run(y->Samples(), BLOCK_SAMPLES);
    int voice = m_nearVad.IsVoice(y->Samples(), BLOCK_SAMPLES);
    voice = voice > 0 ? 1 : 0;
    y->m_voice = voice;
    m_lastNearVoice = voice;
    CScopedLock lock(&m_lock);
    if (m_dropNear) {
        // The near blocks waiting in the queue leave the pairing, this one
        // last, but the caller's stream stays in order and loses nothing:
        // each goes out in its turn, without cancelling.
        SonvexLog(5, "\n********** AEC Request Drop Y ******************.\n ");
        m_dropNear = 0;
        for (int i = 0; i < m_queue->Count();) {
            CAudioBlock* b = m_queue->At(i);
            if (b->m_kind != CAudioBlock::KIND_NEAR) {
                ++i;
                continue;
            }
            Deliver(b);
            memcpy(m_previous, b->Samples(), BLOCK_BYTES);
            m_queue->Drop(i);
        }
        return;
    }
    Pair();
}

void AecProcessor::FarReference(short* pcm, int length)
{
    if (!pcm || length <= 0)
        return;
    const int samples = length / 2;
    bool silent = true;
    for (int i = 0; i < samples && silent; ++i)
        silent = pcm[i] == 0;
    if (silent)
        for (int i = 0; i < samples; ++i)
            pcm[i] = static_cast<short>(pcm[i] ^ (rand() & 15));
    m_farFilter.Run(pcm, samples);
}

void AecProcessor::Pair()
{
    if (m_queue->Count() < 3)
        return;
    CAudioBlock* b0 = m_queue->At(0);
    CAudioBlock* b1 = m_queue->At(1);
    CAudioBlock* b2 = m_queue->At(2);
    const int pattern = ((b0->m_kind == CAudioBlock::KIND_NEAR) << 2) |
                        ((b1->m_kind == CAudioBlock::KIND_NEAR) << 1) |
                        (b2->m_kind == CAudioBlock::KIND_NEAR);
    switch (pattern) {
    case 0: // X X X
        SonvexLog(5, "\n m=000 X(%4d,%6d) discard x0 ", (int)b0->m_sequence, (int)b0->m_timeStamp);
        m_queue->Drop(0);
        break;
    case 1: // X X Y
        SonvexLog(5, "\n xxy ,这种情况下已经消不掉了");
        m_queue->Drop(0);
        break;
    case 2: // X Y X
        SonvexLog(5, "\n xyx ");
        Process(b0, b1);
        m_queue->Drop(0);
        m_queue->Drop(0);
        break;
    case 3: // X Y Y
        SonvexLog(5, "\n xyy");
        Process(b0, b1);
        m_queue->Drop(0);
        m_queue->Drop(0);
        break;
    case 4: // Y X X
        SonvexLog(5, "\n yxx");
        Process(b1, b0);
        m_queue->Drop(0);
        m_queue->Drop(0);
        break;
    case 5: // Y X Y
        SonvexLog(5, "\n yxy ");
        Process(b1, b0);
        m_queue->Drop(0);
        m_queue->Drop(0);
        break;
    case 6: // Y Y X
        SonvexLog(5, "\n yyx");
        Process(b2, b0);
        m_queue->Drop(2);
        m_queue->Drop(0);
        break;
    default: // Y Y Y
        SonvexLog(5, "\n yyy");
        SonvexLog(5, "\n insert x=null,Y0(%4d,%6d) ", (int)b0->m_sequence, (int)b0->m_timeStamp);
        Process(nullptr, b0);
        m_queue->Drop(0);
        break;
    }
}

void AecProcessor::Process(CAudioBlock* x, CAudioBlock* y)
{
    if (m_volumeOn)
        AdjustVolume(x, y);
    if (x) {
        const double difference =
            static_cast<double>(static_cast<int32_t>(y->m_timeStamp - x->m_timeStamp));
        m_drift = 0.8 * m_drift + 0.2 * difference;
    } else {
        SonvexLog(5, " AEC: X(null),Y(%4d,%6d)", (int)y->m_sequence, (int)y->m_timeStamp);
    }
    if (m_aecOn) {
        const short* reference;
        if (x && x->m_length == BLOCK_BYTES) {
            reference = x->Samples();
        } else {
            short* noise = m_work->Samples();
            for (int i = 0; i < BLOCK_SAMPLES; ++i)
                noise[i] = static_cast<short>(rand() & 15);
            reference = noise;
        }
        for (int f = 0; f < BLOCK_SAMPLES / FRAME_SAMPLES; ++f)
            m_core.process(reference + f * FRAME_SAMPLES, m_previous + f * FRAME_SAMPLES,
                           m_previous + f * FRAME_SAMPLES, FRAME_SAMPLES);
        RequestResync(m_core.SyncRequest());
    }
    Deliver(y);
    memcpy(m_previous, y->Samples(), BLOCK_BYTES);
}

void AecProcessor::RequestResync(int request)
{
    if (request > 0) {
        m_dropNear = 1;
        SonvexLog(5, "sync_req > 0 AEC Request Drop Y .\n ");
    } else if (request < 0) {
        m_dropFar = 1;
    }
}

void AecProcessor::Deliver(CAudioBlock* header)
{
    if (m_callback)
        m_callback(m_context, header, m_previous, static_cast<int>(header->m_length));
}

void AecProcessor::AdjustVolume(CAudioBlock* x, CAudioBlock* y)
{
    CVolumeIn& in = m_volume.In();
    int current = in.GetCurrentVolume();
    const int minimum = in.GetMinimalVolume();
    const int maximum = in.GetMaximalVolume();
    const int lowerLimit = (minimum > kVolumeFloor ? minimum : kVolumeFloor) + 3072;
    if (current < 0)
        return;
    if (current < kVolumeFloor) {
        in.SetCurrentVolume(kVolumeFloor);
        current = kVolumeFloor;
        // Our own change like any other: set back when capture closes.
        m_lastVolumeSet = kVolumeFloor;
    }
    m_currentVolume = current;

    m_levels.Add(y->Samples(), BLOCK_SAMPLES);
    m_level = m_levels.Level();
    m_peak = m_levels.Peak();
    m_floor = m_levels.Floor();

    static const double a = std::pow(0.01, 1.0 / 250.0);
    const int nearVoice = y->m_voice > 0 ? 1 : 0;
    const int farVoice = (x && x->m_voice > 0) ? 1 : 0;
    m_nearActivity = a * m_nearActivity + (1.0 - a) * nearVoice;
    m_farActivity = a * m_farActivity + (1.0 - a) * farVoice;

    int step = 0;
    bool now = false;
    if (m_peak > -6.0) {
        // Loud: no lowering builds up here (only a pending raise is worn
        // down); at or above -1 dB the microphone comes down at once.
        if (m_stepAccumulator < 0)
            m_stepAccumulator = 0;
        if (m_peak >= -1.0) {
            step = -576;
            now = true;
        } else {
            step = static_cast<int>(std::ceil(-96.0 * (m_peak + 6.0)));
        }
    } else if (m_farActivity < 0.3 || m_farActivity - m_nearActivity > 0.5) {
        if (!nearVoice)
            step = (m_peak > -35.0 && m_nearActivity < 0.3) ? -24 : 0;
        else
            step = m_peak >= -9.0 ? -48 : 48;
    } else {
        step = (m_farActivity > 0.8 && m_peak > -12.0) ? -24 : 0;
    }
    if (m_stepAccumulator > 768)
        m_stepAccumulator = 768;
    if (m_stepAccumulator < -768)
        m_stepAccumulator = -768;
    m_stepAccumulator += step;

    if (!now) {
        const unsigned counter = g_volumeStepCounter++;
        if (counter % 5 != 0 || std::abs(m_stepAccumulator) < 576)
            return;
    }
    const int units = static_cast<int>(std::floor(m_stepAccumulator / double(kVolumeUnit) + 0.5));
    int volume = units * kVolumeUnit + current;
    if (volume > maximum)
        volume = maximum;
    if (volume < lowerLimit)
        volume = lowerLimit;
    if (volume == m_lastVolumeSet)
        return;
    in.SetCurrentVolume(static_cast<DWORD>(volume));
    SonvexLog(5, " --> %6d \n", volume);
    m_lastVolumeSet = volume;
    m_stepAccumulator = 0;
}

int AecProcessor::OpenCaptureVolume(int device)
{
    CScopedLock lock(&m_lock);
    if (m_volume.CaptureDevice() != device)
        CloseCaptureVolume();
    if (!m_volume.OpenCapture(device))
        return 0;
    if (m_savedVolume < 0)
        m_savedVolume = m_volume.In().GetCurrentVolume();
    return 1;
}

void AecProcessor::CloseCaptureVolume()
{
    CScopedLock lock(&m_lock);
    CVolumeIn& in = m_volume.In();
    if (in.IsOpened() && m_savedVolume >= 0 && m_lastVolumeSet != 0 &&
        in.GetCurrentVolume() == m_lastVolumeSet)
        in.SetCurrentVolume(static_cast<DWORD>(m_savedVolume));
    m_volume.CloseCapture();
    m_savedVolume = -1;
    m_lastVolumeSet = 0;
    m_stepAccumulator = 0;
}

int AecProcessor::OpenSpeakerVolume()
{
    CScopedLock lock(&m_lock);
    return m_volume.OpenSpeaker();
}

} // namespace SonvexDevice
