#include "CLinuxTrash.h"

#include "CPathCodec.h"
#include "PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

#include <QDateTime>
#include <QStandardPaths>

using namespace dp::platform::posix;

namespace {

constexpr char kInfoSuffix[] = ".trashinfo";
constexpr int kNameMax = 255;
// Room for ".trashinfo" and a ".NNNN" that tells files of one name apart.
constexpr int kTrashNameMax = kNameMax - int(sizeof kInfoSuffix - 1) - 6;
constexpr int kNameTries = 10000;

QByteArray homeTrash()
{
    return absolute(dp::platform::pathToBytes(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                    + QByteArrayLiteral("/Trash"));
}

QByteArray uidText()
{
    return QByteArray::number(qulonglong(::getuid()));
}

// The device of the path, or of its nearest existing parent.
dev_t deviceOf(QByteArray path, QByteArray *pExisting = nullptr)
{
    struct stat st = {};
    while (::stat(path.constData(), &st) != 0 && path != "/")
        path = folderOf(path);
    if (pExisting)
        *pExisting = path;
    return st.st_dev;
}

// The top folder of the volume holding the existing folder: the last parent on the same device.
QByteArray volumeTop(QByteArray folder)
{
    struct stat st = {};
    if (::stat(folder.constData(), &st) != 0)
        return QByteArrayLiteral("/");
    while (folder != "/") {
        const QByteArray parent = folderOf(folder);
        struct stat up = {};
        if (::stat(parent.constData(), &up) != 0 || up.st_dev != st.st_dev)
            break;
        folder = parent;
    }
    return folder;
}

bool isOwnFolder(const QByteArray &path)
{
    struct stat st = {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

qint64 freeBytes(const QByteArray &path)
{
    struct statvfs vfs = {};
    if (::statvfs(path.constData(), &vfs) != 0)
        return -1;
    return qint64(vfs.f_bavail) * qint64(vfs.f_frsize);
}

bool makeTrashFolders(const QByteArray &dir)
{
    return makeFolders(dir + "/files", 0700) && makeFolders(dir + "/info", 0700);
}

// The name cut to fit beside its record, at a character boundary where the name is UTF-8.
QByteArray trashNameBase(QByteArray name)
{
    if (name.size() <= kTrashNameMax)
        return name;
    int cut = kTrashNameMax;
    while (cut > 0 && (uchar(name.at(cut)) & 0xC0) == 0x80)
        --cut;
    return name.left(cut > 0 ? cut : kTrashNameMax);
}

QByteArray readSmallFile(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return QByteArray();
    QByteArray content;
    char buffer[4096];
    ssize_t n = 0;
    // A record is a few lines; anything far larger is not one.
    while (content.size() < (1 << 20) && ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
        content.append(buffer, int(qMax<ssize_t>(n, 0)));
    ::close(fd);
    return content;
}

bool isUnreserved(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || QByteArrayLiteral("-_.!~*'()/").contains(char(c));
}

QByteArray cleanPath(const QByteArray &path)
{
    QList<QByteArray> parts;
    for (const QByteArray &part : path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts << part;
    }
    QByteArray clean;
    for (const QByteArray &part : qAsConst(parts))
        clean += '/' + part;
    return clean.isEmpty() ? QByteArrayLiteral("/") : clean;
}

} // namespace

CLinuxTrash::CDir CLinuxTrash::trashFor(const QByteArray &path, bool bCreate)
{
    CDir trash;
    const QByteArray folder = folderOf(absolute(path));
    const QByteArray home = homeTrash();
    QByteArray homeExisting;
    const dev_t homeDevice = deviceOf(home, &homeExisting);
    if (deviceOf(folder) == homeDevice) {
        trash.dir = home;
        if (bCreate ? !makeTrashFolders(home) : ::access(homeExisting.constData(), W_OK | X_OK) != 0) {
            const QString strWhy = errnoText(errno);
            trash.strProblem = QStringLiteral("the trash folder %1 cannot be created (%2)")
                                   .arg(dp::platform::pathFromBytes(home), strWhy);
        }
        trash.i64Free = freeBytes(homeExisting);
        return trash;
    }

    trash.top = volumeTop(folder);
    trash.i64Free = freeBytes(folder);
    const QByteArray top = trash.top == "/" ? QByteArray() : trash.top;
    struct statvfs vfs = {};
    if (::statvfs(folder.constData(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY)) {
        trash.strProblem = QStringLiteral("the drive is read-only");
        return trash;
    }
    // The administrator's shared .Trash counts only when it is a real folder with the sticky
    // bit, so that nobody else can take our files out of it.
    struct stat st = {};
    const QByteArray shared = top + "/.Trash";
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const QByteArray own = shared + '/' + uidText();
        if (bCreate ? makeTrashFolders(own) && isOwnFolder(own) : (isOwnFolder(own) || ::access(shared.constData(), W_OK | X_OK) == 0)) {
            trash.dir = own;
            return trash;
        }
    }
    trash.dir = top + "/.Trash-" + uidText();
    if (::lstat(trash.dir.constData(), &st) == 0) {
        if (!isOwnFolder(trash.dir))
            trash.strProblem = QStringLiteral("its trash folder %1 is not ours").arg(dp::platform::pathFromBytes(trash.dir));
        else if (bCreate && !makeTrashFolders(trash.dir)) {
            const QString strWhy = errnoText(errno);
            trash.strProblem = QStringLiteral("its trash folder %1 cannot be written (%2)")
                                   .arg(dp::platform::pathFromBytes(trash.dir), strWhy);
        }
        return trash;
    }
    if (bCreate ? !makeTrashFolders(trash.dir) : ::access(trash.top.constData(), W_OK | X_OK) != 0)
        trash.strProblem = QStringLiteral("no trash folder can be made on it (%1)").arg(errnoText(errno));
    return trash;
}

QByteArray CLinuxTrash::encodePath(const QByteArray &path)
{
    static const char kHex[] = "0123456789ABCDEF";
    QByteArray encoded;
    encoded.reserve(path.size() * 3);
    for (const char c : path) {
        const auto byte = uchar(c);
        if (isUnreserved(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        }
    }
    return encoded;
}

bool CLinuxTrash::put(const QByteArray &path, QByteArray *pTrashed, QString *pstrError) const
{
    const QByteArray source = absolute(path);
    const CDir trash = trashFor(source, true);
    if (!trash.strProblem.isEmpty()) {
        *pstrError = trash.strProblem;
        return false;
    }
    QByteArray recorded = source;
    if (!trash.top.isEmpty())
        recorded = trash.top == "/" ? source.mid(1) : source.mid(trash.top.size() + 1);
    const QByteArray record = "[Trash Info]\nPath=" + encodePath(recorded) + "\nDeletionDate="
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1() + '\n';

    const QByteArray base = trashNameBase(nameOf(source));
    for (int i = 1; i <= kNameTries; ++i) {
        const QByteArray name = i == 1 ? base : base + '.' + QByteArray::number(i);
        const QByteArray info = trash.dir + "/info/" + name + kInfoSuffix;
        const QByteArray target = trash.dir + "/files/" + name;
        // The record is claimed first and exclusively: two removals never share a name, and
        // a file in the trash always has its record.
        const int fd = ::open(info.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0) {
            *pstrError = QStringLiteral("its trash record cannot be written: %1").arg(errnoText(errno));
            return false;
        }
        const bool bWritten = writeAll(fd, record.constData(), record.size());
        const int writeErr = errno;
        ::close(fd);
        struct stat st = {};
        if (bWritten && ::lstat(target.constData(), &st) == 0) {
            ::unlink(info.constData()); // a file without its record; we leave it alone
            continue;
        }
        if (!bWritten) {
            ::unlink(info.constData());
            *pstrError = QStringLiteral("its trash record cannot be written: %1").arg(errnoText(writeErr));
            return false;
        }
        if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) != 0
            && !m_fnMove(source, target, pstrError)) {
            ::unlink(info.constData());
            return false;
        }
        if (pTrashed)
            *pTrashed = target;
        return true;
    }
    *pstrError = QStringLiteral("the trash holds too many files of that name");
    return false;
}

QList<QByteArray> CLinuxTrash::recordPaths(const QByteArray &infoFile, QByteArray *pDeletionDate)
{
    QByteArray path;
    bool bInSection = false;
    for (QByteArray line : readSmallFile(infoFile).split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('[')) {
            bInSection = line.trimmed() == "[Trash Info]";
        } else if (bInSection && line.startsWith("Path=")) {
            path = line.mid(5);
        } else if (bInSection && line.startsWith("DeletionDate=") && pDeletionDate) {
            *pDeletionDate = line.mid(13).trimmed();
        }
    }
    if (path.isEmpty())
        return {};
    // Some writers do not escape, so a name such as "100% x.jpg" may stand either way.
    QList<QByteArray> candidates{QByteArray::fromPercentEncoding(path)};
    if (candidates.first() != path)
        candidates << path;
    // A volume's own trash keeps paths relative to the volume's top folder:
    // <top>/.Trash-<uid>/info or <top>/.Trash/<uid>/info.
    const QByteArray trash = folderOf(folderOf(absolute(infoFile)));
    QByteArray top = folderOf(trash);
    if (nameOf(top) == ".Trash")
        top = folderOf(top);
    for (QByteArray &candidate : candidates)
        candidate = cleanPath(candidate.startsWith('/') ? candidate : top + '/' + candidate);
    return candidates;
}

QByteArray CLinuxTrash::find(const QByteArray &original)
{
    const QByteArray path = cleanPath(absolute(original));
    QByteArray existing;
    deviceOf(folderOf(path), &existing);
    const QByteArray top = volumeTop(existing);
    const QByteArray root = top == "/" ? QByteArray() : top;
    const QList<QByteArray> trashDirs{homeTrash(), root + "/.Trash/" + uidText(), root + "/.Trash-" + uidText()};
    QByteArray best;
    QByteArray bestDate;
    for (const QByteArray &trashDir : trashDirs) {
        DIR *dir = ::opendir((trashDir + "/info").constData());
        if (!dir)
            continue;
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (!name.endsWith(kInfoSuffix) || name.size() == int(sizeof kInfoSuffix - 1))
                continue;
            QByteArray date;
            if (!recordPaths(trashDir + "/info/" + name, &date).contains(path))
                continue;
            const QByteArray trashed = trashDir + "/files/" + name.chopped(int(sizeof kInfoSuffix - 1));
            struct stat st = {};
            // ISO dates sort as text; the newest record of the path is the one removed last.
            if (::lstat(trashed.constData(), &st) == 0 && (best.isEmpty() || date > bestDate)) {
                best = trashed;
                bestDate = date;
            }
        }
        ::closedir(dir);
    }
    return best;
}

bool CLinuxTrash::restore(const QByteArray &trashed, const QByteArray &original, QString *pstrError) const
{
    const QByteArray target = cleanPath(absolute(original));
    const QByteArray source = trashed.isEmpty() ? find(target) : absolute(trashed);
    struct stat st = {};
    if (source.isEmpty() || ::lstat(source.constData(), &st) != 0) {
        *pstrError = QStringLiteral("it is no longer in the trash");
        return false;
    }
    // <trash>/files/<name> has its record in <trash>/info/<name>.trashinfo.
    const QByteArray info = folderOf(folderOf(source)) + "/info/" + nameOf(source) + kInfoSuffix;
    const QList<QByteArray> recorded = recordPaths(info);
    if (recorded.isEmpty()) {
        *pstrError = QStringLiteral("its trash record is missing");
        return false;
    }
    if (!recorded.contains(target)) {
        *pstrError = QStringLiteral("the trash entry belongs to %1").arg(dp::platform::pathFromBytes(recorded.first()));
        return false;
    }
    if (::lstat(target.constData(), &st) == 0) {
        *pstrError = errnoText(EEXIST);
        return false;
    }
    // The folder may have gone since, when it held nothing else; the desktop's trash
    // recreates it too.
    makeFolders(folderOf(target), 0777);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) != 0) {
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            *pstrError = errno == ENOENT ? QStringLiteral("the destination folder does not exist") : errnoText(errno);
            return false;
        }
        if (!m_fnMove(source, target, pstrError))
            return false;
    }
    ::unlink(info.constData());
    return true;
}
