#include "CLinuxFileOps.h"

#include "CPlatform.h"
#include "IRegistry.h"
#include "IVolumes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QRegularExpression>

namespace {

QString errnoText(int err)
{
    switch (err) {
    case ENOENT:
        return QStringLiteral("it no longer exists");
    case EEXIST:
        return QStringLiteral("a file of that name already exists there");
    case EISDIR:
        return QStringLiteral("it is a folder, not a file");
    default:
        return qt_error_string(err);
    }
}

void setError(QString *pstrError, const QString &strText)
{
    if (pstrError)
        *pstrError = strText;
}

bool failWith(QString *pstrError, int err)
{
    setError(pstrError, errnoText(err));
    return false;
}

// ENOENT after the source was found means the target's folder is missing.
bool failTowards(QString *pstrError, int err)
{
    if (err == ENOENT) {
        setError(pstrError, QStringLiteral("the destination folder does not exist"));
        return false;
    }
    return failWith(pstrError, err);
}

// A program writing a file holds a write lock on it (flock or fcntl); deleting or moving
// the file under it would lose what it writes. Read locks (viewers) do not stop us.
bool isWriteLockedByOther(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    bool bLocked = false;
    struct flock lock = {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK)
        bLocked = true;
    else if (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        bLocked = true;
    ::close(fd);
    return bLocked;
}

// Checks shared by every removal: the path names a file and nobody is writing it.
bool checkRemovable(const QByteArray &path, struct stat *pStat, QString *pstrError)
{
    if (::lstat(path.constData(), pStat) != 0)
        return failWith(pstrError, errno);
    if (S_ISDIR(pStat->st_mode))
        return failWith(pstrError, EISDIR);
    if (S_ISREG(pStat->st_mode) && isWriteLockedByOther(path)) {
        setError(pstrError, QStringLiteral("another program has it locked"));
        return false;
    }
    return true;
}

bool writeAll(int fd, const char *data, ssize_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// The kernel copies in place where it can (and shares blocks on filesystems that allow it);
// other pairs of filesystems fall back to a plain read and write.
bool copyData(int in, int out, qint64 i64Size)
{
    qint64 copied = 0;
    bool bKernelCopy = true;
    while (bKernelCopy && copied < i64Size) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(qMin<qint64>(i64Size - copied, 1 << 30)), 0);
        if (n > 0) {
            copied += n;
        } else if (n == 0) {
            return true; // the source shrank; the size check afterwards rejects the copy
        } else if (errno == EINTR) {
            continue;
        } else if (copied == 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
            bKernelCopy = false;
        } else {
            return false;
        }
    }
    if (bKernelCopy)
        return true;

    constexpr qint64 kBufferSize = 1 << 20;
    const qint64 bufferSize = qBound<qint64>(4096, i64Size, kBufferSize);
    std::unique_ptr<char[]> buffer(new char[size_t(bufferSize)]);
    for (;;) {
        const ssize_t n = ::read(in, buffer.get(), size_t(bufferSize));
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!writeAll(out, buffer.get(), n))
            return false;
    }
}

QString homeTrashDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash");
}

bool isBelow(const QString &strPath, const QString &strRoot)
{
    if (strRoot == QLatin1String("/"))
        return strPath.startsWith(QLatin1Char('/'));
    return strPath == strRoot || strPath.startsWith(strRoot + QLatin1Char('/'));
}

QString readLine(const QString &strFile)
{
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readLine()).trimmed();
}

} // namespace

CLinuxFileOps::CLinuxFileOps(QString strSysRoot) : m_strSysRoot(std::move(strSysRoot)) {}

QStringList CLinuxFileOps::driveKeys(const QStringList &listPaths) const
{
    // The mount table is read once for the whole list: callers pass every marked photo.
    const IVolumes &volumes = dp::platform::volumes();
    QStringList roots;
    for (const CVolumeInfo &info : volumes.volumes())
        roots << volumes.keyOfRoot(info.strRoot);

    QStringList keys;
    keys.reserve(listPaths.size());
    for (const QString &strPath : listPaths) {
        const QString path = QDir::cleanPath(QFileInfo(strPath).absoluteFilePath());
        QString best;
        for (const QString &root : qAsConst(roots)) {
            if (root.size() > best.size() && isBelow(path, root))
                best = root;
        }
        keys << best;
    }
    return keys;
}

bool CLinuxFileOps::isRemovable(const QString &strDriveKey) const
{
    const IVolumes &volumes = dp::platform::volumes();
    for (const CVolumeInfo &info : volumes.volumes()) {
        if (volumes.keyOfRoot(info.strRoot) == strDriveKey)
            return isRemovableDevice(info.strDevice);
    }
    return false;
}

bool CLinuxFileOps::isRemovableDevice(const QString &strDevice) const
{
    if (!strDevice.startsWith(QLatin1String("/dev/")))
        return false;
    // /dev/disk/by-label/x and /dev/mapper/x are links to the kernel's own device name.
    const QString canonical = QFileInfo(strDevice).canonicalFilePath();
    const QString name = QFileInfo(canonical.isEmpty() ? strDevice : canonical).fileName();
    const QString blockDir = QFileInfo(m_strSysRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (name.isEmpty() || blockDir.isEmpty())
        return false;
    // A partition's flag sits on its disk, one level up.
    const QString diskDir = QFileInfo::exists(blockDir + QStringLiteral("/partition"))
        ? QFileInfo(blockDir).path() : blockDir;
    if (readLine(diskDir + QStringLiteral("/removable")) == QLatin1String("1"))
        return true;
    // A mapped or encrypted volume is removable when a device below it is.
    const QStringList slaves = QDir(blockDir + QStringLiteral("/slaves")).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString &slave : slaves) {
        if (slave != name && isRemovableDevice(QStringLiteral("/dev/") + slave))
            return true;
    }
    return false;
}

QMap<QString, qint64> CLinuxFileOps::trashCapacities() const
{
    bool bOk = false;
    const qint64 i64Megabytes = dp::platform::registry().value(QString::fromLatin1(kTrashCapacityKey)).toLongLong(&bOk);
    const bool bConfigured = bOk && i64Megabytes >= 0;

    const IVolumes &volumes = dp::platform::volumes();
    QMap<QString, qint64> map;
    for (const CVolumeInfo &info : volumes.volumes()) {
        qint64 capacity = 0;
        if (bConfigured) {
            capacity = i64Megabytes * 1024 * 1024;
        } else {
            const QStorageInfo storage(info.strRoot);
            if (storage.isValid() && storage.isReady())
                capacity = storage.bytesTotal() / 100 * kDefaultTrashPercent;
        }
        map.insert(volumes.keyOfRoot(info.strRoot), capacity);
    }
    return map;
}

qint64 CLinuxFileOps::freeSpace(const QString &strPath) const
{
    // A move folder is created only when the move starts: ask about its nearest existing parent.
    QFileInfo info(QDir::cleanPath(QFileInfo(strPath).absoluteFilePath()));
    while (!info.exists() && !info.isRoot())
        info = QFileInfo(info.path());
    const QStorageInfo storage(info.absoluteFilePath());
    if (!storage.isValid() || !storage.isReady())
        return 0;
    return storage.bytesAvailable();
}

QString CLinuxFileOps::mirrorFolder(const QString &strFolder) const
{
    QString folder = QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(strFolder)).absoluteFilePath());
    while (folder.startsWith(QLatin1Char('/')))
        folder.remove(0, 1);
    return folder;
}

bool CLinuxFileOps::removeFile(const QString &strPath, QString *pstrError)
{
    const QByteArray path = QFile::encodeName(strPath);
    struct stat st = {};
    if (!checkRemovable(path, &st, pstrError))
        return false;
    if (::unlink(path.constData()) != 0)
        return failWith(pstrError, errno);
    return true;
}

bool CLinuxFileOps::moveToTrash(const QString &strPath, QString *pstrError)
{
    return trashFile(strPath, nullptr, pstrError);
}

bool CLinuxFileOps::trashFile(const QString &strPath, QString *pstrTrashPath, QString *pstrError)
{
    if (pstrTrashPath)
        pstrTrashPath->clear();
    struct stat st = {};
    if (!checkRemovable(QFile::encodeName(strPath), &st, pstrError))
        return false;
    // Qt falls back to the current directory when the home trash is missing, so we create
    // it first, as the freedesktop trash standard allows.
    const QString homeTrash = homeTrashDir();
    if (!QDir().mkpath(homeTrash + QStringLiteral("/files")) || !QDir().mkpath(homeTrash + QStringLiteral("/info"))) {
        setError(pstrError, QStringLiteral("the trash folder %1 cannot be created").arg(homeTrash));
        return false;
    }
    // Qt writes the .trashinfo record and picks the trash of the file's own volume, so the
    // desktop's trash can put the file back.
    QFile file(strPath);
    if (!file.moveToTrash()) {
        setError(pstrError, file.errorString());
        return false;
    }
    const QString trashed = file.fileName();
    if (!trashed.startsWith(QLatin1Char('/')) || !trashed.contains(QLatin1String("/files/"))) {
        // Somewhere no trash is: put it back.
        const bool bBack = ::renameat2(AT_FDCWD, QFile::encodeName(trashed).constData(), AT_FDCWD,
                                       QFile::encodeName(strPath).constData(), RENAME_NOREPLACE) == 0;
        setError(pstrError, bBack ? QStringLiteral("no trash folder could be found for it")
                                  : QStringLiteral("it went to %1 instead of a trash folder").arg(trashed));
        return false;
    }
    if (pstrTrashPath)
        *pstrTrashPath = trashed;
    return true;
}

QStringList CLinuxFileOps::trashInfoPaths(const QString &strInfoFile, QString *pstrDeletionDate)
{
    QFile file(strInfoFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QByteArray path;
    bool bInSection = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            bInSection = line == "[Trash Info]";
        } else if (bInSection && line.startsWith("Path=")) {
            path = line.mid(5);
        } else if (bInSection && line.startsWith("DeletionDate=") && pstrDeletionDate) {
            *pstrDeletionDate = QString::fromUtf8(line.mid(13));
        }
    }
    if (path.isEmpty())
        return {};
    // The standard escapes the path as a URL does, but Qt and some other writers do not, so
    // a name such as "100% x.jpg" may stand either way.
    QStringList candidates{QString::fromUtf8(path)};
    static const QRegularExpression kEscapes(QStringLiteral("^([^%]|%[0-9A-Fa-f]{2})*$"));
    if (path.contains('%') && kEscapes.match(QString::fromLatin1(path)).hasMatch())
        candidates << QString::fromUtf8(QByteArray::fromPercentEncoding(path));
    // A volume's own trash keeps paths relative to the volume's top folder:
    // <top>/.Trash-<uid>/info or <top>/.Trash/<uid>/info.
    QDir top(QFileInfo(strInfoFile).absolutePath());
    top.cdUp();
    if (!top.dirName().startsWith(QLatin1String(".Trash-")))
        top.cdUp();
    top.cdUp();
    for (QString &candidate : candidates)
        candidate = QDir::cleanPath(candidate.startsWith(QLatin1Char('/')) ? candidate : top.absoluteFilePath(candidate));
    return candidates;
}

QString CLinuxFileOps::findInTrash(const QString &strOriginalPath) const
{
    const QString original = QDir::cleanPath(QFileInfo(strOriginalPath).absoluteFilePath());
    QStringList trashDirs{homeTrashDir()};
    QFileInfo folder(QFileInfo(original).absolutePath());
    while (!folder.exists() && !folder.isRoot())
        folder = QFileInfo(folder.path());
    const QStorageInfo storage(folder.absoluteFilePath());
    if (storage.isValid()) {
        const QString top = storage.rootPath();
        const QString uid = QString::number(::getuid());
        trashDirs << top + QStringLiteral("/.Trash/") + uid << top + QStringLiteral("/.Trash-") + uid;
    }
    QString best;
    QString bestDate;
    for (const QString &trashDir : qAsConst(trashDirs)) {
        QDirIterator it(trashDir + QStringLiteral("/info"), {QStringLiteral("*.trashinfo")}, QDir::Files | QDir::Hidden);
        while (it.hasNext()) {
            const QString infoFile = it.next();
            QString date;
            if (!trashInfoPaths(infoFile, &date).contains(original))
                continue;
            const QString name = it.fileName().chopped(int(qstrlen(".trashinfo")));
            const QString trashed = trashDir + QStringLiteral("/files/") + name;
            // ISO dates sort as text; the newest record of the path is the one removed last.
            if (QFileInfo(trashed).exists() && (best.isEmpty() || date > bestDate)) {
                best = trashed;
                bestDate = date;
            }
        }
    }
    return best;
}

bool CLinuxFileOps::restoreFromTrash(const QString &strTrashPath, const QString &strOriginalPath, QString *pstrError)
{
    const QString original = QDir::cleanPath(QFileInfo(strOriginalPath).absoluteFilePath());
    const QString trashed = strTrashPath.isEmpty() ? findInTrash(original) : strTrashPath;
    const QFileInfo trashedInfo(trashed);
    if (trashed.isEmpty() || (!trashedInfo.exists() && !trashedInfo.isSymLink())) {
        setError(pstrError, QStringLiteral("it is no longer in the trash"));
        return false;
    }
    // <trash>/files/<name> has its record in <trash>/info/<name>.trashinfo.
    QDir trashDir(trashedInfo.absolutePath());
    trashDir.cdUp();
    const QString infoFile = trashDir.absoluteFilePath(QStringLiteral("info/") + trashedInfo.fileName()
                                                       + QStringLiteral(".trashinfo"));
    const QStringList recorded = trashInfoPaths(infoFile);
    if (recorded.isEmpty()) {
        setError(pstrError, QStringLiteral("its trash record is missing"));
        return false;
    }
    if (!recorded.contains(original)) {
        setError(pstrError, QStringLiteral("the trash entry belongs to %1").arg(recorded.first()));
        return false;
    }
    if (QFileInfo::exists(original) || QFileInfo(original).isSymLink()) {
        setError(pstrError, errnoText(EEXIST));
        return false;
    }
    // The folder may have gone since, when it held nothing else; the desktop's trash
    // recreates it too.
    QDir().mkpath(QFileInfo(original).absolutePath());
    // Nobody writes a file in the trash, so a plain rename does; other filesystems and
    // renames that cannot refuse to replace take the full move.
    if (::renameat2(AT_FDCWD, QFile::encodeName(trashed).constData(), AT_FDCWD,
                    QFile::encodeName(original).constData(), RENAME_NOREPLACE) != 0) {
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return failTowards(pstrError, errno);
        if (!moveFile(trashed, original, pstrError))
            return false;
    }
    QFile::remove(infoFile);
    return true;
}

bool CLinuxFileOps::moveFile(const QString &strSource, const QString &strTarget, QString *pstrError)
{
    const QByteArray source = QFile::encodeName(strSource);
    const QByteArray target = QFile::encodeName(strTarget);
    struct stat st = {};
    if (!checkRemovable(source, &st, pstrError))
        return false;

    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    switch (errno) {
    case EXDEV:
        return copyThenRemove(strSource, strTarget, pstrError);
    case EINVAL:
    case ENOSYS:
    case EOPNOTSUPP:
        // The filesystem cannot refuse to replace on rename; a hard link can.
        if (::link(source.constData(), target.constData()) == 0) {
            if (::unlink(source.constData()) == 0)
                return true;
            const int err = errno;
            ::unlink(target.constData());
            return failWith(pstrError, err);
        }
        if (errno == EEXIST || errno == ENOENT || errno == EACCES || errno == EROFS || errno == ENOSPC)
            return failTowards(pstrError, errno);
        return copyThenRemove(strSource, strTarget, pstrError);
    default:
        return failTowards(pstrError, errno);
    }
}

bool CLinuxFileOps::copyThenRemove(const QString &strSource, const QString &strTarget, QString *pstrError)
{
    const QByteArray source = QFile::encodeName(strSource);
    const QByteArray target = QFile::encodeName(strTarget);
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (in < 0 && errno == ELOOP) {
        setError(pstrError, QStringLiteral("a link cannot be moved to another drive"));
        return false;
    }
    if (in < 0)
        return failWith(pstrError, errno);
    struct stat st = {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        setError(pstrError, QStringLiteral("only plain files can be moved to another drive"));
        return false;
    }
    const int out = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return failTowards(pstrError, err);
    }

    QString strError;
    if (!copyData(in, out, st.st_size))
        strError = errnoText(errno ? errno : EIO);
    if (strError.isEmpty()) {
        // Keep what a move keeps: the mode, the owner where we may set it, and the file times.
        ::fchmod(out, st.st_mode & 07777);
        if (::fchown(out, st.st_uid, st.st_gid) != 0) {
            // Only root may give a file away; the copy then belongs to us, as with mv.
        }
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out, times);
        if (::fdatasync(out) != 0)
            strError = errnoText(errno);
    }
    struct stat copied = {};
    if (strError.isEmpty() && (::fstat(out, &copied) != 0 || copied.st_size != st.st_size))
        strError = QStringLiteral("the copy came out at a different size");
    if (::close(out) != 0 && strError.isEmpty())
        strError = errnoText(errno);
    ::close(in);
    struct stat after = {};
    if (strError.isEmpty()
        && (::stat(source.constData(), &after) != 0 || after.st_size != st.st_size
            || after.st_mtim.tv_sec != st.st_mtim.tv_sec || after.st_mtim.tv_nsec != st.st_mtim.tv_nsec))
        strError = QStringLiteral("it changed while it was being copied");
    if (strError.isEmpty() && ::unlink(source.constData()) != 0)
        strError = QStringLiteral("the original cannot be removed (%1); the copy was taken back").arg(errnoText(errno));
    if (strError.isEmpty())
        return true;
    ::unlink(target.constData());
    setError(pstrError, strError);
    return false;
}

namespace dp::platform::native {

IFileOps &fileOps()
{
    static CLinuxFileOps s_fileOps;
    return s_fileOps;
}

} // namespace dp::platform::native
