#pragma once
#include "IAudioSources.h"

// The participants heard, over the audio manager's bound functions.
class CAudioSourcesLink : public IAudioSources
{
public:
    void AddSource(uint32_t userId) override;
    void DelSource(uint32_t userId) override;
};
