#include "DeviceSettings.h"

#include "CClientSettings.h"

DEVICE_SETTINGS DEVICE_SETTINGS::From(const CClientSettings& s)
{
    DEVICE_SETTINGS d = {};
    d.AudioCapture = s.audioCapture;
    d.AudioPlay = s.audioPlay;
    d.AudioFormat = s.audioFormat;
    d.PlayLocal = s.playLocal;
    d.Denoise = s.denoise;
    d.FECType = s.fecType;
    d.AutoFEC = s.autoFec;
    d.ASC = s.asc;
    d.AEC = s.aec;
    d.AGC = s.agc;
    d.AutoVolume = s.autoVolume;
    d.VideoCaptureDev = s.videoCaptureDev;
    d.VideoEncoder = s.videoEncoder;
    d.VideoEncodeMode = s.videoEncodeMode;
    d.VideoInput = s.videoInput;
    d.VideoControlPort = s.videoControlPort;
    d.CameraType = s.cameraType;
    d.BitRate = s.bitRate;
    d.VideoSize = s.videoSize;
    d.EnableImgFilter = s.enableImgFilter;
    d.UserOverlay = s.userOverlay;
    d.PollingTime = s.frameRate;
    return d;
}

void DEVICE_SETTINGS::To(CClientSettings& s) const
{
    s.audioCapture = AudioCapture;
    s.audioPlay = AudioPlay;
    s.audioFormat = (uint8_t)AudioFormat;
    s.playLocal = PlayLocal;
    s.denoise = Denoise;
    s.fecType = FECType;
    s.autoFec = AutoFEC;
    s.asc = ASC;
    s.aec = AEC;
    s.agc = AGC;
    s.autoVolume = AutoVolume;
    s.videoCaptureDev = VideoCaptureDev;
    s.videoEncoder = VideoEncoder;
    s.videoEncodeMode = VideoEncodeMode;
    s.videoInput = VideoInput;
    s.videoControlPort = VideoControlPort;
    s.cameraType = CameraType;
    s.bitRate = BitRate;
    s.videoSize = VideoSize;
    s.enableImgFilter = EnableImgFilter;
    s.userOverlay = UserOverlay;
    s.frameRate = PollingTime;
}

void VideoSizeOf(uint32_t index, int* width, int* height)
{
    static const int sizes[7][2] = {{160, 120}, {176, 144}, {320, 240}, {352, 288},
                                    {640, 480}, {704, 576}, {720, 576}};
    if (index > 6)
        index = 2;
    *width = sizes[index][0];
    *height = sizes[index][1];
}
