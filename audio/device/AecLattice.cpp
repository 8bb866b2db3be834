#include "AecLattice.h"

#include <cpuid.h>
#include <malloc.h>
#include <xmmintrin.h>

#include <cmath>
#include <cstring>

namespace SonvexDevice {

namespace {
// Per-stage vectors (each bands long).
enum {
    FORWARD_ENERGY,
    BACKWARD_ENERGY,
    FORWARD_CROSS_RE,
    FORWARD_CROSS_IM,
    BACKWARD_CROSS_RE,
    BACKWARD_CROSS_IM,
    JOINT_CROSS_RE,
    JOINT_CROSS_IM,
    DELAYED_RE,
    DELAYED_IM,
    PREVIOUS_C,
    PREVIOUS_S_RE,
    PREVIOUS_S_IM,
    STAGE_VECTORS
};
// Per-frame working vectors.
enum {
    FORWARD_RE,
    FORWARD_IM,
    BACKWARD_RE,
    BACKWARD_IM,
    JOINT_RE,
    JOINT_IM,
    CONVERSION,
    WORK_VECTORS
};

bool ProcessorHasSse()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d))
        return false;
    return (d >> 25) & 1;
}
} // namespace

float AecLattice::s_lambda = 0.998f;
float AecLattice::s_sqrtLambda = std::sqrt(0.998f);
unsigned AecLattice::s_frameCounter = 0;
bool AecLattice::s_vector = ProcessorHasSse();

void AecLattice::UseVectorPath(bool on) { s_vector = on && ProcessorHasSse(); }

AecLattice::AecLattice(int stages, int bands) : m_stages(stages), m_bands(bands)
{
    s_lambda = static_cast<float>(std::pow(0.998, 128.0 / stages));
    s_sqrtLambda = std::sqrt(s_lambda);
    const size_t stageFloats = static_cast<size_t>(STAGE_VECTORS) * stages * bands;
    const size_t workFloats = static_cast<size_t>(WORK_VECTORS) * bands;
    m_store = static_cast<float*>(_aligned_malloc(stageFloats * sizeof(float), 16));
    m_work = static_cast<float*>(_aligned_malloc(workFloats * sizeof(float), 16));
    memset(m_store, 0, stageFloats * sizeof(float));
    memset(m_work, 0, workFloats * sizeof(float));
    const float sl = s_sqrtLambda;
    const float sine = std::sqrt(1.0f - sl * sl);
    for (int i = 0; i < stages; ++i)
        for (int b = 0; b < bands; ++b) {
            Vec(FORWARD_ENERGY, i)[b] = 0.1f;
            Vec(BACKWARD_ENERGY, i)[b] = 0.1f;
            Vec(DELAYED_RE, i)[b] = 0.1f * sine;
            Vec(PREVIOUS_C, i)[b] = sl;
            Vec(PREVIOUS_S_RE, i)[b] = sine;
        }
    m_q.assign(stages, 0.0f);
}

AecLattice::~AecLattice()
{
    _aligned_free(m_store);
    _aligned_free(m_work);
}

// One stage, plain loops: rotations from the backward and forward errors,
// then the forward error with last frame's rotation, the backward error
// with the forward rotation, the joint-process error with the backward
// rotation.
void AecLattice::StagePlain(int i, int from, int to)
{
    const float sl = s_sqrtLambda;
    float* F = Vec(FORWARD_ENERGY, i);
    float* B = Vec(BACKWARD_ENERGY, i);
    float* kfR = Vec(FORWARD_CROSS_RE, i);
    float* kfI = Vec(FORWARD_CROSS_IM, i);
    float* kbR = Vec(BACKWARD_CROSS_RE, i);
    float* kbI = Vec(BACKWARD_CROSS_IM, i);
    float* kjR = Vec(JOINT_CROSS_RE, i);
    float* kjI = Vec(JOINT_CROSS_IM, i);
    float* dR = Vec(DELAYED_RE, i);
    float* dI = Vec(DELAYED_IM, i);
    float* pc = Vec(PREVIOUS_C, i);
    float* psR = Vec(PREVIOUS_S_RE, i);
    float* psI = Vec(PREVIOUS_S_IM, i);
    float* fR = Work(FORWARD_RE);
    float* fI = Work(FORWARD_IM);
    float* bR = Work(BACKWARD_RE);
    float* bI = Work(BACKWARD_IM);
    float* jR = Work(JOINT_RE);
    float* jI = Work(JOINT_IM);
    float* g = Work(CONVERSION);
    for (int k = from; k < to; ++k) {
        // Backward rotation.
        float wb = sl * B[k];
        float nb = std::sqrt(wb * wb + bR[k] * bR[k] + bI[k] * bI[k]);
        B[k] = nb;
        float cb = 1.0f, sbR = 0.0f, sbI = 0.0f;
        if (nb > 1e-30f) { // an energy decayed to nothing passes the error on
            cb = wb / nb;
            sbR = bR[k] / nb;
            sbI = bI[k] / nb;
        }
        // Forward rotation.
        float wf = sl * F[k];
        float nf = std::sqrt(wf * wf + fR[k] * fR[k] + fI[k] * fI[k]);
        F[k] = nf;
        float cf = 1.0f, sfR = 0.0f, sfI = 0.0f;
        if (nf > 1e-30f) {
            cf = wf / nf;
            sfR = fR[k] / nf;
            sfI = fI[k] / nf;
        }
        // Forward error and cross term take last frame's backward rotation.
        {
            float zR = sl * kfR[k], zI = sl * kfI[k];
            float xR = fR[k], xI = fI[k];
            fR[k] = pc[k] * xR - (psR[k] * zR - psI[k] * zI);
            fI[k] = pc[k] * xI - (psR[k] * zI + psI[k] * zR);
            kfR[k] = pc[k] * zR + (psR[k] * xR + psI[k] * xI);
            kfI[k] = pc[k] * zI + (psR[k] * xI - psI[k] * xR);
        }
        // The delayed backward error and its cross term take the forward
        // rotation; the result goes on as the next stage's backward error,
        // and this frame's backward input is kept for the next frame.
        {
            float zR = sl * kbR[k], zI = sl * kbI[k];
            float xR = dR[k], xI = dI[k];
            float nR = cf * xR - (sfR * zR - sfI * zI);
            float nI = cf * xI - (sfR * zI + sfI * zR);
            kbR[k] = cf * zR + (sfR * xR + sfI * xI);
            kbI[k] = cf * zI + (sfR * xI - sfI * xR);
            dR[k] = bR[k];
            dI[k] = bI[k];
            bR[k] = nR;
            bI[k] = nI;
        }
        // Joint-process error and cross term take the backward rotation.
        {
            float zR = sl * kjR[k], zI = sl * kjI[k];
            float xR = jR[k], xI = jI[k];
            jR[k] = cb * xR - (sbR * zR - sbI * zI);
            jI[k] = cb * xI - (sbR * zI + sbI * zR);
            kjR[k] = cb * zR + (sbR * xR + sbI * xI);
            kjI[k] = cb * zI + (sbR * xI - sbI * xR);
        }
        g[k] *= cb;
        pc[k] = cb;
        psR[k] = sbR;
        psI[k] = sbI;
    }
}

// The same stage, four bands at a time.
__attribute__((target("sse"))) void AecLattice::StageVector(int i)
{
    const __m128 sl = _mm_set1_ps(s_sqrtLambda);
    const __m128 tiny = _mm_set1_ps(1e-30f);
    const __m128 one = _mm_set1_ps(1.0f);
    float* F = Vec(FORWARD_ENERGY, i);
    float* B = Vec(BACKWARD_ENERGY, i);
    float* kfR = Vec(FORWARD_CROSS_RE, i);
    float* kfI = Vec(FORWARD_CROSS_IM, i);
    float* kbR = Vec(BACKWARD_CROSS_RE, i);
    float* kbI = Vec(BACKWARD_CROSS_IM, i);
    float* kjR = Vec(JOINT_CROSS_RE, i);
    float* kjI = Vec(JOINT_CROSS_IM, i);
    float* dR = Vec(DELAYED_RE, i);
    float* dI = Vec(DELAYED_IM, i);
    float* pc = Vec(PREVIOUS_C, i);
    float* psR = Vec(PREVIOUS_S_RE, i);
    float* psI = Vec(PREVIOUS_S_IM, i);
    float* fR = Work(FORWARD_RE);
    float* fI = Work(FORWARD_IM);
    float* bR = Work(BACKWARD_RE);
    float* bI = Work(BACKWARD_IM);
    float* jR = Work(JOINT_RE);
    float* jI = Work(JOINT_IM);
    float* g = Work(CONVERSION);
    for (int k = 0; k < m_bands; k += 4) {
        __m128 xbR = _mm_load_ps(bR + k), xbI = _mm_load_ps(bI + k);
        __m128 wb = _mm_mul_ps(sl, _mm_load_ps(B + k));
        __m128 nb = _mm_sqrt_ps(
            _mm_add_ps(_mm_mul_ps(wb, wb), _mm_add_ps(_mm_mul_ps(xbR, xbR), _mm_mul_ps(xbI, xbI))));
        _mm_store_ps(B + k, nb);
        __m128 okb = _mm_cmpgt_ps(nb, tiny);
        __m128 rb = _mm_div_ps(one, _mm_or_ps(_mm_and_ps(okb, nb), _mm_andnot_ps(okb, one)));
        __m128 cb = _mm_or_ps(_mm_and_ps(okb, _mm_mul_ps(wb, rb)), _mm_andnot_ps(okb, one));
        __m128 sbR = _mm_and_ps(okb, _mm_mul_ps(xbR, rb));
        __m128 sbI = _mm_and_ps(okb, _mm_mul_ps(xbI, rb));

        __m128 xfR = _mm_load_ps(fR + k), xfI = _mm_load_ps(fI + k);
        __m128 wf = _mm_mul_ps(sl, _mm_load_ps(F + k));
        __m128 nf = _mm_sqrt_ps(
            _mm_add_ps(_mm_mul_ps(wf, wf), _mm_add_ps(_mm_mul_ps(xfR, xfR), _mm_mul_ps(xfI, xfI))));
        _mm_store_ps(F + k, nf);
        __m128 okf = _mm_cmpgt_ps(nf, tiny);
        __m128 rf = _mm_div_ps(one, _mm_or_ps(_mm_and_ps(okf, nf), _mm_andnot_ps(okf, one)));
        __m128 cf = _mm_or_ps(_mm_and_ps(okf, _mm_mul_ps(wf, rf)), _mm_andnot_ps(okf, one));
        __m128 sfR = _mm_and_ps(okf, _mm_mul_ps(xfR, rf));
        __m128 sfI = _mm_and_ps(okf, _mm_mul_ps(xfI, rf));

        {
            __m128 c = _mm_load_ps(pc + k), sR = _mm_load_ps(psR + k), sI = _mm_load_ps(psI + k);
            __m128 zR = _mm_mul_ps(sl, _mm_load_ps(kfR + k)),
                   zI = _mm_mul_ps(sl, _mm_load_ps(kfI + k));
            _mm_store_ps(fR + k, _mm_sub_ps(_mm_mul_ps(c, xfR),
                                            _mm_sub_ps(_mm_mul_ps(sR, zR), _mm_mul_ps(sI, zI))));
            _mm_store_ps(fI + k, _mm_sub_ps(_mm_mul_ps(c, xfI),
                                            _mm_add_ps(_mm_mul_ps(sR, zI), _mm_mul_ps(sI, zR))));
            _mm_store_ps(kfR + k, _mm_add_ps(_mm_mul_ps(c, zR),
                                             _mm_add_ps(_mm_mul_ps(sR, xfR), _mm_mul_ps(sI, xfI))));
            _mm_store_ps(kfI + k, _mm_add_ps(_mm_mul_ps(c, zI),
                                             _mm_sub_ps(_mm_mul_ps(sR, xfI), _mm_mul_ps(sI, xfR))));
        }
        {
            __m128 xR = _mm_load_ps(dR + k), xI = _mm_load_ps(dI + k);
            __m128 zR = _mm_mul_ps(sl, _mm_load_ps(kbR + k)),
                   zI = _mm_mul_ps(sl, _mm_load_ps(kbI + k));
            __m128 nR = _mm_sub_ps(_mm_mul_ps(cf, xR),
                                   _mm_sub_ps(_mm_mul_ps(sfR, zR), _mm_mul_ps(sfI, zI)));
            __m128 nI = _mm_sub_ps(_mm_mul_ps(cf, xI),
                                   _mm_add_ps(_mm_mul_ps(sfR, zI), _mm_mul_ps(sfI, zR)));
            _mm_store_ps(kbR + k, _mm_add_ps(_mm_mul_ps(cf, zR),
                                             _mm_add_ps(_mm_mul_ps(sfR, xR), _mm_mul_ps(sfI, xI))));
            _mm_store_ps(kbI + k, _mm_add_ps(_mm_mul_ps(cf, zI),
                                             _mm_sub_ps(_mm_mul_ps(sfR, xI), _mm_mul_ps(sfI, xR))));
            _mm_store_ps(dR + k, xbR);
            _mm_store_ps(dI + k, xbI);
            _mm_store_ps(bR + k, nR);
            _mm_store_ps(bI + k, nI);
        }
        {
            __m128 xR = _mm_load_ps(jR + k), xI = _mm_load_ps(jI + k);
            __m128 zR = _mm_mul_ps(sl, _mm_load_ps(kjR + k)),
                   zI = _mm_mul_ps(sl, _mm_load_ps(kjI + k));
            _mm_store_ps(jR + k, _mm_sub_ps(_mm_mul_ps(cb, xR),
                                            _mm_sub_ps(_mm_mul_ps(sbR, zR), _mm_mul_ps(sbI, zI))));
            _mm_store_ps(jI + k, _mm_sub_ps(_mm_mul_ps(cb, xI),
                                            _mm_add_ps(_mm_mul_ps(sbR, zI), _mm_mul_ps(sbI, zR))));
            _mm_store_ps(kjR + k, _mm_add_ps(_mm_mul_ps(cb, zR),
                                             _mm_add_ps(_mm_mul_ps(sbR, xR), _mm_mul_ps(sbI, xI))));
            _mm_store_ps(kjI + k, _mm_add_ps(_mm_mul_ps(cb, zI),
                                             _mm_sub_ps(_mm_mul_ps(sbR, xI), _mm_mul_ps(sbI, xR))));
        }
        _mm_store_ps(g + k, _mm_mul_ps(_mm_load_ps(g + k), cb));
        _mm_store_ps(pc + k, cb);
        _mm_store_ps(psR + k, sbR);
        _mm_store_ps(psI + k, sbI);
    }
}

void AecLattice::Run(const Complex* far, const Complex* nearEnd, Complex* error)
{
    float* fR = Work(FORWARD_RE);
    float* fI = Work(FORWARD_IM);
    float* bR = Work(BACKWARD_RE);
    float* bI = Work(BACKWARD_IM);
    float* jR = Work(JOINT_RE);
    float* jI = Work(JOINT_IM);
    float* g = Work(CONVERSION);
    for (int b = 0; b < m_bands; ++b) {
        fR[b] = bR[b] = far[b].real();
        fI[b] = bI[b] = far[b].imag();
        jR[b] = nearEnd[b].real();
        jI[b] = nearEnd[b].imag();
        g[b] = 1.0f;
    }
    const bool vector = s_vector && m_bands >= 4 && m_bands % 4 == 0;
    for (int i = 0; i < m_stages; ++i) {
        if (vector)
            StageVector(i);
        else
            StagePlain(i, 0, m_bands);
    }
    for (int b = 0; b < m_bands; ++b) {
        if (g[b] > 1e-30f)
            error[b] = Complex(jR[b] / g[b], jI[b] / g[b]);
        else
            error[b] = Complex(jR[b], jI[b]);
    }
    if (m_bands >= 2)
        UpdateForgetting();
    if (s_lambda == 0.9998f && m_spread > 0.17f)
        for (int b = 0; b < m_bands; ++b)
            error[b] = nearEnd[b];
}

void AecLattice::UpdateForgetting()
{
    const unsigned counter = s_frameCounter++;
    if (counter % 2)
        return;
    // Where in the echo path the modelled energy sits: per stage, the joint
    // cross term against the backward energy, in the second band.
    float largest = -1.0f;
    int candidate = 0;
    double sum = 0.0;
    for (int i = 0; i < m_stages; ++i) {
        const float* B = Vec(BACKWARD_ENERGY, i);
        const float* kjR = Vec(JOINT_CROSS_RE, i);
        const float* kjI = Vec(JOINT_CROSS_IM, i);
        const float q = B[1] > 1e-30f ? (kjR[1] * kjR[1] + kjI[1] * kjI[1]) / (B[1] * B[1]) : 0.0f;
        m_q[i] = q;
        sum += q;
        if (q > largest) {
            largest = q;
            candidate = i;
        }
    }
    const double mean = sum / m_stages;
    const double ratio = largest > 0.0f ? mean / largest : 1.0;
    m_spread = static_cast<float>((1.0 - 0.8) * ratio + 0.8 * m_spread);
    m_movement = (1.0 - 0.95) * std::abs(candidate - m_previousCandidate) + 0.95 * m_movement;

    float lambda = s_lambda;
    if (m_spread > 0.1f)
        lambda += 5e-6f;
    else if (m_spread < 0.06f)
        lambda -= 5e-6f;
    if (lambda < 0.995f)
        lambda = 0.995f;
    if (lambda > 0.9998f)
        lambda = 0.9998f;
    if (lambda != s_lambda) {
        s_lambda = lambda;
        s_sqrtLambda = std::sqrt(lambda);
    }

    if (s_lambda == 0.995f && candidate == m_previousCandidate && std::abs(m_movement) < 1e-10)
        m_delayEstimate = candidate;
    else if (candidate == 0 && m_previousCandidate == 0 && std::abs(m_movement) < 1e-40)
        m_delayEstimate = 0;
    else
        m_delayEstimate = -1;
    m_previousCandidate = candidate;
}

} // namespace SonvexDevice
