#pragma once
#include <windows.h>

#include <vector>

#include "DsCaptureFx.h"

namespace RavoTDevice {

// One device of a DirectSound list: its GUID and its description, cut to 31
// characters so that it always ends inside the field.
struct DS_DEVICE_ENTRY
{
    GUID guid;
    char description[32];
};

// "dsound.dll" loaded at run time: the five entry points and the playback
// and capture device lists in enumeration order. A device id on the
// DirectSound path is an index into these lists.
class CDirectSoundLib
{
public:
    CDirectSoundLib();
    virtual ~CDirectSoundLib();

    CDirectSoundLib(const CDirectSoundLib&) = delete;
    CDirectSoundLib& operator=(const CDirectSoundLib&) = delete;

    // True when the library and all five names are there and both device
    // enumerations succeed. A repeated Load keeps what is loaded.
    bool Load();
    // Frees the lists and the library.
    void Free();
    bool IsLoaded() const { return m_module != nullptr; }

    std::vector<DS_DEVICE_ENTRY> PlaybackDeviceList;
    std::vector<DS_DEVICE_ENTRY> CaptureDeviceList;

    DsEnumerateFn EnumerateA = nullptr;
    DsEnumerateFn CaptureEnumerateA = nullptr;
    DsFullDuplexCreateFn FullDuplexCreate = nullptr;
    DsCreate8Fn Create8 = nullptr;
    DsCaptureCreate8Fn CaptureCreate8 = nullptr;

    // The enumeration callback: appends one entry to the list given as context.
    static BOOL CALLBACK AddDevice(LPGUID guid, LPCSTR description, LPCSTR module, LPVOID context);

private:
    HMODULE m_module = nullptr;
};

} // namespace RavoTDevice
