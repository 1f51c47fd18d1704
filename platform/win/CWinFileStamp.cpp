#include "CFileStamp.h"
#include "CProcessLock.h"
#include "CScanFiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <xxhash.h>

#include <windows.h>

#include <memory>

namespace dp::platform {

CFileStamp fileStamp(const QString &strPath)
{
    CFileStamp stamp;
    const std::wstring path = QDir::toNativeSeparators(strPath).toStdWString();
    // FILE_FLAG_OPEN_REPARSE_POINT: a link is looked at, not followed.
    const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return stamp;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handle, &info)) {
        stamp.bExists = true;
        stamp.bRegular = !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        stamp.iDevice = info.dwVolumeSerialNumber;
        stamp.iFileIndex = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        stamp.i64Size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
        stamp.i64ModTime = (quint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
        FILE_BASIC_INFO basic{};
        if (GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof(basic)))
            stamp.iChangeTime = quint64(basic.ChangeTime.QuadPart);
    }
    CloseHandle(handle);
    return stamp;
}

bool contentKeyOf(const QString &strPath, quint64 *piKey, QString *pstrError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *pstrError = file.errorString();
        return false;
    }
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(), &XXH3_freeState);
    XXH3_64bits_reset(state.get());
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = file.read(buffer.data(), buffer.size());
        if (n == 0)
            break;
        if (n < 0) {
            *pstrError = file.errorString();
            return false;
        }
        XXH3_64bits_update(state.get(), buffer.constData(), size_t(n));
    }
    *piKey = XXH3_64bits_digest(state.get());
    return true;
}

QString canonicalPath(const QString &strPath)
{
    const QFileInfo info(QDir::cleanPath(QFileInfo(strPath).absoluteFilePath()));
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return info.absoluteFilePath();
    return QDir(folder).filePath(info.fileName());
}

bool isInSnapshot(const QString &strPath)
{
    const QStringList parts = QDir::fromNativeSeparators(canonicalPath(strPath)).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < parts.size(); ++i) {
        const QByteArray parent = i > 0 ? parts.at(i - 1).toUtf8() : QByteArray();
        if (isSnapshotFolderName(parent.constData(), parts.at(i).toUtf8().constData()))
            return true;
    }
    return false;
}

bool isInMemory(const QString &strPath)
{
    // The drive's root with its backslash, as GetDriveTypeW wants it; a share is no RAM disk.
    const QString root = QDir::toNativeSeparators(QFileInfo(canonicalPath(strPath)).absoluteFilePath().left(3));
    return ::GetDriveTypeW(reinterpret_cast<const wchar_t *>(root.utf16())) == DRIVE_RAMDISK;
}

bool showsOtherFiles(const QString &)
{
    return false;
}

bool isInTrash(const QString &strPath)
{
    const QStringList parts = QDir::fromNativeSeparators(canonicalPath(strPath)).split(QLatin1Char('/'));
    for (int i = 0; i + 1 < parts.size(); ++i)
        if (isTrashFolderName(parts.at(i).toUtf8().constData()))
            return true;
    return false;
}

CProcessLock::CProcessLock(const QString &strPath, int iWaitMs)
{
    const std::wstring path = QDir::toNativeSeparators(strPath).toStdWString();
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    const QDeadlineTimer deadline(iWaitMs);
    for (;;) {
        OVERLAPPED overlapped{};
        if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &overlapped))
            break;
        if (deadline.hasExpired()) {
            CloseHandle(handle);
            return;
        }
        QThread::msleep(1);
    }
    m_handle = reinterpret_cast<intptr_t>(handle);
}

CProcessLock::~CProcessLock()
{
    if (m_handle != kNone)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

} // namespace dp::platform
