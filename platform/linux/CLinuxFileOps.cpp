#include "CLinuxFileOps.h"

#include "CLinuxTrash.h"
#include "CPathCodec.h"
#include "CPlatform.h"
#include "IRegistry.h"
#include "IVolumes.h"
#include "PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

using dp::platform::pathFromBytes;
using dp::platform::pathToBytes;
using dp::platform::posix::errnoText;

namespace {

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
        if (!dp::platform::posix::writeAll(out, buffer.get(), n))
            return false;
    }
}

// "<folder>/.<name>.mirelle-part-", the name cut so that six more characters still fit.
QByteArray partialPrefix(const QByteArray &target)
{
    constexpr int kNameMax = 255;
    const int iRoom = kNameMax - 1 - int(qstrlen(CLinuxFileOps::kPartialMark)) - 6;
    return dp::platform::posix::folderOf(target) + "/." + dp::platform::posix::nameOf(target).left(iRoom)
        + CLinuxFileOps::kPartialMark;
}

// Puts the finished copy under its final name without replacing anything there.
bool publish(const QByteArray &partial, const QByteArray &target)
{
    if (::renameat2(AT_FDCWD, partial.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    // The filesystem cannot refuse to replace on rename; a hard link can.
    if (::link(partial.constData(), target.constData()) == 0) {
        ::unlink(partial.constData());
        return true;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return false;
    // Neither (FAT through FUSE): we look first, and only another program creating the
    // same name in this instant could lose its file.
    struct stat st = {};
    if (::lstat(target.constData(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(partial.constData(), target.constData()) == 0;
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
    const QByteArray path = pathToBytes(strPath);
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

namespace {

CLinuxTrash trashOf(CLinuxFileOps *pOps)
{
    return CLinuxTrash([pOps](const QByteArray &source, const QByteArray &target, QString *pstrError) {
        return pOps->moveFile(pathFromBytes(source), pathFromBytes(target), pstrError);
    });
}

} // namespace

bool CLinuxFileOps::trashFile(const QString &strPath, QString *pstrTrashPath, QString *pstrError)
{
    if (pstrTrashPath)
        pstrTrashPath->clear();
    const QByteArray path = pathToBytes(strPath);
    struct stat st = {};
    if (!checkRemovable(path, &st, pstrError))
        return false;
    QByteArray trashed;
    QString strError;
    if (!trashOf(this).put(path, &trashed, &strError)) {
        setError(pstrError, strError);
        return false;
    }
    if (pstrTrashPath)
        *pstrTrashPath = pathFromBytes(trashed);
    return true;
}

QString CLinuxFileOps::findInTrash(const QString &strOriginalPath) const
{
    return pathFromBytes(CLinuxTrash::find(pathToBytes(strOriginalPath)));
}

bool CLinuxFileOps::restoreFromTrash(const QString &strTrashPath, const QString &strOriginalPath, QString *pstrError)
{
    QString strError;
    if (trashOf(this).restore(pathToBytes(strTrashPath), pathToBytes(strOriginalPath), &strError))
        return true;
    setError(pstrError, strError);
    return false;
}

CFileFacts CLinuxFileOps::fileFacts(const QString &strPath) const
{
    return dp::platform::posix::facts(pathToBytes(strPath));
}

bool CLinuxFileOps::makeFolder(const QString &strFolder)
{
    return dp::platform::posix::makeFolders(pathToBytes(strFolder), 0777);
}

CTrashPlace CLinuxFileOps::trashPlace(const QString &strPath) const
{
    const CLinuxTrash::CDir trash = CLinuxTrash::trashFor(pathToBytes(strPath), false);
    CTrashPlace place;
    place.strVolume = driveKeys({strPath}).value(0);
    place.strProblem = trash.strProblem;
    place.i64Free = trash.i64Free;
    return place;
}

void CLinuxFileOps::discardPartialMove(const QString &strTarget)
{
    const QByteArray prefix = partialPrefix(pathToBytes(strTarget));
    const QByteArray folder = dp::platform::posix::folderOf(prefix);
    const QByteArray namePrefix = dp::platform::posix::nameOf(prefix);
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.size() != namePrefix.size() + 6 || !name.startsWith(namePrefix))
            continue;
        // The writer holds a lock on its copy until it is done; a dead writer's lock is gone.
        const QByteArray partial = folder + '/' + name;
        const int fd = ::open(partial.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(partial.constData());
        ::close(fd);
    }
    ::closedir(dir);
}

bool CLinuxFileOps::moveFile(const QString &strSource, const QString &strTarget, QString *pstrError)
{
    return moveBytes(pathToBytes(strSource), pathToBytes(strTarget), pstrError);
}

bool CLinuxFileOps::moveBytes(const QByteArray &source, const QByteArray &target, QString *pstrError)
{
    struct stat st = {};
    if (!checkRemovable(source, &st, pstrError))
        return false;

    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    switch (errno) {
    case EXDEV:
        return copyThenRemove(source, target, pstrError);
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
        return copyThenRemove(source, target, pstrError);
    default:
        return failTowards(pstrError, errno);
    }
}

bool CLinuxFileOps::copyThenRemove(const QByteArray &source, const QByteArray &target, QString *pstrError)
{
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
    struct stat existing = {};
    if (::lstat(target.constData(), &existing) == 0) {
        ::close(in);
        return failWith(pstrError, EEXIST);
    }
    // The copy is written under a hidden name and renamed into place once complete and on
    // disk: a crash or a kill midway never leaves half a photo under the final name. What it
    // leaves, the next move to this target or an undo removes.
    discardPartialMove(pathFromBytes(target));
    QByteArray partial = partialPrefix(target) + "XXXXXX";
    const int out = ::mkostemp(partial.data(), O_CLOEXEC);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return failTowards(pstrError, err);
    }
    // Held until we close: tells the cleanup of another process that this copy is alive.
    ::flock(out, LOCK_EX);

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
        if (::fsync(out) != 0)
            strError = errnoText(errno);
    }
    struct stat copied = {};
    if (strError.isEmpty() && (::fstat(out, &copied) != 0 || copied.st_size != st.st_size))
        strError = QStringLiteral("the copy came out at a different size");
    ::close(in);
    struct stat after = {};
    if (strError.isEmpty()
        && (::stat(source.constData(), &after) != 0 || after.st_size != st.st_size
            || after.st_mtim.tv_sec != st.st_mtim.tv_sec || after.st_mtim.tv_nsec != st.st_mtim.tv_nsec))
        strError = QStringLiteral("it changed while it was being copied");
    bool bPublished = false;
    if (strError.isEmpty()) {
        bPublished = publish(partial, target);
        if (!bPublished)
            strError = errno == ENOENT ? QStringLiteral("the destination folder does not exist") : errnoText(errno);
    }
    // The new name must be on disk before the original goes.
    if (bPublished && !dp::platform::posix::syncFolder(dp::platform::posix::folderOf(target)))
        strError = QStringLiteral("the copy cannot be made safe on disk (%1)").arg(errnoText(errno));
    if (strError.isEmpty() && ::unlink(source.constData()) != 0)
        strError = QStringLiteral("the original cannot be removed (%1); the copy was taken back").arg(errnoText(errno));
    if (!strError.isEmpty())
        ::unlink((bPublished ? target : partial).constData());
    ::close(out);
    if (strError.isEmpty())
        return true;
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
