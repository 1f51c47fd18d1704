#include "CThumbDiskCache.h"
#include "CThumbTaskQueue.h"
#include "CTestPhotos.h"

#include <QtTest>

using testphotos::writeBytes;

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

// The thumbnail work queue's order, and the disk cache the work fills.
class tst_CThumbCaches : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
    }

    void testDiskCacheFollowsDesktopLayoutUntilFileChanges()
    {
        const QString strPhoto = writePhoto(QStringLiteral("photo one.jpg"));
        const QString strRoot = m_pDir->filePath(QStringLiteral("thumbnails"));
        QVERIFY(CThumbDiskCache(strRoot).store(strPhoto, smallThumb()));

        const QByteArray uri = QUrl::fromLocalFile(strPhoto).toEncoded();
        const QString strExpected = strRoot + QStringLiteral("/large/")
            + QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) + QStringLiteral(".png");
        const QImage stored(strExpected, "png");
        QCOMPARE(stored.size(), smallThumb().size());
        QCOMPARE(stored.text(QStringLiteral("Thumb::URI")), QString::fromLatin1(uri));
        QCOMPARE(stored.text(QStringLiteral("Thumb::MTime")),
                 QString::number(QFileInfo(strPhoto).lastModified().toSecsSinceEpoch()));
        QCOMPARE(QFileInfo(strExpected).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());

        // A new cache object (a new run of the program) finds it again, until the photo changes.
        CThumbDiskCache reopened(strRoot);
        QCOMPARE(reopened.thumbPathFor(strPhoto), strExpected);
        QImage image;
        QVERIFY(reopened.load(strPhoto, image));
        QCOMPARE(image.size(), smallThumb().size());
        QFile file(strPhoto);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QFileInfo(strPhoto).lastModified().addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(!reopened.load(strPhoto, image));
        QVERIFY(!reopened.load(m_pDir->filePath(QStringLiteral("never-cached.jpg")), image));
    }

    void testUnusableCacheDirTurnsCacheOff_data()
    {
        QTest::addColumn<QString>("root");
        // Works for root too: a file where the folder should be cannot be written into.
        QTest::newRow("a file in its place") << "file";
        QTest::newRow("no folder at all") << "";
    }

    void testUnusableCacheDirTurnsCacheOff()
    {
        QFETCH(QString, root);
        QString strRoot;
        if (!root.isEmpty()) {
            strRoot = m_pDir->filePath(root);
            QVERIFY(writeBytes(strRoot, QByteArray()));
        }
        CThumbDiskCache cache(strRoot);
        QVERIFY(!cache.isEnabled());
        const QString strPhoto = writePhoto(QStringLiteral("a.jpg"));
        QVERIFY(!cache.store(strPhoto, smallThumb()));
        QImage image;
        QVERIFY(!cache.load(strPhoto, image));
    }

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

private:
    static QImage smallThumb()
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        return image;
    }

    QString writePhoto(const QString &strName)
    {
        const QString strPath = m_pDir->filePath(strName);
        [&] { QVERIFY(smallThumb().save(strPath, "JPEG")); }();
        return strPath;
    }

    std::unique_ptr<QTemporaryDir> m_pDir;
};

QTEST_GUILESS_MAIN(tst_CThumbCaches)
#include "tst_CThumbCaches.moc"
