// Regroup of a large scan through the real engine, end to end: from the request to
// the rebuilt groups and totals, then the automatic marks and their totals.
// Photos: BENCH_PHOTOS small JPEGs (default 100,000) in groups of five close
// copies (noise, brightness, quality). BENCH_DIR keeps them between runs.
#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"

#include <turbojpeg.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 128;
constexpr int kHeight = 96;
constexpr int kGroupSize = 5;

uint32_t next(uint32_t &state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// Copy v of group g: a smooth field of the group's own, with copy-specific noise,
// brightness and quality.
bool writePhoto(tjhandle handle, const QString &strPath, int g, int v)
{
    constexpr int kGrid = 6;
    uint32_t field = uint32_t(g) * 2654435761u + 1u;
    uint32_t noise = uint32_t(g * kGroupSize + v) * 40503u + 7u;
    float grid[kGrid + 1][kGrid + 1][3];
    for (auto &row : grid)
        for (auto &cell : row)
            for (float &c : cell)
                c = float(next(field) % 256);
    const int iBright = v == 2 ? 14 : v == 4 ? -10 : 0;
    std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        const float gy = float(y) * kGrid / kHeight;
        const int y0 = int(gy);
        const float fy = gy - float(y0);
        for (int x = 0; x < kWidth; ++x) {
            const float gx = float(x) * kGrid / kWidth;
            const int x0 = int(gx);
            const float fx = gx - float(x0);
            const int n = int(next(noise) % 9) - 4 + iBright;
            for (int c = 0; c < 3; ++c) {
                const float f = (grid[y0][x0][c] * (1 - fx) + grid[y0][x0 + 1][c] * fx) * (1 - fy)
                    + (grid[y0 + 1][x0][c] * (1 - fx) + grid[y0 + 1][x0 + 1][c] * fx) * fy;
                pixels[(size_t(y) * kWidth + x) * 3 + c] = static_cast<unsigned char>(qBound(0, int(f) + n, 255));
            }
        }
    }
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    const int iQuality = v == 3 ? 40 : 90;
    if (tjCompress2(handle, pixels.data(), kWidth, 0, kHeight, TJPF_RGB, &jpeg, &size, TJSAMP_420, iQuality, 0) != 0)
        return false;
    QFile file(strPath);
    const bool bOk = file.open(QIODevice::WriteOnly)
        && file.write(reinterpret_cast<const char *>(jpeg), qint64(size)) == qint64(size);
    tjFree(jpeg);
    return bOk;
}

bool makePhotos(const QString &strDir, int iCount)
{
    const QString marker = strDir + QStringLiteral("/.complete-%1").arg(iCount);
    if (QFile::exists(marker))
        return true;
    std::atomic<bool> bOk{true};
    const int iThreads = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (int t = 0; t < iThreads; ++t) {
        threads.emplace_back([&, t] {
            tjhandle handle = tjInitCompress();
            for (int i = t; i < iCount && bOk; i += iThreads) {
                const int g = i / kGroupSize;
                const QString sub = strDir + QStringLiteral("/d%1").arg(g / 1000);
                QDir().mkpath(sub);
                if (!writePhoto(handle, sub + QStringLiteral("/g%1-%2.jpg").arg(g).arg(i % kGroupSize), g, i % kGroupSize))
                    bOk = false;
            }
            tjDestroy(handle);
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QFile file(marker);
    return bOk && file.open(QIODevice::WriteOnly);
}

} // namespace

class BenchRegroup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QTemporaryDir m_tempPhotos;
    QString m_strPhotos;
    int m_iCount = 0;

    void setThreshold(CDupPicsMgr &mgr, int iSlot)
    {
        QVariantMap options = mgr.getOption();
        options["photoType"] = QVariantMap{{"value", 1}};
        options["minSize"] = QVariantMap{{"value", 1}, {"index", 0}, {"unit", "KB"}};
        options["similarSlot"] = QVariantMap{{"value", iSlot}};
        mgr.setOption(options);
    }

    static bool idle(const CDupPicsMgr &mgr)
    {
        return mgr.taskQueue()->isDrained();
    }

    qint64 scan(CDupPicsMgr &mgr)
    {
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigScanComplete);
        QElapsedTimer timer;
        timer.start();
        mgr.collectDupFiles();
        [&] { QTRY_VERIFY_WITH_TIMEOUT(completeSpy.count() > 0 && idle(mgr), 3600 * 1000); }();
        return timer.elapsed();
    }

    qint64 regroup(CDupPicsMgr &mgr, int iSlot)
    {
        setThreshold(mgr, iSlot);
        QSignalSpy regroupSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        QElapsedTimer timer;
        timer.start();
        mgr.refreshSimilarSlot();
        [&] { QTRY_VERIFY_WITH_TIMEOUT(regroupSpy.count() > 0 && idle(mgr), 600 * 1000); }();
        return timer.elapsed();
    }

    qint64 markAll(CDupPicsMgr &mgr)
    {
        QSignalSpy countSpy(&mgr, &CDupPicsMgr::sigCheckedItemCountChanged);
        QElapsedTimer timer;
        timer.start();
        mgr.doAllMark();
        [&] { QTRY_VERIFY_WITH_TIMEOUT(countSpy.count() > 0 && idle(mgr), 600 * 1000); }();
        return timer.elapsed();
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CACHE_HOME", m_home.filePath("cache").toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath("data").toUtf8());
        QStandardPaths::setTestModeEnabled(true);
        // Test mode still points the data folder into the real home.
        qputenv("MIRELLE_DECISIONS_DB", m_home.filePath("decisions.sqlite").toUtf8());
        m_iCount = qEnvironmentVariableIntValue("BENCH_PHOTOS");
        if (m_iCount <= 0)
            m_iCount = 100000;
        m_strPhotos = qEnvironmentVariableIsSet("BENCH_DIR") ? qEnvironmentVariable("BENCH_DIR") : m_tempPhotos.path();
        QDir().mkpath(m_strPhotos);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(makePhotos(m_strPhotos, m_iCount));
        qInfo("%d photos of %dx%d ready in %lld ms", m_iCount, kWidth, kHeight, timer.elapsed());
    }

    void benchRegroup()
    {
        CDupPicsMgr mgr;
        setThreshold(mgr, 6);
        mgr.addDropPaths({QUrl::fromLocalFile(m_strPhotos)});
        const qint64 iScan = scan(mgr);
        qInfo("scan at 70%%: %lld ms, %lld groups, %lld photos/s", iScan, qint64(mgr.groupOrder().size()),
              iScan > 0 ? qint64(m_iCount) * 1000 / iScan : 0);

        const qint64 iTo90 = regroup(mgr, 2);
        qInfo("regroup 70%% -> 90%%: %lld ms (includes the fixed 2 s settle), %lld groups", iTo90,
              qint64(mgr.groupOrder().size()));
        const qint64 iMark90 = markAll(mgr);
        qInfo("  auto-mark all + totals: %lld ms, %d marked", iMark90, mgr.checkedItemCount());

        const qint64 iTo70 = regroup(mgr, 6);
        qInfo("regroup 90%% -> 70%%: %lld ms (includes the fixed 2 s settle), %lld groups", iTo70,
              qint64(mgr.groupOrder().size()));
        const qint64 iMark70 = markAll(mgr);
        qInfo("  auto-mark all + totals: %lld ms, %d marked", iMark70, mgr.checkedItemCount());
    }

    void benchCachedRescan()
    {
        CDupPicsMgr mgr;
        setThreshold(mgr, 6);
        mgr.addDropPaths({QUrl::fromLocalFile(m_strPhotos)});
        const qint64 iScan = scan(mgr);
        qInfo("cached rescan at 70%%: %lld ms, %lld groups", iScan, qint64(mgr.groupOrder().size()));
    }
};

QTEST_MAIN(BenchRegroup)
#include "bench_Regroup.moc"
