#include "IlbcEngine.h"

namespace RavoEngine {

namespace {
class NoIlbcEngineFactory : public IlbcEngineFactory
{
public:
    IlbcEngine* MakeEncoder(int) override { return nullptr; }
    IlbcEngine* MakeDecoder(int, int) override { return nullptr; }
};
} // namespace

IlbcEngineFactory& IlbcEngineFactory::System()
{
    static NoIlbcEngineFactory factory;
    return factory;
}

} // namespace RavoEngine
