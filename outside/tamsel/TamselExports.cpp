// Stand-in voice enhancement: mono in, 16-bit stereo out. The left channel
// carries the sample, the right channel the sample at half level, so that a
// caller can tell the two channels and the plug-in's work apart.
extern "C" {

static int g_sampleRate = 0;

int __cdecl EnhanceInit(int sampleRate)
{
    g_sampleRate = sampleRate;
    return 1;
}

int __cdecl EnhanceProcess(short* mono, short* stereo, int samples)
{
    if (!mono || !stereo || samples < 0)
        return 0;
    for (int i = 0; i < samples; ++i) {
        stereo[2 * i] = mono[i];
        stereo[2 * i + 1] = static_cast<short>(mono[i] / 2);
    }
    return samples;
}
}
