#include "CScanFiles.h"

#include "CFileStamp.h"
#include "CPathCodec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QTemporaryFile>

#include <algorithm>

namespace dp::platform {

namespace {

CPathStat statOf(const QString &strPath, bool bFollowLinks)
{
    const QFileInfo info(strPath);
    const QString strTarget = bFollowLinks && info.isSymLink() ? info.symLinkTarget() : strPath;
    const CFileStamp stamp = fileStamp(strTarget);
    CPathStat out;
    if (!stamp.bExists)
        return out;
    const QFileInfo target(strTarget);
    out.bExists = true;
    out.bFolder = target.isDir() && !target.isSymLink();
    out.bRegular = stamp.bRegular;
    out.i64Size = uint64_t(std::max<qint64>(stamp.i64Size, 0));
    out.i64ModTime = stamp.i64ModTime;
    out.iDevice = stamp.iDevice;
    out.iInode = stamp.iFileIndex;
    return out;
}

} // namespace

CPathStat statPath(const QByteArray &path)
{
    return statOf(pathFromBytes(path), true);
}

struct CFolderListing::CState
{
    QString strFolder;
    bool bOpen = false;
    uint64_t iDevice = 0;
    QStringList listNames;
    int iNext = 0;
    QByteArray current;
};

CFolderListing::CFolderListing(const QByteArray &path) : m_pState(std::make_unique<CState>())
{
    m_pState->strFolder = pathFromBytes(path);
    const QDir dir(m_pState->strFolder);
    m_pState->bOpen = dir.exists() && dir.isReadable();
    if (!m_pState->bOpen)
        return;
    m_pState->iDevice = fileStamp(m_pState->strFolder).iDevice;
    m_pState->listNames = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

CFolderListing::~CFolderListing() = default;

bool CFolderListing::isOpen() const
{
    return m_pState->bOpen;
}

uint64_t CFolderListing::device() const
{
    return m_pState->iDevice;
}

bool CFolderListing::next(const char *&pszName, EnType &type)
{
    if (m_pState->iNext >= m_pState->listNames.size())
        return false;
    const QString strName = m_pState->listNames.at(m_pState->iNext++);
    // The listing gives no types here: one stat call per entry tells them.
    m_pState->current = pathToBytes(strName);
    pszName = m_pState->current.constData();
    type = EnType::Unknown;
    return true;
}

CPathStat CFolderListing::statEntry(const char *pszName, bool bFollowLinks) const
{
    return statOf(m_pState->strFolder + QLatin1Char('/') + pathFromBytes(QByteArray(pszName)), bFollowLinks);
}

bool readWholeFile(const QString &strPath, int64_t i64MaxBytes, std::vector<uint8_t> &buffer, size_t &size,
                   QString &strError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        strError = file.errorString();
        return false;
    }
    if (file.isSequential() || file.size() > i64MaxBytes) {
        strError = QStringLiteral("not a regular file of a readable size");
        return false;
    }
    const qint64 i64Size = file.size();
    buffer.resize(std::max<size_t>(size_t(i64Size), 1));
    size = 0;
    while (qint64(size) < i64Size) {
        const qint64 n = file.read(reinterpret_cast<char *>(buffer.data()) + size, i64Size - qint64(size));
        if (n <= 0)
            break;
        size += size_t(n);
    }
    if (qint64(size) < i64Size) {
        strError = file.errorString();
        return false;
    }
    return true;
}

bool readFileHead(const QString &strPath, size_t iMaxBytes, std::vector<uint8_t> &buffer, size_t &size,
                  uint64_t *pi64FileSize, QString &strError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential()) {
        strError = file.errorString();
        return false;
    }
    const qint64 i64Want = qMin<qint64>(file.size(), qint64(iMaxBytes));
    buffer.resize(std::max<size_t>(size_t(i64Want), 1));
    size = 0;
    while (qint64(size) < i64Want) {
        const qint64 n = file.read(reinterpret_cast<char *>(buffer.data()) + size, i64Want - qint64(size));
        if (n <= 0)
            break;
        size += size_t(n);
    }
    if (qint64(size) < i64Want) {
        strError = file.errorString();
        return false;
    }
    if (pi64FileSize)
        *pi64FileSize = uint64_t(file.size());
    return true;
}

// QFile keeps one position: reads and writes take turns.
struct CScratchFile::CState
{
    QTemporaryFile file;
    mutable QMutex mutex;
};

CScratchFile::CScratchFile() : m_pState(std::make_unique<CState>()) {}

CScratchFile::~CScratchFile() = default;

bool CScratchFile::open(const QString &strFolder, QString &strError)
{
    m_pState->file.setFileTemplate(strFolder + QStringLiteral("/scratch-XXXXXX"));
    if (m_pState->file.open())
        return true;
    strError = m_pState->file.errorString();
    return false;
}

bool CScratchFile::isOpen() const
{
    return m_pState->file.isOpen();
}

bool CScratchFile::writeAt(const char *pData, size_t size, uint64_t i64Offset, QString &strError)
{
    QMutexLocker lock(&m_pState->mutex);
    if (m_pState->file.seek(qint64(i64Offset)) && m_pState->file.write(pData, qint64(size)) == qint64(size))
        return true;
    strError = m_pState->file.errorString();
    return false;
}

bool CScratchFile::readAt(uint8_t *pData, size_t size, uint64_t i64Offset) const
{
    QMutexLocker lock(&m_pState->mutex);
    return m_pState->file.seek(qint64(i64Offset))
        && m_pState->file.read(reinterpret_cast<char *>(pData), qint64(size)) == qint64(size);
}

} // namespace dp::platform
