#include "FrameCodecEngine.h"

namespace {

// The built-in G.722.1 engine is not linked into this build yet: every
// request fails cleanly, so the G.722.1 rows open nothing.
class G7221Factory : public FrameCodecFactory
{
public:
    FrameCodecEngine* Create(int bitRate, bool encode) const override
    {
        (void)bitRate;
        (void)encode;
        return nullptr;
    }
};

} // namespace

const FrameCodecFactory& FrameCodecFactory::G7221()
{
    static const G7221Factory factory;
    return factory;
}
