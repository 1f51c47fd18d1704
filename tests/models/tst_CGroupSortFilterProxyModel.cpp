#include "StoreFixture.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

QList<quint64> keysOf(const QList<void *> &list)
{
    QList<quint64> keys;
    for (void *p : list)
        keys << static_cast<quint64>(reinterpret_cast<quintptr>(p));
    return keys;
}

} // namespace

class TestGroupSortFilterProxyModel : public QObject
{
    Q_OBJECT

private:
    CGroupSortFilterProxyModel &proxy() { return m_pStore->proxy; }
    // Files n groups of one photo each, g0.jpg onwards; their keys go to m_listKeys.
    void fileGroups(int n, uint64_t iSize = 1000)
    {
        for (int i = 0; i < n; ++i)
            m_listKeys << m_pStore->create(QStringLiteral("g%1.jpg").arg(m_listKeys.size()), 0, iSize);
    }
    QList<quint64> keysAt(const QList<int> &rows) const
    {
        QList<quint64> keys;
        for (int row : rows)
            keys << m_listKeys.at(row);
        return keys;
    }
    QString captionOf(quint64 key)
    {
        CPhotosSortFilterProxyModel photos(&m_pStore->store, key);
        return proxy().getGroupInfo(&photos);
    }

    std::unique_ptr<CStoreFixture> m_pStore;
    QList<quint64> m_listKeys;

private Q_SLOTS:
    void init()
    {
        m_pStore = std::make_unique<CStoreFixture>();
        m_listKeys.clear();
    }

    void cleanup() { m_pStore.reset(); }

    void testSizeText_data()
    {
        QTest::addColumn<quint64>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << quint64(0) << "0 KB";
        QTest::newRow("one byte") << quint64(1) << "1.00 B";
        QTest::newRow("just under a KB") << quint64(1023) << "1023.00 B";
        QTest::newRow("one KB") << quint64(1024) << "1.00 KB";
        QTest::newRow("rounds to two places") << quint64(1536) << "1.50 KB";
        QTest::newRow("GB") << quint64(3) * 1024 * 1024 * 1024 << "3.00 GB";
        QTest::newRow("largest number") << ~quint64(0) << "16.00 EB";
    }

    void testSizeText()
    {
        QFETCH(quint64, size);
        QFETCH(QString, text);
        QCOMPARE(CGroupSortFilterProxyModel::sizeText(size), text);
    }

    void testWindowAroundPosition_data()
    {
        QTest::addColumn<int>("groups");
        QTest::addColumn<double>("position");
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("empty") << 0 << 0.0 << QList<int>{} << QList<int>{};
        QTest::newRow("one page, first row") << 6 << 0.0 << QList<int>{0} << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("one page, last row") << 6 << 5.0 << QList<int>{0, 1, 2, 3, 4, 5} << QList<int>{5};
        QTest::newRow("one more than a page") << 7 << 6.0 << QList<int>{1, 2, 3, 4, 5, 6} << QList<int>{6};
        QTest::newRow("ten near the end") << 10 << 8.0 << QList<int>{3, 4, 5, 6, 7, 8} << QList<int>{8, 9};
        QTest::newRow("position past the end") << 10 << 15.0 << QList<int>{4, 5, 6, 7, 8, 9} << QList<int>{};
    }

    void testWindowAroundPosition()
    {
        QFETCH(int, groups);
        QFETCH(double, position);
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, after);
        // Given groups in the results
        fileGroups(groups);
        QCOMPARE(proxy().rowCount(), groups);
        // When the list scrolls to the position, and by less than a row more
        QSignalSpy moved(&proxy(), &CGroupSortFilterProxyModel::sigGroupShowPosChanged);
        proxy().setCurrentShowPosition(position);
        proxy().setCurrentShowPosition(position + 0.9);
        QCOMPARE(moved.count(), position == 0.0 ? 0 : 1);
        // Then the window holds the rows up to it and from it, the row at it twice
        QCOMPARE(keysOf(proxy().getCurrentShowGroup()), keysAt(before) + keysAt(after));
        // And it reads as empty while the thumbnail refresh is paused
        proxy().setWindowPaused(true);
        QVERIFY(proxy().getCurrentShowGroup().isEmpty());
        // And the position survives a reset of the rows
        m_pStore->groups.clear();
        QCOMPARE(proxy().currentShowPosition(), int(position));
    }

    void testLastPageShrinksAfterMerges()
    {
        // Given eight groups with the list at the last one
        fileGroups(8);
        proxy().setCurrentShowPosition(7);
        QCOMPARE(keysOf(proxy().getCurrentShowGroup()), keysAt({2, 3, 4, 5, 6, 7, 7}));
        // When two groups are merged into their neighbours
        m_pStore->merge(QStringLiteral("g1.jpg"), QStringLiteral("g0.jpg"));
        m_pStore->merge(QStringLiteral("g3.jpg"), QStringLiteral("g2.jpg"));
        // Then the list shrinks and the window past its end keeps only the backward half
        QCOMPARE(m_pStore->groups.rowCount(), 8);
        QCOMPARE(proxy().rowCount(), 6);
        QCOMPARE(keysOf(proxy().getCurrentShowGroup()), keysAt({0, 2, 4, 5, 6, 7}));
        // And the absorbing group counts the moved photos
        QCOMPARE(captionOf(m_listKeys[2]), QStringLiteral("Group 2, 2 photos, 1.95 KB"));
    }

    void testCaption_data()
    {
        QTest::addColumn<int>("photos");
        QTest::addColumn<quint64>("photoSize");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("caption");
        QTest::newRow("KB") << 3 << quint64(1000) << 0 << "Group 2, 3 photos, 2.93 KB";
        QTest::newRow("hidden group: none") << 1 << quint64(1) << int(PhotoFlag_Hidden) << "";
    }

    void testCaption()
    {
        QFETCH(int, photos);
        QFETCH(quint64, photoSize);
        QFETCH(int, flags);
        QFETCH(QString, caption);
        // Given a group of one photo, a hidden group, the group the caption is for and another
        fileGroups(1);
        m_pStore->create(QStringLiteral("hidden.jpg"), PhotoFlag_Hidden);
        const quint64 key = m_pStore->create(QStringLiteral("first.jpg"), uint8_t(flags), photoSize);
        for (int i = 1; i < photos; ++i)
            m_pStore->join(QStringLiteral("more%1.jpg").arg(i), key, 0, photoSize);
        fileGroups(1);
        // Then its caption gives its place among shown groups, its count and its size
        QCOMPARE(captionOf(key), caption);
        // And the group after it counts only the shown groups before it
        QCOMPARE(captionOf(m_listKeys[1]), flags ? QStringLiteral("Group 2, 1 photos, 1000.00 B")
                                                 : QStringLiteral("Group 3, 1 photos, 1000.00 B"));
        // And what names no group has none
        QCOMPARE(captionOf(0), QString());
        QCOMPARE(proxy().getGroupInfo(nullptr), QString());
        QCOMPARE(proxy().getGroupInfo(&m_pStore->groups), QString());
    }

};

QTEST_MAIN(TestGroupSortFilterProxyModel)
#include "tst_CGroupSortFilterProxyModel.moc"
