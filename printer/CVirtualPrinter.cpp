#include "CVirtualPrinter.h"

#include <cstring>

#include "CBitmapFile.h"
#include "CDibImage.h"
#include "CJpegFile.h"
#include "CPrintVerb.h"
#include "CPrinterSettings.h"
#include "CSharedRecord.h"

const char* const CVirtualPrinter::QNT_MAPPING_NAME_DEFAULT = QNT_MAPPING_NAME;
const char* const CVirtualPrinter::QNT_SETTINGS_PATH_DEFAULT = QNT_SETTINGS_FILE;

namespace {
// Holds the record's mutex for the lifetime of a block.
class RecordLock
{
public:
    explicit RecordLock(CSharedMemory& memory) : m_memory(memory), m_locked(memory.Lock(INFINITE))
    {}
    ~RecordLock()
    {
        if (m_locked)
            m_memory.Unlock();
    }
    bool Locked() const { return m_locked; }

private:
    CSharedMemory& m_memory;
    bool m_locked;
};

// Splits "C:\dir\name.ext" into "name" and ".ext".
void SplitPath(const std::string& path, std::string& base, std::string& extension)
{
    size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) {
        base = name;
        extension.clear();
    } else {
        base = name.substr(0, dot);
        extension = name.substr(dot);
    }
}
} // namespace

CVirtualPrinter::CVirtualPrinter(ISpooler& spooler, IShellHost& shell, const Places& places)
    : m_spooler(spooler), m_shell(shell), m_places(places),
      m_setup(spooler, places.hostFolder, places.settingsPath)
{}

std::string CVirtualPrinter::TempImagePath() const
{
    return m_places.hostFolder + "Temp\\_temp.bmp";
}

int CVirtualPrinter::Init(const char* folder)
{
    if (!m_memory.Open(m_places.mappingName.c_str(), sizeof(QNT_SHARED_RECORD)))
        return 0;
    {
        RecordLock lock(m_memory);
        if (!lock.Locked() || !CSharedRecord::Reset(m_memory.View(), m_memory.Size(), folder))
            return 0;
    }
    m_record = m_memory.View();
    m_reportedPages = 0;
    // While a job left the virtual printer as the default, the user's own
    // default saved earlier is kept, so that Release can still give it back.
    std::string current;
    if (!m_setup.DefaultPrinter(current))
        m_savedDefault.clear();
    else if (lstrcmpiA(current.c_str(), CPrinterSetup::kPrinterName) != 0)
        m_savedDefault = current;
    return 1;
}

int CVirtualPrinter::Print(HWND owner, const char* path, int formatSwitch, const char* extension,
                           int colour, int fit)
{
    if (!m_record || !path || !*path || !extension)
        return 0;
    std::string autoExec = CPrinterSettings(m_places.settingsPath).ReadAutoExec();
    if (!m_setup.MakeDefaultPrinter(CPrinterSetup::kPrinterName))
        return 0;

    std::string document = path;
    CSharedRecord::Job job;
    std::string documentExtension;
    SplitPath(document, job.baseName, documentExtension);
    job.extension = extension;
    job.autoExec = autoExec;
    job.colour = static_cast<uint32_t>(colour);
    job.format = formatSwitch == 0 ? 1 : 0;
    {
        RecordLock lock(m_memory);
        if (!lock.Locked() || !CSharedRecord::WriteJob(m_memory.View(), m_memory.Size(), job))
            return 0;
        m_reportedPages = 0;
        QNT_SHARED_RECORD record;
        if (CSharedRecord::Read(m_memory.View(), m_memory.Size(), record))
            CreateDirectoryA(CSharedRecord::Text(record.folder).c_str(), nullptr);
    }

    std::string lowerExtension = CPrintVerb::Lower(documentExtension);
    std::string image = TempImagePath();
    if (lowerExtension == ".bmp" || lowerExtension == ".jpg") {
        CreateDirectoryA((m_places.hostFolder + "Temp").c_str(), nullptr);
        if (lowerExtension == ".bmp") {
            if (!CopyFileA(document.c_str(), image.c_str(), FALSE))
                return 0;
        } else {
            IShellHost& shell = m_shell;
            CJpegFile jpeg([&shell](const char* text, const char* title) {
                shell.ShowMessage(text, title, MB_OK | MB_ICONERROR);
            });
            if (!jpeg.ToBitmap(document, image))
                return 0;
        }
        return PrintImage(owner, image, fit) ? 1 : 0;
    }

    std::string verb = CPrintVerb::Find(m_shell, documentExtension);
    int result =
        m_shell.Execute(owner, verb.c_str(), document.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return result > 32 ? 1 : 0;
}

bool CVirtualPrinter::FitToBounds(int32_t& width, int32_t& height, int32_t boundWidth,
                                  int32_t boundHeight)
{
    bool scaled = false;
    if (width > boundWidth) {
        int64_t h = static_cast<int64_t>(height) * boundWidth / width;
        if (h != 0)
            height = static_cast<int32_t>(h);
        width = boundWidth;
        scaled = true;
    }
    if (height > boundHeight) {
        int64_t w = static_cast<int64_t>(width) * boundHeight / height;
        if (w != 0)
            width = static_cast<int32_t>(w);
        height = boundHeight;
        scaled = true;
    }
    return scaled;
}

bool CVirtualPrinter::FitImage(const std::string& image)
{
    CBitmapFile::FileHeader file;
    CBitmapFile::InfoHeader info;
    if (!CBitmapFile::ReadHeaders(image, file, info) || file.type != 0x4D42 || info.width == 0 ||
        info.height == 0)
        return false;
    // A top-down image carries its height negated.
    int32_t width = info.width;
    int32_t height = info.height < 0 ? -info.height : info.height;
    if (width < 0 || height < 0)
        return false;
    if (!FitToBounds(width, height, m_boundWidth, m_boundHeight))
        return true;
    CDibImage dib;
    return dib.Load(image) && dib.WriteScaled(image, width, height);
}

bool CVirtualPrinter::PrintImage(HWND owner, const std::string& image, int fit)
{
    if (fit && !FitImage(image))
        return false;
    // Quoted, so that a folder with spaces reaches the paint program whole.
    std::string parameters = " /p \"" + image + "\"";
    int result = m_shell.Execute(owner, "open", "mspaint.exe", parameters.c_str(),
                                 m_places.hostFolder.c_str(), SW_SHOWNORMAL);
    return result > 32;
}

bool CVirtualPrinter::ReadRecord(QNT_SHARED_RECORD& record)
{
    if (!m_record)
        return false;
    RecordLock lock(m_memory);
    return lock.Locked() && CSharedRecord::Read(m_memory.View(), m_memory.Size(), record);
}

uint32_t CVirtualPrinter::GetStatus()
{
    QNT_SHARED_RECORD record;
    return ReadRecord(record) ? record.status : 0;
}

uint32_t CVirtualPrinter::GetPages()
{
    QNT_SHARED_RECORD record;
    if (!ReadRecord(record))
        return 0;
    m_reportedPages = record.pages;
    return record.pages;
}

int CVirtualPrinter::GetFileName(char** names)
{
    QNT_SHARED_RECORD record;
    if (!names || !ReadRecord(record))
        return 0;
    // The caller sized its array from the last page count it was given; pages
    // the driver side wrote since then are not written past that array. A
    // caller that was given no count for this job has no array to fill.
    if (record.pages > 0 && m_reportedPages == 0)
        return 0;
    uint32_t count = record.pages < m_reportedPages ? record.pages : m_reportedPages;
    int result = 1;
    for (uint32_t i = 1; i <= count; ++i) {
        // Each buffer gets the name and its terminator, not a byte more:
        // its size is the caller's to know.
        if (!names[i - 1]) {
            result = 0;
            continue;
        }
        std::string name = CSharedRecord::PageName(record, i);
        memcpy(names[i - 1], name.c_str(), name.size() + 1);
    }
    return result;
}

int* CVirtualPrinter::GetBmpSize(int* size) const
{
    if (size) {
        size[0] = m_boundWidth;
        size[1] = m_boundHeight;
    }
    return size;
}

int CVirtualPrinter::SetBmpSize(const int* size)
{
    if (!size || size[0] <= 0 || size[1] <= 0)
        return 0;
    m_boundWidth = size[0];
    m_boundHeight = size[1];
    return 1;
}

int CVirtualPrinter::Release()
{
    if (m_savedDefault.empty())
        return 1;
    return m_setup.MakeDefaultPrinter(m_savedDefault) ? 1 : 0;
}
