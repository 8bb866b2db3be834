#include "CJpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {

struct ErrorTrap
{
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void OnError(j_common_ptr info)
{
    ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(info->err);
    longjmp(trap->jump, 1);
}

void OnMessage(j_common_ptr) {}

} // namespace

bool CJpegCodec::LooksLikeJpeg(const uint8_t* data, size_t length)
{
    return data && length >= 4 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool CJpegCodec::Encode(const uint8_t* bgr, int width, int height, int quality,
                        std::vector<uint8_t>& out)
{
    out.clear();
    if (!bgr || width < 1 || height < 1 || width > MAX_SIDE || height > MAX_SIDE)
        return false;

    jpeg_compress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = OnError;
    trap.mgr.output_message = OnMessage;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        free(buffer);
        out.clear();
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality < 1 ? 1 : (quality > 100 ? 100 : quality), TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bgr + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    out.assign(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return true;
}

bool CJpegCodec::Decode(const uint8_t* data, size_t length, std::vector<uint8_t>& bgr, int& width,
                        int& height)
{
    width = height = 0;
    if (!LooksLikeJpeg(data, length))
        return false;

    jpeg_decompress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = OnError;
    trap.mgr.output_message = OnMessage;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        width = height = 0;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(length));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width < 1 ||
        info.image_height < 1 || info.image_width > MAX_SIDE || info.image_height > MAX_SIDE) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const size_t stride = static_cast<size_t>(info.output_width) * 3;
    bgr.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bgr.data() + info.output_scanline * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    jpeg_destroy_decompress(&info);
    return true;
}
