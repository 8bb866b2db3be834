#include "CBitmapFile.h"

#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <new>

#include "WireReader.h"
#include "WireWriter.h"

namespace {
// Bytes of padded rows gathered for one write.
const uint32_t kPaddedChunk = 256 * 1024;

bool Fail(std::string* error, const char* text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

uint32_t CBitmapFile::Stride(int32_t width, uint16_t bits)
{
    if (width <= 0 || bits == 0)
        return 0;
    uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    return stride > kMaxImageBytes ? 0 : static_cast<uint32_t>(stride);
}

bool CBitmapFile::ReadHeaders(const std::string& path, FileHeader& file, InfoHeader& info)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    uint8_t buffer[sizeof(FileHeader) + sizeof(InfoHeader)];
    size_t got = fread(buffer, 1, sizeof buffer, f);
    fclose(f);
    WireReader reader(buffer, got);
    return reader.Record(file) && reader.Record(info);
}

bool CBitmapFile::Parse(const uint8_t* data, size_t size, Image& out, std::string* error)
{
    WireReader reader(data, size);
    if (!reader.Record(out.file) || !reader.Record(out.info))
        return Fail(error, "short file");
    const InfoHeader& info = out.info;
    if (out.file.type != 0x4D42)
        return Fail(error, "not a bitmap");
    if (info.size < sizeof(InfoHeader) || info.size > size - sizeof(FileHeader))
        return Fail(error, "bad header size");
    if (info.width <= 0 || info.height == 0 || info.height == INT32_MIN || info.planes != 1)
        return Fail(error, "bad dimensions");
    uint16_t bits = info.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Fail(error, "unsupported bit count");
    if (info.compression != BI_RGB)
        return Fail(error, "compressed bitmap");
    if (info.sizeImage == 0)
        return Fail(error, "no image size");

    uint32_t stride = Stride(info.width, bits);
    uint64_t rows = info.height < 0 ? -static_cast<int64_t>(info.height) : info.height;
    uint64_t needed = static_cast<uint64_t>(stride) * rows;
    if (stride == 0 || needed > kMaxImageBytes)
        return Fail(error, "image too large");
    if (info.sizeImage < needed)
        return Fail(error, "image size smaller than the rows");

    out.colours.clear();
    if (bits <= 8) {
        uint32_t count = info.clrUsed ? info.clrUsed : (1u << bits);
        if (count > (1u << bits))
            return Fail(error, "bad colour count");
        if (!reader.Seek(sizeof(FileHeader) + info.size))
            return Fail(error, "short colour table");
        out.colours.resize(count);
        for (uint32_t& c : out.colours)
            if (!reader.U32(c))
                return Fail(error, "short colour table");
        out.colours.resize(1u << bits, 0);
    }
    if (out.file.pixelOffset < sizeof(FileHeader) + info.size || !reader.Seek(out.file.pixelOffset))
        return Fail(error, "bad pixel offset");
    out.pixels.resize(static_cast<size_t>(needed));
    if (!reader.Bytes(out.pixels.data(), out.pixels.size()))
        return Fail(error, "short pixel data");
    return true;
}

bool CBitmapFile::Load(const std::string& path, Image& out, std::string* error)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(error, "cannot open");
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
              size.QuadPart <= static_cast<LONGLONG>(kMaxImageBytes);
    std::vector<uint8_t> data;
    if (ok) {
        data.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) &&
             got == data.size();
    }
    CloseHandle(file);
    if (!ok)
        return Fail(error, "cannot read");
    return Parse(data.data(), data.size(), out, error);
}

bool CBitmapFile::Write(const std::string& path, const uint8_t* pixels, size_t size, int32_t width,
                        int32_t height, uint16_t bits)
{
    uint32_t stride = Stride(width, bits);
    if (!pixels || stride == 0 || height <= 0)
        return false;
    uint64_t imageSize = static_cast<uint64_t>(stride) * static_cast<uint32_t>(height);
    uint64_t rowBytes = static_cast<uint64_t>(width) * bits / 8;
    bool whole = size == imageSize;
    if (imageSize > kMaxImageBytes || (!whole && size < rowBytes * static_cast<uint32_t>(height)))
        return false;

    uint8_t head[sizeof(FileHeader) + sizeof(InfoHeader)];
    WireWriter writer(head, sizeof head);
    FileHeader file = {0x4D42, static_cast<uint32_t>(sizeof head + imageSize), 0, 0,
                       static_cast<uint32_t>(sizeof head)};
    InfoHeader info = {};
    info.size = sizeof(InfoHeader);
    info.width = width;
    info.height = height;
    info.planes = 1;
    info.bitCount = bits;
    info.compression = BI_RGB;
    info.sizeImage = static_cast<uint32_t>(imageSize);
    if (!writer.Record(file) || !writer.Record(info))
        return false;

    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    bool ok = WriteFile(out, head, sizeof head, &put, nullptr) && put == sizeof head;
    if (ok && whole) {
        ok = WriteFile(out, pixels, static_cast<DWORD>(imageSize), &put, nullptr) &&
             put == imageSize;
    } else if (ok) {
        // Padded rows go out many at a time: one write per row costs more
        // than the padding itself.
        const uint32_t rowsPerWrite = stride >= kPaddedChunk ? 1 : kPaddedChunk / stride;
        std::vector<uint8_t> chunk;
        try {
            chunk.assign(static_cast<size_t>(stride) *
                             std::min<uint32_t>(rowsPerWrite, static_cast<uint32_t>(height)),
                         0);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        for (int32_t y = 0; ok && y < height;) {
            const uint32_t rows =
                std::min<uint32_t>(rowsPerWrite, static_cast<uint32_t>(height - y));
            for (uint32_t i = 0; i < rows; ++i)
                memcpy(chunk.data() + static_cast<size_t>(stride) * i,
                       pixels + rowBytes * static_cast<uint32_t>(y + static_cast<int32_t>(i)),
                       static_cast<size_t>(rowBytes));
            const DWORD bytes = stride * rows;
            ok = WriteFile(out, chunk.data(), bytes, &put, nullptr) && put == bytes;
            y += static_cast<int32_t>(rows);
        }
    }
    CloseHandle(out);
    if (!ok)
        DeleteFileA(path.c_str());
    return ok;
}
