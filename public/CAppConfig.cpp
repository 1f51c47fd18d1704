#include "CAppConfig.h"

#include "CPlatform.h"
#include "IRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace CAppConfig {

namespace {

const QString kSuiteFolder = QStringLiteral("/Quorvane Veltrix Cleaner/QRNConfig.ini");
QString g_strExecutablePath;

bool isFile(const QString &strPath)
{
    return !strPath.isEmpty() && QFileInfo(strPath).isFile();
}

// The user's configuration folder, without the application's own sub-folder.
QString userConfigDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

} // namespace

void setExecutablePath(const QString &strPath)
{
    QString path = strPath;
    // Started through PATH: argv[0] has no folder.
    if (!path.contains(QLatin1Char('/')) && !path.contains(QLatin1Char('\\')))
        path = QStandardPaths::findExecutable(path);
    g_strExecutablePath = QFileInfo(path).absoluteFilePath();
}

QString executableDirectory()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    if (!g_strExecutablePath.isEmpty())
        return QFileInfo(g_strExecutablePath).absolutePath();
    // Linux names the running executable here; elsewhere the link does not exist.
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return self.isEmpty() ? QDir::currentPath() : QFileInfo(self).absolutePath();
}

QString configFilePath(const QString &strPath, const QString &strUserConfigDir, const QString &strExecutableDir)
{
    if (isFile(strPath))
        return strPath;
    if (!strUserConfigDir.isEmpty() && isFile(strUserConfigDir + kSuiteFolder))
        return strUserConfigDir + kSuiteFolder;
    return strExecutableDir + QStringLiteral("/config.ini");
}

QString configFilePath(const QString &strPath)
{
    return configFilePath(strPath, userConfigDir(), executableDirectory());
}

QVariant readConfigValue(const QString &strKey, const QString &strConfigFile)
{
    if (!isFile(strConfigFile))
        return QVariant();
    QSettings settings(strConfigFile, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    return settings.value(strKey);
}

QString currentVersion(const QString &strProduct, bool bInstallVersion, const QString &strVersionFile,
                       const IRegistry &registry)
{
    if (isFile(strVersionFile)) {
        QSettings versionFile(strVersionFile, QSettings::IniFormat);
        const QString version = versionFile.value(QStringLiteral("AppData/Version")).toString();
        if (!version.isEmpty())
            return version;
    }
    QString key = QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/Quorvane/") + strProduct;
    key.replace(QLatin1Char('/'), QLatin1Char('\\'));
    auto read = [&registry](const QString &strKey, const char *pValue) {
        return registry.value(strKey + QLatin1Char('\\') + QLatin1String(pValue)).toString();
    };
    QString version = read(key, bInstallVersion ? "InstallVer" : "Version");
    if (version.isEmpty() && bInstallVersion)
        version = read(key, "Version");
    if (version.isEmpty())
        version = read(key + QStringLiteral("\\Version"), bInstallVersion ? "InstallVer" : "Flag");
    return version;
}

QString currentVersion(const QString &strProduct, bool bInstallVersion)
{
    return currentVersion(strProduct, bInstallVersion, userConfigDir() + kSuiteFolder, dp::platform::registry());
}

} // namespace CAppConfig
