#pragma once
#include <cstdint>

// Block callback of the device objects and the caller's play tap:
// (owner or context, sender, block, length) -> bytes handled.
typedef int (*AudioDataCallBack)(void* owner, void* sender, uint8_t* data, int length);
// The caller's capture callback: (context, manager, packet, length).
typedef void (*CaptureCallBack)(void* context, void* manager, uint8_t* packet, int length);
