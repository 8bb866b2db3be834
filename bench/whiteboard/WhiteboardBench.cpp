// Whiteboard drawing, hit testing and document files, each beside a
// reference run of the bare work in the same process: plain GDI calls for
// drawing, a bounding-box loop for hit tests, a raw file copy of the same
// bytes for saving and loading.
#include "CLineObj.h"
#include "CPencilObj.h"
#include "CRectObj.h"
#include "CRectfillObj.h"
#include "CWBDocument.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

double NowMs()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void Row(const char* what, double ours, double reference)
{
    printf("%-46s %10.2f ms   reference %10.2f ms   ratio %6.2f\n", what, ours, reference,
           reference > 0 ? ours / reference : 0.0);
}

struct Canvas
{
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
    Canvas(int w, int h)
    {
        CDC screen;
        screen.Attach(::GetDC(NULL));
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, w, h);
        ::ReleaseDC(NULL, screen.Detach());
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, RGB(255, 255, 255));
    }
    ~Canvas() { dc.SelectObject(old); }
};

CDrawObj* MakeObject(DWORD i)
{
    int x = (int)(i * 37 % 560), y = (int)(i * 91 % 760);
    CDrawObj* obj;
    switch (i % 3) {
    case 0: {
        obj = new CLineObj(i);
        obj->OnLButtonDown(CPoint(x, y));
        obj->OnLButtonUp(CPoint(x + 30, y + 20));
        break;
    }
    case 1:
        obj = new CRectObj(i);
        obj->SetRect(CRect(x, y, x + 25, y + 30));
        break;
    default:
        obj = new CRectfillObj(i);
        obj->SetRect(CRect(x, y, x + 15, y + 10));
        break;
    }
    obj->SetColor(RGB(i & 0xFF, 0, 128));
    return obj;
}

void BenchStroke()
{
    CPencilObj stroke(1);
    stroke.OnLButtonDown(CPoint(0, 0));
    for (int i = 1; stroke.GetPointCount() < WB_MAX_POINTS && i < 100000; ++i)
        stroke.OnMouseMove(CPoint((i * 7) % 600, (i * 13) % 800));
    Canvas canvas(900, 1200);
    const int runs = 20;
    double t0 = NowMs();
    for (int r = 0; r < runs; ++r)
        stroke.DrawScaled(&canvas.dc, 150, 100);
    double ours = NowMs() - t0;
    std::vector<POINT> scaled(stroke.GetPointCount());
    t0 = NowMs();
    for (int r = 0; r < runs; ++r) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, 0);
        HGDIOBJ old = ::SelectObject(canvas.dc.GetSafeHdc(), pen);
        for (UINT i = 0; i < stroke.GetPointCount(); ++i)
            scaled[i] = {stroke.GetPoints()[i].x * 150 / 100, stroke.GetPoints()[i].y * 150 / 100};
        ::Polyline(canvas.dc.GetSafeHdc(), scaled.data(), (int)scaled.size());
        ::SelectObject(canvas.dc.GetSafeHdc(), old);
        ::DeleteObject(pen);
    }
    Row("3000-point stroke at 150 % (20 draws)", ours, NowMs() - t0);
}

void BenchPaintAndHit()
{
    CWBDocument doc;
    doc.CreateBlank(1, 0);
    for (DWORD i = 0; i < 10000; ++i)
        doc.AddObject(0, MakeObject(i));
    CWBPage* page = doc.GetPage(0);
    Canvas canvas(900, 1200);
    double t0 = NowMs();
    for (POSITION pos = page->GetHeadPosition(); pos;)
        page->GetNext(pos)->DrawScaled(&canvas.dc, 150, 100);
    double ours = NowMs() - t0;
    t0 = NowMs();
    HDC hdc = canvas.dc.GetSafeHdc();
    for (POSITION pos = page->GetHeadPosition(); pos;) {
        CDrawObj* obj = page->GetNext(pos);
        const POINT* p = obj->GetPoints();
        HPEN pen = ::CreatePen(PS_SOLID, 1, obj->GetColor());
        HGDIOBJ old = ::SelectObject(hdc, pen);
        if (obj->GetType() == WB_LINE) {
            ::MoveToEx(hdc, p[0].x * 3 / 2, p[0].y * 3 / 2, NULL);
            ::LineTo(hdc, p[1].x * 3 / 2, p[1].y * 3 / 2);
        } else {
            ::Rectangle(hdc, p[0].x * 3 / 2, p[0].y * 3 / 2, p[4].x * 3 / 2, p[4].y * 3 / 2);
        }
        ::SelectObject(hdc, old);
        ::DeleteObject(pen);
    }
    Row("painting 10,000 objects at 150 %", ours, NowMs() - t0);

    const int clicks = 50;
    int hits = 0, refHits = 0;
    t0 = NowMs();
    for (int c = 0; c < clicks; ++c) {
        CRect click(c * 11, c * 15, c * 11 + 3, c * 15 + 3);
        for (POSITION pos = page->GetHeadPosition(); pos;)
            hits += page->GetNext(pos)->IntersectsRect(click) != FALSE;
    }
    ours = NowMs() - t0;
    t0 = NowMs();
    for (int c = 0; c < clicks; ++c) {
        CRect click(c * 11, c * 15, c * 11 + 3, c * 15 + 3);
        for (POSITION pos = page->GetHeadPosition(); pos;) {
            CRect bound, out;
            page->GetNext(pos)->GetBoundRect(&bound);
            refHits += out.IntersectRect(&bound, &click) != FALSE;
        }
    }
    Row("hit tests: 50 clicks over 10,000 objects", ours, NowMs() - t0);
    printf("   (hits %d, bounding boxes met %d)\n", hits, refHits);
}

double SaveLoad(int objects, const std::string& background, const std::string& path, double* loadMs)
{
    CWBDocument doc;
    doc.CreateBlank(1, 0);
    for (int i = 0; i < objects; ++i)
        doc.AddObject(0, MakeObject((DWORD)i));
    doc.GetPage(0)->m_strBackground = background.c_str();
    double t0 = NowMs();
    doc.Save(path.c_str());
    double save = NowMs() - t0;
    CWBDocument back;
    t0 = NowMs();
    back.Open(path.c_str());
    *loadMs = NowMs() - t0;
    return save;
}

void BenchFiles()
{
    char dir[MAX_PATH];
    GetModuleFileNameA(NULL, dir, MAX_PATH);
    std::string folder(dir);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    std::string background = folder + "wb_bench_bg.bin", path = folder + "wb_bench.kqf";
    std::vector<BYTE> bytes(5 * 1024 * 1024);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = (BYTE)(i * 31);
    FILE* f = fopen(background.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);

    double load25, load50;
    double save25 = SaveLoad(25000, background, path, &load25);
    double save50 = SaveLoad(50000, background, path, &load50);
    // the reference: the same number of bytes written and read in one go
    FILE* in = fopen(path.c_str(), "rb");
    fseek(in, 0, SEEK_END);
    long size = ftell(in);
    fclose(in);
    std::vector<BYTE> all((size_t)size);
    std::string copy = folder + "wb_bench_copy.bin";
    double t0 = NowMs();
    f = fopen(copy.c_str(), "wb");
    fwrite(all.data(), 1, all.size(), f);
    fclose(f);
    double refSave = NowMs() - t0;
    t0 = NowMs();
    f = fopen(copy.c_str(), "rb");
    size_t got = fread(all.data(), 1, all.size(), f);
    fclose(f);
    double refLoad = NowMs() - t0;
    printf("document of 50,000 objects and a 5 MB background: %ld bytes (read back %u)\n", size,
           (unsigned)got);
    Row("saving it", save50, refSave);
    Row("opening it", load50, refLoad);
    printf("   linear: 25,000 objects save %.2f ms, open %.2f ms; doubled: x%.2f and x%.2f\n",
           save25, load25, save25 > 0 ? save50 / save25 : 0.0, load25 > 0 ? load50 / load25 : 0.0);
    DeleteFileA(background.c_str());
    DeleteFileA(path.c_str());
    DeleteFileA(copy.c_str());
}

} // namespace

int main()
{
    BenchStroke();
    BenchPaintAndHit();
    BenchFiles();
    return 0;
}
