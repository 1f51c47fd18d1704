#include "CResultStore.h"

#include <QTemporaryDir>
#include <QtTest>

// Marks and their totals on three groups: group 1 holds a.jpg (blurred, 1000 bytes) and
// b.jpg (2000 bytes), group 3 holds c.jpg, d.jpg and the hidden h.jpg, group 6 only l.jpg.
// Each file on disk holds 100 bytes.
class TestResultStore : public QObject
{
    Q_OBJECT
private:
    void file(CResultStore &store, quint64 key, quint64 iId, const QString &strName, double dDefinition,
              uint64_t iSize, uint8_t flags = 0)
    {
        const QString path = m_dir.filePath(strName);
        QFile disk(path);
        if (disk.open(QIODevice::WriteOnly))
            disk.write(QByteArray(100, 'x'));
        PhotoRecord record;
        record.pszPath = reinterpret_cast<const ZKChar *>(path.utf16());
        record.fileId = iId;
        record.fileSize = iSize;
        record.definition = dDefinition;
        record.flags = flags;
        store.addPhoto(key, CPhotoRecordCopy(record), key != iId);
    }

    QTemporaryDir m_dir;

private slots:
    void testMarksAndTotals_data()
    {
        // Steps: "rule N" (the rule on group N), "all", "mark N x.jpg", "unmark N x.jpg",
        // "clear N", "clearAll", "merge" (group 3 into group 1), "lone" (groups of one leave).
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("count");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("fullGroups");
        QTest::addColumn<QString>("reasonOfA");

        QTest::newRow("the rule's marks") << QStringList{"all"} << 2 << qint64(3000) << 0 << "less detail";
        QTest::newRow("a mark by hand on the kept copy fills its group")
            << QStringList{"all", "mark 1 b.jpg"} << 3 << qint64(5000) << 1 << "less detail";
        QTest::newRow("a mark set again by hand has no rule behind it")
            << QStringList{"rule 1", "unmark 1 a.jpg", "mark 1 a.jpg"} << 1 << qint64(1000) << 0 << "";
        QTest::newRow("clearing a group") << QStringList{"all", "mark 1 b.jpg", "clear 1"} << 1 << qint64(2000) << 0 << "";
        QTest::newRow("clearing all") << QStringList{"all", "clearAll"} << 0 << qint64(0) << 0 << "";
        QTest::newRow("the path in another case") << QStringList{"mark 1 A.JPG"} << 1 << qint64(1000) << 0 << "";
        QTest::newRow("a hidden photo is never marked") << QStringList{"mark 3 h.jpg"} << 0 << qint64(0) << 0 << "";
        QTest::newRow("marks on a group that is gone change nothing")
            << QStringList{"merge", "rule 3", "mark 3 c.jpg", "clear 3"} << 0 << qint64(0) << 0 << "";
        QTest::newRow("the merged group is marked as one")
            << QStringList{"merge", "all"} << 1 << qint64(1000) << 0 << "less detail";
        QTest::newRow("a group of one leaves with its mark")
            << QStringList{"mark 6 l.jpg", "lone"} << 0 << qint64(0) << 0 << "";
    }

    void testMarksAndTotals()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, count);
        QFETCH(qint64, size);
        QFETCH(int, fullGroups);
        QFETCH(QString, reasonOfA);
        CResultStore store;
        file(store, 1, 1, QStringLiteral("a.jpg"), 5, 1000);
        file(store, 1, 2, QStringLiteral("b.jpg"), 6, 2000);
        file(store, 3, 3, QStringLiteral("c.jpg"), 6, 1000);
        file(store, 3, 4, QStringLiteral("d.jpg"), 6, 2000);
        file(store, 3, 5, QStringLiteral("h.jpg"), 6, 4000, PhotoFlag_Hidden);
        file(store, 6, 6, QStringLiteral("l.jpg"), 6, 500);

        CResultStore::CMarkChanges changes;
        CResultStore::CMerge merge;
        QStringList listCleared;
        for (const QString &step : qAsConst(steps)) {
            const QStringList words = step.split(QLatin1Char(' '));
            const quint64 key = words.value(1).toULongLong();
            const QString path = m_dir.filePath(words.value(2));
            if (words[0] == QLatin1String("rule"))
                store.markGroup(key, changes);
            else if (words[0] == QLatin1String("all"))
                store.markAll();
            else if (words[0] == QLatin1String("mark") || words[0] == QLatin1String("unmark"))
                store.setPhotoMark(key, path, words[0] == QLatin1String("mark"));
            else if (words[0] == QLatin1String("clear"))
                store.clearGroupMarks(key, &listCleared);
            else if (words[0] == QLatin1String("clearAll"))
                store.clearAllMarks();
            else if (words[0] == QLatin1String("lone"))
                QCOMPARE(store.hideLoneGroups(), QList<quint64>{6});
            else if (words[0] == QLatin1String("merge"))
                QVERIFY(store.mergeGroups(m_dir.filePath("c.jpg"), m_dir.filePath("a.jpg"), false, &merge));
        }

        const CResultStore::CCheckedTotals totals = store.recomputeCheckedTotals();
        QCOMPARE(totals.iCount, count);
        QCOMPARE(store.checkedItemCount(), count);
        QCOMPARE(store.checkedFileSize(), size);
        QCOMPARE(store.fullyMarkedGroupCount(), fullGroups);
        QCOMPARE(store.markedPaths().size(), count);
        // The drives hold what the marked files take on disk now, not what the scan saw.
        qint64 i64OnDisk = 0;
        for (qint64 i64Bytes : store.markedBytesPerDrive())
            i64OnDisk += i64Bytes;
        QCOMPARE(i64OnDisk, qint64(count) * 100);
        QCOMPARE(CAutoMarkRule::reasonKey(store.markReason(m_dir.filePath("a.jpg"))), reasonOfA);
    }
};

QTEST_GUILESS_MAIN(TestResultStore)
#include "tst_CResultStore.moc"
