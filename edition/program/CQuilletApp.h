#pragma once
#include "CClientApp.h"

class CQuilletAudio;

// The earlier edition's application: its media libraries are RavoTM, Dravom
// and Caskel; no audio starts with the program (the devices come up with
// the main window); another server version leads to the setup package's
// download; the login dialog is its own and the server's result codes have
// their own table.
class CQuilletApp : public CClientApp
{
public:
    CQuilletApp();
    ~CQuilletApp() override;

    BOOL InitInstance() override;
    bool BindMediaLibraries() override;
    void StartAudio() override;
    void Upgrade(const CString& server, bool fromLoginDialog) override;
    CDlgLogin* NewLoginDialog() override;

    // The audio control, once the libraries are bound (null before).
    CQuilletAudio* Audio() { return m_audio; }

private:
    CQuilletAudio* m_audio = nullptr;
};

// The application object once it bound its libraries (null before).
extern CQuilletApp* g_pQuilletApp;
