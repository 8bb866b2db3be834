#pragma once
#include <string>

// The printer's settings file, section "Wendar", shared with the driver side.
class CPrinterSettings
{
public:
    explicit CPrinterSettings(const std::string& path);

    // Writes the six keys with the values a fresh install starts from.
    bool WriteDefaults() const;
    // "OutAutoExec", at most 1023 characters; the default when absent.
    std::string ReadAutoExec() const;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
