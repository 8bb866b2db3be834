#include "AudioSource.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "CScopedLock.h"
#include "FecHeader.h"
#include "SonvexLog.h"

namespace SonvexFilterCore {

namespace {

void AddSaturated(uint8_t& counter, uint32_t amount)
{
    uint32_t v = counter + amount;
    counter = static_cast<uint8_t>(v > 255 ? 255 : v);
}

void RaiseTo(uint8_t& counter, uint32_t value)
{
    if (value > 255)
        value = 255;
    if (value > counter)
        counter = static_cast<uint8_t>(value);
}

} // namespace

AudioSource::AudioSource(uint32_t id, const FrameCodecFactory* g7221, const AudioClock& clock)
    : m_id(id), m_queue(QUEUE_BUFFERS, 0), m_decode(DECODE_BUFFER), m_g7221(g7221), m_clock(clock)
{
    InitializeCriticalSection(&m_lock);
    memset(&m_pcmFormat, 0, sizeof(m_pcmFormat));
    memset(&m_outFormat, 0, sizeof(m_outFormat));
    memset(m_slots, 0, sizeof(m_slots));
}

AudioSource::~AudioSource()
{
    Close();
    DeleteCriticalSection(&m_lock);
}

void AudioSource::CloseStream()
{
    m_queue.DropFilled(QUEUE_BUFFERS, false);
    if (m_codec)
        m_codec->Close();
    if (m_fec)
        m_fec->Flush();
    m_fec.reset();
    m_decodeBytes = 0;
}

bool AudioSource::Open(uint8_t header, uint32_t sequence)
{
    CloseStream();
    m_header = 255;
    m_codecId = CODEC_ID_NONE;
    if (!m_codec)
        m_codec.reset(new (std::nothrow)
                          AudioCodec(EncodeFormatTable, ENCODE_FORMAT_COUNT, m_g7221));
    const uint8_t id = header & 0x0F;
    if (!m_codec || !m_codec->OpenById(id, 0, &m_pcmFormat)) {
        if (m_codec)
            m_codec->Close();
        return false;
    }
    m_outFormat = m_pcmFormat;
    if (header & 0xF0) {
        const FecModeRow* row = FindFecModeByHeader(header);
        if (!row) {
            m_codec->Close();
            return false;
        }
        m_fec.reset(new (std::nothrow) FecDecoder(FEC_QUEUE_LIMIT));
        if (!m_fec) {
            m_codec->Close();
            return false;
        }
        m_m = row->m;
        m_k = row->k;
        m_n = row->n;
        m_packetSize = static_cast<int>(m_codec->GetRow()->frameBytes) * m_m + FecHeader::SIZE;
        m_fecIn.assign(PACKET_BUFFER, 0);
        m_fecOut.assign(PACKET_BUFFER, 0);
    }
    m_header = header;
    m_codecId = id;
    DWORD tick = m_clock.TickCount();
    m_lastArrival = m_clock.MediaTime();
    m_thresholdTime = tick;
    m_lastReceived = sequence;
    m_lowestSequence = 0;
    memset(m_slots, 0, sizeof(m_slots));
    m_slotIndex = 0;
    m_slotStart = 0;
    m_lastFecSequence = 0;
    m_lastOutCount = 0;
    return true;
}

int AudioSource::Write(uint32_t sequence, const uint8_t* packet, uint32_t length)
{
    if (!packet || length < 1)
        return 0;
    CScopedLock lock(&m_lock);
    bool reset = packet[0] != m_header;
    if (!reset && m_header != 255) {
        // A sender that restarted its numbering starts the stream afresh.
        int32_t d = static_cast<int32_t>(sequence - m_lastReceived - 1);
        if (d < -100 || (sequence < 100 && d < -20))
            reset = true;
    }
    if (reset && !Open(packet[0], sequence))
        return 0;
    if (m_fec)
        FecInsert(sequence, packet + 1, length - 1);
    else
        PlainInsert(sequence, packet + 1, length - 1);
    return 1;
}

bool AudioSource::ArrivalStatistics(uint32_t sequence)
{
    if (sequence == m_lastReceived)
        return false;
    Slot& slot = m_slots[m_slotIndex];
    DWORD now = m_clock.MediaTime();
    DWORD between = now - m_lastArrival;
    slot.arrivalSum += between;
    if (between > slot.longestArrival)
        slot.longestArrival = between;
    m_lastArrival = now;

    int32_t gap = static_cast<int32_t>(sequence - m_lastReceived - 1);
    if (gap < 0) {
        uint32_t jump = m_lastReceived - sequence;
        if (jump > m_largestJump)
            m_largestJump = jump;
        SonvexLog::Write("Received Jiltter AudioPacket = %d,CurSeqnumber = %u,LastSeqnumber = %u\n",
                         static_cast<int>(jump), sequence, m_lastReceived);
        if (slot.lost > 0)
            --slot.lost;
    } else {
        if (gap > 0) {
            AddSaturated(slot.lost, static_cast<uint32_t>(gap));
            RaiseTo(slot.longestGap, static_cast<uint32_t>(gap));
            SonvexLog::Write("\nNET Recv Lost %d oldSeq = %2d ,newSeq = %2d", gap,
                             static_cast<int>(m_lastReceived), static_cast<int>(sequence));
        }
        m_lastReceived = sequence;
    }
    AddSaturated(slot.received, 1);

    DWORD tick = m_clock.TickCount();
    if (tick - m_thresholdTime > 4999) {
        double t = 2.5 * m_largestJump;
        int threshold = t > 50.0 ? 50 : static_cast<int>(t);
        m_startThreshold = threshold < 5 ? 5 : threshold;
        m_largestJump = 0;
        m_thresholdTime = tick;
    }
    if (tick - m_trimTime > 5000) {
        uint32_t lowest = 65535;
        for (const Slot& s : m_slots)
            if (s.received && s.lowLevel < lowest)
                lowest = s.lowLevel;
        bool tooFull = m_fec ? (lowest > 10 && lowest > static_cast<uint32_t>(m_n)) : lowest > 10;
        m_tooFullRun = tooFull ? m_tooFullRun + 1 : 0;
        if (m_tooFullRun > 5) {
            Trim(lowest);
            m_tooFullRun = 0;
        }
        m_trimTime = tick;
    }
    return true;
}

void AudioSource::Trim(uint32_t lowest)
{
    int dropped = 0;
    if (m_fec) {
        int length = 0;
        int held = m_fec->Pull(m_fecOut.data(), static_cast<int>(m_fecOut.size()), &length);
        if (held > static_cast<int>(lowest)) {
            for (uint32_t i = 0; i < lowest && held > 5; ++i) {
                held = m_fec->Pull(m_fecOut.data(), static_cast<int>(m_fecOut.size()), &length);
                if (held <= 0)
                    break;
                ++dropped;
            }
        }
    } else {
        uint32_t queued = m_queue.GetFilledCount();
        if (queued > lowest && queued > 5)
            dropped = static_cast<int>(m_queue.DropFilled(queued - 5, false));
    }
    SonvexLog::Write("\r\n clear play buf : %d", dropped);
}

bool AudioSource::PlainInsert(uint32_t sequence, const uint8_t* frame, uint32_t length)
{
    if (sequence < m_lowestSequence)
        return false;
    if (!ArrivalStatistics(sequence))
        return false;
    SequencedBuffer* buffer = m_queue.GetFree(0);
    if (!buffer) {
        uint32_t quarter = m_queue.GetFilledCount() / 4;
        SonvexLog::Write("\n AudioSource::Insert Clear busyBuffer %d", quarter);
        m_queue.DropFilled(quarter, false);
        buffer = m_queue.GetFree(0);
        if (!buffer)
            return false;
    }
    if (!buffer->SetData(frame, length)) {
        m_queue.PutFree(buffer);
        return false;
    }
    buffer->SetSequence(sequence);
    if (!m_queue.PutFilledInOrder(buffer))
        return false;
    if (!m_playing &&
        static_cast<int>(m_queue.GetFilledCount() * 100 / QUEUE_BUFFERS) >= m_startThreshold)
        m_playing = 1;
    return true;
}

bool AudioSource::FecInsert(uint32_t sequence, const uint8_t* payload, uint32_t length)
{
    if (!ArrivalStatistics(sequence))
        return false;
    const uint32_t p = static_cast<uint32_t>(m_packetSize);
    if (p <= FecHeader::SIZE || p > m_fecIn.size())
        return true;
    auto insert = [&](const uint8_t* chunk) {
        if (!FecHeader::Read(chunk).IsValid())
            return;
        memcpy(m_fecIn.data(), chunk, p);
        m_fec->Insert(m_fecIn.data(), static_cast<int>(p) - FecHeader::SIZE);
    };
    // The parity packets that ride along go in first, the data packet last.
    for (uint32_t offset = p; offset + p <= length; offset += p)
        insert(payload + offset);
    if (p <= length)
        insert(payload);
    return true;
}

uint32_t AudioSource::CurrentLevel() { return m_fec ? m_lastOutCount : m_queue.GetFilledCount(); }

bool AudioSource::PlainRead()
{
    if (m_decode.size() - m_decodeBytes < AUDIO_BLOCK_BYTES)
        return false;
    SequencedBuffer* buffer = m_queue.GetFilled(0);
    if (!buffer)
        return false;
    if (buffer->GetLength() == 0) {
        m_queue.PutFree(buffer);
        return false;
    }
    m_lowestSequence = buffer->GetSequence();
    int produced =
        m_codec->Decode(buffer->GetData(), buffer->GetLength(), m_decode.data() + m_decodeBytes,
                        static_cast<uint32_t>(m_decode.size() - m_decodeBytes));
    m_queue.PutFree(buffer);
    uint32_t queued = m_queue.GetFilledCount();
    Slot& slot = m_slots[m_slotIndex];
    if (queued < slot.lowLevel)
        slot.lowLevel = static_cast<uint8_t>(queued);
    RaiseTo(slot.highLevel, queued);
    if (produced <= 0)
        return false;
    m_decodeBytes += static_cast<uint32_t>(produced);
    return true;
}

bool AudioSource::FecRead()
{
    // Pull only what the decode buffer can take whole.
    if (m_decode.size() - m_decodeBytes < static_cast<size_t>(m_m) * AUDIO_BLOCK_BYTES)
        return false;
    int length = 0;
    int count = m_fec->Pull(m_fecOut.data(), static_cast<int>(m_fecOut.size()), &length);
    if (count <= 0)
        return false;
    m_lastOutCount = static_cast<uint32_t>(count);
    FecHeader h = FecHeader::Read(m_fecOut.data());
    uint32_t sequence = static_cast<uint32_t>(h.group) * static_cast<uint32_t>(m_k) +
                        static_cast<uint32_t>(h.index);
    m_lowestSequence = sequence;
    int payload = length - FecHeader::SIZE;
    int frameBytes = payload / m_m;
    int produced = 0;
    for (int i = 0; i < m_m && frameBytes > 0; ++i) {
        int got =
            m_codec->Decode(m_fecOut.data() + FecHeader::SIZE + i * frameBytes,
                            static_cast<uint32_t>(frameBytes), m_decode.data() + m_decodeBytes,
                            static_cast<uint32_t>(m_decode.size() - m_decodeBytes));
        if (got > 0) {
            m_decodeBytes += static_cast<uint32_t>(got);
            produced += got;
        }
    }
    if (m_lastFecSequence == 0)
        m_lastFecSequence = sequence;
    Slot& slot = m_slots[m_slotIndex];
    int32_t gap = static_cast<int32_t>(sequence - m_lastFecSequence - 1);
    if (gap > 0) {
        SonvexLog::Write("\nFEC Lost %2d oldSeq = %6d ,newSeq = %6d", gap,
                         static_cast<int>(m_lastFecSequence), static_cast<int>(sequence));
        AddSaturated(slot.lostAfterFec, static_cast<uint32_t>(gap));
        RaiseTo(slot.longestLostAfterFec, static_cast<uint32_t>(gap));
    }
    if (m_lastOutCount < slot.lowLevel)
        slot.lowLevel = static_cast<uint8_t>(m_lastOutCount);
    RaiseTo(slot.highLevel, m_lastOutCount);
    m_lastFecSequence = sequence;
    AddSaturated(slot.deliveredByFec, 1);
    return produced > 0;
}

uint32_t AudioSource::Read(uint8_t* buffer, uint32_t length)
{
    if (!buffer)
        return 0;
    CScopedLock lock(&m_lock);
    const bool codec = m_codec && m_codec->IsOpen();
    if (m_fec && codec && !m_playing) {
        // Fill five reads' worth first, as far as the decode buffer allows.
        size_t room = m_decode.size() - static_cast<size_t>(m_m) * AUDIO_BLOCK_BYTES;
        size_t target = static_cast<size_t>(length) * 5;
        if (target > room)
            target = room;
        while (m_decodeBytes < target && FecRead()) {}
        if (m_decodeBytes >= target)
            m_playing = 1;
    }
    if (!m_playing || !codec) {
        memset(buffer, 0, length);
        return length;
    }
    uint32_t played = 0;
    for (;;) {
        uint32_t move = m_decodeBytes < length - played ? m_decodeBytes : length - played;
        memcpy(buffer + played, m_decode.data(), move);
        memmove(m_decode.data(), m_decode.data() + move, m_decodeBytes - move);
        m_decodeBytes -= move;
        played += move;
        if (played == length)
            break;
        if (!(m_fec ? FecRead() : PlainRead()))
            break;
    }
    if (played < length) {
        m_playing = 0;
        memset(buffer + played, 0, length - played);
        SonvexLog::Write("Play Stop\n");
    }
    if (m_volume != 80 && played > 0) {
        int16_t* s = reinterpret_cast<int16_t*>(buffer);
        for (uint32_t i = 0; i < length / 2; ++i) {
            // In 64 bits: a large gain must saturate, not wrap.
            int64_t v = static_cast<int64_t>(s[i]) * m_volume / 80;
            if (v > 32767)
                v = 32767;
            else if (v < -32768)
                v = -32768;
            s[i] = static_cast<int16_t>(v);
        }
    }
    if (m_meter)
        m_meter->Add(buffer, length);
    DWORD tick = m_clock.TickCount();
    if (tick - m_slotStart > 1000) {
        m_slotIndex = (m_slotIndex + 1) % SLOTS;
        Slot& slot = m_slots[m_slotIndex];
        memset(&slot, 0, sizeof(slot));
        uint32_t level = CurrentLevel();
        slot.lowLevel = slot.highLevel = static_cast<uint8_t>(level > 255 ? 255 : level);
        m_slotStart = tick;
    }
    return length;
}

void AudioSource::SetVolume(int volume)
{
    CScopedLock lock(&m_lock);
    m_volume = volume;
}

int AudioSource::GetVolume()
{
    CScopedLock lock(&m_lock);
    return m_volume;
}

void AudioSource::EnableCalEnergy(int on)
{
    CScopedLock lock(&m_lock);
    m_meterOn = on;
    EnergyMeter::Switch(m_meter, on, m_clock);
}

int AudioSource::GetEnergy()
{
    CScopedLock lock(&m_lock);
    if (!m_meter)
        m_meterOn = 1;
    return EnergyMeter::ReadLevel(m_meter, m_clock);
}

int AudioSource::GetNetState(FEC_NET_STATE* state, char* text)
{
    if (!state)
        return 0;
    CScopedLock lock(&m_lock);
    state->queued = m_queue.GetFilledCount();
    state->lastSequence = m_lastReceived;
    uint32_t lost = 0, received = 0, lostAfterFec = 0, delivered = 0;
    uint32_t longestGap = 0, longestFecRun = 0, longestArrival = 0;
    for (const Slot& s : m_slots) {
        if (!s.received && !s.deliveredByFec)
            continue;
        lost += s.lost;
        received += s.received;
        lostAfterFec += s.lostAfterFec;
        delivered += s.deliveredByFec;
        if (s.longestGap > longestGap)
            longestGap = s.longestGap;
        if (s.longestLostAfterFec > longestFecRun)
            longestFecRun = s.longestLostAfterFec;
        if (s.longestArrival > longestArrival)
            longestArrival = s.longestArrival;
    }
    if (!received)
        return 0;
    double loss = lost * 100.0 / (lost + received);
    double fecLoss = delivered > 0 ? lostAfterFec * 100.0 / (delivered + lostAfterFec) : 0.0;
    if (m_fec) {
        state->lossPercent = static_cast<uint8_t>(fecLoss);
        state->longestLoss = static_cast<uint8_t>(longestFecRun);
    } else {
        state->lossPercent = static_cast<uint8_t>(loss);
        state->longestLoss = static_cast<uint8_t>(longestGap);
    }
    if (text) {
        const Slot& prev = m_slots[(m_slotIndex + SLOTS - 1) % SLOTS];
        sprintf(text,
                "Lost avg/max/now %5.2f%%/%2d/%2d \n Fec  avg/max/now %5.2f%%/%2d/%2d \n Delay "
                "max/now %3d/%3d",
                loss, static_cast<int>(longestGap), prev.lost, fecLoss,
                static_cast<int>(longestFecRun), prev.lostAfterFec,
                static_cast<int>(longestArrival), static_cast<int>(prev.longestArrival));
    }
    return 1;
}

void AudioSource::Close()
{
    CScopedLock lock(&m_lock);
    if (m_codec)
        m_codec->Close();
    if (m_fec)
        m_fec->Flush();
    m_fec.reset();
    m_queue.Stop();
    m_meter.reset();
    m_meterOn = 0;
}

bool AudioSource::IsPlaying()
{
    CScopedLock lock(&m_lock);
    return m_playing != 0;
}

int AudioSource::GetStartThreshold()
{
    CScopedLock lock(&m_lock);
    return m_startThreshold;
}

} // namespace SonvexFilterCore
