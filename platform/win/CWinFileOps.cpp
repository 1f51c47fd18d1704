#include "CWinFileOps.h"

#include <windows.h>
#include <shellapi.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStorageInfo>

namespace {

constexpr int kShellPathBuffer = 520;

const wchar_t *wide(const QString &str) { return reinterpret_cast<const wchar_t *>(str.utf16()); }

bool failWithLastError(QString *pstrError)
{
    const DWORD err = GetLastError();
    if (pstrError) {
        if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS)
            *pstrError = QStringLiteral("a file of that name already exists there");
        else if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
            *pstrError = QStringLiteral("it no longer exists");
        else
            *pstrError = qt_error_string(int(err));
    }
    return false;
}

QString driveKeyOf(const QString &strPath)
{
    const int colon = strPath.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : strPath.left(colon + 1).toUpper();
}

// A read-only attribute would make DeleteFileW fail; we remove such files as the user asked.
void clearAttributes(const QString &strPath)
{
    SetFileAttributesW(wide(QDir::toNativeSeparators(strPath)), FILE_ATTRIBUTE_NORMAL);
}

} // namespace

QStringList CWinFileOps::driveKeys(const QStringList &listPaths) const
{
    QStringList keys;
    keys.reserve(listPaths.size());
    for (const QString &strPath : listPaths)
        keys << driveKeyOf(strPath);
    return keys;
}

bool CWinFileOps::isRemovable(const QString &strDriveKey) const
{
    if (strDriveKey.size() != 2)
        return false;
    return GetDriveTypeW(wide(strDriveKey)) == DRIVE_REMOVABLE;
}

QMap<QString, qint64> CWinFileOps::trashCapacities() const
{
    // The recycle bin's size lives per volume GUID; drives are found through their volumes.
    QMap<QString, QString> guidsOfKey;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || !storage.isReady())
            continue;
        const QString root = storage.rootPath();
        const QString device = QString::fromLocal8Bit(storage.device());
        if (root.isEmpty() || device.isEmpty())
            continue;
        const int open = device.indexOf(QLatin1Char('{'));
        const int close = device.lastIndexOf(QLatin1Char('}'));
        if (open < 0 || close < open)
            continue;
        guidsOfKey[root.left(root.indexOf(QLatin1Char(':')) + 1)] += device.mid(open, close - open + 1);
    }
    QMap<QString, qint64> map;
    for (auto it = guidsOfKey.cbegin(); it != guidsOfKey.cend(); ++it) {
        const QSettings settings(
            QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\%1")
                .arg(it.value()),
            QSettings::NativeFormat);
        const quint32 megabytes = settings.value(QStringLiteral("MaxCapacity")).toUInt();
        map.insert(it.key().toUpper(), qint64(megabytes) * 1024 * 1024);
    }
    return map;
}

qint64 CWinFileOps::freeSpace(const QString &strPath) const
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(wide(strPath.left(2)), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return 0;
    return qint64(quint64(freeClusters) * sectorsPerCluster * bytesPerSector);
}

QString CWinFileOps::mirrorFolder(const QString &strFolder) const
{
    const QString folder = QDir::fromNativeSeparators(strFolder);
    const int colon = folder.indexOf(QLatin1Char(':'));
    const QString drive = colon < 0 ? QString() : folder.left(colon).toUpper();
    const QString rest = colon < 0 ? QString() : folder.mid(colon + 1);
    QString mirror = (!drive.isEmpty() && !rest.isEmpty()) ? drive + rest : QString(folder).remove(QLatin1Char(':'));
    while (mirror.startsWith(QLatin1Char('/')))
        mirror.remove(0, 1);
    while (mirror.endsWith(QLatin1Char('/')))
        mirror.chop(1);
    return mirror;
}

bool CWinFileOps::removeFile(const QString &strPath, QString *pstrError)
{
    clearAttributes(strPath);
    if (!DeleteFileW(wide(QDir::toNativeSeparators(strPath))))
        return failWithLastError(pstrError);
    return true;
}

bool CWinFileOps::moveToTrash(const QString &strPath, QString *pstrError)
{
    const QString path = QDir::toNativeSeparators(strPath);
    // pFrom is a list ending in two NULs; a longer path would not fit the buffer.
    if (path.size() > kShellPathBuffer - 2) {
        if (pstrError)
            *pstrError = QStringLiteral("the path is too long for the recycle bin");
        return false;
    }
    wchar_t from[kShellPathBuffer] = {};
    wchar_t to[kShellPathBuffer] = {};
    path.toWCharArray(from);
    SHFILEOPSTRUCTW op = {};
    op.hwnd = nullptr;
    op.wFunc = FO_DELETE;
    op.pFrom = from;
    op.pTo = to;
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
    op.fAnyOperationsAborted = FALSE;
    const int result = SHFileOperationW(&op);
    if (result != 0 || op.fAnyOperationsAborted) {
        if (pstrError)
            *pstrError = QStringLiteral("the recycle bin refused it (code %1)").arg(result);
        return false;
    }
    return true;
}

bool CWinFileOps::moveFile(const QString &strSource, const QString &strTarget, QString *pstrError)
{
    const QString source = QDir::toNativeSeparators(strSource);
    const QString target = QDir::toNativeSeparators(strTarget);
    if (QFileInfo(strSource).isDir()) {
        if (pstrError)
            *pstrError = QStringLiteral("it is a folder, not a file");
        return false;
    }
    // Without MOVEFILE_REPLACE_EXISTING an existing target makes the rename fail.
    if (MoveFileExW(wide(source), wide(target), MOVEFILE_WRITE_THROUGH))
        return true;
    if (GetLastError() != ERROR_NOT_SAME_DEVICE)
        return failWithLastError(pstrError);

    if (!CopyFileExW(wide(source), wide(target), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS))
        return failWithLastError(pstrError);
    QString strError;
    if (QFileInfo(strTarget).size() != QFileInfo(strSource).size())
        strError = QStringLiteral("the copy came out at a different size");
    if (strError.isEmpty()) {
        clearAttributes(strSource);
        if (!DeleteFileW(wide(source))) {
            failWithLastError(&strError);
            strError = QStringLiteral("the original cannot be removed (%1); the copy was taken back").arg(strError);
        }
    }
    if (strError.isEmpty())
        return true;
    clearAttributes(strTarget);
    DeleteFileW(wide(target));
    if (pstrError)
        *pstrError = strError;
    return false;
}

namespace dp::platform::native {

IFileOps &fileOps()
{
    static CWinFileOps s_fileOps;
    return s_fileOps;
}

} // namespace dp::platform::native
