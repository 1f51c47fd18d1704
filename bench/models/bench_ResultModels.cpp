#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"
#include "CGroupSortFilterProxyModel.h"
#include "CNodeItemModel.h"
#include "CPhotosItemModel.h"
#include "CPhotosSortFilterProxyModel.h"
#include "CScanReplay.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

// The screens' per-page paths over 100,000 photos in 20,000 groups.
class BenchResultModels : public QObject
{
    Q_OBJECT

private:
    CGroupSortFilterProxyModel *groupProxy() const { return static_cast<CGroupSortFilterProxyModel *>(m_pMgr->model()); }

    QTemporaryDir m_envDir;
    QTemporaryDir m_dir;
    std::unique_ptr<CDupPicsMgr> m_pMgr;
    std::unique_ptr<CScanReplay> m_pReplay;
    quint64 m_largeKey = 0;
    CPhotosSortFilterProxyModel *m_pLarge = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_envDir.isValid() && m_dir.isValid());
        CScanReplay::isolate(m_envDir.path());
        m_pMgr = std::make_unique<CDupPicsMgr>();
        m_pReplay = std::make_unique<CScanReplay>(m_pMgr.get(), m_dir.path());

        QElapsedTimer timer;
        timer.start();
        m_largeKey = m_pReplay->create(QStringLiteral("large-0.jpg")).fileId;
        for (int i = 1; i < kLargeGroupSize; ++i)
            m_pReplay->join(QStringLiteral("large-%1.jpg").arg(i), m_largeKey, 0, 1000 + i);
        for (int g = 1; g < kGroups; ++g) {
            const quint64 key = m_pReplay->create(QStringLiteral("g%1-0.jpg").arg(g)).fileId;
            for (int i = 1; i < kSmallGroupSize; ++i)
                m_pReplay->join(QStringLiteral("g%1-%2.jpg").arg(g).arg(i), key, i == 2 ? PhotoFlag_Hidden : 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_pReplay->isIdle(), 600000);
        QCoreApplication::sendPostedEvents();
        qInfo("filed %d photos in %d groups: %lld ms", kPhotos, kGroups, timer.elapsed());
        QCOMPARE(groupProxy()->rowCount(), kGroups);

        timer.restart();
        m_pLarge = qobject_cast<CPhotosSortFilterProxyModel *>(
            m_pMgr->getPhotosModelByCreate(QVariant::fromValue(m_largeKey)));
        QVERIFY(m_pLarge);
        QCOMPARE(m_pLarge->rowCount(), kLargeGroupSize);
        qInfo("photo model of a %d-photo group made in %lld ms", kLargeGroupSize, timer.elapsed());
    }

    void cleanupTestCase()
    {
        m_pMgr.reset();
    }

    // Scroll one page further and read what the six delegates show: the figures, the
    // group's strip and its caption. Strips are made on first sight, as the screen does.
    void benchGroupPageChange()
    {
        // The scan worker starts the refresh of what is in view; there is no scan here.
        m_pMgr->StartThumbRefresh();
        int iPos = 0;
        QBENCHMARK {
            iPos = (iPos + CGroupSortFilterProxyModel::kGroupPageSize) % kGroups;
            groupProxy()->setCurrentShowPosition(iPos);
            const QList<void *> window = groupProxy()->getCurrentShowGroup();
            QVERIFY(!window.isEmpty());
            for (int row = iPos; row < std::min(iPos + CGroupSortFilterProxyModel::kGroupPageSize, kGroups); ++row) {
                const QModelIndex idx = groupProxy()->index(row, 0);
                const QVariantMap figures = idx.data(CNodeItemModel::PhotosNumberRole).toMap();
                QVERIFY(!figures.isEmpty());
                QObject *pStrip = m_pMgr->getPhotosModelByCreate(idx.data(CNodeItemModel::PhotosModelRole));
                QVERIFY(!groupProxy()->getGroupInfo(qobject_cast<QAbstractItemModel *>(pStrip)).isEmpty());
            }
        }
        m_pMgr->StopThumbRefresh();
    }

    // Scroll the large group's strip one page further and read every role of its 16 photos.
    void benchPhotoPageChange()
    {
        int iPos = 0;
        QBENCHMARK {
            iPos = (iPos + CPhotosSortFilterProxyModel::kPhotoPageSize) % kLargeGroupSize;
            m_pLarge->setCurrentShowPosition(iPos);
            QVERIFY(!m_pLarge->getCurrentShowPhotos().isEmpty());
            for (int row = iPos; row < std::min(iPos + CPhotosSortFilterProxyModel::kPhotoPageSize, kLargeGroupSize); ++row) {
                const QModelIndex idx = m_pLarge->index(row, 0);
                for (int role = CPhotosItemModel::PhotosTypeRole; role <= CPhotosItemModel::PhotosStateRole; ++role)
                    QVERIFY(idx.data(role).isValid());
            }
        }
    }

    // The desktop's mark toggle on one photo of the large group: read, request, notify.
    void benchMarkToggle()
    {
        int row = 0;
        QBENCHMARK {
            row = (row + 1) % kLargeGroupSize;
            m_pLarge->setCheckStateByDesktop(row);
        }
        // The worker's side of the toggles: find the photo, recount the totals once.
        QElapsedTimer timer;
        timer.start();
        QTRY_VERIFY_WITH_TIMEOUT(m_pReplay->isIdle(), 600000);
        qInfo("worker done with the toggles %lld ms later", timer.elapsed());
    }

    // The automatic rule over every group, then the recount of the checked totals, as the
    // operation worker runs it (called here directly: the worker is idle).
    void benchAutoMarkAllAndTotals()
    {
        const qint64 iCpuStart = threadCpuMicroseconds();
        int iRuns = 0;
        QBENCHMARK {
            m_pMgr->runOperateTask({TaskMarkAll, nullptr});
            ++iRuns;
        }
        qInfo("auto-mark all + totals: %lld ms of CPU per run, %d marked", (threadCpuMicroseconds() - iCpuStart) / 1000 / iRuns,
              m_pMgr->checkedItemCount());
        QVERIFY(m_pMgr->checkedItemCount() > 0);
        QElapsedTimer timer;
        timer.start();
        m_pMgr->runOperateTask({TaskClearAllMarks, nullptr});
        qInfo("clearing every mark: %lld ms", timer.elapsed());
        QCOMPARE(m_pMgr->checkedItemCount(), 0);
    }

    // What the screens read back after every change of the marks.
    void benchCheckedTotalsReadBack()
    {
        QBENCHMARK {
            QVERIFY(m_pMgr->checkedItemCount() >= 0);
            QVERIFY(m_pMgr->checkedFileSize() >= 0);
            QVERIFY(m_pMgr->fullyMarkedGroupCount() >= 0);
        }
    }

    // A mark written at once into the records and the marked-file table.
    void benchImmediateMark()
    {
        auto *pModel = qobject_cast<CPhotosItemModel *>(m_pLarge->sourceModel());
        int row = 0;
        bool bState = true;
        QBENCHMARK {
            row = (row + 1) % kLargeGroupSize;
            bState = row % 2 == 0 ? !bState : bState;
            pModel->setCheckState(row, bState);
        }
    }
};

QTEST_MAIN(BenchResultModels)
#include "bench_ResultModels.moc"
