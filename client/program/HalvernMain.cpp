// The program's one application object.
#include "CClientApp.h"
#include "CVirtualPrinterLink.h"

CClientApp theApp;

// The whiteboard's virtual printer is installed at the first start.
static const bool s_installsPrinter =
    (CClientApp::SetVirtualPrinterInstaller(&InstallVirtualPrinter), true);

// The program imports the hot-key library as its earlier edition does;
// nothing here calls it.
#include "Hook.h"

typedef int (*HOTKEY_FUNCTION)(HWND, int, int);
__attribute__((used)) static const HOTKEY_FUNCTION kHotkeyImports[] = {&AddHotkey, &DeleteHotkey};
