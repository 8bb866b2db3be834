#pragma once
#include <string>

#include "PassApi.h"

// The file-transfer library's functions, bound by ordinal.
struct PASS_FUNCTIONS
{
    PFN_PASS_StartSend StartSend = nullptr;
    PFN_PASS_PollSend PollSend = nullptr;
    PFN_PASS_StopSend StopSend = nullptr;
    PFN_PASS_StartReceive StartReceive = nullptr;
    PFN_PASS_PollReceive PollReceive = nullptr;
    PFN_PASS_StopReceive StopReceive = nullptr;
    PFN_PASS_StartDocUpload StartDocUpload = nullptr;
    PFN_PASS_GetDocUploadValue GetDocUploadValueB = nullptr;
    PFN_PASS_GetDocUploadValue GetDocUploadValueA = nullptr;
    PFN_PASS_PollDocUpload PollDocUpload = nullptr;
    PFN_PASS_StopDocUpload StopDocUpload = nullptr;
    PFN_PASS_StartBoardUpload StartBoardUpload = nullptr;
    PFN_PASS_GetBoardUploadValue GetBoardUploadValue = nullptr;
    PFN_PASS_PollBoardUpload PollBoardUpload = nullptr;
    PFN_PASS_StopBoardUpload StopBoardUpload = nullptr;
    PFN_PASS_StartBoardDownload StartBoardDownload = nullptr;
    PFN_PASS_PollBoardDownload PollBoardDownload = nullptr;
    PFN_PASS_StopBoardDownload StopBoardDownload = nullptr;
};

// The client's binding of the file-transfer library: loaded once, all 18
// ordinals or none. Until it is bound every function is null and the
// callers treat each start as failed.
class CPassLibrary
{
public:
    CPassLibrary() = default;
    ~CPassLibrary();
    CPassLibrary(const CPassLibrary&) = delete;
    CPassLibrary& operator=(const CPassLibrary&) = delete;

    // Loads the library by path and binds ordinals 1 to 18; false, with the
    // reason in Error(), when the library or any ordinal is missing.
    bool Load(const char* path);
    // Uses these functions in place of a loaded library (every one must be set).
    bool Bind(const PASS_FUNCTIONS& functions);
    void Unload();
    bool IsBound() const { return m_bound; }

    const PASS_FUNCTIONS& Functions() const { return m_functions; }
    const std::string& Error() const { return m_error; }

    // The client's own binding: "pass.dll" from the program's folder,
    // loaded at the first use.
    static CPassLibrary& Client();

private:
    HMODULE m_module = nullptr;
    PASS_FUNCTIONS m_functions;
    bool m_bound = false;
    std::string m_error;
};
