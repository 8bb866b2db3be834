#include "FrameCodecEngine.h"

#include <new>

#include "G7221Decoder.h"
#include "G7221Encoder.h"

namespace SonvexFilterCore {

namespace {

// The built-in G.722.1 engines behind the frame codec seam. The decoder is
// never told that a frame was lost: every frame it gets has arrived.
class G7221EncoderEngineAdapter : public FrameCodecEngine
{
public:
    explicit G7221EncoderEngineAdapter(int bitRate) : m_encoder(bitRate) {}
    bool IsValid() const { return m_encoder.IsValid(); }
    int Encode(const int16_t* pcm, int samples, uint8_t* out, int maxBytes) override
    {
        return m_encoder.EncodeBytes(pcm, samples, out, maxBytes);
    }
    int Decode(const uint8_t*, int, int16_t*, int) override { return 0; }

private:
    G7221Encoder m_encoder;
};

class G7221DecoderEngineAdapter : public FrameCodecEngine
{
public:
    explicit G7221DecoderEngineAdapter(int bitRate) : m_decoder(bitRate) {}
    bool IsValid() const { return m_decoder.IsValid(); }
    int Encode(const int16_t*, int, uint8_t*, int) override { return 0; }
    int Decode(const uint8_t* frame, int byteCount, int16_t* pcm, int maxSamples) override
    {
        return m_decoder.DecodeBytes(frame, byteCount, false, pcm, maxSamples);
    }

private:
    G7221Decoder m_decoder;
};

template <typename T>
FrameCodecEngine* Make(int bitRate)
{
    T* engine = new (std::nothrow) T(bitRate);
    if (engine && !engine->IsValid()) {
        delete engine;
        return nullptr;
    }
    return engine;
}

class G7221Factory : public FrameCodecFactory
{
public:
    FrameCodecEngine* Create(int bitRate, bool encode) const override
    {
        if (bitRate != 24000 && bitRate != 32000)
            return nullptr;
        if (encode)
            return Make<G7221EncoderEngineAdapter>(bitRate);
        return Make<G7221DecoderEngineAdapter>(bitRate);
    }
};

} // namespace

const FrameCodecFactory& FrameCodecFactory::G7221()
{
    static const G7221Factory factory;
    return factory;
}

} // namespace SonvexFilterCore
