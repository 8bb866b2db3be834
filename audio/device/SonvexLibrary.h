#pragma once
#include <windows.h>

namespace AudioCommon {
class IWaveApi;
}

namespace SonvexDevice {

class CAudioManagerBase;
class IDirectSoundApi;
class IMixerApi;

// The library's load and unload steps and its global objects, shared by the
// DLL entry and by tests that drive the exports in-process.
namespace SonvexLibrary {
// module: the DLL's own handle (names the log file, and lets a running
// manager keep the library loaded), or null in-process.
void Load(HMODULE module);
// processExit: the process is ending and its other threads are gone.
void Unload(bool processExit);
CAudioManagerBase* Manager();
// Stand-in devices for the managers made from now on; null: the system's.
void SetDeviceApis(AudioCommon::IWaveApi* wave, IDirectSoundApi* directSound, IMixerApi* mixer);
} // namespace SonvexLibrary

} // namespace SonvexDevice
