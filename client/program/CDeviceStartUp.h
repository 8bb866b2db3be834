#pragma once
#include <cstdint>

class CUserTable;
class CCommandManager;
class CClientSettings;
struct LOGIN_INFO;

// The own devices at the start of a meeting where no device settings dialog
// takes that step: the video capture opens with the saved settings, and the
// device state (has audio, has video, capture device count, selected
// device) is reported to the server and kept in the own participant record,
// so that the own preview and broadcast can start.
class CDeviceStartUp
{
public:
    struct REPORT
    {
        uint8_t hasAudio;
        uint8_t hasVideo;
        uint8_t deviceCount;
        uint8_t selected;
    };

    // Opens the capture and reports; the report sent.
    static REPORT Run(CUserTable& users, const LOGIN_INFO& login, CCommandManager& commands,
                      const CClientSettings& settings);
    // The capture size of a stored image size index (any other index: 320 x 240).
    static void CaptureSize(uint32_t index, int* width, int* height);
};
