#include "CFileStamp.h"

#include "CPathCodec.h"
#include "CProcessLock.h"
#include "CScanFiles.h"

#include <xxhash.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace dp::platform {

namespace {

constexpr quint64 kUnixEpochInFileTime = 116444736000000000ULL;
constexpr size_t kReadChunk = 1 << 20;

quint64 fileTime(const timespec &time)
{
    return kUnixEpochInFileTime + quint64(time.tv_sec) * 10000000ULL + quint64(time.tv_nsec) / 100;
}

} // namespace

CFileStamp fileStamp(const QString &strPath)
{
    CFileStamp stamp;
    struct statx st {};
    if (strPath.isEmpty()
        || ::statx(AT_FDCWD, pathToBytes(strPath).constData(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &st)
            != 0)
        return stamp;
    stamp.bExists = true;
    stamp.bRegular = S_ISREG(st.stx_mode);
    stamp.iDevice = quint64(makedev(st.stx_dev_major, st.stx_dev_minor));
    stamp.iFileIndex = quint64(st.stx_ino);
    stamp.i64Size = qint64(st.stx_size);
    stamp.i64ModTime = fileTime({time_t(st.stx_mtime.tv_sec), long(st.stx_mtime.tv_nsec)});
    stamp.iChangeTime = fileTime({time_t(st.stx_ctime.tv_sec), long(st.stx_ctime.tv_nsec)});
    if (st.stx_mask & STATX_BTIME)
        stamp.iBirthTime = fileTime({time_t(st.stx_btime.tv_sec), long(st.stx_btime.tv_nsec)});
    return stamp;
}

bool contentKeyOf(const QString &strPath, quint64 *piKey, QString *pstrError)
{
    // O_NOFOLLOW: a link put in the file's place is not the file the scan read.
    const int fd = ::open(pathToBytes(strPath).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        *pstrError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(), &XXH3_freeState);
    XXH3_64bits_reset(state.get());
    std::vector<char> buffer(kReadChunk);
    bool bOk = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *pstrError = QString::fromLocal8Bit(std::strerror(errno));
            bOk = false;
            break;
        }
        XXH3_64bits_update(state.get(), buffer.data(), size_t(n));
    }
    ::close(fd);
    if (bOk)
        *piKey = XXH3_64bits_digest(state.get());
    return bOk;
}

QString canonicalPath(const QString &strPath)
{
    const QString clean = QDir::cleanPath(QDir::isAbsolutePath(strPath) ? strPath : QDir::current().filePath(strPath));
    const int iSlash = clean.lastIndexOf(QLatin1Char('/'));
    if (iSlash < 0 || clean == QLatin1String("/"))
        return clean;
    const QString folder = iSlash == 0 ? QStringLiteral("/") : clean.left(iSlash);
    char resolved[PATH_MAX];
    if (!::realpath(pathToBytes(folder).constData(), resolved))
        return clean;
    QString out = pathFromBytes(QByteArray(resolved));
    if (!out.endsWith(QLatin1Char('/')))
        out += QLatin1Char('/');
    return out + clean.mid(iSlash + 1);
}

bool isInTrash(const QString &strPath)
{
    const QString path = canonicalPath(strPath);
    const QString homeTrash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash");
    const QString resolved = QFileInfo(homeTrash).canonicalFilePath();
    for (const QString &trash : {homeTrash, resolved})
        if (!trash.isEmpty() && path.startsWith(trash + QLatin1Char('/')))
            return true;
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < parts.size(); ++i) {
        if (isTrashFolderName(pathToBytes(parts.at(i)).constData()))
            return true;
    }
    return false;
}

bool isInSnapshot(const QString &strPath)
{
    const QStringList parts = canonicalPath(strPath).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < parts.size(); ++i) {
        const QByteArray parent = i > 0 ? parts.at(i - 1).toUtf8() : QByteArray();
        if (isSnapshotFolderName(parent.constData(), parts.at(i).toUtf8().constData()))
            return true;
    }
    return false;
}

bool isInMemory(const QString &strPath)
{
    constexpr decltype(statfs::f_type) kTmpfs = 0x01021994;
    constexpr decltype(statfs::f_type) kRamfs = static_cast<decltype(statfs::f_type)>(0x858458f6);
    struct statfs fs {};
    if (::statfs(pathToBytes(strPath).constData(), &fs) != 0)
        return false;
    return fs.f_type == kTmpfs || fs.f_type == kRamfs;
}

bool showsOtherFiles(const QString &strPath)
{
    constexpr decltype(statfs::f_type) kOverlay = 0x794c7630;
    constexpr decltype(statfs::f_type) kUnion = 0x61756673;
    constexpr decltype(statfs::f_type) kFuse = 0x65735546;
    const QByteArray path = pathToBytes(strPath);
    struct statfs fs {};
    struct stat st {};
    if (::statfs(path.constData(), &fs) != 0 || ::lstat(path.constData(), &st) != 0)
        return true;
    // A FUSE file system on a block device of its own (NTFS, exFAT drives) holds its own files.
    return fs.f_type == kOverlay || fs.f_type == kUnion || (fs.f_type == kFuse && major(st.st_dev) == 0);
}

CProcessLock::CProcessLock(const QString &strPath, int iWaitMs)
{
    const int fd = ::open(pathToBytes(strPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    const QDeadlineTimer deadline(iWaitMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
            ::close(fd);
            return;
        }
        QThread::msleep(1);
    }
    m_handle = fd;
}

CProcessLock::~CProcessLock()
{
    if (m_handle != kNone)
        ::close(int(m_handle));
}

} // namespace dp::platform
