#include "StoreFixture.h"
#include "ThumbForge.h"

#include <QCryptographicHash>
#include <QSignalSpy>
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
    quint64 fileGroup(int iVisible, int iHidden = 0)
    {
        quint64 key = 0;
        for (int i = 0; i < iVisible + iHidden; ++i) {
            const bool bHidden = i >= iVisible;
            const QString name = bHidden ? QStringLiteral("h%1.jpg").arg(i - iVisible) : QStringLiteral("p%1.jpg").arg(i);
            const uint8_t flags = bHidden ? uint8_t(PhotoFlag_Hidden) : uint8_t(0);
            if (key == 0)
                key = m_pStore->create(name, flags);
            else
                m_pStore->join(name, key, flags);
        }
        return key;
    }
    CPhotosSortFilterProxyModel *open(quint64 key) { return m_pStore->open(key); }
    CPhotosItemModel *photosOf(quint64 key) const { return m_pStore->photosOf(key); }
    static QString pathOf(const QString &strName) { return CStoreFixture::pathOf(strName); }

    std::unique_ptr<CStoreFixture> m_pStore;

private Q_SLOTS:
    void initTestCase()
    {
        // The thumbnail states and row changes here are the model's own, not the library's.
        CImgThumbManager::GetInstance()->Stop();
    }

    void init() { m_pStore = std::make_unique<CStoreFixture>(); }

    void cleanup() { m_pStore.reset(); }

    void testRolesOfPhoto_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("byRule");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("reason");
        QTest::newRow("plain") << 0 << false << true << false << "";
        QTest::newRow("hidden") << int(PhotoFlag_Hidden) << false << false << false << "";
        QTest::newRow("marked by hand") << int(PhotoFlag_Marked) << false << true << true << "";
        QTest::newRow("burst") << int(PhotoFlag_Burst) << false << true << false << "";
        QTest::newRow("camera original") << int(PhotoFlag_Preferred) << false << true << false << "";
        QTest::newRow("marked by the rule") << 0 << true << true << true << "no better than the kept photo";
    }

    void testRolesOfPhoto()
    {
        QFETCH(int, flags);
        QFETCH(bool, byRule);
        QFETCH(bool, shown);
        QFETCH(bool, marked);
        QFETCH(QString, reason);
        // Given a group whose second photo carries the flags, the rule's marks if asked for
        const quint64 key = m_pStore->create(QStringLiteral("a.jpg"));
        m_pStore->join(QStringLiteral("b.JPEG"), key, uint8_t(flags), 2048);
        CResultStore::CMarkChanges changes;
        QVERIFY(!byRule || m_pStore->store.markGroup(key, changes));
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
        using M = CPhotosItemModel;
        QVariantList values;
        for (int role : std::initializer_list<int>{M::PhotosTypeRole, M::PhotosPathRole, M::PhotosCheckRole,
                                                   M::PhotosDataTimeRole, M::PhotosFilePathRole, M::PhotosMaxPathRole,
                                                   M::PhotosAbsolutePathRole, M::PhotosStateRole, M::PhotosBurstRole,
                                                   M::MarkReasonRole, M::PhotosSimilarityRole, M::PhotosOriginalRole,
                                                   Qt::UserRole, M::PhotosOriginalRole + 1})
            values << idx.data(role);
        QCOMPARE(values, (QVariantList{".JPEG", "image://thumbProvider/" + id, marked, "2021-03-04 05:06:07", path,
                                       "image://maxThumbProvider/" + id, "/photos/", int(M::ThumbState_None),
                                       bool(flags & PhotoFlag_Burst), reason, 100, bool(flags & PhotoFlag_Preferred),
                                       QVariant(), QVariant()}));
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
        CPhotosSortFilterProxyModel *pProxy = open(key);
        QVERIFY(pProxy);
        QCOMPARE(pProxy->rowCount(), visible);
        QSignalSpy moved(pProxy, &CPhotosSortFilterProxyModel::sigPhotosShowPosChanged);
        pProxy->setCurrentShowPosition(position);
        pProxy->setCurrentShowPosition(position + 0.5);
        QCOMPARE(moved.count(), position == 0.0 ? 0 : 1);
        QStringList expected;
        for (int i : before + after)
            expected << pathOf(QStringLiteral("p%1.jpg").arg(i));
        QCOMPARE(pProxy->getCurrentShowPhotos(), expected);
        // A forced re-read keeps rows and window
        pProxy->refresh();
        QCOMPARE(pProxy->rowCount(), visible);
        QCOMPARE(pProxy->getCurrentShowPhotos(), expected);
    }

    void testQueuedMarkLeavesRecordUntilItRuns()
    {
        // Given a strip of two photos
        const quint64 key = fileGroup(2);
        CPhotosSortFilterProxyModel *pProxy = open(key);
        QSignalSpy markInfo(pProxy, &CPhotosSortFilterProxyModel::sigRefreshMarkInfo);
        QSignalSpy requested(photosOf(key), &CPhotosItemModel::sigMarkRequested);
        QSignalSpy changed(pProxy, &QAbstractItemModel::dataChanged);
        // When the desktop toggles the first photo
        pProxy->setCheckStateByDesktop(0);
        // Then the mark is only requested: the record and the row are as they were
        QCOMPARE(pProxy->getCheckState(0), false);
        QCOMPARE(markInfo.count(), 1);
        QCOMPARE(requested.count(), 1);
        QCOMPARE(requested.at(0), (QList<QVariant>{key, pathOf(QStringLiteral("p0.jpg")), true}));
        QCOMPARE(changed.count(), 0);
        // And other roles or empty values are not taken
        QVERIFY(!pProxy->setData(pProxy->index(0, 0), true, CPhotosItemModel::PhotosWidthRole));
        QVERIFY(!pProxy->setData(pProxy->index(0, 0), QVariant(), CPhotosItemModel::PhotosCheckRole));
        QVERIFY(pProxy->setData(pProxy->index(0, 0), true, CPhotosItemModel::PhotosCheckRole));
    }

    // Given p0, p1 and a hidden h0: the model has three rows, the strip two.
    void testRowCallsTakeOnlyRowsThatExist_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("modelRow");
        QTest::addColumn<bool>("stripRow");
        QTest::newRow("first photo") << 0 << true << true;
        QTest::newRow("last shown photo") << 1 << true << true;
        QTest::newRow("hidden photo: a row of the model only") << 2 << true << false;
        QTest::newRow("row past the end") << 3 << false << false;
        QTest::newRow("negative row") << -1 << false << false;
    }

    void testRowCallsTakeOnlyRowsThatExist()
    {
        QFETCH(int, row);
        QFETCH(bool, modelRow);
        QFETCH(bool, stripRow);
        const quint64 key = fileGroup(2, 1);
        CPhotosSortFilterProxyModel *pProxy = open(key);
        CPhotosItemModel *pModel = photosOf(key);
        QSignalSpy counted(pModel, &CPhotosItemModel::sigMarkedNow);
        QSignalSpy removed(pProxy, &CPhotosSortFilterProxyModel::sigDeleteOnePhotos);
        // Every call on a row that is not there says so in a trace line.
        for (int i = (modelRow ? 0 : 1) + (stripRow ? 0 : 2); i > 0; --i)
            QTest::ignoreMessage(QtDebugMsg, kTrace);
        pModel->setCheckState(row, true);
        QCOMPARE(counted.count(), modelRow ? 1 : 0);
        QCOMPARE(pModel->index(row, 0).data(CPhotosItemModel::PhotosCheckRole).toBool(), modelRow);
        pProxy->deleteOnePhotos(row);
        QCOMPARE(removed.count(), stripRow ? 1 : 0);
        if (stripRow) {
            QCOMPARE(removed.at(0).at(0).toULongLong(), key);
            QCOMPARE(removed.at(0).at(1).toString(), pathOf(QStringLiteral("p%1.jpg").arg(row)));
        }
        QCOMPARE(pProxy->getPhotosHeight(row), stripRow ? QVariant(480) : QVariant());
    }

    void testThumbnailResult_data()
    {
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("state");
        QTest::newRow("failed thumbnail") << false << int(CPhotosItemModel::ThumbState_Failed);
        QTest::newRow("made thumbnail") << true << int(CPhotosItemModel::ThumbState_Ready);
    }

    void testThumbnailResult()
    {
        QFETCH(bool, result);
        QFETCH(int, state);
        const quint64 key = fileGroup(3);
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

};

QTEST_MAIN(TestPhotosSortFilterProxyModel)
#include "tst_CPhotosSortFilterProxyModel.moc"
