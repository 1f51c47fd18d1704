#include "CThumbTaskQueue.h"

#include <QtTest>

// Each push is "b:<path>" (large image), "q:<path>" (queued), "f:<path>" (front),
// "r:<path>,<path>..." (the reserved list, replacing the previous one); "c:" clears thumbnails.
static void apply(CThumbTaskQueue &queue, const QStringList &listSteps)
{
    for (const QString &strStep : listSteps) {
        const QString strArg = strStep.mid(2);
        switch (strStep.at(0).toLatin1()) {
        case 'b':
            queue.pushBigImage(QVariant(), strArg);
            break;
        case 'q':
            queue.pushThumb(CThumbRequest{1, strArg}, false);
            break;
        case 'f':
            queue.pushThumb(CThumbRequest{1, strArg}, true);
            break;
        case 'c':
            queue.clearThumbs();
            break;
        case 'r': {
            QList<CThumbRequest> listReserved;
            for (const QString &strPath : strArg.split(QLatin1Char(','), Qt::SkipEmptyParts))
                listReserved.append(CThumbRequest{2, strPath});
            queue.setReserved(listReserved);
            break;
        }
        default:
            QFAIL("bad step");
        }
    }
}

static QStringList drain(CThumbTaskQueue &queue)
{
    QStringList listPaths;
    CThumbJob job;
    while (queue.take(job))
        listPaths.append(job.path);
    return listPaths;
}

class tst_CThumbTaskQueue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void testTakesInPriorityOrder_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("queued keep their order") << QStringList{"q:a", "q:b", "q:c"} << QStringList{"a", "b", "c"};
        QTest::newRow("front push overtakes queued") << QStringList{"q:a", "q:b", "f:c"} << QStringList{"c", "a", "b"};
        QTest::newRow("reserved before front and queued")
            << QStringList{"q:a", "f:b", "r:x,y"} << QStringList{"x", "y", "b", "a"};
        QTest::newRow("new reserved list replaces the old one")
            << QStringList{"r:x,y", "q:a", "r:z"} << QStringList{"z", "a"};
        QTest::newRow("large image before everything")
            << QStringList{"q:a", "r:x", "b:big"} << QStringList{"big", "x", "a"};
        QTest::newRow("queued twice runs once") << QStringList{"q:a", "q:b", "q:a"} << QStringList{"a", "b"};
        QTest::newRow("queued then front moves to head") << QStringList{"q:a", "q:b", "f:b"} << QStringList{"b", "a"};
        QTest::newRow("reserved duplicates are kept") << QStringList{"r:x,x"} << QStringList{"x", "x"};
        // A request dropped by the clear can be queued again.
        QTest::newRow("clearing keeps large images")
            << QStringList{"q:a", "f:b", "r:x", "b:big", "c:", "q:a"} << QStringList{"big", "a"};
    }

    void testTakesInPriorityOrder()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        CThumbTaskQueue queue;
        apply(queue, steps);
        QCOMPARE(queue.size(), expected.size());
        QCOMPARE(drain(queue), expected);
        QVERIFY(queue.isEmpty());
    }

    void testTakeReservedHandsBackOnlyWhatIsLeft()
    {
        CThumbTaskQueue queue;
        apply(queue, {"q:a", "r:x,y,z"});
        CThumbJob job;
        QVERIFY(queue.take(job));
        QCOMPARE(job.path, QStringLiteral("x"));
        const QList<CThumbRequest> listLeft = queue.takeReserved();
        QCOMPARE(listLeft.size(), 2);
        QCOMPARE(listLeft.at(0).path, QStringLiteral("y"));
        QCOMPARE(listLeft.at(1).path, QStringLiteral("z"));
        QCOMPARE(listLeft.at(1).group, 2ULL);
        QCOMPARE(drain(queue), QStringList{"a"});
    }

    void testTakerSkippingLargeImagesLeavesThem()
    {
        CThumbTaskQueue queue;
        apply(queue, {"b:big", "q:a"});
        CThumbJob job;
        QVERIFY(queue.take(job, true));
        QCOMPARE(job.path, QStringLiteral("a"));
        QVERIFY(!queue.take(job, true));
        QCOMPARE(drain(queue), QStringList{"big"});
    }
};

QTEST_GUILESS_MAIN(tst_CThumbTaskQueue)
#include "tst_CThumbTaskQueue.moc"
