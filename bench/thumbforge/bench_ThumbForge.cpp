// Thumbnail throughput from 12 MP JPEGs and the time from a page request (16 photos)
// to all 16 thumbnails ready, cold and warm. Photos are made in a temporary folder;
// the disk cache lives in another one (XDG_CACHE_HOME).
#include "CImageDecoder.h"
#include "ThumbForge.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <ctime>
#include <memory>

namespace {

constexpr int kPhotoCount = 50;
constexpr int kPageSize = 16;

struct CBenchData
{
    QTemporaryDir photoDir;
    QTemporaryDir cacheDir;
    QStringList listPaths;
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
        s_pData->listPaths.append(QDir(s_pData->photoDir.path()).filePath(QStringLiteral("photo_%1.jpg").arg(i)));
        writeJpeg(s_pData->listPaths.last(), photo);
    }
    qInfo("photo file size: %lld bytes", QFileInfo(s_pData->listPaths.first()).size());
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
    int i = 0;
    for (auto _ : state) {
        const QImage image = CImageDecoder::decode(s_pData->listPaths.at(i++ % kPhotoCount), CImageDecoder::kThumbSide);
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
        for (const QString &strPath : qAsConst(s_pData->listPaths))
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
        listPage.append(stu_ThumbTask{1, s_pData->listPaths.at(i)});
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
        listPage.append(stu_ThumbTask{1, s_pData->listPaths.at(i)});
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

BENCHMARK(BM_DecodeThumbnailOnly)->Unit(benchmark::kMillisecond)->Iterations(kPhotoCount);
BENCHMARK(BM_ThumbnailsPerSecondCold)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PageReadyColdCache)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PageReadyWarmDiskCache)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PageReadyWarmMemory)->Unit(benchmark::kMicrosecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    CBenchData data;
    s_pData = &data;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(data.cacheDir.path()));
    QElapsedTimer timer;
    timer.start();
    makePhotos();
    qInfo("made %d photos of 4000x3000 in %lld ms; decoder threads: %d", kPhotoCount, timer.elapsed(),
          qMax(1, QThread::idealThreadCount() - 1));

    CImgThumbManager *pManager = CImgThumbManager::GetInstance();
    // Counted on the worker thread: the benchmark thread has no event loop.
    QObject::connect(pManager, &CImgThumbManager::sigImgThumbResult, pManager,
                     [](QVariant, QString, bool) { s_pData->done.release(); }, Qt::DirectConnection);
    pManager->Start();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    pManager->Stop();
    return 0;
}
