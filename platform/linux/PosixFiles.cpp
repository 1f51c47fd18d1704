#include "PosixFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace dp::platform::posix {

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

QByteArray folderOf(const QByteArray &path)
{
    const int slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray absolute(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    char buffer[4096];
    if (!::getcwd(buffer, sizeof buffer))
        return path;
    return QByteArray(buffer) + '/' + path;
}

CFileFacts facts(const QByteArray &path)
{
    CFileFacts result;
    struct stat st = {};
    if (::lstat(path.constData(), &st) != 0)
        return result;
    result.bLink = S_ISLNK(st.st_mode);
    if (result.bLink && ::stat(path.constData(), &st) != 0)
        return result;
    result.bExists = true;
    result.i64Size = st.st_size;
    result.i64MTimeMs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    return result;
}

bool makeFolders(const QByteArray &path, mode_t iMode)
{
    struct stat st = {};
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const QByteArray parent = folderOf(path);
    // A parent that cannot be made leaves errno saying why (a full drive), not "no such folder".
    if (parent != path && parent != "." && !makeFolders(parent, iMode))
        return false;
    // Another thread may create the same folder at this moment.
    return ::mkdir(path.constData(), iMode) == 0 || (errno == EEXIST && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode));
}

bool writeAll(int fd, const char *data, qint64 i64Size)
{
    while (i64Size > 0) {
        const ssize_t written = ::write(fd, data, size_t(i64Size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        i64Size -= written;
    }
    return true;
}

bool syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool bOk = ::fsync(fd) == 0;
    ::close(fd);
    return bOk;
}

} // namespace dp::platform::posix
