#include "CScanFiles.h"

#include "CPathCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dp::platform {

namespace {

constexpr uint64_t kUnixEpochInFileTime = 116444736000000000ULL;

CPathStat statOf(const struct stat &st)
{
    CPathStat out;
    out.bExists = true;
    out.bFolder = S_ISDIR(st.st_mode);
    out.bRegular = S_ISREG(st.st_mode);
    out.i64Size = uint64_t(st.st_size);
    out.i64ModTime = kUnixEpochInFileTime + uint64_t(st.st_mtim.tv_sec) * 10000000ULL + uint64_t(st.st_mtim.tv_nsec) / 100;
    out.iDevice = uint64_t(st.st_dev);
    out.iInode = uint64_t(st.st_ino);
    return out;
}

QString errnoText(int iErrno)
{
    return QString::fromLocal8Bit(std::strerror(iErrno));
}

// pread and pwrite both may move fewer bytes than asked for.
template <typename Byte, typename Call>
bool transferAll(Byte *pData, size_t size, uint64_t i64Offset, Call call)
{
    while (size > 0) {
        const ssize_t n = call(pData, size, off_t(i64Offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        pData += n;
        size -= size_t(n);
        i64Offset += uint64_t(n);
    }
    return true;
}

} // namespace

CPathStat statPath(const QByteArray &path)
{
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 ? statOf(st) : CPathStat();
}

struct CFolderListing::CState
{
    DIR *pDir = nullptr;
    uint64_t iDevice = 0;
};

CFolderListing::CFolderListing(const QByteArray &path) : m_pState(std::make_unique<CState>())
{
    m_pState->pDir = ::opendir(path.constData());
    struct stat st {};
    if (m_pState->pDir && ::fstat(::dirfd(m_pState->pDir), &st) == 0)
        m_pState->iDevice = uint64_t(st.st_dev);
}

CFolderListing::~CFolderListing()
{
    if (m_pState->pDir)
        ::closedir(m_pState->pDir);
}

bool CFolderListing::isOpen() const
{
    return m_pState->pDir != nullptr;
}

uint64_t CFolderListing::device() const
{
    return m_pState->iDevice;
}

bool CFolderListing::next(const char *&pszName, EnType &type)
{
    if (!m_pState->pDir)
        return false;
    while (const dirent *entry = ::readdir(m_pState->pDir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        pszName = name;
        switch (entry->d_type) {
        case DT_REG: type = EnType::Regular; break;
        case DT_DIR: type = EnType::Folder; break;
        case DT_LNK: type = EnType::Link; break;
        case DT_UNKNOWN: type = EnType::Unknown; break;
        default: type = EnType::Other; break;
        }
        return true;
    }
    return false;
}

CPathStat CFolderListing::statEntry(const char *pszName, bool bFollowLinks) const
{
    struct stat st {};
    if (!m_pState->pDir
        || ::fstatat(::dirfd(m_pState->pDir), pszName, &st, bFollowLinks ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    return statOf(st);
}

bool readWholeFile(const QString &strPath, int64_t i64MaxBytes, std::vector<uint8_t> &buffer, size_t &size,
                   QString &strError)
{
    const int fd = ::open(pathToBytes(strPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        strError = errnoText(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > i64MaxBytes) {
        strError = QStringLiteral("not a regular file of a readable size");
        ::close(fd);
        return false;
    }
    buffer.resize(std::max<size_t>(size_t(st.st_size), 1));
    size = 0;
    while (size < size_t(st.st_size)) {
        const ssize_t n = ::read(fd, buffer.data() + size, size_t(st.st_size) - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        size += size_t(n);
    }
    const int iReadErrno = errno;
    ::close(fd);
    if (size < size_t(st.st_size)) {
        strError = errnoText(iReadErrno);
        return false;
    }
    return true;
}

bool readFileHead(const QString &strPath, size_t iMaxBytes, std::vector<uint8_t> &buffer, size_t &size,
                  uint64_t *pi64FileSize, QString &strError)
{
    const int fd = ::open(pathToBytes(strPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        strError = errnoText(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        strError = QStringLiteral("not a regular file");
        ::close(fd);
        return false;
    }
    const size_t want = std::min(size_t(st.st_size), iMaxBytes);
    buffer.resize(std::max<size_t>(want, 1));
    size = 0;
    while (size < want) {
        const ssize_t n = ::read(fd, buffer.data() + size, want - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        size += size_t(n);
    }
    const int iReadErrno = errno;
    ::close(fd);
    if (size < want) {
        strError = errnoText(iReadErrno);
        return false;
    }
    if (pi64FileSize)
        *pi64FileSize = uint64_t(st.st_size);
    return true;
}

struct CScratchFile::CState
{
    int iFd = -1;
};

CScratchFile::CScratchFile() : m_pState(std::make_unique<CState>()) {}

CScratchFile::~CScratchFile()
{
    if (m_pState->iFd >= 0)
        ::close(m_pState->iFd);
}

bool CScratchFile::open(const QString &strFolder, QString &strError)
{
    QByteArray name = pathToBytes(strFolder + QStringLiteral("/scratch-XXXXXX"));
    m_pState->iFd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_pState->iFd < 0) {
        strError = errnoText(errno);
        return false;
    }
    // Unlinked while open: the file goes with the last descriptor.
    ::unlink(name.constData());
    return true;
}

bool CScratchFile::isOpen() const
{
    return m_pState->iFd >= 0;
}

bool CScratchFile::writeAt(const char *pData, size_t size, uint64_t i64Offset, QString &strError)
{
    const int fd = m_pState->iFd;
    if (transferAll(pData, size, i64Offset, [fd](const char *p, size_t n, off_t o) { return ::pwrite(fd, p, n, o); }))
        return true;
    strError = errnoText(errno);
    return false;
}

bool CScratchFile::readAt(uint8_t *pData, size_t size, uint64_t i64Offset) const
{
    const int fd = m_pState->iFd;
    return transferAll(pData, size, i64Offset, [fd](uint8_t *p, size_t n, off_t o) { return ::pread(fd, p, n, o); });
}

} // namespace dp::platform
