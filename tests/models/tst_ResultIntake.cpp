#include "CDupPicsMgr.h"
#include "CGroupSortFilterProxyModel.h"
#include "CNodeItemModel.h"
#include "CPhotosItemModel.h"
#include "CPhotosSortFilterProxyModel.h"
#include "CScanReplay.h"

#include <QAbstractItemModelTester>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QRegularExpression kTrace(QStringLiteral("^error! file:.+ func:.+ line:\\d+$"));

} // namespace

class TestResultIntake : public QObject
{
    Q_OBJECT

private:
    CGroupSortFilterProxyModel *groupProxy() const { return static_cast<CGroupSortFilterProxyModel *>(m_pMgr->model()); }
    void watch(QAbstractItemModel *pModel)
    {
        m_listTesters.emplace_back(
            std::make_unique<QAbstractItemModelTester>(pModel, QAbstractItemModelTester::FailureReportingMode::QtTest));
    }
    CPhotosSortFilterProxyModel *openStrip(quint64 key)
    {
        auto *pProxy = qobject_cast<CPhotosSortFilterProxyModel *>(m_pMgr->getPhotosModelByCreate(QVariant::fromValue(key)));
        if (pProxy) {
            watch(pProxy);
            watch(pProxy->sourceModel());
        }
        return pProxy;
    }

    QTemporaryDir m_envDir;
    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CDupPicsMgr> m_pMgr;
    std::unique_ptr<CScanReplay> m_pReplay;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_listTesters;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_envDir.isValid());
        CScanReplay::isolate(m_envDir.path());
    }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        m_pMgr = std::make_unique<CDupPicsMgr>();
        m_pReplay = std::make_unique<CScanReplay>(m_pMgr.get(), m_pDir->path());
        watch(m_pMgr->groupModel());
        watch(groupProxy());
    }

    void cleanup()
    {
        m_listTesters.clear();
        m_pMgr.reset();
        m_pReplay.reset();
        m_pDir.reset();
    }

    void testModelsFollowAReplayedScan()
    {
        // Given strips opened on the first group and on one that will be merged away
        const PhotoRecord &first = m_pReplay->create(QStringLiteral("first.jpg"));
        const PhotoRecord &doomed = m_pReplay->create(QStringLiteral("doomed.jpg"));
        m_pReplay->join(QStringLiteral("doomed-1.jpg"), doomed.fileId);
        DP_SETTLE(*m_pReplay);
        CPhotosSortFilterProxyModel *pFirst = openStrip(first.fileId);
        CPhotosSortFilterProxyModel *pDoomed = openStrip(doomed.fileId);
        QVERIFY(pFirst && pDoomed);

        // When a scan reports groups, joins, hidden files and merges while the screens read
        QList<quint64> listShown{first.fileId};
        CPhotosSortFilterProxyModel *pMidway = nullptr;
        for (int g = 0; g < 30; ++g) {
            const uint8_t flags = g % 7 == 3 ? PhotoFlag_Hidden : 0;
            const quint64 key = m_pReplay->create(QStringLiteral("g%1.jpg").arg(g), flags).fileId;
            for (int j = 0; j < g % 4; ++j)
                m_pReplay->join(QStringLiteral("g%1-%2.jpg").arg(g).arg(j), key, j == 1 ? PhotoFlag_Hidden : 0);
            m_pReplay->join(QStringLiteral("first-%1.jpg").arg(g), first.fileId);
            if (flags == 0 || g % 4 >= 1)
                listShown << key;
            if (g == 15) {
                // A strip opened while the worker is still filing the group
                pMidway = openStrip(key);
            }
            QCoreApplication::processEvents();
        }
        m_pReplay->merge(doomed, first);
        DP_SETTLE(*m_pReplay);

        // Then every group has a row, the shown ones in the list in the order they were found
        QCOMPARE(m_pMgr->groupModel()->rowCount(), 32);
        QCOMPARE(groupProxy()->rowCount(), listShown.size());
        for (int row = 0; row < listShown.size(); ++row)
            QCOMPARE(groupProxy()->index(row, 0).data(CNodeItemModel::PhotosModelRole).toULongLong(), listShown.at(row));
        // And the strips follow their groups: grown, emptied, or built during filing
        QCOMPARE(pFirst->rowCount(), 1 + 30 + 2);
        QCOMPARE(pDoomed->rowCount(), 0);
        QVERIFY(!pDoomed->sourceModel()->index(1, 0).data(CPhotosItemModel::PhotosFilePathRole).isValid());
        QVERIFY(pDoomed->getCurrentShowPhotos().isEmpty());
        QVERIFY(pMidway);
        QCOMPARE(pMidway->sourceModel()->rowCount(), 1 + 15 % 4);
        QCOMPARE(pMidway->rowCount(), 1 + 15 % 4 - 1);
    }

    void testResetDropsRowsAndStrips_data()
    {
        QTest::addColumn<bool>("fromWorker");
        QTest::newRow("from the screens") << false;
        QTest::newRow("from a regroup worker") << true;
    }

    void testResetDropsRowsAndStrips()
    {
        QFETCH(bool, fromWorker);
        // Given a group with its strip open
        const quint64 key = m_pReplay->create(QStringLiteral("a.jpg")).fileId;
        m_pReplay->join(QStringLiteral("b.jpg"), key);
        DP_SETTLE(*m_pReplay);
        QVERIFY(!m_pMgr->getPhotosModelNoCreate(QVariant::fromValue(key)));
        QPointer<QObject> pStrip = m_pMgr->getPhotosModelByCreate(QVariant::fromValue(key));
        // Made once per group: the screens hold on to it.
        QCOMPARE(m_pMgr->getPhotosModelByCreate(QVariant::fromValue(key)), pStrip.data());
        QCOMPARE(m_pMgr->getPhotosModelNoCreate(QVariant::fromValue(key)),
                 qobject_cast<QSortFilterProxyModel *>(pStrip.data())->sourceModel());
        QSignalSpy reset(groupProxy(), &QAbstractItemModel::modelReset);
        // When the results are reset
        if (fromWorker) {
            std::unique_ptr<QThread> pWorker(QThread::create([this] { m_pMgr->resetModel(); }));
            pWorker->start();
            QVERIFY(pWorker->wait(10000));
        } else {
            m_pMgr->resetModel();
        }
        // Then the list empties on the GUI thread and the strips go
        QTRY_COMPARE(reset.count(), 1);
        QCOMPARE(groupProxy()->rowCount(), 0);
        QVERIFY(!m_pMgr->getPhotosModelNoCreate(QVariant::fromValue(key)));
        QTRY_VERIFY(pStrip.isNull());
        // And a new scan fills it again
        m_pReplay->create(QStringLiteral("c.jpg"));
        DP_SETTLE(*m_pReplay);
        QCOMPARE(groupProxy()->rowCount(), 1);
    }

    // Each call with a key that names no group says so in a trace line and changes nothing.
    void testBadGroupKeyChangesNothing()
    {
        const quint64 key = m_pReplay->create(QStringLiteral("a.jpg")).fileId;
        DP_SETTLE(*m_pReplay);
        QVERIFY(m_pMgr->getPhotosModelByCreate(QVariant::fromValue(key)));
        auto *pPhotos = qobject_cast<QAbstractItemModel *>(m_pMgr->getPhotosModelNoCreate(QVariant::fromValue(key)));
        QSignalSpy groupsChanged(m_pMgr->groupModel(), &QAbstractItemModel::dataChanged);
        QSignalSpy groupsInserted(m_pMgr->groupModel(), &QAbstractItemModel::rowsInserted);
        QSignalSpy photosInserted(pPhotos, &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 5; ++i)
            QTest::ignoreMessage(QtDebugMsg, kTrace);
        const QString path = m_pDir->path() + QStringLiteral("/a.jpg");
        QVERIFY(!m_pMgr->getPhotosModelByCreate(QVariant()));
        m_pMgr->slotRefreshImgItem(QVariant(), path);
        m_pMgr->slotDelImgGroup(QVariant(), {path});
        m_pMgr->slotDelOneImg(QVariant(), path);
        m_pMgr->slotRefreshGroupHeader(QVariant());
        QCOMPARE(groupsChanged.count(), 0);
        QCOMPARE(groupsInserted.count(), 0);
        QCOMPARE(photosInserted.count(), 0);
        QCOMPARE(m_pMgr->groupModel()->rowCount(), 1);
    }
};

QTEST_MAIN(TestResultIntake)
#include "tst_ResultIntake.moc"
