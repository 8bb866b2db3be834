#pragma once
#include "DeviceSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The names lists of a settings report, in their order in the record.
enum REMOTE_NAMES_LIST {
    NAMES_VIDEO_DEVICES,
    NAMES_VIDEO_INPUTS,
    NAMES_IMAGE_SIZES,
    NAMES_VIDEO_ENCODERS,
    NAMES_DATA_MODES,
    NAMES_AUDIO_CAPTURE,
    NAMES_AUDIO_PLAY,
    NAMES_AUDIO_FORMATS,
    NAMES_LIST_COUNT
};

struct REMOTE_NAMES
{
    std::vector<std::string> list[NAMES_LIST_COUNT];
};

// The records one terminal sends another about its device settings: the
// query (sub-type 1), the settings report (2) and the settings to apply (3).
// Every field the receiver does not read goes out as zero.
class CRemoteSettings
{
public:
    enum : uint16_t { QUERY = 1, REPORT = 2, APPLY = 3 };
    enum : size_t {
        QUERY_SIZE = 2,
        APPLY_SIZE = 92,
        NAMES_OFFSET = 92,
        NAMES_SIZE = 128,
        REPORT_SIZE = NAMES_OFFSET + 9 * NAMES_SIZE, // 1244, the last names field unused
    };

    static std::vector<uint8_t> BuildQuery();
    static std::vector<uint8_t> BuildReport(const DEVICE_SETTINGS& settings,
                                            const REMOTE_NAMES& names);
    static std::vector<uint8_t> BuildApply(const DEVICE_SETTINGS& settings);

    // False when the record is too short or of another sub-type.
    static bool ParseReport(const void* data, size_t length, DEVICE_SETTINGS* settings,
                            REMOTE_NAMES* names);
    static bool ParseApply(const void* data, size_t length, DEVICE_SETTINGS* settings);

    // One names field: NUL-terminated names one after another, ended by an
    // empty name, all within 128 bytes (names that do not fit are left out).
    static void PackNames(const std::vector<std::string>& names, uint8_t* field);
    // Reads a names field; the scan never goes past its 128 bytes, so a
    // field without its terminator gives the names complete within it.
    static std::vector<std::string> ParseNames(const uint8_t* field);
};
