#pragma once
namespace SonvexDevice {
class CAudioBlock;
}

// Callbacks of the exported interface, called with the C calling convention.
// Capture: one processed 640-byte near-end block; the header carries the
// sequence number and time stamp of the newest captured block.
typedef void(__cdecl* SONVEX_CAPTURE_CALLBACK)(void* context, SonvexDevice::CAudioBlock* header,
                                               short* pcm, int length);
// Play: the caller fills the 640-byte buffer with the next block to play.
typedef int(__cdecl* SONVEX_PLAY_CALLBACK)(void* context, void* manager, short* pcm, int length);
