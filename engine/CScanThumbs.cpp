#include "CScanThumbs.h"

#include "CFeatureCache.h"
#include "CPathCodec.h"
#include "CPhotoMetadata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLoggingCategory>
#include <QTransform>

#include <turbojpeg.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcThumbs, "mirelle.engine.thumbs")

namespace {

QImage upright(const QImage &image, int iOrientation)
{
    // Quarter turns first, then the mirror that the transposing codes add.
    const auto turned = [&](int degrees) { return image.transformed(QTransform().rotate(degrees)); };
    switch (iOrientation) {
    case 2: return image.mirrored(true, false);
    case 3: return image.mirrored(true, true);
    case 4: return image.mirrored(false, true);
    case 5: return turned(90).mirrored(true, false);
    case 6: return turned(90);
    case 7: return turned(90).mirrored(false, true);
    case 8: return turned(270);
    default: return image;
    }
}

struct CCompressor
{
    tjhandle h = tjInitCompress();
    ~CCompressor() { if (h) tjDestroy(h); }
};

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

bool writeAll(int fd, const char *pData, size_t size, uint64_t i64Offset)
{
    return transferAll(pData, size, i64Offset, [fd](const char *p, size_t n, off_t o) { return ::pwrite(fd, p, n, o); });
}

bool readAll(int fd, uint8_t *pData, size_t size, uint64_t i64Offset)
{
    return transferAll(pData, size, i64Offset, [fd](uint8_t *p, size_t n, off_t o) { return ::pread(fd, p, n, o); });
}

} // namespace

CScanThumbs::CScanThumbs(QString strFolder, uint64_t i64Capacity)
    : m_strFolder(std::move(strFolder))
    , m_i64Capacity(i64Capacity)
{
}

CScanThumbs::~CScanThumbs()
{
    if (m_iFd >= 0)
        ::close(m_iFd);
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
    small = upright(small, iOrientation);
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
    QByteArray name = QFile::encodeName(folder + QStringLiteral("/scanthumbs-XXXXXX"));
    m_iFd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_iFd < 0) {
        qCWarning(lcThumbs) << "no scan thumbnails: cannot create a file in" << folder << std::strerror(errno);
        return false;
    }
    // Unlinked while open: the pack goes with the last descriptor, crash or not.
    ::unlink(name.constData());
    return true;
}

void CScanThumbs::add(const QString &strPath, uint64_t i64Size, uint64_t i64ModTime, const QByteArray &jpeg)
{
    if (jpeg.isEmpty())
        return;
    CEntry entry{0, uint32_t(jpeg.size()), i64Size, i64ModTime};
    int fd = -1;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bBroken || m_i64End + entry.iLength > m_i64Capacity)
            return;
        if (m_iFd < 0 && !openPackLocked()) {
            m_bBroken = true;
            return;
        }
        fd = m_iFd;
        entry.i64Offset = m_i64End;
        m_i64End += entry.iLength;
    }
    // Written outside the lock: each add owns its reserved range, and readers
    // only learn of it from the index entry made afterwards.
    const bool bWritten = writeAll(fd, jpeg.constData(), size_t(jpeg.size()), entry.i64Offset);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!bWritten) {
        if (!m_bBroken)
            qCWarning(lcThumbs) << "no more scan thumbnails: writing the pack failed:" << std::strerror(errno);
        m_bBroken = true;
        return;
    }
    m_mapEntries.insert(strPath, entry);
}

uint32_t CScanThumbs::find(const QString &strPath, uint8_t *pBuffer, uint32_t iCapacity)
{
    CEntry entry;
    int fd = -1;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_mapEntries.constFind(strPath);
        if (it == m_mapEntries.constEnd())
            return 0;
        entry = *it;
        fd = m_iFd;
    }
    struct stat st {};
    if (::stat(dp::platform::pathToBytes(strPath).constData(), &st) != 0 || uint64_t(st.st_size) != entry.i64Size
        || fileTimeFromUnix(st.st_mtim.tv_sec, uint32_t(st.st_mtim.tv_nsec)) != entry.i64ModTime)
        return 0;
    if (pBuffer && iCapacity >= entry.iLength && !readAll(fd, pBuffer, entry.iLength, entry.i64Offset))
        return 0;
    return entry.iLength;
}

uint64_t CScanThumbs::packBytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_i64End;
}
