// The Windows implementations behind the platform accessors.
#include "CPathCodec.h"
#include "CWinVolumes.h"
#include "IModules.h"
#include "IRegistry.h"
#include "IShell.h"

#include <windows.h>
#include <shellapi.h>

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

namespace {

class CWinModules : public IModules
{
public:
    QString libraryFileName(const QString &strBaseName) const override { return strBaseName + QStringLiteral(".dll"); }
    QString executableDirectory() const override
    {
        wchar_t buffer[MAX_PATH] = {};
        const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
        return QDir::fromNativeSeparators(QString::fromWCharArray(buffer, int(n))).section(QLatin1Char('/'), 0, -2);
    }
    // Windows keeps everything beside the executable, installed or not.
    QString moduleDirectory() const override { return executableDirectory(); }
    QString dataDirectory() const override { return executableDirectory(); }
};

class CWinRegistry : public IRegistry
{
public:
    QVariant value(const QString &strKey, const QVariant &defaultValue) const override
    {
        const QSettings settings(strKey.section(QLatin1Char('\\'), 0, -2), QSettings::NativeFormat);
        return settings.value(strKey.section(QLatin1Char('\\'), -1), defaultValue);
    }
    bool setValue(const QString &strKey, const QVariant &value) override
    {
        QSettings settings(strKey.section(QLatin1Char('\\'), 0, -2), QSettings::NativeFormat);
        settings.setValue(strKey.section(QLatin1Char('\\'), -1), value);
        settings.sync();
        return settings.status() == QSettings::NoError;
    }
};

class CWinShell : public IShell
{
public:
    bool openFile(const QString &strPath) override
    {
        return !strPath.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(strPath));
    }
    bool showInFolder(const QString &strPath) override
    {
        const QString params = QStringLiteral("/select, \"%1\"").arg(QDir::toNativeSeparators(strPath));
        const auto result = ShellExecuteW(nullptr, L"open", L"explorer", reinterpret_cast<LPCWSTR>(params.utf16()),
                                          nullptr, SW_SHOWNORMAL);
        return reinterpret_cast<INT_PTR>(result) > 32;
    }
};

} // namespace

namespace dp::platform {

// Windows names are UTF-16 already: Qt hands them to the system unchanged.
bool isRegularFile(const QString &strPath, qint64 *pi64Size)
{
    const QFileInfo info(strPath);
    if (strPath.isEmpty() || !info.isFile())
        return false;
    if (pi64Size)
        *pi64Size = info.size();
    return true;
}

} // namespace dp::platform

namespace dp::platform::native {

IVolumes &volumes() { static CWinVolumes s; return s; }
IModules &modules() { static CWinModules s; return s; }
IRegistry &registry() { static CWinRegistry s; return s; }
IShell &shell() { static CWinShell s; return s; }

} // namespace dp::platform::native
