#include "CEngineHarness.h"
#include "CEngineTest.h"
#include "CTestPhotos.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace testphotos;

namespace {

enum EnCache { Cache_Kept, Cache_Corrupt, Cache_Locked, Cache_Older };

} // namespace

Q_DECLARE_METATYPE(EnCache)

// What is grouped, how regroups and removals change it, and the feature cache behind it.
class TestScanEngine : public CEngineTest
{
    Q_OBJECT
private slots:
    void testGroupsTransformedCopy_data()
    {
        QTest::addColumn<QImage>("copy");  // null: the original's bytes
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("orientation");  // 0: no tag
        const QImage original = scene(7);
        QTest::newRow("exact copy") << QImage() << "copy.jpg" << 90 << 0;
        QTest::newRow("half size") << resized(original, 0.5) << "copy.jpg" << 90 << 0;
        QTest::newRow("recompressed at quality 40") << original << "copy.jpg" << 40 << 0;
        QTest::newRow("converted to PNG") << original << "copy.png" << 90 << 0;
        QTest::newRow("converted to WebP") << original << "copy.webp" << 80 << 0;
        QTest::newRow("converted to TIFF") << original << "copy.tif" << 90 << 0;
        QTest::newRow("cropped by 3%") << cropped(original, 0.03) << "copy.jpg" << 90 << 0;
        QTest::newRow("brighter with more contrast") << brighter(original) << "copy.jpg" << 90 << 0;
        QTest::newRow("rotated by the EXIF tag only") << QImage() << "copy.jpg" << 90 << 6;
        QTest::newRow("a quarter size, quality 60") << resized(original, 0.25) << "copy.jpg" << 60 << 0;
        QTest::newRow("converted to HEIC") << original << "copy.heic" << 90 << 0;
    }

    void testGroupsTransformedCopy()
    {
        QFETCH(QImage, copy);
        QFETCH(QString, name);
        QFETCH(int, quality);
        QFETCH(int, orientation);
        // Given a photo and a changed copy of it
        QVERIFY(save(scene(7), path("original.jpg")));
        if (copy.isNull())
            QVERIFY(QFile::copy(path("original.jpg"), path(name)));
        else if (name.endsWith(QLatin1String(".heic")) && !saveHeic(copy, path(name)))
            QSKIP("libheif has no HEVC encoder here");
        else if (!name.endsWith(QLatin1String(".heic")))
            QVERIFY(save(copy, path(name), nullptr, quality));
        if (orientation)
            QVERIFY(setOrientation(path(name), orientation));
        // Unrelated photos, among them some alike in colours or sharing part of a scene
        const QImage wide = scene(31, QSize(1280, 480)), tall = scene(41, QSize(640, 960));
        const QList<QImage> others{scene(501), scene(502), scene(21), scene(21, QSize(640, 480), 22), wide.copy(0, 0, 700, 480),
                                   wide.copy(580, 0, 700, 480), tall.copy(0, 0, 640, 520), tall.copy(0, 440, 640, 520)};
        for (int i = 0; i < others.size(); ++i)
            QVERIFY(save(others[i], path(QStringLiteral("other%1.jpg").arg(i))));
        // When scanned at the default threshold
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        // Then the two form the only group
        QCOMPARE(harness.sink().groupsText(), QStringLiteral("{%1,original.jpg}").arg(name));
        const QList<CTestSink::CEvent> events = harness.sink().listEvents;
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[0].record.similarity, uint8_t(100));
        QVERIFY(events[1].record.similarity >= 70);
        QCOMPARE(events[1].record.similarity == 100, copy.isNull() && !orientation);
        const PhotoRecord record = harness.sink().recordOf(name);
        if (name.endsWith(QLatin1String(".heic")))
            QCOMPARE(QSize(record.width, record.height), QSize(640, 480));
    }

    void testMergesGroupsLinkedLater()
    {
        // Given a pair and a triple of exact copies, each set a changed version of the other:
        // the exact copies link first and form two groups, which a weaker link then merges.
        const QImage original = scene(61);
        QVERIFY(save(original, path("a1.jpg")));
        QVERIFY(QFile::copy(path("a1.jpg"), path("a2.jpg")));
        QVERIFY(save(resized(original, 0.5), path("b1.jpg"), "JPG", 70));
        QVERIFY(QFile::copy(path("b1.jpg"), path("b2.jpg")));
        QVERIFY(QFile::copy(path("b1.jpg"), path("b3.jpg")));
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        int merges = 0;
        for (const CTestSink::CEvent &e : harness.sink().listEvents) {
            if (e.kind != CTestSink::CEvent::Merged)
                continue;
            ++merges;
            // The engine's records are read after the callback returned, as the manager does.
            QVERIFY(e.pAbsorbed->fileId != e.pInto->fileId);
            // The smaller group goes into the larger.
            QVERIFY2(fileNameOf(e.pAbsorbed).startsWith(QLatin1Char('a')) && fileNameOf(e.pInto).startsWith(QLatin1Char('b')),
                     qPrintable(fileNameOf(e.pAbsorbed) + QStringLiteral(" into ") + fileNameOf(e.pInto)));
        }
        QCOMPARE(merges, 1);
        QCOMPARE(harness.sink().groupsText(), QStringLiteral("{a1.jpg,a2.jpg,b1.jpg,b2.jpg,b3.jpg}"));
    }

    void testHigherThresholdsOnlySplitGroups()
    {
        // A mix of near and far copies of a few scenes, and some loners.
        for (int seed : {71, 72, 73}) {
            const QImage base = scene(seed);
            QVERIFY(save(base, path(QStringLiteral("s%1.jpg").arg(seed))));
            QVERIFY(save(cropped(base, 0.05), path(QStringLiteral("s%1crop.jpg").arg(seed))));
            QVERIFY(save(brighter(resized(base, 0.4)), path(QStringLiteral("s%1small.jpg").arg(seed)), "JPG", 50));
            QVERIFY(save(blurred(base), path(QStringLiteral("s%1blur.png").arg(seed))));
        }
        QVERIFY(save(scene(74, QSize(640, 480), 75), path("s74.jpg")));
        QVERIFY(save(scene(75), path("s75.jpg")));
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path()}, 0), 0);
        QList<QSet<QString>> previous = harness.sink().groups();
        for (int threshold = 5; threshold <= 100; threshold += 5) {
            QCOMPARE(harness.regroup(threshold), 0);
            const QList<QSet<QString>> current = harness.sink().groups();
            // Every group at the higher threshold lies inside one group of the lower.
            for (const QSet<QString> &group : current) {
                bool bInside = false;
                for (const QSet<QString> &wider : previous)
                    bInside |= wider.contains(group);
                QVERIFY2(bInside, qPrintable(QStringLiteral("%1%: %2 not inside %3").arg(threshold)
                                                 .arg(groupsToText({group}), groupsToText(previous))));
            }
            previous = current;
        }
        // A fresh scan at a threshold agrees with a regroup to it.
        QCOMPARE(harness.regroup(70), 0);
        const QString regrouped = harness.sink().groupsText();
        QCOMPARE(harness.groupsAfterScan({m_pDir->path()}, 70), regrouped);
    }

    void testRegroupReadsNoFileAndLeavesRemovedOut()
    {
        const QImage base = scene(101);
        QVERIFY(save(base, path("a.jpg")));
        QVERIFY(save(resized(base, 0.5), path("b.jpg")));
        QVERIFY(save(base, path("c.png")));
        QVERIFY(save(scene(82), path("d.jpg")));
        CEngineHarness harness;
        QCOMPARE(harness.groupsAfterScan({m_pDir->path()}), QStringLiteral("{a.jpg,b.jpg,c.png}"));
        // With the files gone, a regroup works from what the scan kept; a removed file stays out.
        removeTree(m_pDir->path());
        harness.engine()->SetFileState(harness.sink().recordOf("b.jpg").fileId, ScanFileState_Removed);
        QCOMPARE(harness.groupsAfterRegroup(70), QStringLiteral("{a.jpg,c.png}"));
        QCOMPARE(harness.sink().listFinishedSteps, QList<int>({2, 3}));
        harness.engine()->SetFileState(harness.sink().recordOf("a.jpg").fileId, ScanFileState_Removed);
        QCOMPARE(harness.groupsAfterRegroup(70), QString());
    }

    void testFeatureCache_data()
    {
        QTest::addColumn<EnCache>("cache");
        QTest::newRow("kept across a restart") << Cache_Kept;
        QTest::newRow("corrupt file: rebuilt") << Cache_Corrupt;
        QTest::newRow("write-locked by another process: not fatal") << Cache_Locked;
        QTest::newRow("older file without the later table: features kept") << Cache_Older;
    }

    void testFeatureCache()
    {
        QFETCH(EnCache, cache);
        const QString cacheFile = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/mirelle/features.sqlite");
        if (cache == Cache_Corrupt) {
            QVERIFY(QDir().mkpath(QFileInfo(cacheFile).absolutePath()));
            QVERIFY(writeBytes(cacheFile, QByteArray(8192, '\x5a')));
        }
        const QImage base = scene(91);
        QVERIFY(save(base, path("a.jpg")));
        QVERIFY(save(base, path("b.png")));
        QVERIFY(save(scene(92), path("c.jpg")));
        {
            CEngineHarness first;
            QCOMPARE(first.scan({m_pDir->path()}), 0);
            QCOMPARE(first.lastStats().value("decoded"), 3);
        }
        if (cache == Cache_Older) {
            QSqlDatabase older = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
            older.setDatabaseName(cacheFile);
            QVERIFY(older.open() && QSqlQuery(older).exec(QStringLiteral("DROP TABLE verdicts")));
            older.close();
            older = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("older"));
        }
        // Given a changed file, a new engine (as after a restart) reads only that one
        QVERIFY(save(scene(93), path("c.jpg"), "JPG", 80));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        if (cache == Cache_Locked) {
            db.setDatabaseName(cacheFile);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        }
        CEngineHarness second;
        QCOMPARE(second.groupsAfterScan({m_pDir->path()}), QStringLiteral("{a.jpg,b.png}"));
        QCOMPARE(second.lastStats().value("decoded"), 1);
        QCOMPARE(second.lastStats().value("cached"), 2);
        // And the same engine notices a file changed since its own scan
        QVERIFY(save(scene(94), path("c.jpg"), "JPG", 70));
        QCOMPARE(second.scan({m_pDir->path()}), 0);
        QCOMPARE(second.lastStats().value("decoded"), 1);
        if (db.isOpen())
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    }

    // Enlarged copies score below their source's detail, whatever their pixel count;
    // smaller copies keep losing to their original, a soft one included.
    void testCopyOfOtherSizeLoses_data()
    {
        QTest::addColumn<double>("dCopyFactor");
        QTest::addColumn<bool>("bSoft");
        QTest::addColumn<bool>("bJudgedBefore");  // by another engine, on the same cache
        QTest::newRow("enlarged 1.5 times") << 1.5 << false << false;
        QTest::newRow("enlarged twice") << 2.0 << false << false;
        QTest::newRow("enlarged twice, judged before") << 2.0 << false << true;
        QTest::newRow("enlarged three times") << 3.0 << false << false;
        QTest::newRow("half size") << 0.5 << false << false;
        QTest::newRow("half size of a soft original") << 0.5 << true << false;
    }

    void testCopyOfOtherSizeLoses()
    {
        QFETCH(double, dCopyFactor);
        QFETCH(bool, bSoft);
        QFETCH(bool, bJudgedBefore);
        const QImage source = bSoft ? blurred(scene(171, QSize(1600, 1200))) : scene(171, QSize(1200, 900));
        QVERIFY(save(source, path("source.jpg"), nullptr, 92));
        QVERIFY(setCameraTags(path("source.jpg"), "Nikon", "D750", "2020:01:02 03:04:05"));
        QVERIFY(save(resized(source, dCopyFactor), path("copy.jpg"), nullptr, 92));
        if (bJudgedBefore) {
            // Then the copy turns to junk behind the cache's back: a decode now would find no enlargement.
            const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1600000000);
            QFile copy(path("copy.jpg"));
            QVERIFY(copy.open(QIODevice::ReadWrite) && copy.setFileTime(stamp, QFileDevice::FileModificationTime));
            QCOMPARE(CEngineHarness().scan({m_pDir->path()}), 0);
            QVERIFY(copy.write(QByteArray(int(copy.size()), '\x5a')) == copy.size() && copy.flush());
            QVERIFY(copy.setFileTime(stamp, QFileDevice::FileModificationTime));
        }
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        QCOMPARE(harness.sink().groups().size(), 1);
        const double copy = harness.sink().recordOf("copy.jpg").definition;
        const double original = harness.sink().recordOf("source.jpg").definition;
        // Inside the band of the marking's first rule.
        QVERIFY2(copy < original * 5 / 6, qPrintable(QStringLiteral("%1 %2").arg(copy).arg(original)));
    }

    void testRecordFields()
    {
        const QImage base = scene(161, QSize(800, 600));
        QVERIFY(save(base, path("a.jpg")));
        QVERIFY(setCameraTags(path("a.jpg"), "Nikon", "D750", "2020:01:02 03:04:05"));
        QVERIFY(QFile::copy(path("a.jpg"), path("rotated.jpg")));
        QVERIFY(setOrientation(path("rotated.jpg"), 6));
        QVERIFY(save(blurred(base), path("blurred.jpg")));
        QVERIFY(QFile::copy(path("a.jpg"), path("exact.jpg")));
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        QCOMPARE(harness.sink().groups().size(), 1);
        const PhotoRecord a = harness.sink().recordOf("a.jpg");
        const PhotoRecord rotated = harness.sink().recordOf("rotated.jpg");
        const PhotoRecord blurredRecord = harness.sink().recordOf("blurred.jpg");
        QCOMPARE(QSize(a.width, a.height), QSize(800, 600));
        QCOMPARE(QSize(rotated.width, rotated.height), QSize(600, 800));
        // 2020-01-02 03:04:05 as FILETIME.
        QCOMPARE(a.dateTime, (uint64_t(1577934245) + 11644473600ULL) * 10000000ULL);
        QCOMPARE(a.fileSize, uint64_t(QFileInfo(path("a.jpg")).size()));
        // Inside the band of the marking's first rule: the blurred copy is the one proposed.
        QVERIFY(blurredRecord.definition < a.definition * 5 / 6);
        QCOMPARE(harness.sink().recordOf("exact.jpg").similarity, uint8_t(100));
        // A file without a capture date shows its modification time.
        const uint64_t mtime = uint64_t(QFileInfo(path("blurred.jpg")).lastModified().toSecsSinceEpoch() + 11644473600LL) * 10000000ULL;
        QVERIFY(blurredRecord.dateTime >= mtime && blurredRecord.dateTime < mtime + 10000000ULL);
        QCOMPARE(harness.sink().listFinishedSteps, QList<int>({1, 2, 3}));
    }
};

QTEST_MAIN(TestScanEngine)
#include "tst_ScanEngine.moc"
