#pragma once
#include <cstdint>

class CClientSettings;

// The terminal's device settings as they travel between terminals: 22
// 32-bit fields, the audio part (0 to 10) then the video part (11 to 21).
struct DEVICE_SETTINGS
{
    // Audio part.
    uint32_t AudioCapture;
    uint32_t AudioPlay;
    uint32_t AudioFormat;
    uint32_t PlayLocal;
    uint32_t Denoise;
    uint32_t FECType;
    uint32_t AutoFEC;
    uint32_t ASC;
    uint32_t AEC;
    uint32_t AGC;
    uint32_t AutoVolume;
    // Video part.
    uint32_t VideoCaptureDev;
    uint32_t VideoEncoder;
    uint32_t VideoEncodeMode;
    uint32_t VideoInput;
    uint32_t VideoControlPort;
    uint32_t CameraType;
    uint32_t BitRate;
    uint32_t VideoSize;
    uint32_t EnableImgFilter;
    uint32_t UserOverlay;
    uint32_t PollingTime;

    static DEVICE_SETTINGS From(const CClientSettings& settings);
    // Every field into the client's settings (the format keeps its low byte).
    void To(CClientSettings& settings) const;
};
static_assert(sizeof(DEVICE_SETTINGS) == 88, "DEVICE_SETTINGS is 22 words");

// Width and height of an image size index (0 to 6; any other is 2).
void VideoSizeOf(uint32_t index, int* width, int* height);
