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

    // Given p0, p1 and a hidden h0: a mark on a row that is not there says so in a trace line.
    void testMarkTakesOnlyRowsThatExist_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("exists");
        QTest::newRow("first photo") << 0 << true;
        QTest::newRow("hidden photo") << 2 << true;
        QTest::newRow("row past the end") << 3 << false;
        QTest::newRow("negative row") << -1 << false;
    }

    void testMarkTakesOnlyRowsThatExist()
    {
        QFETCH(int, row);
        QFETCH(bool, exists);
        const quint64 key = fileGroup(2, 1);
        QVERIFY(open(key));
        CPhotosItemModel *pModel = photosOf(key);
        QSignalSpy counted(pModel, &CPhotosItemModel::sigMarkedNow);
        if (!exists)
            QTest::ignoreMessage(QtDebugMsg, kTrace);
        pModel->setCheckState(row, true);
        QCOMPARE(counted.count(), exists ? 1 : 0);
        QCOMPARE(pModel->index(row, 0).data(CPhotosItemModel::PhotosCheckRole).toBool(), exists);
    }
};

QTEST_MAIN(TestPhotosSortFilterProxyModel)
#include "tst_CPhotosSortFilterProxyModel.moc"
