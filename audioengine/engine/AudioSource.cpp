#include "AudioSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "AudioPacket.h"
#include "CScopedLock.h"
#include "RavoLog.h"
#include "RavoTables.h"

namespace RavoEngine {

namespace {
// The one-byte counters of a slot stop at 0 and 255.
void AddSat(uint8_t& counter, uint32_t amount)
{
    const uint32_t v = counter + amount;
    counter = static_cast<uint8_t>(v > 255 ? 255 : v);
}
void SubSat(uint8_t& counter)
{
    if (counter)
        --counter;
}
void RaiseSat(uint8_t& value, uint32_t candidate)
{
    if (candidate > 255)
        candidate = 255;
    if (candidate > value)
        value = static_cast<uint8_t>(candidate);
}
uint8_t Byte(uint32_t v) { return static_cast<uint8_t>(v > 255 ? 255 : v); }
} // namespace

AudioSource::AudioSource(const WAVEFORMATEX& playout, bool local, const RavoClock& clock,
                         IlbcEngineFactory& ilbc)
    : m_playout(playout), m_local(local), m_clock(clock),
      m_silence(playout.wBitsPerSample == 8 ? 128 : 0), m_decoder(ilbc), m_queue(QUEUE_FRAMES)
{
    InitializeCriticalSection(&m_lock);
    memset(m_slots, 0, sizeof m_slots);
    m_lastArrival = clock.MultimediaMs();
    m_periodStart = clock.TickMs();
    m_slotTime = clock.TickMs();
    m_lastCheck = clock.MultimediaMs();
}

AudioSource::~AudioSource()
{
    Close();
    DeleteCriticalSection(&m_lock);
}

void AudioSource::Close()
{
    CScopedLock lock(&m_lock);
    m_queue.Stop();
    CloseDecoders();
}

void AudioSource::CloseDecoders()
{
    m_decoder.Close();
    m_converter.Close();
    if (m_fec)
        m_fec->Flush();
    m_fec.reset();
    m_row = -1;
    m_frameBytes = 0;
    m_remainder.clear();
    m_remainderStart = 0;
    m_haveFecNumber = false;
}

bool AudioSource::Open(uint8_t format)
{
    const int row = RavoTables::FindRowByKind(AudioPacket::Kind(format));
    if (row < 0)
        return false;
    WAVEFORMATEX pcm;
    if (!m_decoder.Open(row, false, &pcm))
        return false;
    const EncodeFormatRow& r = EncodeFormatTable[row];
    m_decoded.assign(std::max<uint32_t>(r.blockBytes, 640), 0);
    if (RavoTables::FormatsDiffer(pcm, m_playout)) {
        if (!m_converter.Open(&pcm, &m_playout))
            return false;
        uint32_t size = m_converter.TargetBytesFor(static_cast<uint32_t>(m_decoded.size()));
        if (!size)
            return false;
        m_converted.assign(size, 0);
    }
    if (AudioPacket::IsFec(format)) {
        const int mode = RavoTables::FindFecModeByCode(format);
        m_fecK = mode > 0 ? FecModeTable[mode].k : 8;
        m_fec.reset(new FecReceiver(static_cast<int>(r.frameBytes) + FecReceiver::HEADER));
        if (!m_fec->IsValid())
            return false;
        m_fecFrame.assign(r.frameBytes, 0);
    }
    m_row = row;
    m_frameBytes = r.frameBytes;
    return true;
}

bool AudioSource::Reset(uint8_t format)
{
    m_queue.DropAll();
    CloseDecoders();
    m_playing = false;
    m_format = format;
    if (!Open(format)) {
        CloseDecoders();
        return false;
    }
    return true;
}

bool AudioSource::Insert(const uint8_t* packet, int length)
{
    uint8_t format = 0;
    uint32_t s = 0;
    if (length <= AudioPacket::HEADER_SIZE ||
        !AudioPacket::ReadHeader(packet, static_cast<size_t>(length), &format, &s))
        return false;
    CScopedLock lock(&m_lock);
    const int32_t d = static_cast<int32_t>(s - m_lastReceived - 1);
    if (format != m_format || d < -100 || (s < 100 && d < -20)) {
        if (!Reset(format))
            return false;
        m_lastArrival = m_clock.MultimediaMs();
        m_periodStart = m_clock.TickMs();
        m_lastReceived = s;
        m_lastPlayed = 0;
        m_haveFecNumber = false;
        memset(m_slots, 0, sizeof m_slots);
        m_slotIndex = 0;
        m_slotTime = m_clock.TickMs();
    }
    const uint8_t* payload = packet + AudioPacket::HEADER_SIZE;
    const uint32_t payloadLength = static_cast<uint32_t>(length - AudioPacket::HEADER_SIZE);

    if (!AudioPacket::IsFec(format)) {
        if (AudioPacket::IsRedundant(format)) {
            if (payloadLength % 2 != 0)
                return false;
            const uint32_t half = payloadLength / 2;
            const uint32_t r = AudioPacket::HighNibble(format);
            bool any = false;
            if (!m_local)
                any = InsertFrame(payload + half, half, s - r);
            any = InsertFrame(payload, half, s) || any;
            return any;
        }
        return InsertFrame(payload, payloadLength, s);
    }

    if (!m_fec || !m_frameBytes)
        return false;
    const uint32_t packetBytes = m_frameBytes + FecReceiver::HEADER;
    if (payloadLength % packetBytes != 0)
        return false;
    if (!Bookkeeping(s))
        return false;
    const uint32_t count = payloadLength / packetBytes;
    bool any = false;
    for (uint32_t i = 1; i < count; ++i) {
        const uint8_t* p = payload + i * packetBytes;
        if (FecReceiver::CheckHeader(p))
            any = m_fec->Insert(p, static_cast<int>(packetBytes)) || any;
    }
    if (FecReceiver::CheckHeader(payload))
        any = m_fec->Insert(payload, static_cast<int>(packetBytes)) || any;
    return any;
}

bool AudioSource::InsertFrame(const uint8_t* data, uint32_t length, uint32_t sequence)
{
    if (!m_local) {
        if (sequence < m_lastPlayed)
            return false;
        if (!Bookkeeping(sequence))
            return false;
    }
    CFrameBuffer* buffer = m_queue.GetFree(0);
    if (!buffer) {
        const uint32_t quarter = m_queue.GetFilledCount() / 4;
        RavoLog::Get().Write(3, "\n AudioSource::Insert Clear busyBuffer %d", quarter);
        m_queue.DropFilled(quarter, false);
        buffer = m_queue.GetFree(0);
        if (!buffer)
            return false;
    }
    if (!buffer->SetData(data, length)) {
        m_queue.PutFree(buffer);
        return false;
    }
    buffer->SetSequence(sequence);
    if (m_local)
        m_queue.PutFilled(buffer);
    else if (!m_queue.PutFilledInOrder(buffer))
        return false;
    if (!m_playing &&
        static_cast<int>(m_queue.GetFilledCount() * 100 / QUEUE_FRAMES) >= m_threshold)
        m_playing = true;
    return true;
}

bool AudioSource::Bookkeeping(uint32_t s)
{
    const uint32_t a = m_lastReceived;
    if (s == a)
        return false;
    SourceStatSlot& slot = Slot();
    const uint32_t now = m_clock.MultimediaMs();
    const uint32_t gap = now - m_lastArrival;
    slot.gapSum += gap;
    if (gap > slot.longestGap)
        slot.longestGap = gap;
    m_lastArrival = now;
    const int32_t d = static_cast<int32_t>(s - a - 1);
    if (d < 0) {
        const uint32_t e = a - s;
        if (e > m_maxLateness)
            m_maxLateness = e;
        SubSat(slot.lost);
        RavoLog::Get().Write(
            3, "Received Jiltter AudioPacket = %d,CurSeqnumber = %u,LastSeqnumber = %u\n",
            static_cast<int>(e), s, a);
    } else {
        if (d > 0) {
            AddSat(slot.lost, static_cast<uint32_t>(d));
            RaiseSat(slot.lossBurst, static_cast<uint32_t>(d));
            RavoLog::Get().Write(3, "\nNET Recv Lost %d oldSeq = %2d ,newSeq = %2d", d,
                                 static_cast<int>(a), static_cast<int>(s));
        }
        m_lastReceived = s;
    }
    AddSat(slot.received, 1);
    const uint32_t tick = m_clock.TickMs();
    if (tick - m_periodStart >= 5000) {
        if (!m_local) {
            double t = 2.5 * m_maxLateness;
            if (t < 5.0)
                t = 5.0;
            if (t > 50.0)
                t = 50.0;
            m_threshold = static_cast<int>(t);
        }
        m_maxLateness = 0;
        m_periodStart = tick;
    }
    return true;
}

bool AudioSource::DecodeAppend(const uint8_t* frame, uint32_t length)
{
    uint32_t n =
        m_decoder.Decode(frame, length, m_decoded.data(), static_cast<uint32_t>(m_decoded.size()));
    if (!n)
        return false;
    const uint8_t* pcm = m_decoded.data();
    if (m_converter.IsOpen()) {
        n = m_converter.Convert(m_decoded.data(), n, m_converted.data(),
                                static_cast<uint32_t>(m_converted.size()));
        if (!n)
            return false;
        pcm = m_converted.data();
    }
    if (m_remainderStart) {
        m_remainder.erase(m_remainder.begin(), m_remainder.begin() + m_remainderStart);
        m_remainderStart = 0;
    }
    m_remainder.insert(m_remainder.end(), pcm, pcm + n);
    return true;
}

uint32_t AudioSource::HandOut(uint8_t* buffer, uint32_t length)
{
    const uint32_t available = static_cast<uint32_t>(m_remainder.size()) - m_remainderStart;
    const uint32_t n = std::min(available, length);
    if (n) {
        memcpy(buffer, m_remainder.data() + m_remainderStart, n);
        m_remainderStart += n;
    }
    if (m_remainderStart == m_remainder.size()) {
        m_remainder.clear();
        m_remainderStart = 0;
    }
    return n;
}

uint32_t AudioSource::CurrentLevel() const
{
    return m_fec ? m_fec->GetBuffered() : m_queue.GetFilledCount();
}

void AudioSource::UpdateSlotLevel()
{
    const uint32_t tick = m_clock.TickMs();
    const uint8_t level = Byte(CurrentLevel());
    if (tick - m_slotTime > 1000) {
        m_slotIndex = (m_slotIndex + 1) % SLOTS;
        memset(&m_slots[m_slotIndex], 0, sizeof m_slots[m_slotIndex]);
        m_slots[m_slotIndex].lowLevel = level;
        m_slots[m_slotIndex].highLevel = level;
        m_slotTime = tick;
    } else {
        SourceStatSlot& slot = Slot();
        if (level < slot.lowLevel)
            slot.lowLevel = level;
        if (level > slot.highLevel)
            slot.highLevel = level;
    }
}

int AudioSource::Read(uint8_t* buffer, int length)
{
    if (!buffer || length <= 0)
        return 0;
    CScopedLock lock(&m_lock);
    const uint32_t total = static_cast<uint32_t>(length);
    uint32_t pos = 0;
    bool produced = false;

    if (!m_fec) {
        if (!m_playing || !m_decoder.IsOpen()) {
            // Silence at once; the meter and the one-second slots still move
            // on, so that a sender that went quiet ages out of the statistics.
            memset(buffer, m_silence, total);
            if (m_meter)
                m_meter->Measure(buffer, total);
            UpdateSlotLevel();
            return length;
        }
        pos = HandOut(buffer, total);
        while (pos < total) {
            CFrameBuffer* frame = m_queue.GetFilled(0);
            if (!frame) {
                RavoLog::Get().Write(3, "\r\n play Empty ");
                break;
            }
            m_lastPlayed = frame->GetSequence();
            const bool ok = DecodeAppend(frame->GetData(), frame->GetLength());
            m_queue.PutFree(frame);
            if (!ok)
                break;
            produced = true;
            pos += HandOut(buffer + pos, total - pos);
        }
        if (pos < total) {
            if (!m_local) {
                m_playing = false;
                RavoLog::Get().Write(3, "\r\n play pause ");
            }
            memset(buffer + pos, m_silence, total - pos);
            RavoLog::Get().Write(3, "\r\nPlay Silence B BusyCount =%d",
                                 static_cast<int>(m_queue.GetFilledCount()));
        }
    } else {
        pos = HandOut(buffer, total);
        std::vector<uint8_t>& frame = m_fecFrame;
        while (pos < total) {
            int frameLength = 0;
            uint32_t number = 0;
            if (!m_fec->Pull(frame.data(), static_cast<int>(frame.size()), &frameLength, &number))
                break;
            SourceStatSlot& slot = Slot();
            if (m_haveFecNumber) {
                // Frame numbers wrap with the 16-bit group number: compare them
                // as signed differences within one cycle of numbers.
                const int k = m_fec->GetK() > 0 ? m_fec->GetK() : 1;
                const int64_t cycle = 65536LL * k;
                int64_t diff = (static_cast<int64_t>(number) - m_fecNumber) % cycle;
                if (diff < 0)
                    diff += cycle;
                if (diff > cycle / 2)
                    diff -= cycle;
                if (diff > 1) {
                    AddSat(slot.fecLost, static_cast<uint32_t>(diff - 1));
                    RaiseSat(slot.fecBurst, static_cast<uint32_t>(diff - 1));
                }
            }
            m_haveFecNumber = true;
            m_fecNumber = number;
            AddSat(slot.fecDelivered, 1);
            if (DecodeAppend(frame.data(), static_cast<uint32_t>(frameLength)))
                produced = true;
            pos += HandOut(buffer + pos, total - pos);
        }
        if (!m_playing && m_fec->GetBuffered() > static_cast<uint32_t>(m_fecK))
            m_playing = true;
        if (pos < total) {
            if (!m_local)
                m_playing = false;
            memset(buffer + pos, m_silence, total - pos);
        }
    }

    if (produced && m_volume != UNCHANGED_VOLUME) {
        if (m_playout.wBitsPerSample == 8) {
            // 8-bit PCM is offset-binary: scale around 128.
            for (uint32_t i = 0; i < total; ++i) {
                int v = (static_cast<int>(buffer[i]) - 128) * m_volume / UNCHANGED_VOLUME;
                v = std::min(127, std::max(-128, v));
                buffer[i] = static_cast<uint8_t>(v + 128);
            }
        } else {
            for (uint32_t i = 0; i + 1 < total; i += 2) {
                int16_t s;
                memcpy(&s, buffer + i, 2);
                int v = static_cast<int>(s) * m_volume / UNCHANGED_VOLUME;
                v = std::min(32767, std::max(-32768, v));
                s = static_cast<int16_t>(v);
                memcpy(buffer + i, &s, 2);
            }
        }
    }
    if (m_meter)
        m_meter->Measure(buffer, total);
    UpdateSlotLevel();
    return length;
}

void AudioSource::SetVolume(int volume)
{
    CScopedLock lock(&m_lock);
    m_volume = volume;
}

int AudioSource::GetVolume() const
{
    CScopedLock lock(&m_lock);
    return m_volume;
}

void AudioSource::EnableCalEnergy(bool on)
{
    CScopedLock lock(&m_lock);
    if (on && !m_meter)
        m_meter.reset(new EnergyMeter(m_playout, m_clock));
    else if (!on)
        m_meter.reset();
}

int AudioSource::GetEnergy()
{
    CScopedLock lock(&m_lock);
    if (!m_meter) {
        m_meter.reset(new EnergyMeter(m_playout, m_clock));
        return 0;
    }
    return m_meter->GetLevel();
}

int AudioSource::GetNetState(FEC_NET_STATE* out, char* text, size_t textSize)
{
    if (!out)
        return 0;
    CScopedLock lock(&m_lock);
    out->bufferLevel = CurrentLevel();
    out->missingRatio = m_fec ? m_fec->GetMissingRatio() : 0.0;
    out->presentRatio = m_fec ? m_fec->GetPresentRatio() : 0.0;
    out->lastSequence = m_lastReceived;
    if (!text)
        return 1;

    uint32_t received = 0, lost = 0, delivered = 0, fecLost = 0;
    uint32_t burst = 0, fecBurst = 0, gapSum = 0, longestGap = 0;
    uint32_t lowest = 255, highest = 0;
    bool counted = false;
    for (const SourceStatSlot& s : m_slots) {
        if (!s.received && !s.fecDelivered)
            continue;
        counted = true;
        received += s.received;
        lost += s.lost;
        delivered += s.fecDelivered;
        fecLost += s.fecLost;
        burst = std::max<uint32_t>(burst, s.lossBurst);
        fecBurst = std::max<uint32_t>(fecBurst, s.fecBurst);
        gapSum += s.gapSum;
        longestGap = std::max(longestGap, s.longestGap);
        lowest = std::min<uint32_t>(lowest, s.lowLevel);
        highest = std::max<uint32_t>(highest, s.highLevel);
    }
    if (!counted || !received)
        return 0;
    const double lossPercent = lost * 100.0 / (received + lost);
    const double fecPercent = delivered ? fecLost * 100.0 / (delivered + fecLost) : 0.0;
    if (m_fec) {
        out->lossPercent = static_cast<uint8_t>(fecPercent);
        out->lossBurst = Byte(fecBurst);
    } else {
        out->lossPercent = static_cast<uint8_t>(lossPercent);
        out->lossBurst = Byte(burst);
    }
    const SourceStatSlot& prev = m_slots[(m_slotIndex + SLOTS - 1) % SLOTS];
    if (textSize)
        snprintf(text, textSize,
                 "Lost avg/max/now %5.2f%%/%2d/%2d \nFec  avg/max/now %5.2f%%/%2d/%2d \nDelay "
                 "avg/max/now %3d/%3d/%3d",
                 lossPercent, static_cast<int>(burst), static_cast<int>(prev.lost), fecPercent,
                 static_cast<int>(fecBurst), static_cast<int>(prev.fecLost),
                 static_cast<int>(gapSum / received), static_cast<int>(longestGap),
                 static_cast<int>(prev.longestGap));
    TrimBuffer(static_cast<uint8_t>(lowest));
    return 1;
}

void AudioSource::TrimBuffer(uint8_t lowest)
{
    const uint32_t now = m_clock.MultimediaMs();
    if (now - m_lastCheck <= 5000)
        return;
    m_lastCheck = now;
    m_lowestTracker = std::min<uint32_t>(m_lowestTracker, lowest);
    if (m_lowestTracker < 11) {
        m_checkCount = 0;
        m_lowestTracker = QUEUE_FRAMES;
        return;
    }
    if (++m_checkCount <= 5)
        return;
    int logged = 0;
    if (m_fec) {
        std::vector<uint8_t>& frame = m_fecFrame;
        int length = 0;
        uint32_t number = 0;
        m_fec->Pull(frame.data(), static_cast<int>(frame.size()), &length, &number);
        if (m_fec->GetBuffered() > m_lowestTracker && m_lowestTracker != 0) {
            while (m_fec->GetBuffered() > 5 && m_lowestTracker > 0) {
                if (!m_fec->Pull(frame.data(), static_cast<int>(frame.size()), &length, &number))
                    break;
                --m_lowestTracker;
                ++logged;
            }
        }
    } else {
        const uint32_t queued = m_queue.GetFilledCount();
        if (m_lowestTracker < queued)
            m_queue.DropFilled(m_lowestTracker, false);
        logged = static_cast<int>(m_lowestTracker);
    }
    RavoLog::Get().Write(3, "\r\n clear play buf : %d", logged);
    m_checkCount = 0;
    m_lowestTracker = QUEUE_FRAMES;
}

bool AudioSource::IsPlaying() const
{
    CScopedLock lock(&m_lock);
    return m_playing;
}

bool AudioSource::HasDecoder() const
{
    CScopedLock lock(&m_lock);
    return m_decoder.IsOpen();
}

bool AudioSource::HasFec() const
{
    CScopedLock lock(&m_lock);
    return m_fec != nullptr;
}

uint8_t AudioSource::GetFormatByte() const
{
    CScopedLock lock(&m_lock);
    return m_format;
}

uint32_t AudioSource::GetQueuedCount() const { return m_queue.GetFilledCount(); }

std::vector<uint32_t> AudioSource::GetQueuedSequences() const { return m_queue.FilledSequences(); }

int AudioSource::GetThreshold() const
{
    CScopedLock lock(&m_lock);
    return m_threshold;
}

uint32_t AudioSource::GetLastReceived() const
{
    CScopedLock lock(&m_lock);
    return m_lastReceived;
}

uint32_t AudioSource::GetLastPlayed() const
{
    CScopedLock lock(&m_lock);
    return m_lastPlayed;
}

SourceStatSlot AudioSource::GetSlot(int index) const
{
    CScopedLock lock(&m_lock);
    return m_slots[((index % SLOTS) + SLOTS) % SLOTS];
}

int AudioSource::GetSlotIndex() const
{
    CScopedLock lock(&m_lock);
    return m_slotIndex;
}

} // namespace RavoEngine
