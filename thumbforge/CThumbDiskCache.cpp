#include "CThumbDiskCache.h"

#include "ThumbForgeLog.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");
const QString kSizeKey = QStringLiteral("Thumb::Size");
// "large" holds thumbnails up to 256 pixels, the size we make.
const QString kFlavour = QStringLiteral("large");
// The layout asks for private folders and files: thumbnails reveal what a user owns.
constexpr QFileDevice::Permissions kDirPermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString uriOf(const QString &strPath)
{
    return QString::fromLatin1(QUrl::fromLocalFile(QFileInfo(strPath).absoluteFilePath()).toEncoded());
}

QString mtimeOf(const QFileInfo &info)
{
    return QString::number(info.lastModified().toSecsSinceEpoch());
}

bool makePrivateDir(const QString &strDir)
{
    QDir dir(strDir);
    if (dir.exists())
        return true;
    if (!QDir().mkpath(strDir))
        return false;
    QFile::setPermissions(strDir, kDirPermissions);
    return true;
}

} // namespace

CThumbDiskCache::CThumbDiskCache(const QString &strRoot)
{
    if (strRoot.isEmpty())
        return;
    m_strDir = QDir(strRoot).filePath(kFlavour);
    if (!makePrivateDir(strRoot) || !makePrivateDir(m_strDir) || !QFileInfo(m_strDir).isWritable()) {
        qCInfo(lcThumb) << "thumbnail disk cache off: cannot write" << m_strDir;
        return;
    }
    m_bEnabled = true;
}

QString CThumbDiskCache::defaultRoot()
{
    QString strBase = QString::fromLocal8Bit(qgetenv("XDG_CACHE_HOME"));
    if (strBase.isEmpty() || QDir::isRelativePath(strBase))
        strBase = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (strBase.isEmpty())
        return {};
    return QDir(strBase).filePath(QStringLiteral("thumbnails"));
}

QString CThumbDiskCache::thumbPathFor(const QString &strPath) const
{
    const QByteArray digest = QCryptographicHash::hash(uriOf(strPath).toUtf8(), QCryptographicHash::Md5);
    return QDir(m_strDir).filePath(QString::fromLatin1(digest.toHex()) + QStringLiteral(".png"));
}

bool CThumbDiskCache::load(const QString &strPath, QImage &image) const
{
    if (!m_bEnabled)
        return false;
    const QFileInfo info(strPath);
    if (!info.isFile())
        return false;
    QImageReader reader(thumbPathFor(strPath), "png");
    // The text chunks come before the pixels: a stale thumbnail is never decoded.
    if (reader.text(kUriKey) != uriOf(strPath) || reader.text(kMTimeKey) != mtimeOf(info))
        return false;
    QImage loaded = reader.read();
    if (loaded.isNull())
        return false;
    image = std::move(loaded);
    return true;
}

bool CThumbDiskCache::store(const QString &strPath, const QImage &image)
{
    if (!m_bEnabled || image.isNull())
        return false;
    const QFileInfo info(strPath);
    const QString strThumbPath = thumbPathFor(strPath);
    // QSaveFile writes beside the target and renames: readers never see half a PNG.
    QSaveFile file(strThumbPath);
    if (!file.open(QIODevice::WriteOnly)) {
        qCInfo(lcThumb) << "thumbnail disk cache off:" << strThumbPath << file.errorString();
        m_bEnabled = false;
        return false;
    }
    QImageWriter writer(&file, "png");
    writer.setText(kUriKey, uriOf(strPath));
    writer.setText(kMTimeKey, mtimeOf(info));
    writer.setText(kSizeKey, QString::number(info.size()));
    // Light compression: these are rewritten often and read back in a blink either way.
    writer.setQuality(80);
    if (!writer.write(image) || !file.commit()) {
        qCWarning(lcThumb) << "cannot write thumbnail" << strThumbPath << writer.errorString()
                           << file.errorString();
        return false;
    }
    QFile::setPermissions(strThumbPath, kFilePermissions);
    return true;
}
