#include "NlmsEchoState.h"

#include <cmath>
#include <cstring>

namespace RavoTDevice {

namespace {
const int kSlotLength = 16;
const int kSpare = 80;

const double kBandB[17] = {0.242733062448361,    -0.08708720225882005, -1.715373718236536,
                           0.3835052620203334,   5.546250899360883,    -0.6379297595881699,
                           -10.6103499503168,    0.3411275766891819,   13.07424786470546,
                           0.3411275766892077,   -10.6103499503168,    -0.6379297595881901,
                           5.546250899360898,    0.383505262020331,    -1.715373718236537,
                           -0.08708720225882019, 0.242733062448361};
const double kBandA[17] = {1.0,
                           -1.697268355467858,
                           -3.155922125557652,
                           5.135772741020757,
                           6.804968003089668,
                           -8.853286143665326,
                           -9.089725569397467,
                           8.781933262346051,
                           8.780330980694266,
                           -5.805247156401635,
                           -5.49619313312695,
                           2.172114870385503,
                           2.387062990025047,
                           -0.4779753690550202,
                           -0.5565847958063058,
                           -0.0238363562966231,
                           0.09406097850341125};

// Residual tracking: blocks of 125 slots (250 ms at 8 kHz) averaging the
// ratio of the slots' residual peak to the far end's peak, the floor the
// smallest block of the last 5 seconds; the residual must pass it 5 times
// over to count as near talk; slots with a quiet far end say nothing.
const int kBlockSlots = 125;
const int kBlocks = 20;
const double kResidualMargin = 5.0;
const double kFarActive = 200.0;

// Filter comparison: windows of 512 samples with the far end active; the
// second filter takes over after 2 windows in a row with under a quarter of
// the residual energy of the first, and is set back to the first after a
// window with over four times its residual.
const int kCompareSamples = 512;
const int kShadowWinsToSwap = 2;
const double kShadowBetter = 0.25;

const double kEmphPole = 0.78833646;
const double kEmphGain = 0.105831884;

double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }
} // namespace

NlmsEchoState::Config NlmsEchoState::ModeOne()
{
    return Config{640, 40, 240, 0.55, 1.0, 640.0 * 800.0 * 800.0, true, false, false, true};
}

NlmsEchoState::Config NlmsEchoState::SharedModes(unsigned sampleRate, int mode)
{
    Config c;
    if (sampleRate == 16000)
        c = Config{180, 11, 399, 1.2, 0.7, 640.0 * 3000.0 * 3000.0, false, true, true, true};
    else
        c = Config{640, 40, 179, 1.3, 1.5, 640.0 * 800.0 * 800.0, false, true, true, true};
    if (mode == 3)
        c.threshold = 0.25;
    else if (mode == 4)
        c.threshold = 0.85;
    else if (mode == 5)
        c.threshold = 1.5;
    c.threshold = Clamp(c.threshold, 0.25, 1.5);
    return c;
}

NlmsEchoState::NlmsEchoState(const Config& config) { Reset(config); }

void NlmsEchoState::Reset(const Config& config)
{
    m_config = config;
    m_meanMic = m_meanFar = 0;
    m_slotMax.assign(config.slots, 0.0);
    m_slot = m_slotFill = 0;
    m_farPeak = 0;
    m_hang = 0;
    m_weights.assign(config.taps, 0.0);
    m_x.assign(config.taps + kSpare, 0.0);
    m_xf.assign(config.taps + kSpare, 0.0);
    m_pos = kSpare;
    m_energy = config.energyStart;
    m_prevFar = m_prevFarEmph = m_prevErr = m_prevErrEmph = 0;
    memset(m_band, 0, sizeof(m_band));
    m_samples = 0;
    m_nearLevel = 3;
    ForgetResidual();
    m_slotTalk = false;
    m_shadow.assign(config.learnedPath ? config.taps : 0, 0.0);
    m_prevShadowErr = m_prevShadowErrEmph = 0;
    m_mainSum = m_shadowSum = 0;
    m_compareFill = 0;
    m_shadowWins = 0;
}

void NlmsEchoState::ForgetResidual()
{
    m_errSlotMax = 0;
    m_blockSum = 0;
    m_blockActive = 0;
    m_blockSlots = 0;
    m_blockMins.assign(kBlocks, 1e30);
    m_blockIndex = 0;
    m_blocksFilled = 0;
}

double NlmsEchoState::ResidualFloor() const
{
    if (!m_blocksFilled)
        return 1e30; // nothing learned yet: the threshold alone decides
    double floor = 1e30;
    for (int i = 0; i < m_blocksFilled; ++i)
        if (m_blockMins[i] < floor)
            floor = m_blockMins[i];
    return floor;
}

void NlmsEchoState::TrackResidual(double farPeak)
{
    // Slots with near talk say nothing about the path, except while nothing
    // is learned yet (the threshold may take loud echo for talk then).
    const bool talked = m_slotTalk && m_blocksFilled > 0;
    m_slotTalk = false;
    if (farPeak > kFarActive && !talked) {
        m_blockSum += m_errSlotMax / farPeak;
        ++m_blockActive;
    }
    m_errSlotMax = 0;
    if (++m_blockSlots < kBlockSlots)
        return;
    m_blockSlots = 0;
    if (m_blockActive > kBlockSlots / 2) {
        m_blockMins[m_blockIndex] = m_blockSum / m_blockActive;
        m_blockIndex = (m_blockIndex + 1) % kBlocks;
        if (m_blocksFilled < kBlocks)
            ++m_blocksFilled;
    }
    m_blockSum = 0;
    m_blockActive = 0;
}

double NlmsEchoState::RunShadow(const double* x, const double* xf, double nearSig, bool farActive)
{
    const int taps = m_config.taps;
    double estimate = 0;
    for (int k = 0; k < taps; ++k)
        estimate += m_shadow[k] * x[k];
    const double err = nearSig - estimate;
    const double errEmph = kEmphPole * m_prevShadowErrEmph + kEmphGain * (err - m_prevShadowErr);
    m_prevShadowErr = err;
    m_prevShadowErrEmph = errEmph;
    // It adapts through double talk, but not on a silent far end, where the
    // normaliser alone would blow any near sound up into the weights.
    if (farActive) {
        const double mu = m_config.step * errEmph / m_energy;
        for (int k = 0; k < taps; ++k)
            m_shadow[k] += mu * xf[k];
    }
    return err;
}

void NlmsEchoState::CompareFilters(double err, double shadowErr, bool farActive)
{
    if (!farActive)
        return;
    m_mainSum += err * err;
    m_shadowSum += shadowErr * shadowErr;
    if (++m_compareFill < kCompareSamples)
        return;
    if (m_shadowSum < kShadowBetter * m_mainSum) {
        if (++m_shadowWins >= kShadowWinsToSwap) {
            // The echo path has changed: take the second filter's weights
            // and learn the new residual level from scratch.
            m_weights = m_shadow;
            m_prevErr = m_prevShadowErr;
            m_prevErrEmph = m_prevShadowErrEmph;
            ForgetResidual();
            m_hang = 0;
            m_shadowWins = 0;
        }
    } else {
        m_shadowWins = 0;
        // Double talk threw the second filter off: start it again from the
        // first.
        if (m_mainSum < kShadowBetter * m_shadowSum) {
            m_shadow = m_weights;
            m_prevShadowErr = m_prevErr;
            m_prevShadowErrEmph = m_prevErrEmph;
        }
    }
    m_mainSum = m_shadowSum = 0;
    m_compareFill = 0;
}

double NlmsEchoState::BandFilter(double x)
{
    // w(n) = x(n) - sum a(k) w(n-k); y(n) = sum b(k) w(n-k).
    double w = x;
    for (int k = 16; k >= 1; --k)
        w -= kBandA[k] * m_band[k - 1];
    double y = kBandB[0] * w;
    for (int k = 16; k >= 1; --k)
        y += kBandB[k] * m_band[k - 1];
    memmove(m_band + 1, m_band, 15 * sizeof(double));
    m_band[0] = w;
    return Clamp(y, -32768.0, 32767.0);
}

short NlmsEchoState::Process(short mic, short farSample)
{
    const int taps = m_config.taps;
    // DC removal; the band filter shapes the microphone side.
    m_meanMic += (mic - m_meanMic) * 0.01;
    double nearSig = mic - m_meanMic;
    if (m_config.bandAlways || m_samples < 15)
        nearSig = BandFilter(nearSig);
    ++m_samples;
    m_meanFar += (farSample - m_meanFar) * 0.01;
    double farSig = farSample - m_meanFar;
    if (m_config.quietGain)
        m_nearLevel += (std::fabs(nearSig) - m_nearLevel) * 0.0001;

    // Peak of the far end over the detector's window.
    double mag = std::fabs(farSig);
    if (mag > m_slotMax[m_slot])
        m_slotMax[m_slot] = mag;
    if (mag > m_farPeak)
        m_farPeak = mag;
    bool slotEnded = false;
    if (++m_slotFill >= kSlotLength) {
        slotEnded = true;
        m_slotFill = 0;
        m_slot = (m_slot + 1) % m_config.slots;
        m_slotMax[m_slot] = 0;
    }
    // New far sample into the histories (written downwards).
    if (--m_pos < 0) {
        memmove(&m_x[kSpare + 1], &m_x[0], (taps - 1) * sizeof(double));
        memmove(&m_xf[kSpare + 1], &m_xf[0], (taps - 1) * sizeof(double));
        m_pos = kSpare;
    }
    double farEmph = kEmphPole * m_prevFarEmph + kEmphGain * (farSig - m_prevFar);
    m_prevFar = farSig;
    m_prevFarEmph = farEmph;
    m_x[m_pos] = farSig;
    m_xf[m_pos] = farEmph;

    const double* x = &m_x[m_pos];
    const double* xf = &m_xf[m_pos];
    double estimate = 0;
    for (int k = 0; k < taps; ++k)
        estimate += m_weights[k] * x[k];
    double err = nearSig - estimate;

    // Double talk: the microphone reaches the threshold of the far end's
    // peak; with the learned path, once it is learned, the residual is well
    // above what that path leaves of far-end speech.
    const double farPeak = m_farPeak;
    if (std::fabs(err) > m_errSlotMax)
        m_errSlotMax = std::fabs(err);
    bool talk = m_config.threshold * farPeak <= std::fabs(nearSig);
    if (m_config.learnedPath && m_blocksFilled > 0)
        talk = kResidualMargin * ResidualFloor() * farPeak <= std::fabs(err);
    m_slotTalk = m_slotTalk || talk;
    if (talk)
        m_hang = m_config.hangover;
    bool doubleTalk = m_hang > 0;
    if (m_hang > 0)
        --m_hang;
    if (slotEnded) {
        if (m_config.learnedPath)
            TrackResidual(farPeak);
        m_farPeak = 0;
        for (double v : m_slotMax)
            if (v > m_farPeak)
                m_farPeak = v;
    }
    double errEmph = kEmphPole * m_prevErrEmph + kEmphGain * (err - m_prevErr);
    m_prevErr = err;
    m_prevErrEmph = errEmph;

    // Energy of the whitened far end over the filter's span.
    m_energy += farEmph * farEmph;
    m_energy -= xf[taps - 1] * xf[taps - 1];
    if (m_energy < 1.0)
        m_energy = 1.0;

    if (!doubleTalk) {
        double mu = m_config.step * errEmph / m_energy;
        for (int k = 0; k < taps; ++k)
            m_weights[k] += mu * xf[k];
    }
    if (m_config.learnedPath) {
        const bool farActive = farPeak > kFarActive;
        CompareFilters(err, RunShadow(x, xf, nearSig, farActive), farActive);
    }

    double out = err;
    if (!doubleTalk && m_config.residualGain)
        out *= (m_config.quietGain && m_nearLevel < 2500) ? 0.01 : 0.35;
    return static_cast<short>(Clamp(out, -32767.0, 32767.0));
}

} // namespace RavoTDevice
