#pragma once
#include <string>

// The printer driver the virtual printer names ("Lenovo LJ5600"), added to
// the spooler from the stand-in driver files of a folder: LJ5600.DLL, its
// data file LJ5600.GPD and its configuration library LJ5600UI.DLL.
class CStandInPrinterDriver
{
public:
    // Adds the driver (again, when it is there); false with the reason in
    // error when the spooler refused it or a file is missing.
    static bool Install(const std::string& folder, std::string* error);
};
