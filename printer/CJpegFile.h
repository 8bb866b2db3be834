#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Decodes JPEG documents with libjpeg and writes them as 24-bit bitmaps.
// Errors are told through the message callback (text, title), which the
// library shows as message boxes.
class CJpegFile
{
public:
    typedef std::function<void(const char* text, const char* title)> MessageFn;

    explicit CJpegFile(MessageFn message = MessageFn());

    // Decodes into width x height blue-green-red pixels, rows bottom-up and
    // without padding.
    bool Decode(const std::string& path);
    // Writes the decoded image as a 24-bit bitmap file.
    bool WriteBitmap(const std::string& path) const;
    // Decode, then write.
    bool ToBitmap(const std::string& jpegPath, const std::string& bitmapPath);

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    const std::vector<uint8_t>& Pixels() const { return m_pixels; }

private:
    void Tell(const char* text, const char* title) const;
    bool DecodeFile(void* file);

    MessageFn m_message;
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::vector<uint8_t> m_pixels;
};
