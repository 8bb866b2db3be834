#include "CAudioSourcesLink.h"

#include "MediaFunctionList.h"

void CAudioSourcesLink::AddSource(uint32_t userId)
{
    if (auto f = g_MediaFunctions.Get<PFN_AUDIO_MGR_AddSource>(MF_AUDIO_MGR_AddSource))
        f(userId);
}

void CAudioSourcesLink::DelSource(uint32_t userId)
{
    if (auto f = g_MediaFunctions.Get<PFN_AUDIO_MGR_DelSource>(MF_AUDIO_MGR_DelSource))
        f(userId);
}
