// Thumbnails of photos a scan has just read, through the program's manager and the
// real engine: 48 JPEGs of 12 MP without an embedded preview are scanned, then the
// thumbnail library is timed from a cold cache (memory and disk emptied) with the
// pictures the scan kept, and again with that source cleared so every file is
// decoded. Also reports the scan's time and CPU per photo.
#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"
#include "ThumbForge.h"

#include <turbojpeg.h>

#include <QElapsedTimer>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <ctime>
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
        unsigned char *pJpeg = nullptr;
        unsigned long size = 0;
        bOk = tjCompress2(handle, photo.data(), kWidth, 0, kHeight, TJPF_RGB, &pJpeg, &size, TJSAMP_420, 90, 0) == 0;
        listPaths.append(QDir(strDir).filePath(QStringLiteral("photo_%1.jpg").arg(i, 2, 10, QLatin1Char('0'))));
        QFile file(listPaths.last());
        bOk = bOk && file.open(QIODevice::WriteOnly)
            && file.write(reinterpret_cast<const char *>(pJpeg), qint64(size)) == qint64(size);
        tjFree(pJpeg);
    }
    tjDestroy(handle);
    return bOk;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

class BenchScanThumbnails : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QTemporaryDir m_photos;
    QStringList m_listPaths;

    // Results of the current round only: the library may still answer older requests.
    QMutex m_mutex;
    QSet<QString> m_setWanted;
    QSemaphore m_done;

    static bool idle(const CDupPicsMgr &mgr)
    {
        return mgr.taskQueue()->isDrained();
    }

    void expect(const QStringList &listPaths)
    {
        QMutexLocker locker(&m_mutex);
        m_setWanted = QSet<QString>(listPaths.begin(), listPaths.end());
        m_done.acquire(m_done.available());
    }

    // Memory caches emptied by the stop, the disk cache removed: nothing is made yet.
    void coldStart()
    {
        CImgThumbManager::GetInstance()->Stop();
        QDir(m_home.filePath(QStringLiteral("cache/thumbnails"))).removeRecursively();
        CImgThumbManager::GetInstance()->Start();
    }

    // Thumbnails per second for all photos queued at once, and the process's CPU per thumbnail.
    void throughput(const char *pszLabel)
    {
        std::vector<double> rates, cpus;
        for (int r = 0; r < kRounds; ++r) {
            coldStart();
            expect(m_listPaths);
            const double dCpu = processCpuMs();
            QElapsedTimer timer;
            timer.start();
            for (const QString &strPath : qAsConst(m_listPaths))
                CImgThumbManager::GetInstance()->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
            QVERIFY(m_done.tryAcquire(kPhotos, 600 * 1000));
            rates.push_back(kPhotos * 1000.0 / std::max<qint64>(1, timer.elapsed()));
            cpus.push_back((processCpuMs() - dCpu) / kPhotos);
        }
        qInfo("%s: %.0f thumbnails/s, %.1f ms CPU each (median of %d)", pszLabel, median(rates), median(cpus), kRounds);
    }

    // From the page request to its 16 thumbnails ready.
    void coldPage(const char *pszLabel)
    {
        std::vector<double> times;
        for (int r = 0; r < kRounds; ++r) {
            coldStart();
            QList<stu_ThumbTask> listPage;
            QStringList listPaths;
            for (int i = 0; i < kPageSize; ++i) {
                listPaths.append(m_listPaths.at((r * kPageSize + i) % kPhotos));
                listPage.append(stu_ThumbTask{1, listPaths.last()});
            }
            expect(listPaths);
            QElapsedTimer timer;
            timer.start();
            CImgThumbManager::GetInstance()->SetReserveThumbList(listPage);
            QVERIFY(m_done.tryAcquire(kPageSize, 600 * 1000));
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        qInfo("%s: cold page of %d ready in %.0f ms (median of %d)", pszLabel, kPageSize, median(times), kRounds);
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CACHE_HOME", m_home.filePath("cache").toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath("data").toUtf8());
        QStandardPaths::setTestModeEnabled(true);
        qputenv("MIRELLE_DECISIONS_DB", m_home.filePath("decisions.sqlite").toUtf8());
        QElapsedTimer timer;
        timer.start();
        QVERIFY(makePhotos(m_photos.path(), m_listPaths));
        qInfo("%d photos of 4000x3000 (%lld bytes each) made in %lld ms", kPhotos, QFileInfo(m_listPaths.first()).size(),
              timer.elapsed());
        // Counted on the library's thread: a queued report would wait for this one.
        connect(CImgThumbManager::GetInstance(), &CImgThumbManager::sigImgThumbResult, this,
                [this](QVariant, QString strPath, bool) {
                    QMutexLocker locker(&m_mutex);
                    if (m_setWanted.remove(strPath))
                        m_done.release();
                }, Qt::DirectConnection);
    }

    void benchScanThenThumbnails()
    {
        CDupPicsMgr mgr;
        QVariantMap options = mgr.getOption();
        options["photoType"] = QVariantMap{{"value", 1}};
        mgr.setOption(options);
        mgr.addDropPaths({QUrl::fromLocalFile(m_photos.path())});
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigScanComplete);
        const double dCpu = processCpuMs();
        QElapsedTimer timer;
        timer.start();
        mgr.collectDupFiles();
        QTRY_VERIFY_WITH_TIMEOUT(completeSpy.count() > 0 && idle(mgr), 3600 * 1000);
        qInfo("scan: %lld ms, %.1f ms CPU per photo (with the thumbnails the manager asks for meanwhile), %lld groups",
              timer.elapsed(), (processCpuMs() - dCpu) / kPhotos, qint64(mgr.groupOrder().size()));

        throughput("scanned photos, with the scan's pictures");
        coldPage("scanned photos, with the scan's pictures");
        SetImgThumbSource({});
        throughput("every file decoded");
        coldPage("every file decoded");
    }
};

QTEST_MAIN(BenchScanThumbnails)
#include "bench_ScanThumbnails.moc"
