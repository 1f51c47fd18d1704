#pragma once

#include <QString>

// Names and loads the shared libraries of the suite.
class IModules
{
public:
    virtual ~IModules() = default;
    // "ScanEngine" -> "libScanEngine.so" on Linux, "ScanEngine.dll" on Windows.
    virtual QString libraryFileName(const QString &strBaseName) const = 0;
    // The folder of the running executable; known before the application object exists.
    virtual QString executableDirectory() const = 0;
    // Where the engine and the component plug-ins lie.
    virtual QString moduleDirectory() const = 0;
    // Where the resource package and the translations lie.
    virtual QString dataDirectory() const = 0;
};
