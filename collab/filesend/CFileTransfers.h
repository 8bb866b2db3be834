#pragma once
#include "IFileReceiver.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class IFileSendHost;

// Files sent between participants: a file goes up to the server's file
// store while the recipients are told of it (2071), and each recipient who
// accepts the offer (2072) fetches it into the folder chosen. Each transfer
// runs in its own progress dialog; what still runs when this object goes is
// stopped.
class CFileTransfers : public IFileReceiver
{
public:
    explicit CFileTransfers(IFileSendHost* host) : m_host(host) {}
    ~CFileTransfers() override;
    CFileTransfers(const CFileTransfers&) = delete;
    CFileTransfers& operator=(const CFileTransfers&) = delete;

    // The most recipients one offer can name.
    enum { MAX_RECIPIENTS = 255 };

    // Asks for a file and its recipients (one ticked beforehand) and starts
    // sending it: 1 when the user cancelled or the transfer started, 0 when
    // it failed after the recipients were chosen.
    int StartFileSend(uint32_t preselectedUser);
    // An offer of another participant: asked, then fetched into the folder
    // the user picks.
    void StartFileReceive(uint32_t senderId, uint32_t fileSize, uint32_t transferId,
                          const char* name) override;
    // The receive folder in the file browser.
    void OpenReceiveFolder();

    // The progress dialogs still open, oldest first.
    std::vector<HWND> OpenDialogs();

    // The name an offered file is saved under: its last path component,
    // false for a name that is empty, "." or "..", a device, or holds
    // characters no file name may hold.
    static bool SafeFileName(const std::string& offered, std::string* name);
    // The part of a path after its last backslash (double-byte aware).
    static std::string BaseName(const std::string& path);
    // A folder without its trailing backslashes.
    static std::string TrimFolder(const std::string& folder);

private:
    void Track(HWND dialog);

    IFileSendHost* m_host;
    std::vector<HWND> m_dialogs;
};
