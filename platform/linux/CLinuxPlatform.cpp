// The Linux implementations behind the platform accessors.
#include "CIniRegistry.h"
#include "CLinuxDesktop.h"
#include "CLinuxShell.h"
#include "CLinuxVolumes.h"
#include "IModules.h"

#include <QFileInfo>

namespace {

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
};

} // namespace

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
