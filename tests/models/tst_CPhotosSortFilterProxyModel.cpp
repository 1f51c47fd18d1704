#include "CDupPicsMgr.h"
#include "CPhotosItemModel.h"
#include "CPhotosSortFilterProxyModel.h"
#include "CScanReplay.h"
#include "ThumbForge.h"

#include <QAbstractItemModelTester>
#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QRegularExpression kTrace(QStringLiteral("^error! file:.+ func:.+ line:\\d+$"));

} // namespace

class TestPhotosSortFilterProxyModel : public QObject
{
    Q_OBJECT

private:
    // Files one group: visible photos p0.. then hidden photos h0..; returns its key.
    quint64 fileGroup(int iVisible, int iHidden = 0, uint8_t lastFlags = 0)
    {
        QList<QPair<QString, uint8_t>> list;
        for (int i = 0; i < iVisible; ++i)
            list << qMakePair(QStringLiteral("p%1.jpg").arg(i), uint8_t(0));
        for (int i = 0; i < iHidden; ++i)
            list << qMakePair(QStringLiteral("h%1.jpg").arg(i), uint8_t(PhotoFlag_Hidden));
        if (lastFlags && !list.isEmpty())
            list.last().second = lastFlags;
        quint64 key = 0;
        for (const auto &entry : qAsConst(list)) {
            if (key == 0)
                key = m_pReplay->create(entry.first, entry.second).fileId;
            else
                m_pReplay->join(entry.first, key, entry.second, 2048);
        }
        return key;
    }
    // The group's photo proxy and model, both under a model tester.
    CPhotosSortFilterProxyModel *open(quint64 key)
    {
        auto *pProxy = qobject_cast<CPhotosSortFilterProxyModel *>(m_pMgr->getPhotosModelByCreate(QVariant::fromValue(key)));
        if (!pProxy)
            return nullptr;
        m_listTesters.emplace_back(std::make_unique<QAbstractItemModelTester>(
            pProxy, QAbstractItemModelTester::FailureReportingMode::QtTest));
        m_listTesters.emplace_back(std::make_unique<QAbstractItemModelTester>(
            pProxy->sourceModel(), QAbstractItemModelTester::FailureReportingMode::QtTest));
        return pProxy;
    }
    CPhotosItemModel *photosOf(quint64 key) const
    {
        return qobject_cast<CPhotosItemModel *>(m_pMgr->getPhotosModelNoCreate(QVariant::fromValue(key)));
    }
    QString pathOf(const QString &strName) const { return m_pDir->path() + QLatin1Char('/') + strName; }

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
        // The thumbnail states and row changes here are the model's own, not the library's.
        CImgThumbManager::GetInstance()->Stop();
        m_pReplay = std::make_unique<CScanReplay>(m_pMgr.get(), m_pDir->path());
    }

    void cleanup()
    {
        m_listTesters.clear();
        m_pMgr.reset();
        m_pReplay.reset();
        m_pDir.reset();
    }

    void testRolesOfPhoto_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("marked");
        QTest::newRow("plain") << 0 << true << false;
        QTest::newRow("hidden") << int(PhotoFlag_Hidden) << false << false;
        QTest::newRow("preferred") << int(PhotoFlag_Preferred) << true << false;
        QTest::newRow("marked") << int(PhotoFlag_Marked) << true << true;
        QTest::newRow("burst") << int(PhotoFlag_Burst) << true << false;
    }

    void testRolesOfPhoto()
    {
        QFETCH(int, flags);
        QFETCH(bool, shown);
        QFETCH(bool, marked);
        // Given a group whose second photo carries the flags
        const quint64 key = m_pReplay->create(QStringLiteral("a.jpg")).fileId;
        m_pReplay->join(QStringLiteral("b.JPEG"), key, uint8_t(flags), 2048);
        DP_SETTLE(*m_pReplay);
        CPhotosSortFilterProxyModel *pProxy = open(key);
        QVERIFY(pProxy);
        CPhotosItemModel *pModel = photosOf(key);
        // Then the model has a row for it and the strip only when it is not hidden
        QCOMPARE(pModel->rowCount(), 2);
        QCOMPARE(pProxy->rowCount(), shown ? 2 : 1);
        // And each role reads the record
        const QModelIndex idx = pModel->index(1, 0);
        const QString path = pathOf(QStringLiteral("b.JPEG"));
        const QString id = QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha512).toHex());
        QCOMPARE(idx.data(CPhotosItemModel::PhotosTypeRole).toString(), QStringLiteral(".JPEG"));
        QCOMPARE(idx.data(CPhotosItemModel::PhotosPathRole).toString(), QStringLiteral("image://thumbProvider/") + id);
        QCOMPARE(idx.data(CPhotosItemModel::PhotosCheckRole).toBool(), marked);
        QCOMPARE(idx.data(CPhotosItemModel::PhotosDataTimeRole).toString(), QStringLiteral("2021-03-04 05:06:07"));
        QCOMPARE(idx.data(CPhotosItemModel::PhotosWidthRole), QVariant(640));
        QCOMPARE(idx.data(CPhotosItemModel::PhotosHeightRole), QVariant(480));
        QCOMPARE(idx.data(CPhotosItemModel::PhotosFileNameRole).toString(), QStringLiteral("b.JPEG"));
        QCOMPARE(idx.data(CPhotosItemModel::PhotosFilePathRole).toString(), path);
        QCOMPARE(idx.data(CPhotosItemModel::PhotosSizeRole), QVariant::fromValue<quint64>(2048));
        QCOMPARE(idx.data(CPhotosItemModel::PhotosDefinitionRole).toDouble(), 5.0);
        QCOMPARE(idx.data(CPhotosItemModel::PhotosMaxPathRole).toString(), QStringLiteral("image://maxThumbProvider/") + id);
        QCOMPARE(idx.data(CPhotosItemModel::PhotosAbsolutePathRole).toString(), m_pDir->path() + QLatin1Char('/'));
        QCOMPARE(idx.data(CPhotosItemModel::PhotosStateRole), QVariant(int(CPhotosItemModel::ThumbState_None)));
        QVERIFY(!idx.data(Qt::UserRole).isValid());
        QCOMPARE(idx.data(CPhotosItemModel::PhotosBurstRole).toBool(), bool(flags & PhotoFlag_Burst));
        QCOMPARE(idx.data(CPhotosItemModel::PhotosSimilarityRole), QVariant(100));
        QVERIFY(!idx.data(CPhotosItemModel::PhotosSimilarityRole + 1).isValid());
    }

    void testPathTexts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::newRow("suffix upper-cased") << "/a/b.jpeg" << ".JPEG" << "b.jpeg" << "/a/";
        QTest::newRow("last dot wins") << "/a/b.tar.heic" << ".HEIC" << "b.tar.heic" << "/a/";
        QTest::newRow("no suffix") << "/a/noext" << "" << "noext" << "/a/";
        QTest::newRow("unicode") << QStringLiteral("/fotos/\u00e9t\u00e9.png") << ".PNG" << QStringLiteral("\u00e9t\u00e9.png") << "/fotos/";
        QTest::newRow("no path") << "" << "" << "" << "";
    }

    void testPathTexts()
    {
        QFETCH(QString, path);
        QFETCH(QString, type);
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QCOMPARE(CPhotosItemModel::typeOfPath(path), type);
        QCOMPARE(CPhotosItemModel::fileNameOfPath(path), name);
        QCOMPARE(CPhotosItemModel::folderOfPath(path), folder);
    }

    void testWindowAroundPosition_data()
    {
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("hidden");
        QTest::addColumn<double>("position");
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("only hidden photos") << 0 << 2 << 0.0 << QList<int>{} << QList<int>{};
        QTest::newRow("five at the start") << 5 << 0 << 0.0 << QList<int>{0} << QList<int>{0, 1, 2, 3, 4};
        QList<int> page;
        for (int i = 0; i < 16; ++i)
            page << i;
        QTest::newRow("exactly one page") << 16 << 0 << 15.0 << page << QList<int>{15};
        QTest::newRow("one more than a page") << 17 << 0 << 16.0 << page.mid(1) + QList<int>{16} << QList<int>{16};
        QTest::newRow("hidden photos skipped") << 3 << 2 << 1.0 << QList<int>{0, 1} << QList<int>{1, 2};
    }

    void testWindowAroundPosition()
    {
        QFETCH(int, visible);
        QFETCH(int, hidden);
        QFETCH(double, position);
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, after);
        const quint64 key = fileGroup(visible, hidden);
        DP_SETTLE(*m_pReplay);
        CPhotosSortFilterProxyModel *pProxy = open(key);
        QVERIFY(pProxy);
        QCOMPARE(pProxy->rowCount(), visible);
        pProxy->setCurrentShowPosition(position);
        QStringList expected;
        for (int i : before + after)
            expected << pathOf(QStringLiteral("p%1.jpg").arg(i));
        QCOMPARE(pProxy->getCurrentShowPhotos(), expected);
        // A forced re-read keeps rows and window
        pProxy->refresh();
        QCOMPARE(pProxy->rowCount(), visible);
        QCOMPARE(pProxy->getCurrentShowPhotos(), expected);
    }

    void testPositionSignalsOnlyOnChange()
    {
        const quint64 key = fileGroup(3);
        DP_SETTLE(*m_pReplay);
        CPhotosSortFilterProxyModel *pProxy = open(key);
        QSignalSpy spy(pProxy, &CPhotosSortFilterProxyModel::sigPhotosShowPosChanged);
        pProxy->setCurrentShowPosition(2.7);
        pProxy->setCurrentShowPosition(2.7);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(pProxy->currentShowPosition(), 2);
    }

    void testQueuedMarkLeavesRecordUntilItRuns()
    {
        // Given a strip of two photos
        const quint64 key = fileGroup(2);
        DP_SETTLE(*m_pReplay);
        CPhotosSortFilterProxyModel *pProxy = open(key);
        QSignalSpy markInfo(pProxy, &CPhotosSortFilterProxyModel::sigRefreshMarkInfo);
        QSignalSpy changed(pProxy, &QAbstractItemModel::dataChanged);
        // When the desktop toggles the first photo
        pProxy->setCheckStateByDesktop(0);
        // Then the mark is only requested: the record and the row are as they were
        QCOMPARE(pProxy->getCheckState(0), false);
        QCOMPARE(markInfo.count(), 1);
        QCOMPARE(changed.count(), 0);
        // And other roles or empty values are not taken
        QVERIFY(!pProxy->setData(pProxy->index(0, 0), true, CPhotosItemModel::PhotosWidthRole));
        QVERIFY(!pProxy->setData(pProxy->index(0, 0), QVariant(), CPhotosItemModel::PhotosCheckRole));
        QVERIFY(pProxy->setData(pProxy->index(0, 0), true, CPhotosItemModel::PhotosCheckRole));
    }

    void testImmediateMark_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("first photo") << 0 << true;
        QTest::newRow("hidden photo still a row") << 2 << true;
        QTest::newRow("row past the end") << 3 << false;
        QTest::newRow("negative row") << -1 << false;
    }

    void testImmediateMark()
    {
        QFETCH(int, row);
        QFETCH(bool, accepted);
        const quint64 key = fileGroup(2, 1);
        DP_SETTLE(*m_pReplay);
        QVERIFY(open(key));
        CPhotosItemModel *pModel = photosOf(key);
        QSignalSpy counted(m_pMgr.get(), &CDupPicsMgr::sigCheckedItemCountChanged);
        if (!accepted)
            QTest::ignoreMessage(QtDebugMsg, kTrace);
        pModel->setCheckState(row, true);
        QCOMPARE(counted.count(), accepted ? 1 : 0);
        if (accepted)
            QCOMPARE(pModel->index(row, 0).data(CPhotosItemModel::PhotosCheckRole).toBool(), true);
    }

    void testThumbnailResult_data()
    {
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("state");
        QTest::newRow("failed thumbnail") << false << int(CPhotosItemModel::ThumbState_Failed);
        QTest::newRow("made thumbnail keeps the state") << true << int(CPhotosItemModel::ThumbState_None);
    }

    void testThumbnailResult()
    {
        QFETCH(bool, result);
        QFETCH(int, state);
        const quint64 key = fileGroup(3);
        DP_SETTLE(*m_pReplay);
        QVERIFY(open(key));
        CPhotosItemModel *pModel = photosOf(key);
        QSignalSpy changed(pModel, &QAbstractItemModel::dataChanged);
        pModel->slotRefreshThumb(pathOf(QStringLiteral("p1.jpg")), result);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 1);
        QCOMPARE(changed.at(0).at(1).toModelIndex().row(), 1);
        QCOMPARE(pModel->index(1, 0).data(CPhotosItemModel::PhotosStateRole).toInt(), state);
        // A path the group does not hold changes nothing
        QTest::ignoreMessage(QtDebugMsg, kTrace);
        pModel->slotRefreshThumb(pathOf(QStringLiteral("elsewhere.jpg")), false);
        QCOMPARE(changed.count(), 1);
    }

    void testDeleteOnePhoto_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("emitted");
        QTest::newRow("last row") << 1 << true;
        QTest::newRow("row count") << 2 << false;
        QTest::newRow("negative") << -1 << false;
    }

    void testDeleteOnePhoto()
    {
        QFETCH(int, row);
        QFETCH(bool, emitted);
        const quint64 key = fileGroup(2);
        DP_SETTLE(*m_pReplay);
        CPhotosSortFilterProxyModel *pProxy = open(key);
        QSignalSpy spy(pProxy, &CPhotosSortFilterProxyModel::sigDeleteOnePhotos);
        if (!emitted)
            QTest::ignoreMessage(QtDebugMsg, kTrace);
        pProxy->deleteOnePhotos(row);
        QCOMPARE(spy.count(), emitted ? 1 : 0);
        if (emitted) {
            QCOMPARE(spy.at(0).at(0).toULongLong(), key);
            QCOMPARE(spy.at(0).at(1).toString(), pathOf(QStringLiteral("p1.jpg")));
        }
    }

    void testSizeOutOfRangeIsEmpty()
    {
        const quint64 key = fileGroup(1);
        DP_SETTLE(*m_pReplay);
        CPhotosSortFilterProxyModel *pProxy = open(key);
        QCOMPARE(pProxy->getPhotosWidth(0), QVariant(640));
        QTest::ignoreMessage(QtDebugMsg, kTrace);
        QVERIFY(!pProxy->getPhotosHeight(1).isValid());
    }

    void testLargeImageDetails_data()
    {
        QTest::addColumn<QVariantMap>("meta");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("entries");
        QTest::newRow("no metadata") << QVariantMap() << true << 4;
        QTest::newRow("all metadata")
            << QVariantMap{{"cameraModel", "Cam"}, {"longitude", "1.5"}, {"latitude", "2.5"}, {"shootTime", "2020-01-01 10:00:00"}}
            << true << 7;
        QTest::newRow("failed image") << QVariantMap() << false << 4;
    }

    void testLargeImageDetails()
    {
        QFETCH(QVariantMap, meta);
        QFETCH(bool, ok);
        QFETCH(int, entries);
        const quint64 key = fileGroup(2);
        DP_SETTLE(*m_pReplay);
        CPhotosSortFilterProxyModel *pProxy = open(key);
        QSignalSpy spy(pProxy, &CPhotosSortFilterProxyModel::sigRefreshMaxThumb);
        photosOf(key)->slotBigImageResult(pathOf(QStringLiteral("p1.jpg")), meta, ok);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 1);
        const QVariantList list = spy.at(0).at(1).toList();
        QCOMPARE(list.size(), entries);
        QCOMPARE(list.at(0).isValid(), ok);
        QCOMPARE(list.at(1).toString(), QStringLiteral("640 x 480"));
        QCOMPARE(list.at(2).toString(), QStringLiteral("2.00 KiB"));
        if (meta.contains(QStringLiteral("shootTime")))
            QCOMPARE(list.at(3).toString(), meta.value(QStringLiteral("shootTime")).toString());
    }

    void testStripOfMergedAwayGroupStaysValid()
    {
        // Given two groups, both strips open
        const quint64 into = m_pReplay->create(QStringLiteral("a0.jpg")).fileId;
        m_pReplay->join(QStringLiteral("a1.jpg"), into);
        const PhotoRecord &absorbed = m_pReplay->create(QStringLiteral("b0.jpg"));
        m_pReplay->join(QStringLiteral("b1.jpg"), absorbed.fileId);
        DP_SETTLE(*m_pReplay);
        CPhotosSortFilterProxyModel *pInto = open(into);
        CPhotosSortFilterProxyModel *pGone = open(absorbed.fileId);
        QCOMPARE(pGone->rowCount(), 2);
        // When the engine merges the second group into the first
        m_pReplay->merge(absorbed, m_pReplay->photo(QStringLiteral("a0.jpg")));
        DP_SETTLE(*m_pReplay);
        // Then the first strip gains the photos and the second shows nothing, its rows still valid
        QCOMPARE(pInto->rowCount(), 4);
        QCOMPARE(pGone->rowCount(), 0);
        QCOMPARE(pGone->sourceModel()->rowCount(), 2);
        QVERIFY(pGone->sourceModel()->index(1, 0).isValid());
        QVERIFY(!pGone->sourceModel()->index(1, 0).data(CPhotosItemModel::PhotosFilePathRole).isValid());
        QVERIFY(pGone->getCurrentShowPhotos().isEmpty());
    }
};

QTEST_MAIN(TestPhotosSortFilterProxyModel)
#include "tst_CPhotosSortFilterProxyModel.moc"
