#include "CThumbTaskQueue.h"

#include <QtTest>

// Each step is "b:<path>" (large image), "q:<path>" (queued), "f:<path>" (front),
// "r:<path>,<path>..." (the reserved list, replacing the previous one), "c:" (clears
// thumbnails), or takes one: "t:" any job, "s:" skipping large images ("-" when none),
// "R:" what is left of the reserved list. The takes are listed, then what a drain takes.
static QStringList apply(CThumbTaskQueue &queue, const QStringList &listSteps)
{
    QStringList listTaken;
    CThumbJob job;
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
        case 't':
        case 's':
            listTaken.append(queue.take(job, strStep.at(0) == QLatin1Char('s')) ? job.path : QStringLiteral("-"));
            break;
        case 'R': {
            QStringList listLeft;
            for (const CThumbRequest &request : queue.takeReserved())
                listLeft.append(request.path + QLatin1Char('@') + QString::number(request.group));
            listTaken.append(QStringLiteral("R:") + listLeft.join(QLatin1Char(',')));
            break;
        }
        default:
            qFatal("bad step");
        }
    }
    return listTaken;
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
        QTest::newRow("a taker skipping large images leaves them")
            << QStringList{"b:big", "q:a", "s:", "s:"} << QStringList{"a", "-", "big"};
        QTest::newRow("the reserved list handed back holds only what is left")
            << QStringList{"q:a", "r:x,y,z", "t:", "R:"} << QStringList{"x", "R:y@2,z@2", "a"};
    }

    void testTakesInPriorityOrder()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        CThumbTaskQueue queue;
        QStringList taken = apply(queue, steps);
        const int iLeft = queue.size(), iTaken = taken.size();
        CThumbJob job;
        while (queue.take(job))
            taken.append(job.path);
        QCOMPARE(taken, expected);
        QCOMPARE(iLeft, taken.size() - iTaken);
        QVERIFY(queue.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_CThumbTaskQueue)
#include "tst_CThumbTaskQueue.moc"
