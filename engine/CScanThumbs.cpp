#include "CScanThumbs.h"

#include "CExifReader.h"
#include "CFeatureCache.h"
#include "CPathCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLoggingCategory>

#include <turbojpeg.h>

#include <algorithm>
#include <cstdlib>

Q_LOGGING_CATEGORY(lcThumbs, "mirelle.engine.thumbs")

namespace {

struct CCompressor
{
    tjhandle h = tjInitCompress();
    ~CCompressor() { if (h) tjDestroy(h); }
};

} // namespace

CScanThumbs::CScanThumbs(QString strFolder, uint64_t i64Capacity)
    : m_strFolder(std::move(strFolder))
    , m_i64Capacity(i64Capacity)
{
}

QByteArray CScanThumbs::makeJpeg(const QImage &image, int iOrientation)
{
    if (image.isNull())
        return {};
    QImage small = image;
    const int longSide = std::max(image.width(), image.height());
    if (longSide > kSide) {
        // Rounded rather than cut as QSize::scaled does: 3:2 gives 256x171.
        const auto fit = [&](int side) { return std::max(1, int((int64_t(side) * kSide + longSide / 2) / longSide)); };
        small = image.scaled(fit(image.width()), fit(image.height()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    small = CExifReader::orient(small, iOrientation);
    const bool bGray = small.format() == QImage::Format_Grayscale8;
    if (!bGray)
        small = small.convertToFormat(QImage::Format_RGB32);
    thread_local CCompressor compressor;
    if (!compressor.h)
        return {};
    unsigned char *pJpeg = nullptr;
    unsigned long size = 0;
    const int format = bGray ? TJPF_GRAY : Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
    const int rc = tjCompress2(compressor.h, small.constBits(), small.width(), int(small.bytesPerLine()), small.height(),
                               format, &pJpeg, &size, bGray ? TJSAMP_GRAY : TJSAMP_420, kQuality, TJFLAG_FASTDCT);
    QByteArray jpeg;
    if (rc == 0 && pJpeg)
        jpeg = QByteArray(reinterpret_cast<const char *>(pJpeg), int(size));
    tjFree(pJpeg);
    return jpeg;
}

bool CScanThumbs::openPackLocked()
{
    const QString folder = m_strFolder.isEmpty() ? QFileInfo(CFeatureCache::defaultPath()).absolutePath() : m_strFolder;
    if (!QDir().mkpath(folder)) {
        qCWarning(lcThumbs) << "no scan thumbnails: cannot create" << folder;
        return false;
    }
    QString strError;
    if (!m_pack.open(folder, strError)) {
        qCWarning(lcThumbs) << "no scan thumbnails: cannot create a file in" << folder << strError;
        return false;
    }
    return true;
}

void CScanThumbs::add(const QString &strPath, uint64_t i64Size, uint64_t i64ModTime, const QByteArray &jpeg)
{
    if (jpeg.isEmpty())
        return;
    CEntry entry{0, uint32_t(jpeg.size()), i64Size, i64ModTime};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bBroken || m_i64End + entry.iLength > m_i64Capacity)
            return;
        if (!m_pack.isOpen() && !openPackLocked()) {
            m_bBroken = true;
            return;
        }
        entry.i64Offset = m_i64End;
        m_i64End += entry.iLength;
    }
    // Written outside the lock: each add owns its reserved range, and readers
    // only learn of it from the index entry made afterwards.
    QString strError;
    const bool bWritten = m_pack.writeAt(jpeg.constData(), size_t(jpeg.size()), entry.i64Offset, strError);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!bWritten) {
        if (!m_bBroken)
            qCWarning(lcThumbs) << "no more scan thumbnails: writing the pack failed:" << strError;
        m_bBroken = true;
        return;
    }
    m_mapEntries.insert(strPath, entry);
}

uint32_t CScanThumbs::find(const QString &strPath, uint8_t *pBuffer, uint32_t iCapacity)
{
    CEntry entry;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_mapEntries.constFind(strPath);
        if (it == m_mapEntries.constEnd())
            return 0;
        entry = *it;
    }
    const dp::platform::CPathStat st = dp::platform::statPath(dp::platform::pathToBytes(strPath));
    if (!st.bExists || st.i64Size != entry.i64Size || st.i64ModTime != entry.i64ModTime)
        return 0;
    if (pBuffer && iCapacity >= entry.iLength && !m_pack.readAt(pBuffer, entry.iLength, entry.i64Offset))
        return 0;
    return entry.iLength;
}

uint64_t CScanThumbs::packBytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_i64End;
}
