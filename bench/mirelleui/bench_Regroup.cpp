// Regroup of a large scan through the real engine, end to end: from the request to
// the rebuilt groups and totals, then the automatic marks and their totals.
// Photos: BENCH_PHOTOS small JPEGs (default 100,000) in groups of five close
// copies (noise, brightness, quality). BENCH_DIR keeps them between runs.
// Times are the wall clock from request to result; counters give the groups and marks.
#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"
#include "BenchPhotos.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kWidth = 128;
constexpr int kHeight = 96;
constexpr int kGroupSize = 5;

// Copy v of group g: a smooth field of the group's own, with copy-specific noise,
// brightness and quality.
bool makePhotos(const QString &strDir, int iCount)
{
    const QString marker = strDir + QStringLiteral("/.complete-%1").arg(iCount);
    if (QFile::exists(marker))
        return true;
    const bool bOk = benchphotos::onAllCores(iCount, [&](tjhandle handle, int i) {
        const int g = i / kGroupSize, v = i % kGroupSize;
        std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 3);
        benchphotos::fillField(pixels.data(), kWidth, kHeight, 6, uint32_t(g) * 2654435761u + 1u,
                               uint32_t(g * kGroupSize + v) * 40503u + 7u, 4, v == 2 ? 14 : v == 4 ? -10 : 0);
        const QString sub = strDir + QStringLiteral("/d%1").arg(g / 1000);
        QDir().mkpath(sub);
        return benchphotos::writeJpeg(handle, pixels.data(), kWidth, kHeight, v == 3 ? 40 : 90,
                                      QFile::encodeName(sub + QStringLiteral("/g%1-%2.jpg").arg(g).arg(v)).constData());
    });
    QFile file(marker);
    return bOk && file.open(QIODevice::WriteOnly);
}

QString s_strPhotos;
int s_iCount = 0;

void setThreshold(CDupPicsMgr &mgr, int iSlot)
{
    QVariantMap options = mgr.getOption();
    options["photoType"] = QVariantMap{{"value", 1}};
    options["minSize"] = QVariantMap{{"value", 1}, {"index", 0}, {"unit", "KB"}};
    options["similarSlot"] = QVariantMap{{"value", iSlot}};
    mgr.setOption(options);
}

bool idle(const CDupPicsMgr &mgr)
{
    return mgr.taskQueue()->isDrained();
}

// Runs pfnStart and waits for pSignal and an idle worker; false when it timed out.
template <typename Signal, typename Start>
bool timed(benchmark::State &state, CDupPicsMgr &mgr, Signal pSignal, Start pfnStart, int iTimeoutS)
{
    QSignalSpy spy(&mgr, pSignal);
    QElapsedTimer timer;
    timer.start();
    pfnStart();
    if (!QTest::qWaitFor([&] { return spy.count() > 0 && idle(mgr); }, iTimeoutS * 1000)) {
        state.SkipWithError("timed out");
        return false;
    }
    state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    return true;
}

void scanned(CDupPicsMgr &mgr, benchmark::State &state)
{
    setThreshold(mgr, 6);
    mgr.addDropPaths({QUrl::fromLocalFile(s_strPhotos)});
    if (timed(state, mgr, &CDupPicsMgr::sigScanComplete, [&] { mgr.collectDupFiles(); }, 3600))
        state.counters["groups"] = double(mgr.groupOrder().size());
}

// The first scan, then the cached rescan with a new manager.
void BM_Scan(benchmark::State &state)
{
    for (auto _ : state) {
        CDupPicsMgr mgr;
        scanned(mgr, state);
    }
    state.counters["photos"] = s_iCount;
}
BENCHMARK(BM_Scan)->Name("BM_Scan/first")->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan)->Name("BM_Scan/cached")->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Argument: the threshold slot to regroup to (2: 90%, 6: 70%) from the other one; the time
// includes the manager's fixed settle. Then the automatic marks and their totals.
void BM_Regroup(benchmark::State &state)
{
    const int iSlot = int(state.range(0));
    CDupPicsMgr mgr;
    setThreshold(mgr, 8 - iSlot);
    mgr.addDropPaths({QUrl::fromLocalFile(s_strPhotos)});
    QSignalSpy scanSpy(&mgr, &CDupPicsMgr::sigScanComplete);
    mgr.collectDupFiles();
    if (!QTest::qWaitFor([&] { return scanSpy.count() > 0 && idle(mgr); }, 3600 * 1000)) {
        state.SkipWithError("the scan timed out");
        return;
    }
    for (auto _ : state) {
        setThreshold(mgr, iSlot);
        if (!timed(state, mgr, &CDupPicsMgr::sigRefreshComplete, [&] { mgr.refreshSimilarSlot(); }, 600))
            return;
    }
    state.counters["groups"] = double(mgr.groupOrder().size());
    QElapsedTimer timer;
    timer.start();
    QSignalSpy countSpy(&mgr, &CDupPicsMgr::sigCheckedItemCountChanged);
    mgr.doAllMark();
    if (QTest::qWaitFor([&] { return countSpy.count() > 0 && idle(mgr); }, 600 * 1000)) {
        state.counters["mark_all_ms"] = double(timer.elapsed());
        state.counters["marked"] = mgr.checkedItemCount();
    }
}
BENCHMARK(BM_Regroup)->Arg(2)->Arg(6)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir home;
    QTemporaryDir tempPhotos;
    qputenv("XDG_CACHE_HOME", home.filePath("cache").toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    // Test mode still points the data folder into the real home.
    qputenv("MIRELLE_DECISIONS_DB", home.filePath("decisions.sqlite").toUtf8());
    s_iCount = qEnvironmentVariableIntValue("BENCH_PHOTOS");
    if (s_iCount <= 0)
        s_iCount = 100000;
    s_strPhotos = qEnvironmentVariableIsSet("BENCH_DIR") ? qEnvironmentVariable("BENCH_DIR") : tempPhotos.path();
    QDir().mkpath(s_strPhotos);
    QElapsedTimer timer;
    timer.start();
    if (!makePhotos(s_strPhotos, s_iCount))
        return 1;
    benchmark::AddCustomContext("photos", QStringLiteral("%1 of %2x%3, made in %4 ms")
                                              .arg(s_iCount).arg(kWidth).arg(kHeight).arg(timer.elapsed()).toStdString());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
