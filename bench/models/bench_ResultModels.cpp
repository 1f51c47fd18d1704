// The screens' per-page paths over 100,000 photos in 20,000 groups: paging the groups
// and a large group's strip, mark toggles, the automatic marks and the totals.
#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"
#include "CGroupSortFilterProxyModel.h"
#include "CNodeItemModel.h"
#include "CPhotosItemModel.h"
#include "CPhotosSortFilterProxyModel.h"
#include "CScanReplay.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

#include <time.h>

namespace {

constexpr int kGroups = 20000;
constexpr int kPhotos = 100000;
constexpr int kSmallGroupSize = 4;
// One large group gets what the small ones leave, so that the photo strip has many pages.
constexpr int kLargeGroupSize = kPhotos - (kGroups - 1) * kSmallGroupSize;

// CPU time of the calling thread: wall time misleads on a machine busy with other work.
qint64 threadCpuMicroseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

CDupPicsMgr *s_pMgr = nullptr;
CScanReplay *s_pReplay = nullptr;
CPhotosSortFilterProxyModel *s_pLarge = nullptr;

CGroupSortFilterProxyModel *groupProxy()
{
    return static_cast<CGroupSortFilterProxyModel *>(s_pMgr->model());
}

bool settled()
{
    if (!QTest::qWaitFor([] { return s_pReplay->isIdle(); }, 600000))
        return false;
    QCoreApplication::sendPostedEvents();
    return true;
}

// Scroll one page further and read what the six delegates show: the figures, the
// group's strip and its caption. Strips are made on first sight, as the screen does.
void BM_GroupPageChange(benchmark::State &state)
{
    // The scan worker starts the refresh of what is in view; there is no scan here.
    s_pMgr->StartThumbRefresh();
    int iPos = 0;
    for (auto _ : state) {
        iPos = (iPos + CGroupSortFilterProxyModel::kGroupPageSize) % kGroups;
        groupProxy()->setCurrentShowPosition(iPos);
        benchmark::DoNotOptimize(groupProxy()->getCurrentShowGroup());
        for (int row = iPos; row < std::min(iPos + CGroupSortFilterProxyModel::kGroupPageSize, kGroups); ++row) {
            const QModelIndex idx = groupProxy()->index(row, 0);
            benchmark::DoNotOptimize(idx.data(CNodeItemModel::PhotosNumberRole).toMap());
            QObject *pStrip = s_pMgr->getPhotosModelByCreate(idx.data(CNodeItemModel::PhotosModelRole));
            benchmark::DoNotOptimize(groupProxy()->getGroupInfo(qobject_cast<QAbstractItemModel *>(pStrip)));
        }
    }
    s_pMgr->StopThumbRefresh();
}
BENCHMARK(BM_GroupPageChange)->Unit(benchmark::kMicrosecond);

// Scroll the large group's strip one page further and read every role of its 16 photos.
void BM_PhotoPageChange(benchmark::State &state)
{
    int iPos = 0;
    for (auto _ : state) {
        iPos = (iPos + CPhotosSortFilterProxyModel::kPhotoPageSize) % kLargeGroupSize;
        s_pLarge->setCurrentShowPosition(iPos);
        benchmark::DoNotOptimize(s_pLarge->getCurrentShowPhotos());
        for (int row = iPos; row < std::min(iPos + CPhotosSortFilterProxyModel::kPhotoPageSize, kLargeGroupSize); ++row) {
            const QModelIndex idx = s_pLarge->index(row, 0);
            for (int role = CPhotosItemModel::PhotosTypeRole; role <= CPhotosItemModel::PhotosStateRole; ++role)
                benchmark::DoNotOptimize(idx.data(role));
        }
    }
}
BENCHMARK(BM_PhotoPageChange)->Unit(benchmark::kMicrosecond);

// The desktop's mark toggle on one photo of the large group: read, request, notify;
// the counter is how long the worker takes afterwards (find the photo, recount once).
void BM_MarkToggle(benchmark::State &state)
{
    int row = 0;
    for (auto _ : state) {
        row = (row + 1) % kLargeGroupSize;
        s_pLarge->setCheckStateByDesktop(row);
    }
    QElapsedTimer timer;
    timer.start();
    if (!settled())
        state.SkipWithError("the worker did not settle");
    state.counters["worker_ms_after"] = double(timer.elapsed());
}
BENCHMARK(BM_MarkToggle)->Unit(benchmark::kMicrosecond);

// The automatic rule over every group, then the recount of the checked totals, as the
// operation worker runs it (called here directly: the worker is idle).
void BM_AutoMarkAllAndTotals(benchmark::State &state)
{
    const qint64 iCpuStart = threadCpuMicroseconds();
    for (auto _ : state)
        s_pMgr->runOperateTask({TaskMarkAll, nullptr});
    state.counters["cpu_ms_per_run"] = double(threadCpuMicroseconds() - iCpuStart) / 1000.0 / double(state.iterations());
    state.counters["marked"] = s_pMgr->checkedItemCount();
    QElapsedTimer timer;
    timer.start();
    s_pMgr->runOperateTask({TaskClearAllMarks, nullptr});
    state.counters["clear_all_ms"] = double(timer.elapsed());
    if (s_pMgr->checkedItemCount() != 0)
        state.SkipWithError("marks left after clearing");
}
BENCHMARK(BM_AutoMarkAllAndTotals)->Unit(benchmark::kMillisecond);

// What the screens read back after every change of the marks.
void BM_CheckedTotalsReadBack(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(s_pMgr->checkedItemCount());
        benchmark::DoNotOptimize(s_pMgr->checkedFileSize());
        benchmark::DoNotOptimize(s_pMgr->fullyMarkedGroupCount());
    }
}
BENCHMARK(BM_CheckedTotalsReadBack);

// A mark written at once into the records and the marked-file table.
void BM_ImmediateMark(benchmark::State &state)
{
    auto *pModel = qobject_cast<CPhotosItemModel *>(s_pLarge->sourceModel());
    int row = 0;
    bool bState = true;
    for (auto _ : state) {
        row = (row + 1) % kLargeGroupSize;
        bState = row % 2 == 0 ? !bState : bState;
        pModel->setCheckState(row, bState);
    }
}
BENCHMARK(BM_ImmediateMark)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir envDir;
    QTemporaryDir dir;
    CScanReplay::isolate(envDir.path());
    auto pMgr = std::make_unique<CDupPicsMgr>();
    auto pReplay = std::make_unique<CScanReplay>(pMgr.get(), dir.path());
    s_pMgr = pMgr.get();
    s_pReplay = pReplay.get();

    QElapsedTimer timer;
    timer.start();
    const quint64 largeKey = pReplay->create(QStringLiteral("large-0.jpg")).fileId;
    for (int i = 1; i < kLargeGroupSize; ++i)
        pReplay->join(QStringLiteral("large-%1.jpg").arg(i), largeKey, 0, 1000 + i);
    for (int g = 1; g < kGroups; ++g) {
        const quint64 key = pReplay->create(QStringLiteral("g%1-0.jpg").arg(g)).fileId;
        for (int i = 1; i < kSmallGroupSize; ++i)
            pReplay->join(QStringLiteral("g%1-%2.jpg").arg(g).arg(i), key, i == 2 ? PhotoFlag_Hidden : 0);
    }
    if (!settled() || groupProxy()->rowCount() != kGroups)
        return 1;
    benchmark::AddCustomContext("filing", QStringLiteral("%1 photos in %2 groups: %3 ms").arg(kPhotos).arg(kGroups)
                                              .arg(timer.elapsed()).toStdString());
    timer.restart();
    s_pLarge = qobject_cast<CPhotosSortFilterProxyModel *>(pMgr->getPhotosModelByCreate(QVariant::fromValue(largeKey)));
    if (!s_pLarge || s_pLarge->rowCount() != kLargeGroupSize)
        return 1;
    benchmark::AddCustomContext("large group", QStringLiteral("photo model of %1 photos made in %2 ms")
                                                   .arg(kLargeGroupSize).arg(timer.elapsed()).toStdString());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    pMgr.reset();
    return 0;
}
