#include "CScanEngineLoader.h"

#include "CPlatform.h"
#include "IModules.h"
#include "IScanEngine.h"
#include "IScanEngineExtras.h"
#include "XLogging.h"

#include <QLibrary>

namespace {

QString g_strEngineOverride;

} // namespace

void CScanEngineLoader::setLibraryOverride(const QString &strPath)
{
    g_strEngineOverride = strPath;
}

QString CScanEngineLoader::libraryPath()
{
    QString path = g_strEngineOverride;
    if (path.isEmpty())
        path = qEnvironmentVariable("MIRELLE_SCAN_ENGINE");
    if (path.isEmpty())
        path = dp::platform::modules().moduleDirectory() + QLatin1Char('/')
               + dp::platform::modules().libraryFileName(QStringLiteral("ScanEngine"));
    return path;
}

CLoadedEngine CScanEngineLoader::load()
{
    CLoadedEngine loaded;
    const QString path = libraryPath();
    QLibrary library(path);
    if (!library.load()) {
        qCInfo(lcLoadApp) << "scan engine not loaded:" << path << library.errorString();
        return loaded;
    }
    auto pfnGetImp = reinterpret_cast<PFN_GetImp>(library.resolve(SCAN_ENGINE_ENTRY_NAME));
    if (!pfnGetImp) {
        qCInfo(lcLoadApp) << "scan engine has no entry point:" << path;
        return loaded;
    }
    loaded.pEngine = pfnGetImp();
    // An engine without the additions is complete as it is; they are only extra choices.
    auto pfnGetExtras = reinterpret_cast<PFN_GetImpExtras>(library.resolve(SCAN_ENGINE_EXTRAS_ENTRY_NAME));
    if (loaded.pEngine && pfnGetExtras)
        loaded.pExtras = pfnGetExtras(loaded.pEngine);
    qCInfo(lcLoadApp) << "scan engine additions:" << (loaded.pExtras ? "present" : "absent");
    return loaded;
}
