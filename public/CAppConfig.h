#pragma once

#include <QString>
#include <QVariant>

class IRegistry;

// Where the shell's settings live: the per-user configuration file, the file beside the
// executable, the installed-version file and the registry (or its stand-in).
namespace CAppConfig {

// Set once from argv[0] by the loader: the application object does not exist yet when
// the configuration is first read.
void setExecutablePath(const QString &strPath);
// Usable before the application object exists (the main object is built before it).
QString executableDirectory();

// strPath if it names a file, else the per-user "QRNConfig.ini" if it exists, else
// "config.ini" beside the executable (whether it exists or not).
QString configFilePath(const QString &strPath, const QString &strUserConfigDir, const QString &strExecutableDir);
// The same with the user's configuration folder and the executable's directory.
QString configFilePath(const QString &strPath);
// Invalid when the key is missing or the file is unreadable.
QVariant readConfigValue(const QString &strKey, const QString &strConfigFile);

// The installed version of a suite product: the version file first, then the registry.
QString currentVersion(const QString &strProduct, bool bInstallVersion, const QString &strVersionFile,
                       const IRegistry &registry);
QString currentVersion(const QString &strProduct, bool bInstallVersion);

} // namespace CAppConfig
