// Thumbnails of photos a scan has just read, through the program's manager and the
// real engine: 48 JPEGs of 12 MP without an embedded preview are scanned, then the
// thumbnail library is timed from a cold cache (memory and disk emptied) with the
// pictures the scan kept, and again with that source cleared so every file is
// decoded (argument 1 with the scan's pictures, 0 without). Also reports the scan's
// time and CPU per photo.
#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"
#include "ThumbForge.h"
#include "BenchPhotos.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QApplication>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr int kPhotos = 48;
constexpr int kPageSize = 16;
constexpr int kRounds = 5;

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Gradients under fine noise: about 3.5 MB of entropy-coded data per photo at
// quality 90, as a camera writes; a block of its own keeps each file distinct.
bool makePhotos(const QString &strDir, QStringList &listPaths)
{
    constexpr int kWidth = 4000;
    constexpr int kHeight = 3000;
    std::vector<unsigned char> base(size_t(kWidth) * kHeight * 3);
    quint32 state = 2463534242u;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int n = int(state % 21u) - 10;
            unsigned char *p = &base[(size_t(y) * kWidth + x) * 3];
            p[0] = static_cast<unsigned char>(qBound(0, x * 255 / kWidth + n, 255));
            p[1] = static_cast<unsigned char>(qBound(0, y * 255 / kHeight + n, 255));
            p[2] = static_cast<unsigned char>(qBound(0, 128 + n * 2, 255));
        }
    }
    tjhandle handle = tjInitCompress();
    bool bOk = handle != nullptr;
    for (int i = 0; i < kPhotos && bOk; ++i) {
        std::vector<unsigned char> photo = base;
        const int x0 = (i * 173) % 3600, y0 = (i * 97) % 2600;
        for (int y = y0; y < y0 + 400; ++y)
            for (int x = x0; x < x0 + 400; ++x) {
                unsigned char *p = &photo[(size_t(y) * kWidth + x) * 3];
                p[0] = static_cast<unsigned char>(i * 5);
                p[1] = 40;
                p[2] = 200;
            }
        listPaths.append(QDir(strDir).filePath(QStringLiteral("photo_%1.jpg").arg(i, 2, 10, QLatin1Char('0'))));
        bOk = benchphotos::writeJpeg(handle, photo.data(), kWidth, kHeight, 90, QFile::encodeName(listPaths.last()).constData());
    }
    tjDestroy(handle);
    return bOk;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

QTemporaryDir *s_pHome = nullptr;
std::unique_ptr<CDupPicsMgr> s_pMgr;  // the thumbnail source it sets points into it
QStringList s_listPaths;
// Results of the current round only: the library may still answer older requests.
QMutex s_mutex;
QSet<QString> s_setWanted;
QSemaphore s_done;

bool idle(const CDupPicsMgr &mgr)
{
    return mgr.taskQueue()->isDrained();
}

void expect(const QStringList &listPaths)
{
    QMutexLocker locker(&s_mutex);
    s_setWanted = QSet<QString>(listPaths.begin(), listPaths.end());
    s_done.acquire(s_done.available());
}

// Memory caches emptied by the stop, the disk cache removed: nothing is made yet.
void coldStart()
{
    CImgThumbManager::GetInstance()->Stop();
    QDir(s_pHome->filePath(QStringLiteral("cache/thumbnails"))).removeRecursively();
    CImgThumbManager::GetInstance()->Start();
}

void useScanPictures(bool bUse)
{
    if (!s_pMgr) {
        s_pMgr = std::make_unique<CDupPicsMgr>();
        CDupPicsMgr *pMgr = s_pMgr.get();
        QVariantMap options = pMgr->getOption();
        options["photoType"] = QVariantMap{{"value", 1}};
        pMgr->setOption(options);
        pMgr->addDropPaths({QUrl::fromLocalFile(QFileInfo(s_listPaths.first()).absolutePath())});
        QSignalSpy completeSpy(pMgr, &CDupPicsMgr::sigScanComplete);
        const double dCpu = processCpuMs();
        QElapsedTimer timer;
        timer.start();
        pMgr->collectDupFiles();
        const bool bDone = QTest::qWaitFor([&] { return completeSpy.count() > 0 && idle(*pMgr); }, 3600 * 1000);
        benchmark::AddCustomContext("scan", QStringLiteral("%1 ms, %2 ms CPU per photo with the thumbnails asked meanwhile%3")
                                                .arg(timer.elapsed()).arg((processCpuMs() - dCpu) / kPhotos, 0, 'f', 1)
                                                .arg(bDone ? "" : ", not finished")
                                                .toStdString());
    }
    if (!bUse)
        SetImgThumbSource({});
}

// Thumbnails per second for all photos queued at once, and the process's CPU per thumbnail.
void BM_Throughput(benchmark::State &state)
{
    useScanPictures(state.range(0) != 0);
    std::vector<double> cpus;
    for (auto _ : state) {
        coldStart();
        expect(s_listPaths);
        const double dCpu = processCpuMs();
        QElapsedTimer timer;
        timer.start();
        for (const QString &strPath : qAsConst(s_listPaths))
            CImgThumbManager::GetInstance()->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
        if (!s_done.tryAcquire(kPhotos, 600 * 1000)) {
            state.SkipWithError("thumbnails missing");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        cpus.push_back((processCpuMs() - dCpu) / kPhotos);
    }
    state.SetItemsProcessed(state.iterations() * kPhotos);
    state.counters["cpu_ms_per_thumb"] = median(cpus);
}

// From the page request to its 16 thumbnails ready.
void BM_ColdPage(benchmark::State &state)
{
    useScanPictures(state.range(0) != 0);
    int r = 0;
    for (auto _ : state) {
        coldStart();
        QList<stu_ThumbTask> listPage;
        QStringList listPaths;
        for (int i = 0; i < kPageSize; ++i) {
            listPaths.append(s_listPaths.at((r * kPageSize + i) % kPhotos));
            listPage.append(stu_ThumbTask{1, listPaths.last()});
        }
        ++r;
        expect(listPaths);
        QElapsedTimer timer;
        timer.start();
        CImgThumbManager::GetInstance()->SetReserveThumbList(listPage);
        if (!s_done.tryAcquire(kPageSize, 600 * 1000)) {
            state.SkipWithError("thumbnails missing");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}

// With the scan's pictures first: clearing the source is for good.
BENCHMARK(BM_Throughput)->Arg(1)->Iterations(kRounds)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdPage)->Arg(1)->Iterations(kRounds)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Throughput)->Arg(0)->Iterations(kRounds)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdPage)->Arg(0)->Iterations(kRounds)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir home;
    QTemporaryDir photos;
    s_pHome = &home;
    qputenv("XDG_CACHE_HOME", home.filePath("cache").toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    qputenv("MIRELLE_DECISIONS_DB", home.filePath("decisions.sqlite").toUtf8());
    if (!makePhotos(photos.path(), s_listPaths))
        return 1;
    // Counted on the library's thread: a queued report would wait for this one.
    QObject::connect(CImgThumbManager::GetInstance(), &CImgThumbManager::sigImgThumbResult, &app,
                     [](QVariant, QString strPath, bool) {
                         QMutexLocker locker(&s_mutex);
                         if (s_setWanted.remove(strPath))
                             s_done.release();
                     }, Qt::DirectConnection);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetImgThumbSource({});
    s_pMgr.reset();
    return 0;
}
