#pragma once
#include <windows.h>
#include <dsound.h>

namespace RavoTDevice {

// The capture-effect interfaces of DirectSound 8 that the cross headers do
// not declare: the echo canceller and the noise suppressor in a capture
// buffer's effect path.

struct DSCFXAec
{
    BOOL fEnable;
    BOOL fNoiseFill;
    DWORD dwMode;
};

struct DSCFXNoiseSuppress
{
    BOOL fEnable;
};

struct IDirectSoundCaptureFXAec8 : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetAllParameters(const DSCFXAec* params) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAllParameters(DSCFXAec* params) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStatus(DWORD* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
};

struct IDirectSoundCaptureFXNoiseSuppress8 : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetAllParameters(const DSCFXNoiseSuppress* params) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAllParameters(DSCFXNoiseSuppress* params) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
};

// {AD74143D-903D-4AB7-8066-28D363036D65}
static const GUID kIID_IDirectSoundCaptureFXAec8 = {
    0xAD74143D, 0x903D, 0x4AB7, {0x80, 0x66, 0x28, 0xD3, 0x63, 0x03, 0x6D, 0x65}};
// {ED311E41-FBAE-4175-9625-CD0854F693CA}
static const GUID kIID_IDirectSoundCaptureFXNoiseSuppress8 = {
    0xED311E41, 0xFBAE, 0x4175, {0x96, 0x25, 0xCD, 0x08, 0x54, 0xF6, 0x93, 0xCA}};
// {B0210783-89CD-11D0-AF08-00A0C925CD16}
static const GUID kIID_IDirectSoundNotify8 = {
    0xB0210783, 0x89CD, 0x11D0, {0xAF, 0x08, 0x00, 0xA0, 0xC9, 0x25, 0xCD, 0x16}};
static const GUID kGUID_DSCFX_CLASS_AEC = {
    0xBF963D80, 0xC559, 0x11D0, {0x8A, 0x2B, 0x00, 0xA0, 0xC9, 0x25, 0x5A, 0xC1}};
static const GUID kGUID_DSCFX_SYSTEM_AEC = {
    0x1C22C56D, 0x9879, 0x4F5B, {0xA3, 0x89, 0x27, 0x99, 0x6D, 0xDC, 0x28, 0x10}};
static const GUID kGUID_DSCFX_CLASS_NS = {
    0xE07F903F, 0x62FD, 0x4E60, {0x8C, 0xDD, 0xDE, 0xA7, 0x23, 0x66, 0x65, 0xB5}};
static const GUID kGUID_DSCFX_SYSTEM_NS = {
    0x5AB0882E, 0x7274, 0x4516, {0x87, 0x7D, 0x4E, 0xEE, 0x99, 0xBA, 0x4F, 0xD0}};
static const GUID kDSDEVID_DefaultPlayback = {
    0xDEF00000, 0x9C6D, 0x47ED, {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};
static const GUID kDSDEVID_DefaultCapture = {
    0xDEF00001, 0x9C6D, 0x47ED, {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};
static const GUID kIID_IDirectSoundBuffer8 = {
    0x6825A449, 0x7524, 0x4D82, {0x92, 0x0F, 0x50, 0xE3, 0x6A, 0xB3, 0xAB, 0x1E}};
static const GUID kIID_IDirectSoundCaptureBuffer8 = {
    0x00990DF4, 0x0DBB, 0x4872, {0x83, 0x3E, 0x6D, 0x30, 0x3E, 0x80, 0xAE, 0xB6}};

// Entry points of dsound.dll bound at run time.
typedef HRESULT(WINAPI* DsEnumerateFn)(LPDSENUMCALLBACKA callback, LPVOID context);
typedef HRESULT(WINAPI* DsFullDuplexCreateFn)(LPCGUID captureDevice, LPCGUID renderDevice,
                                              LPCDSCBUFFERDESC captureDesc,
                                              LPCDSBUFFERDESC renderDesc, HWND window, DWORD level,
                                              IDirectSoundFullDuplex** duplex,
                                              IDirectSoundCaptureBuffer8** captureBuffer,
                                              IDirectSoundBuffer8** renderBuffer, LPUNKNOWN outer);
typedef HRESULT(WINAPI* DsCreate8Fn)(LPCGUID device, IDirectSound8** ds, LPUNKNOWN outer);
typedef HRESULT(WINAPI* DsCaptureCreate8Fn)(LPCGUID device, IDirectSoundCapture** dsc,
                                            LPUNKNOWN outer);

// Text of a DirectSound result for the log lines.
const char* DsErrorText(HRESULT hr);

} // namespace RavoTDevice
