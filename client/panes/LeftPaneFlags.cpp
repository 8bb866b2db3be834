#include "LeftPaneFlags.h"

uint32_t g_bMicMuted = 0;
uint32_t g_bSpeaking = 0;
uint32_t g_bAecOn = 1;
uint32_t g_bAgcOn = 1;
