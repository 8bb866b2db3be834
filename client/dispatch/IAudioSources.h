#pragma once
#include <cstdint>

// What the dispatcher needs of the audio manager: the participants heard.
class IAudioSources
{
public:
    virtual ~IAudioSources() = default;

    virtual void AddSource(uint32_t userId) = 0;
    virtual void DelSource(uint32_t userId) = 0;
};
