// Thumbnail throughput from 12 MP JPEGs and the time from a page request (16 photos)
// to all 16 thumbnails ready, cold and warm, for photos without an EXIF preview
// (argument 0) and with a 512x384 one as phones write (argument 1); then the memory
// that 100,000 queued photos cost. Photos are made in a temporary folder; the disk
// cache lives in another one (XDG_CACHE_HOME).
#include "CImageDecoder.h"
#include "CThumbDiskCache.h"
#include "ThumbForge.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLoggingCategory>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <ctime>
#include <memory>

namespace {

constexpr int kPhotoCount = 50;
constexpr int kPageSize = 16;

struct CBenchData
{
    QTemporaryDir photoDir;
    QTemporaryDir cacheDir;
    // [0] without an EXIF preview, [1] with one.
    QStringList listPaths[2];
    QSemaphore done;
};

CBenchData *s_pData = nullptr;

// The machine is shared: wall time swings with other load, the process's CPU time
// (the decoder threads' work) much less, so both are reported.
double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Photo-like content: gradients under fine noise, so the entropy-coded data is as
// large as a camera's (about 3 to 4 MB per 12 MP picture at quality 90).
QImage makeBaseImage(int iWidth, int iHeight)
{
    QImage image(iWidth, iHeight, QImage::Format_RGB32);
    quint32 state = 2463534242u;
    for (int y = 0; y < iHeight; ++y) {
        auto *pLine = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < iWidth; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int iNoise = int(state % 21u) - 10;
            pLine[x] = qRgb(qBound(0, x * 255 / iWidth + iNoise, 255), qBound(0, y * 255 / iHeight + iNoise, 255),
                            qBound(0, 128 + iNoise * 2, 255));
        }
    }
    return image;
}

long rssKiB()
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

bool writePreview(const QString &strPath, const QImage &photo)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    photo.scaled(512, 384, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(&buffer, "JPEG", 80);
    try {
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(strPath).constData()));
        image->readMetadata();
        Exiv2::ExifThumb(image->exifData())
            .setJpegThumbnail(reinterpret_cast<const Exiv2::byte *>(jpeg.constData()), long(jpeg.size()));
        image->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError &) {
        return false;
    }
}

bool writeJpeg(const QString &strPath, const QImage &image)
{
    tjhandle handle = tjInitCompress();
    unsigned char *pJpeg = nullptr;
    unsigned long size = 0;
    const bool bOk = tjCompress2(handle, image.constBits(), image.width(), int(image.bytesPerLine()), image.height(),
                                 TJPF_BGRX, &pJpeg, &size, TJSAMP_420, 90, 0)
        == 0;
    tjDestroy(handle);
    QFile file(strPath);
    const bool bWritten = bOk && file.open(QIODevice::WriteOnly)
        && file.write(reinterpret_cast<const char *>(pJpeg), qint64(size)) == qint64(size);
    tjFree(pJpeg);
    return bWritten;
}

void makePhotos()
{
    QImage base = makeBaseImage(4000, 3000);
    for (int i = 0; i < kPhotoCount; ++i) {
        // A different block in each keeps the files distinct.
        QImage photo = base.copy();
        const QRect block((i * 173) % 3600, (i * 97) % 2600, 400, 400);
        for (int y = block.top(); y <= block.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb *>(photo.scanLine(y)) + block.left(), block.width(), qRgb(i * 5, 40, 200));
        const QDir dir(s_pData->photoDir.path());
        s_pData->listPaths[0].append(dir.filePath(QStringLiteral("photo_%1.jpg").arg(i)));
        writeJpeg(s_pData->listPaths[0].last(), photo);
        s_pData->listPaths[1].append(dir.filePath(QStringLiteral("camera_%1.jpg").arg(i)));
        if (!writeJpeg(s_pData->listPaths[1].last(), photo) || !writePreview(s_pData->listPaths[1].last(), photo))
            qFatal("cannot write %s", qPrintable(s_pData->listPaths[1].last()));
    }
    qInfo("photo file size: %lld bytes, with preview %lld bytes", QFileInfo(s_pData->listPaths[0].first()).size(),
          QFileInfo(s_pData->listPaths[1].first()).size());
}

void clearDiskCache()
{
    QDir(QDir(s_pData->cacheDir.path()).filePath(QStringLiteral("thumbnails/large"))).removeRecursively();
}

// Stop() empties the memory caches; with the disk cache gone too, the next run is cold.
void restart(bool bKeepDiskCache)
{
    CImgThumbManager::GetInstance()->Stop();
    if (!bKeepDiskCache)
        clearDiskCache();
    CImgThumbManager::GetInstance()->Start();
}

void BM_DecodeThumbnailOnly(benchmark::State &state)
{
    const QStringList &listPaths = s_pData->listPaths[state.range(0)];
    int i = 0;
    for (auto _ : state) {
        const QImage image = CImageDecoder::decode(listPaths.at(i++ % kPhotoCount), CImageDecoder::kThumbSide);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}

// One thumbnail read back from the disk cache on this thread: the warm page's unit of work.
void BM_DiskCacheLoad(benchmark::State &state)
{
    CThumbDiskCache cache(QDir(s_pData->cacheDir.path()).filePath(QStringLiteral("bench-thumbnails")));
    const QImage thumb = CImageDecoder::decode(s_pData->listPaths[0].first(), CImageDecoder::kThumbSide);
    for (const QString &strPath : s_pData->listPaths[0])
        cache.store(strPath, thumb);
    int i = 0;
    for (auto _ : state) {
        QImage image;
        if (!cache.load(s_pData->listPaths[0].at(i++ % kPhotoCount), image))
            state.SkipWithError("not in the disk cache");
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ThumbnailsPerSecondCold(benchmark::State &state)
{
    CImgThumbManager *pManager = CImgThumbManager::GetInstance();
    double dCpuMs = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        restart(false);
        const double dStart = processCpuMs();
        state.ResumeTiming();
        for (const QString &strPath : s_pData->listPaths[state.range(0)])
            pManager->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
        s_pData->done.acquire(kPhotoCount);
        dCpuMs += processCpuMs() - dStart;
    }
    state.SetItemsProcessed(state.iterations() * kPhotoCount);
    state.counters["cpu_ms_per_thumb"] = dCpuMs / double(state.iterations() * kPhotoCount);
}

void requestPage(benchmark::State &state, bool bKeepDiskCache)
{
    CImgThumbManager *pManager = CImgThumbManager::GetInstance();
    QList<stu_ThumbTask> listPage;
    for (int i = 0; i < kPageSize; ++i)
        listPage.append(stu_ThumbTask{1, s_pData->listPaths[state.range(0)].at(i)});
    double dCpuMs = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        restart(bKeepDiskCache);
        if (bKeepDiskCache) {
            // Make sure the page is on disk, then start from an empty memory cache.
            for (const stu_ThumbTask &task : qAsConst(listPage))
                pManager->EnPutThumbTask(task, false);
            s_pData->done.acquire(kPageSize);
            restart(true);
        }
        const double dStart = processCpuMs();
        state.ResumeTiming();
        pManager->SetReserveThumbList(listPage);
        s_pData->done.acquire(kPageSize);
        dCpuMs += processCpuMs() - dStart;
    }
    state.counters["cpu_ms_per_page"] = dCpuMs / double(state.iterations());
}

void BM_PageReadyColdCache(benchmark::State &state) { requestPage(state, false); }
void BM_PageReadyWarmDiskCache(benchmark::State &state) { requestPage(state, true); }

void BM_PageReadyWarmMemory(benchmark::State &state)
{
    CImgThumbManager *pManager = CImgThumbManager::GetInstance();
    QList<stu_ThumbTask> listPage;
    for (int i = 0; i < kPageSize; ++i)
        listPage.append(stu_ThumbTask{1, s_pData->listPaths[state.range(0)].at(i)});
    restart(true);
    for (const stu_ThumbTask &task : qAsConst(listPage))
        pManager->EnPutThumbTask(task, false);
    s_pData->done.acquire(kPageSize);
    for (auto _ : state) {
        // What the image provider does for each photo of the page.
        pManager->SetReserveThumbList(listPage);
        int iReady = 0;
        for (const stu_ThumbTask &task : qAsConst(listPage)) {
            QImage image;
            iReady += CPageThumbCache::GetInstance()->GetThumbImage(task.path, image) && !image.isNull();
        }
        if (iReady != kPageSize)
            state.SkipWithError("page not in memory");
    }
}

} // namespace

// Reports what the library holds for 100,000 photos of a finished scan that were all
// queued or scrolled past: the queue, the id table and a remembered failure each (the
// paths do not exist, so no thumbnail budget is spent).
void reportMemoryFor100kPhotos()
{
    constexpr int kPhotos = 100000;
    // Each missing file would log a warning.
    QLoggingCategory::setFilterRules(QStringLiteral("dp.thumbforge.warning=false"));
    CImgThumbManager *pManager = CImgThumbManager::GetInstance();
    restart(true);
    const long iBefore = rssKiB();
    const QString strBase = QDir(s_pData->photoDir.path()).filePath(QStringLiteral("scanned/folder_%1/IMG_%2.jpg"));
    for (int i = 0; i < kPhotos; ++i) {
        const QString strPath = strBase.arg(i / 500).arg(i, 6, 10, QLatin1Char('0'));
        pManager->EnPutThumbTask(stu_ThumbTask{quint64(i / 4), strPath}, false);
    }
    const long iQueued = rssKiB();
    s_pData->done.acquire(kPhotos);
    const long iDone = rssKiB();
    qInfo("memory for %d photos: +%ld KiB queued, +%ld KiB once all were answered (RSS %ld KiB)", kPhotos,
          iQueued - iBefore, iDone - iBefore, iDone);
}

BENCHMARK(BM_DecodeThumbnailOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(kPhotoCount);
BENCHMARK(BM_DiskCacheLoad)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ThumbnailsPerSecondCold)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PageReadyColdCache)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PageReadyWarmDiskCache)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PageReadyWarmMemory)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    CBenchData data;
    s_pData = &data;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(data.cacheDir.path()));
    QElapsedTimer timer;
    timer.start();
    makePhotos();
    qInfo("made %d photos of 4000x3000 twice in %lld ms; decoder threads: %d and one at idle priority", kPhotoCount,
          timer.elapsed(), qMax(1, QThread::idealThreadCount() - 1));

    CImgThumbManager *pManager = CImgThumbManager::GetInstance();
    // Counted on the worker thread: the benchmark thread has no event loop.
    QObject::connect(pManager, &CImgThumbManager::sigImgThumbResult, pManager,
                     [](QVariant, QString, bool) { s_pData->done.release(); }, Qt::DirectConnection);
    pManager->Start();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    reportMemoryFor100kPhotos();
    pManager->Stop();
    return 0;
}
