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
    void fileGroups(int n)
    {
        for (int i = 0; i < n; ++i)
            m_listKeys << m_pStore->create(QStringLiteral("g%1.jpg").arg(m_listKeys.size()));
    }
    QList<quint64> keysAt(const QList<int> &rows) const
    {
        QList<quint64> keys;
        for (int row : rows)
            keys << m_listKeys.at(row);
        return keys;
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
    }
};

QTEST_MAIN(TestGroupSortFilterProxyModel)
#include "tst_CGroupSortFilterProxyModel.moc"
