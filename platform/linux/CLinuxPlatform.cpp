// The Linux implementations behind the platform accessors.
#include "CIniRegistry.h"
#include "CLinuxDesktop.h"
#include "CLinuxShell.h"
#include "CLinuxVolumes.h"
#include "CPathCodec.h"
#include "IModules.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// Installed, the program lies in <prefix>/bin, its modules in <prefix>/lib/mirelle and its
// data in <prefix>/share/mirelle (CMake gives the relative paths); in the build folder
// everything lies beside it.
class CLinuxModules : public IModules
{
public:
    QString libraryFileName(const QString &strBaseName) const override
    {
        return QStringLiteral("lib%1.so").arg(strBaseName);
    }
    QString executableDirectory() const override
    {
        return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
    }
    QString moduleDirectory() const override { return installedOrBeside(QStringLiteral(DP_BIN_TO_MODULE_DIR)); }
    QString dataDirectory() const override { return installedOrBeside(QStringLiteral(DP_BIN_TO_DATA_DIR)); }

private:
    QString installedOrBeside(const QString &strRelative) const
    {
        const QString strExeDir = executableDirectory();
        const QDir installed(strExeDir + QLatin1Char('/') + strRelative);
        return installed.exists() ? installed.canonicalPath() : strExeDir;
    }
};

} // namespace

namespace dp::platform {

bool isRegularFile(const QString &strPath, qint64 *pi64Size)
{
    struct stat st {};
    if (strPath.isEmpty() || ::stat(pathToBytes(strPath).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (pi64Size)
        *pi64Size = qint64(st.st_size);
    return true;
}

} // namespace dp::platform

namespace dp::platform::native {

IVolumes &volumes()
{
    static CLinuxVolumes s_volumes;
    return s_volumes;
}

IModules &modules()
{
    static CLinuxModules s_modules;
    return s_modules;
}

IRegistry &registry()
{
    static CIniRegistry s_registry;
    return s_registry;
}

IShell &shell()
{
    static CLinuxShell s_shell;
    return s_shell;
}

IDesktop &desktop()
{
    static CLinuxDesktop s_desktop;
    return s_desktop;
}

} // namespace dp::platform::native
