#include "CKadrelProbe.h"

#include "CMeetingClock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

double CKadrelProbe::NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / frequency;
}

double CKadrelProbe::Amplitude(const std::vector<int16_t>& samples, double rate, double hz)
{
    // Blocks of 100 ms, each measured on its own: the jitter buffer may
    // drop or insert a frame now and then, which breaks the tone's phase,
    // and on a loaded machine a block may have run short of packets. The
    // upper quartile of the blocks tells the level the tone is heard at
    // while it flows.
    const size_t block = static_cast<size_t>(rate / 10);
    if (block == 0 || samples.size() < block)
        return 0;
    const double w = 6.283185307179586 * hz / rate;
    const double coefficient = 2 * std::cos(w);
    std::vector<double> levels;
    for (size_t start = 0; start + block <= samples.size(); start += block) {
        double s1 = 0, s2 = 0;
        for (size_t i = start; i < start + block; ++i) {
            double s = samples[i] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s;
        }
        const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        levels.push_back(2 * std::sqrt(std::max(power, 0.0)) / block);
    }
    const size_t quartile = levels.size() * 3 / 4;
    std::nth_element(levels.begin(), levels.begin() + quartile, levels.end());
    return levels[quartile];
}

void CKadrelProbe::OnPlayed(void* context, const void* data, unsigned long length)
{
    CKadrelProbe* self = static_cast<CKadrelProbe*>(context);
    const double now = NowMs();
    const int16_t* samples = static_cast<const int16_t*>(data);
    const size_t count = length / 2;
    std::lock_guard<std::mutex> lock(self->m_lock);
    if (now < self->m_plan.fromMs || now > self->m_plan.toMs)
        return;
    self->m_played.insert(self->m_played.end(), samples, samples + count);
    // Burst starts: the first loud sample after 50 ms of quiet. The block is
    // handed to the device now; its sample i lies (count - i) samples before
    // the block's end.
    const double sampleMs = 1000.0 / self->m_rate;
    for (size_t i = 0; i < count; ++i) {
        const double at = now - (count - i) * sampleMs;
        if (std::abs(samples[i]) > 1500) {
            if (!self->m_inBurst && at - self->m_quietSince >= 50)
                self->m_onsets.push_back(at);
            self->m_inBurst = true;
            self->m_quietSince = at;
        } else if (self->m_inBurst && at - self->m_quietSince >= 20) {
            self->m_inBurst = false;
        }
    }
}

int CKadrelProbe::OnRecord(void* context, unsigned long extra, unsigned long userId,
                           const void* data, unsigned long length)
{
    CKadrelProbe* self = static_cast<CKadrelProbe*>(context);
    std::lock_guard<std::mutex> lock(self->m_lock);
    RecordStats& stats = self->m_records[static_cast<uint32_t>(userId)];
    ++stats.packets;
    if (extra != userId || !data || length == 0) {
        ++stats.mismatched;
        return 0;
    }
    stats.firstByte = static_cast<const uint8_t*>(data)[0];
    stats.length = static_cast<uint32_t>(length);
    return 0;
}

bool CKadrelProbe::Run(const Plan& plan, Result* result)
{
    m_plan = plan;
    if (!plan.clock.empty())
        m_plan.fromMs = m_plan.toMs = -1; // nothing is measured before the window is known
    *result = Result();
    char tone[96];
    if (plan.periodMs > 0)
        snprintf(tone, sizeof tone, "%g,%d,%g,%g", plan.toneHz, plan.amplitude, plan.burstMs,
                 plan.periodMs);
    else
        snprintf(tone, sizeof tone, "%g,%d", plan.toneHz, plan.amplitude);
    SetEnvironmentVariableA("KADREL_TEST_TONE", tone);
    if (!m_kadrel.Init(0, 16000))
        return false;
    m_kadrel.SetPlayCallback(this, &CKadrelProbe::OnPlayed);
    if (!m_kadrel.StartPlay(0)) {
        m_kadrel.Release();
        return false;
    }
    WAVEFORMATEX format = {};
    if (m_kadrel.GetPlayFormat(&format) && format.nSamplesPerSec)
        m_rate = format.nSamplesPerSec;
    result->playRate = m_rate;
    bool ok = m_kadrel.StartCapture(0) != 0;
    // A machine busy starting the other participants may keep the server
    // from answering a join in time: the test asks again, as a user would.
    for (int attempt = 0; ok && attempt < 3 && !result->connected; ++attempt)
        result->connected = m_kadrel.Connect(plan.room, plan.user, "127.0.0.1", plan.audioPort);
    if (plan.playLocal)
        m_kadrel.SetPlayLocal(1);
    for (uint32_t source : plan.sources)
        m_kadrel.AddSource(source);
    m_kadrel.SetSendAudio(plan.send ? 1 : 0);
    m_kadrel.SetRecord(1, &CKadrelProbe::OnRecord, this);

    double captureSum = 0, playSum = 0;
    int readings = 0;
    CMeetingClock clock;
    double toMs = plan.toMs;
    if (!plan.clock.empty()) {
        if (!clock.Open(plan.clock))
            ok = false;
        clock.Ready();
        toMs = NowMs() + CMeetingClock::LONGEST_WAIT_MS;
    }
    for (double now = NowMs(); now < toMs; now = NowMs()) {
        Sleep(100);
        double from = 0, to = 0;
        if (!plan.clock.empty() && clock.Window(&from, &to)) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_plan.fromMs = from;
            m_plan.toMs = toMs = to;
        }
        now = NowMs();
        if (now >= m_plan.fromMs && now <= m_plan.toMs) {
            unsigned int level = 0;
            m_kadrel.GetParam(AUDIO_PARAM_CAPTURE_LEVEL, &level);
            captureSum += level;
            playSum += m_kadrel.GetPlayEnergy();
            ++readings;
        }
    }
    m_kadrel.SetRecord(0, nullptr, nullptr);
    m_kadrel.Disconnect();
    m_kadrel.StopCapture();
    m_kadrel.StopPlay();
    m_kadrel.Release();

    std::lock_guard<std::mutex> lock(m_lock);
    if (readings) {
        result->captureLevel = captureSum / readings;
        result->playEnergy = playSum / readings;
    }
    double sum = 0;
    for (int16_t s : m_played)
        sum += std::abs(static_cast<int>(s));
    result->tapLevel = m_played.empty() ? 0 : sum / m_played.size() * 100 / 24575;
    for (double hz : plan.probes)
        result->amplitudes.push_back(Amplitude(m_played, m_rate, hz));
    result->records = m_records;
    result->onsetsMs = m_onsets;
    return ok;
}

namespace {
std::string Join(const std::vector<double>& values)
{
    std::ostringstream out;
    out.precision(15);
    for (size_t i = 0; i < values.size(); ++i)
        out << (i ? "," : "") << values[i];
    return out.str();
}

std::vector<double> Split(const std::string& text)
{
    std::vector<double> values;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty())
            values.push_back(atof(item.c_str()));
    return values;
}
} // namespace

std::string CKadrelProbe::FormatPlan(const Plan& p)
{
    std::vector<double> sources(p.sources.begin(), p.sources.end());
    std::ostringstream out;
    out.precision(15);
    out << "port=" << p.audioPort << " room=" << p.room << " user=" << p.user
        << " tone=" << p.toneHz << " amplitude=" << p.amplitude << " burst=" << p.burstMs
        << " period=" << p.periodMs << " send=" << (p.send ? 1 : 0)
        << " local=" << (p.playLocal ? 1 : 0) << " sources=" << Join(sources)
        << " from=" << p.fromMs << " to=" << p.toMs << " probes=" << Join(p.probes);
    if (!p.clock.empty())
        out << " clock=" << p.clock;
    return out.str();
}

bool CKadrelProbe::ParsePlan(int argc, char** argv, Plan* p)
{
    int seen = 0;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        size_t eq = arg.find('=');
        if (eq == std::string::npos)
            return false;
        std::string key = arg.substr(0, eq), value = arg.substr(eq + 1);
        ++seen;
        if (key == "port")
            p->audioPort = static_cast<uint16_t>(atoi(value.c_str()));
        else if (key == "room")
            p->room = static_cast<uint32_t>(atol(value.c_str()));
        else if (key == "user")
            p->user = static_cast<uint32_t>(atol(value.c_str()));
        else if (key == "tone")
            p->toneHz = atof(value.c_str());
        else if (key == "amplitude")
            p->amplitude = atoi(value.c_str());
        else if (key == "burst")
            p->burstMs = atof(value.c_str());
        else if (key == "period")
            p->periodMs = atof(value.c_str());
        else if (key == "send")
            p->send = value == "1";
        else if (key == "local")
            p->playLocal = value == "1";
        else if (key == "from")
            p->fromMs = atof(value.c_str());
        else if (key == "to")
            p->toMs = atof(value.c_str());
        else if (key == "probes")
            p->probes = Split(value);
        else if (key == "clock")
            p->clock = value;
        else if (key == "sources") {
            p->sources.clear();
            for (double s : Split(value))
                p->sources.push_back(static_cast<uint32_t>(s));
        } else {
            return false;
        }
    }
    return seen > 0;
}

std::string CKadrelProbe::FormatResult(const Result& r)
{
    std::ostringstream out;
    out.precision(15);
    out << "connected " << r.connected << "\n"
        << "capture_level " << r.captureLevel << "\n"
        << "play_energy " << r.playEnergy << "\n"
        << "tap_level " << r.tapLevel << "\n"
        << "play_rate " << r.playRate << "\n"
        << "amplitudes " << Join(r.amplitudes) << "\n"
        << "onsets " << Join(r.onsetsMs) << "\n";
    for (const auto& record : r.records)
        out << "record " << record.first << " " << record.second.packets << " "
            << record.second.mismatched << " " << record.second.firstByte << " "
            << record.second.length << "\n";
    out << "end\n";
    return out.str();
}

bool CKadrelProbe::ParseResult(const std::string& text, Result* r)
{
    std::istringstream in(text);
    std::string line;
    bool ended = false;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        std::string rest;
        if (key == "connected")
            fields >> r->connected;
        else if (key == "capture_level")
            fields >> r->captureLevel;
        else if (key == "play_energy")
            fields >> r->playEnergy;
        else if (key == "tap_level")
            fields >> r->tapLevel;
        else if (key == "play_rate")
            fields >> r->playRate;
        else if (key == "amplitudes") {
            fields >> rest;
            r->amplitudes = Split(rest);
        } else if (key == "onsets") {
            fields >> rest;
            r->onsetsMs = Split(rest);
        } else if (key == "record") {
            uint32_t id = 0;
            RecordStats s;
            fields >> id >> s.packets >> s.mismatched >> s.firstByte >> s.length;
            r->records[id] = s;
        } else if (key == "end") {
            ended = true;
        }
    }
    return ended;
}
