#include "CThumbDiskCache.h"

#include "ThumbForgeLog.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace {

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");
// "large" holds thumbnails up to 256 pixels, the size we make.
const QString kFlavour = QStringLiteral("large");
// The layout asks for private folders and files: thumbnails reveal what a user owns.
constexpr QFileDevice::Permissions kDirPermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

struct CPngSink
{
    QIODevice *pDevice = nullptr;
    bool bOk = true;
};

void writePngData(png_structp pPng, png_bytep pData, png_size_t length)
{
    auto *pSink = static_cast<CPngSink *>(png_get_io_ptr(pPng));
    if (pSink->pDevice->write(reinterpret_cast<const char *>(pData), qint64(length)) != qint64(length))
        pSink->bOk = false;
}

void flushPngData(png_structp) {}

// Qt's PNG writer takes text keys as "key: value" and so cannot write the layout's
// "Thumb::URI" key; libpng writes it as given. libpng reports errors by longjmp, so
// only plain C data lives in this function. image is RGB888 or RGBA8888.
bool writePng(QIODevice *pDevice, const QImage &image, png_text *pTexts, int iTextCount)
{
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!pPng)
        return false;
    png_infop pInfo = png_create_info_struct(pPng);
    if (!pInfo) {
        png_destroy_write_struct(&pPng, nullptr);
        return false;
    }
    CPngSink sink{pDevice, true};
    if (setjmp(png_jmpbuf(pPng))) {
        png_destroy_write_struct(&pPng, &pInfo);
        return false;
    }
    png_set_write_fn(pPng, &sink, writePngData, flushPngData);
    // Photos barely compress losslessly: the fastest level with the "sub" filter
    // writes in half the time and reads back a third faster than libpng's default,
    // for files only a few per cent larger.
    png_set_compression_level(pPng, 1);
    png_set_filter(pPng, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    const bool bAlpha = image.format() == QImage::Format_RGBA8888;
    png_set_IHDR(pPng, pInfo, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 bAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_text(pPng, pInfo, pTexts, iTextCount);
    png_write_info(pPng, pInfo);
    for (int y = 0; y < image.height(); ++y)
        png_write_row(pPng, const_cast<png_bytep>(image.constScanLine(y)));
    png_write_end(pPng, pInfo);
    png_destroy_write_struct(&pPng, &pInfo);
    return sink.bOk;
}

QByteArray uriOf(const QFileInfo &info)
{
    return QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded();
}

QString thumbPathOf(const QString &strDir, const QByteArray &uri)
{
    const QByteArray digest = QCryptographicHash::hash(uri, QCryptographicHash::Md5);
    return strDir + QLatin1Char('/') + QString::fromLatin1(digest.toHex()) + QStringLiteral(".png");
}

QString mtimeOf(const QFileInfo &info)
{
    return QString::number(info.lastModified().toSecsSinceEpoch());
}

// rename() replaces the target in one step where QFile::rename refuses to.
bool replaceFile(const QString &strFrom, const QString &strTo)
{
    if (std::rename(QFile::encodeName(strFrom).constData(), QFile::encodeName(strTo).constData()) == 0)
        return true;
    QFile::remove(strTo);
    return std::rename(QFile::encodeName(strFrom).constData(), QFile::encodeName(strTo).constData()) == 0;
}

bool makePrivateDir(const QString &strDir)
{
    if (QFileInfo(strDir).isDir())
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
    if (!makePrivateDir(m_strDir) || !QFileInfo(m_strDir).isWritable()) {
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
    return thumbPathOf(m_strDir, uriOf(QFileInfo(strPath)));
}

bool CThumbDiskCache::load(const QString &strPath, QImage &image) const
{
    return load(QFileInfo(strPath), image);
}

bool CThumbDiskCache::store(const QString &strPath, const QImage &image)
{
    return store(QFileInfo(strPath), image);
}

bool CThumbDiskCache::load(const QFileInfo &info, QImage &image) const
{
    if (!m_bEnabled || !info.isFile())
        return false;
    const QByteArray uri = uriOf(info);
    // Qt's reader keeps the layout's "Thumb::" keys only on the decoded image.
    QImageReader reader(thumbPathOf(m_strDir, uri), "png");
    QImage loaded = reader.read();
    if (loaded.isNull() || loaded.text(kUriKey) != QLatin1String(uri) || loaded.text(kMTimeKey) != mtimeOf(info))
        return false;
    image = std::move(loaded);
    return true;
}

bool CThumbDiskCache::store(const QFileInfo &info, const QImage &image)
{
    if (!m_bEnabled || image.isNull())
        return false;
    const QByteArray uri = uriOf(info);
    const QString strThumbPath = thumbPathOf(m_strDir, uri);
    // Written beside the target and renamed, so readers never see half a PNG. No
    // fsync: after a crash a thumbnail is at worst made again, and a sync per
    // thumbnail costs more than making it.
    QTemporaryFile file(strThumbPath + QStringLiteral(".XXXXXX"));
    // Someone may have emptied the cache folder while we run: make it again once.
    if (!file.open() && (!makePrivateDir(m_strDir) || !file.open())) {
        qCInfo(lcThumb) << "thumbnail disk cache off:" << strThumbPath << file.errorString();
        m_bEnabled = false;
        return false;
    }
    const QByteArray mtime = mtimeOf(info).toUtf8();
    const QByteArray size = QByteArray::number(info.size());
    const QByteArray software = QByteArrayLiteral("ThumbForge");
    png_text texts[4] = {};
    const QByteArray *pValues[4] = {&uri, &mtime, &size, &software};
    const char *pKeys[4] = {"Thumb::URI", "Thumb::MTime", "Thumb::Size", "Software"};
    for (int i = 0; i < 4; ++i) {
        texts[i].compression = PNG_TEXT_COMPRESSION_NONE;
        texts[i].key = const_cast<char *>(pKeys[i]);
        texts[i].text = const_cast<char *>(pValues[i]->constData());
        texts[i].text_length = static_cast<png_size_t>(pValues[i]->size());
    }
    const QImage rgb = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const bool bWritten = writePng(&file, rgb, texts, 4) && file.flush();
    file.close();
    // QTemporaryFile made the file private (0600), as the layout asks.
    if (!bWritten || !replaceFile(file.fileName(), strThumbPath)) {
        qCWarning(lcThumb) << "cannot write thumbnail" << strThumbPath << file.errorString();
        return false;
    }
    file.setAutoRemove(false);
    return true;
}
