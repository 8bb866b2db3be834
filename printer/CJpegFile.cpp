#include "CJpegFile.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include "CBitmapFile.h"

extern "C" {
#include <jpeglib.h>
}

namespace {
// libjpeg's error exit must never return into the decoder: it jumps back to
// the call that started the decoding.
struct JumpErrorManager
{
    jpeg_error_mgr pub;
    jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info)
{
    JumpErrorManager* err = reinterpret_cast<JumpErrorManager*>(info->err);
    err->message[0] = '\0';
    (*info->err->format_message)(info, err->message);
    longjmp(err->back, 1);
}

void QuietOutput(j_common_ptr) {}
} // namespace

CJpegFile::CJpegFile(MessageFn message) : m_message(std::move(message)) {}

void CJpegFile::Tell(const char* text, const char* title) const
{
    if (m_message)
        m_message(text, title);
}

bool CJpegFile::Decode(const std::string& path)
{
    m_width = m_height = 0;
    m_pixels.clear();
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        std::string text = "JPEG :\nCan't open " + path + "\n";
        Tell(text.c_str(), "Error");
        return false;
    }
    bool ok = DecodeFile(file);
    fclose(file);
    if (!ok) {
        m_width = m_height = 0;
        m_pixels.clear();
    }
    return ok;
}

bool CJpegFile::DecodeFile(void* fileHandle)
{
    FILE* file = static_cast<FILE*>(fileHandle);
    jpeg_decompress_struct cinfo;
    JumpErrorManager err;
    memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = QuietOutput;
    // Nothing with a destructor lives between here and the jump target.
    if (setjmp(err.back)) {
        jpeg_destroy_decompress(&cinfo);
        Tell(err.message, "JPEG Fatal Error");
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
#ifdef JCS_EXTENSIONS
    // libjpeg-turbo hands out blue-green-red itself, saving a pass per row.
    bool direct = cinfo.out_color_space == JCS_RGB;
    if (direct)
        cinfo.out_color_space = JCS_EXT_BGR;
#else
    bool direct = false;
#endif
    jpeg_start_decompress(&cinfo);

    uint32_t width = cinfo.output_width;
    uint32_t height = cinfo.output_height;
    int components = cinfo.output_components;
    bool inverted = cinfo.saw_Adobe_marker != 0;
    // The bitmap written from these pixels must stay addressable in 32 bits.
    uint32_t stride = CBitmapFile::Stride(static_cast<int32_t>(width), 24);
    uint64_t fileBytes = static_cast<uint64_t>(stride) * height;
    bool fits = width > 0 && height > 0 && width <= 0x7FFFFFFF && stride != 0 &&
                fileBytes <= CBitmapFile::kMaxImageBytes;
    uint8_t* volatile row = nullptr;
    if (fits) {
        try {
            m_pixels.assign(static_cast<size_t>(width) * height * 3, 0);
        } catch (const std::bad_alloc&) {
            fits = false;
        }
        if (fits)
            row = static_cast<uint8_t*>(
                malloc(static_cast<size_t>(width) * (components > 0 ? components : 1)));
    }
    if (!row) {
        jpeg_destroy_decompress(&cinfo);
        Tell("JpegFile :\nOut of memory", "Error");
        return false;
    }
    // A corrupt stream may still jump out of the scanline loop.
    if (setjmp(err.back)) {
        free(const_cast<uint8_t*>(row));
        jpeg_destroy_decompress(&cinfo);
        Tell(err.message, "JPEG Fatal Error");
        return false;
    }
    uint8_t* pixels = m_pixels.data();
    size_t rowBytes = static_cast<size_t>(width) * 3;
    while (cinfo.output_scanline < height) {
        uint32_t r = cinfo.output_scanline;
        // Bottom-up, blue-green-red.
        uint8_t* out = pixels + static_cast<size_t>(height - 1 - r) * rowBytes;
        JSAMPROW rows[1] = {direct ? out : row};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1)
            break;
        if (direct) {
            // already in place
        } else if (components == 3) {
            for (uint32_t x = 0; x < width; ++x) {
                out[3 * x] = row[3 * x + 2];
                out[3 * x + 1] = row[3 * x + 1];
                out[3 * x + 2] = row[3 * x];
            }
        } else if (components == 1) {
            for (uint32_t x = 0; x < width; ++x)
                out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = row[x];
        } else if (components == 4) {
            // Four-colour scans, stored inverted when written the Adobe way.
            for (uint32_t x = 0; x < width; ++x) {
                const uint8_t* p = row + 4 * x;
                for (int c = 0; c < 3; ++c) {
                    unsigned ink = inverted ? p[c] : 255u - p[c];
                    unsigned black = inverted ? p[3] : 255u - p[3];
                    out[2 - c] = static_cast<uint8_t>((ink * black + 127) / 255);
                }
                out += 3;
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    free(const_cast<uint8_t*>(row));
    m_width = static_cast<int32_t>(width);
    m_height = static_cast<int32_t>(height);
    return true;
}

bool CJpegFile::WriteBitmap(const std::string& path) const
{
    if (m_pixels.empty())
        return false;
    return CBitmapFile::Write(path, m_pixels.data(), m_pixels.size(), m_width, m_height, 24);
}

bool CJpegFile::ToBitmap(const std::string& jpegPath, const std::string& bitmapPath)
{
    return Decode(jpegPath) && WriteBitmap(bitmapPath);
}
