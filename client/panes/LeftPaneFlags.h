#pragma once
#include <cstdint>

// Client flags of the left pane: the microphone mute box is checked, the
// own participant is speaking, echo cancellation and automatic gain are on
// (the last two are saved with the settings).
extern uint32_t g_bMicMuted;
extern uint32_t g_bSpeaking;
extern uint32_t g_bAecOn;
extern uint32_t g_bAgcOn;
