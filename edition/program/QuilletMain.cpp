// The program's one application object.
#include "CQuilletApp.h"
#include "CVirtualPrinterLink.h"

CQuilletApp theApp;

// The whiteboard's virtual printer is installed at the first start.
static const bool s_installsPrinter =
    (CClientApp::SetVirtualPrinterInstaller(&InstallVirtualPrinter), true);
