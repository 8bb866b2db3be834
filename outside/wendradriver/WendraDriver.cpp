// Stand-in for the driver side of the virtual printer. A Universal-driver
// minidriver cannot run here, so this program takes its place for a job: it
// renders each printed page into "<folder>\<base><n>.<extension>" as named by
// the shared page record, and keeps the record's page count and status
// current under the record's mutex.
//
//   WendraDriver.exe <page image> [<page image> ...]
//
// Status after the job: 2 when every page was written, 3 when one failed.
// Pages with the extension "jpg" or "jpeg" are written as JPEG files, all
// others as 24-bit bitmaps. Exit code 0 on success.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace {
const char kMapping[] = "Morlent_SharedMemory";
const char kMutex[] = "Morlent_SharedMemory_Mutex";
const size_t kRecordSize = 3228;
const size_t kFolderAt = 128, kBaseAt = 1152, kExtAt = 2176, kPagesAt = 3220, kStatusAt = 3224;

std::string Field(const unsigned char* view, size_t at, size_t size)
{
    const char* p = reinterpret_cast<const char*>(view + at);
    size_t n = 0;
    while (n < size && p[n])
        ++n;
    return std::string(p, n);
}

void PutU32(unsigned char* view, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        view[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// The page as 24-bit blue-green-red rows, bottom-up, padded to four bytes.
bool RenderPage(const std::string& image, int& width, int& height, std::vector<unsigned char>& rows)
{
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, image.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap)
        return false;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    width = info.bmWidth;
    height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    bool ok = width > 0 && height > 0 && width < 65536 && height < 65536;
    if (ok) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        bi.bmiHeader.biCompression = BI_RGB;
        size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
        rows.assign(stride * height, 0);
        HDC dc = CreateCompatibleDC(nullptr);
        ok = GetDIBits(dc, bitmap, 0, height, rows.data(), &bi, DIB_RGB_COLORS) == height;
        DeleteDC(dc);
    }
    DeleteObject(bitmap);
    return ok;
}

bool WriteBitmap(const std::string& path, int width, int height,
                 const std::vector<unsigned char>& rows)
{
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + rows.size());
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(rows.size());
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(&file, sizeof file, 1, f) == 1 && fwrite(&info, sizeof info, 1, f) == 1 &&
              fwrite(rows.data(), 1, rows.size(), f) == rows.size();
    return fclose(f) == 0 && ok;
}

bool WriteJpeg(const std::string& path, int width, int height,
               const std::vector<unsigned char>& rows)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    std::vector<unsigned char> line(static_cast<size_t>(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const unsigned char* src = rows.data() + stride * (height - 1 - cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            line[3 * x] = src[3 * x + 2];
            line[3 * x + 1] = src[3 * x + 1];
            line[3 * x + 2] = src[3 * x];
        }
        JSAMPROW row = line.data();
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return fclose(f) == 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: WendraDriver.exe <page image>...\n");
        return 2;
    }
    HANDLE mutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutex);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kMapping);
    unsigned char* view = mapping ? static_cast<unsigned char*>(MapViewOfFile(
                                        mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kRecordSize))
                                  : nullptr;
    if (!mutex || !view) {
        fprintf(stderr, "WendraDriver: no page record\n");
        return 3;
    }

    WaitForSingleObject(mutex, INFINITE);
    std::string folder = Field(view, kFolderAt, 1024);
    std::string base = Field(view, kBaseAt, 1024);
    std::string ext = Field(view, kExtAt, 12);
    ReleaseMutex(mutex);

    std::string lower = ext;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    bool jpeg = lower == "jpg" || lower == "jpeg";

    uint32_t written = 0;
    bool ok = true;
    for (int i = 1; ok && i < argc; ++i) {
        int width = 0, height = 0;
        std::vector<unsigned char> rows;
        std::string name = folder + "\\" + base + std::to_string(i) + "." + ext;
        ok = RenderPage(argv[i], width, height, rows) &&
             (jpeg ? WriteJpeg(name, width, height, rows) : WriteBitmap(name, width, height, rows));
        if (ok) {
            ++written;
            WaitForSingleObject(mutex, INFINITE);
            PutU32(view, kPagesAt, written);
            ReleaseMutex(mutex);
        } else {
            fprintf(stderr, "WendraDriver: page %d (%s) failed\n", i, argv[i]);
        }
    }
    WaitForSingleObject(mutex, INFINITE);
    PutU32(view, kStatusAt, ok ? 2 : 3);
    ReleaseMutex(mutex);

    UnmapViewOfFile(view);
    CloseHandle(mapping);
    CloseHandle(mutex);
    return ok ? 0 : 1;
}
