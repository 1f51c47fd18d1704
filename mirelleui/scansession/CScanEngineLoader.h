#pragma once

#include <QString>

class IScanEngine;
class IScanEngineExtras;

// The scan engine library: the override, else MIRELLE_SCAN_ENGINE, else the one in the
// program's module folder. The library stays loaded for the whole run: engine objects live in it.
struct CLoadedEngine
{
    IScanEngine *pEngine = nullptr;
    // The optional additions (rotations, separated pairs, content keys); null when absent.
    IScanEngineExtras *pExtras = nullptr;
};

class CScanEngineLoader
{
public:
    static void setLibraryOverride(const QString &strPath);
    // The library's path as load() would try it.
    static QString libraryPath();
    static CLoadedEngine load();
};
