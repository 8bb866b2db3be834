#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class CPPTFileSendingDlg;
class IDocShareHost;

// The presentation file being converted and uploaded: at most one at a
// time for the whole run. It is busy while its progress dialog exists.
class CDocTransfer
{
public:
    explicit CDocTransfer(IDocShareHost* host = nullptr);
    ~CDocTransfer();
    CDocTransfer(const CDocTransfer&) = delete;
    CDocTransfer& operator=(const CDocTransfer&) = delete;

    // The client's one transfer.
    static CDocTransfer& Instance();
    void SetHost(IDocShareHost* host) { m_host = host; }

    bool IsBusy() const { return m_dialog != nullptr; }
    // "上传演讲文件": the user picks a file in the properties dialog, then it
    // is converted and uploaded into that folder (category).
    void StartPresentationUpload(uint32_t category);
    // Converts and uploads that file; false when it did not start.
    bool Begin(const std::string& sourcePath, const std::string& fileName, uint32_t category);
    // Stops a running conversion or upload (rights changed, the program ends).
    void Stop();
    // Told by its progress dialog at its end; a success is announced to the room.
    void OnDialogDone(CPPTFileSendingDlg* dialog, bool ok);

    const std::string& Extension() const { return m_extension; }
    const std::string& SourcePath() const { return m_sourcePath; }
    const std::string& OutputPath() const { return m_outputPath; }
    CPPTFileSendingDlg* Dialog() const { return m_dialog; }

    // Where the converter writes: the program's temp folder, "PPTFile" and
    // the tick count, ".htm" (".dwg" for a drawing).
    static std::string MakeOutputPath(const std::string& programFolder,
                                      const std::string& extension, DWORD tick);

private:
    bool RefuseWhileBusy();

    IDocShareHost* m_host;
    std::string m_extension;
    std::string m_sourcePath;
    std::string m_outputPath;
    CPPTFileSendingDlg* m_dialog = nullptr;
};
