#include "CEngineHarness.h"
#include "CEngineTest.h"
#include "CTestPhotos.h"

#include <QtTest>

using namespace testphotos;

namespace {

// The file ids and content keys of every reported file, by file name.
QMap<QString, uint64_t> contentKeys(CEngineHarness &harness)
{
    QMap<QString, uint64_t> keys;
    for (const CTestSink::CEvent &e : harness.sink().listEvents)
        if (e.kind != CTestSink::CEvent::Merged)
            keys[QFileInfo(e.strPath).fileName()] = harness.extras()->GetContentKey(e.record.fileId);
    return keys;
}

struct CShot
{
    QString strName;
    int iFrame;            // burst frame; the same frame twice is one shot saved twice
    QString strCamera;     // empty: no camera tags
    QString strTime;       // EXIF DateTimeOriginal
    QString strSubSeconds; // empty: none
};

enum EnThumbCase { Thumb_Kept, Thumb_NotAsked, Thumb_CacheFolderUnwritable };

// The thumbnail the scan kept of a photo, as its JPEG bytes; empty when none.
QByteArray scanThumbnail(CEngineHarness &harness, const QString &strPath)
{
    const auto *pPath = reinterpret_cast<const ZKChar *>(strPath.utf16());
    QByteArray jpeg(int(harness.extras()->GetScanThumbnail(pPath, nullptr, 0)), '\0');
    harness.extras()->GetScanThumbnail(pPath, reinterpret_cast<uint8_t *>(jpeg.data()), uint32_t(jpeg.size()));
    return jpeg;
}

} // namespace

Q_DECLARE_METATYPE(QList<CShot>)
Q_DECLARE_METATYPE(EnThumbCase)

class TestScanEngineExtras : public CEngineTest
{
    Q_OBJECT
private slots:
    void testTurnedCopiesOnlyWithRotationMatching_data()
    {
        QTest::addColumn<int>("turn");
        QTest::addColumn<double>("scale");
        QTest::newRow("mirrored left to right") << 1 << 1.0;
        QTest::newRow("mirrored top to bottom") << 2 << 1.0;
        QTest::newRow("half turn") << 3 << 1.0;
        QTest::newRow("axes swapped") << 4 << 1.0;
        QTest::newRow("quarter turn right") << 5 << 1.0;
        QTest::newRow("quarter turn left") << 6 << 1.0;
        QTest::newRow("other diagonal") << 7 << 1.0;
        QTest::newRow("quarter turn at half size") << 5 << 0.5;
        QTest::newRow("mirrored at half size") << 1 << 0.5;
    }

    void testTurnedCopiesOnlyWithRotationMatching()
    {
        QFETCH(int, turn);
        QFETCH(double, scale);
        // Given a photo, a copy with its pixels turned (no orientation tag) and unrelated photos
        const QImage original = scene(7);
        QVERIFY(save(original, path("original.jpg")));
        QVERIFY(save(turned(resized(original, scale), turn), path("turned.jpg"), "JPG", 80));
        for (int seed : {501, 502, 503, 504})
            QVERIFY(save(scene(seed), path(QStringLiteral("other%1.jpg").arg(seed))));
        // The unrelated ones turned as well: turns must not find photos that are not alike.
        QVERIFY(save(turned(scene(505), 5), path("other505.jpg")));
        CEngineHarness harness;
        // When scanned without rotation matching, the copy is not found
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        QCOMPARE(harness.sink().groupsText(), QString());
        // Then with it, on a regroup as on a fresh scan, only the two are grouped
        const QString expected = QStringLiteral("{original.jpg,turned.jpg}");
        harness.extras()->SetRotationMatching(1);
        QCOMPARE(harness.extras()->RotationMatching(), 1);
        QCOMPARE(harness.regroup(70), 0);
        QCOMPARE(harness.sink().groupsText(), expected);
        QVERIFY(harness.sink().recordOf("turned.jpg").similarity >= 70);
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        QCOMPARE(harness.sink().groupsText(), expected);
        // And switched off again, the copy drops out
        harness.extras()->SetRotationMatching(0);
        QCOMPARE(harness.regroup(70), 0);
        QCOMPARE(harness.sink().groupsText(), QString());
    }

    void testBurstFrames_data()
    {
        const QString cam = QStringLiteral("Camera A");
        QTest::addColumn<QList<CShot>>("shots");
        QTest::addColumn<QString>("groups");
        QTest::addColumn<QStringList>("burst");  // reported with the burst flag

        QTest::newRow("frames one second apart")
            << QList<CShot>{{"f0.jpg", 0, cam, "2024:05:01 10:00:00", {}}, {"f1.jpg", 1, cam, "2024:05:01 10:00:01", {}},
                            {"f2.jpg", 2, cam, "2024:05:01 10:00:02", {}}}
            << QString() << QStringList();
        QTest::newRow("frames within one second, told apart by sub-seconds")
            << QList<CShot>{{"f0.jpg", 0, cam, "2024:05:01 10:00:00", "10"}, {"f1.jpg", 1, cam, "2024:05:01 10:00:00", "35"},
                            {"f2.jpg", 2, cam, "2024:05:01 10:00:00", "60"}}
            << QString() << QStringList();
        // The frames are alike enough to group when nothing says they are a burst.
        QTest::newRow("the same frames minutes apart")
            << QList<CShot>{{"f0.jpg", 0, cam, "2024:05:01 10:00:00", {}}, {"f1.jpg", 1, cam, "2024:05:01 10:03:00", {}}}
            << "{f0.jpg,f1.jpg}" << QStringList();
        QTest::newRow("the same frames by two cameras")
            << QList<CShot>{{"f0.jpg", 0, cam, "2024:05:01 10:00:00", {}},
                            {"f1.jpg", 1, QStringLiteral("Camera B"), "2024:05:01 10:00:01", {}}}
            << "{f0.jpg,f1.jpg}" << QStringList();
        QTest::newRow("the same frames without camera tags")
            << QList<CShot>{{"f0.jpg", 0, {}, {}, {}}, {"f1.jpg", 1, {}, {}, {}}} << "{f0.jpg,f1.jpg}" << QStringList();
        // Copies of one shot keep its time: they are copies, not frames.
        QTest::newRow("a frame saved twice beside the next frame")
            << QList<CShot>{{"f0.jpg", 0, cam, "2024:05:01 10:00:00", "10"}, {"f0b.jpg", 0, cam, "2024:05:01 10:00:00", "10"},
                            {"f1.jpg", 1, cam, "2024:05:01 10:00:00", "50"}}
            << "{f0.jpg,f0b.jpg}" << QStringList();
        // A still scene: frames that do not differ are duplicates, flagged as frames.
        QTest::newRow("still frames")
            << QList<CShot>{{"s0.jpg", 0, cam, "2024:05:01 10:00:00", "10"}, {"s1.jpg", 0, cam, "2024:05:01 10:00:00", "50"}}
            << "{s0.jpg,s1.jpg}" << QStringList{"s0.jpg", "s1.jpg"};
    }

    void testBurstFrames()
    {
        QFETCH(QList<CShot>, shots);
        QFETCH(QString, groups);
        QFETCH(QStringList, burst);
        // Given shots of one scene moving a little from frame to frame, with their camera tags
        for (const CShot &shot : shots) {
            // A shot's second file ("…b.jpg") is saved at another quality, so that only
            // its capture time, not its bytes, tells that it is a copy.
            const bool bSecondFile = shot.strName.endsWith(QLatin1String("b.jpg"));
            QVERIFY(save(burstFrame(33, shot.iFrame), path(shot.strName), "JPG", bSecondFile ? 85 : 90));
            if (!shot.strCamera.isEmpty())
                QVERIFY(setCameraTags(path(shot.strName), "Maker", shot.strCamera.toUtf8().constData(),
                                      shot.strTime.toUtf8().constData()));
            if (!shot.strSubSeconds.isEmpty())
                QVERIFY(setSubSeconds(path(shot.strName), shot.strSubSeconds.toUtf8().constData()));
        }
        // When scanned at the default threshold, and regrouped to it
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        QCOMPARE(harness.sink().groupsText(), groups);
        QCOMPARE(harness.regroup(70), 0);
        QCOMPARE(harness.sink().groupsText(), groups);
        for (const CShot &shot : shots) {
            const PhotoRecord record = harness.sink().recordOf(shot.strName);
            if (record.fileId != 0)
                QCOMPARE(bool(record.flags & PhotoFlag_Burst), burst.contains(shot.strName));
        }
    }

    void testSeparatedPairsStayApart_data()
    {
        QTest::addColumn<QStringList>("files");  // name: the copy of one scene it holds
        QTest::addColumn<QStringList>("separated");
        QTest::addColumn<QString>("groups");
        // Copies: a = original, b = half size, c = recompressed, a2 = exact copy of a.
        QTest::newRow("nothing separated") << QStringList{"a", "b", "c"} << QStringList() << "{a.jpg,b.jpg,c.jpg}";
        QTest::newRow("a pair") << QStringList{"a", "b"} << QStringList{"a", "b"} << QString();
        QTest::newRow("one of three leaves the others together")
            << QStringList{"a", "b", "c"} << QStringList{"a", "c"} << "{a.jpg,b.jpg}";
        QTest::newRow("exact copies stay with their key")
            << QStringList{"a", "a2", "b"} << QStringList{"b", "a"} << "{a.jpg,a2.jpg}";
        QTest::newRow("two pairs") << QStringList{"a", "b", "c"} << QStringList{"a", "b", "b", "c"} << "{a.jpg,c.jpg}";
    }

    void testSeparatedPairsStayApart()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, separated);
        QFETCH(QString, groups);
        const QImage base = scene(45);
        for (const QString &name : files) {
            const QString file = path(name + QStringLiteral(".jpg"));
            if (name == QLatin1String("a"))
                QVERIFY(save(base, file));
            else if (name == QLatin1String("b"))
                QVERIFY(save(resized(base, 0.5), file));
            else if (name == QLatin1String("c"))
                QVERIFY(save(base, file, "JPG", 40));
        }
        if (files.contains(QStringLiteral("a2")))
            QVERIFY(QFile::copy(path("a.jpg"), path("a2.jpg")));
        QVERIFY(save(scene(46), path("other.jpg")));
        // Given a scan that knows the photos' content keys
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        const QMap<QString, uint64_t> keys = contentKeys(harness);
        std::vector<uint64_t> pairs;
        for (const QString &name : separated) {
            QVERIFY(keys.value(name + QStringLiteral(".jpg")) != 0);
            pairs.push_back(keys.value(name + QStringLiteral(".jpg")));
        }
        // When the user separates pairs, a regroup and a fresh scan keep them apart
        harness.extras()->SetSeparatedPairs(pairs.data(), uint32_t(pairs.size() / 2));
        QCOMPARE(harness.regroup(70), 0);
        QCOMPARE(harness.sink().groupsText(), groups);
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        QCOMPARE(harness.sink().groupsText(), groups);
        // And clearing the list groups them again
        harness.extras()->SetSeparatedPairs(nullptr, 0);
        QCOMPARE(harness.regroup(70), 0);
        QCOMPARE(harness.sink().groupsText().count(QLatin1Char('{')), 1);
    }

    void testContentKey_data()
    {
        QTest::addColumn<QImage>("second");  // null: the first moved and renamed
        QTest::addColumn<int>("quality");
        QTest::newRow("moved and renamed") << QImage() << 0;
        QTest::newRow("half size") << resized(scene(51), 0.5) << 90;
        QTest::newRow("recompressed") << scene(51) << 50;
    }

    void testContentKey()
    {
        QFETCH(QImage, second);
        QFETCH(int, quality);
        QVERIFY(save(scene(51), path("a.jpg")));
        QVERIFY(QFile::copy(path("a.jpg"), path("twin.jpg")));  // so that a.jpg is reported
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        const uint64_t key = contentKeys(harness).value("a.jpg");
        QVERIFY(key != 0);
        QCOMPARE(harness.extras()->GetContentKey(0), uint64_t(0));
        QCOMPARE(harness.extras()->GetContentKey(~uint64_t(0)), uint64_t(0));

        if (second.isNull()) {
            QVERIFY(QDir().mkpath(path("moved")));
            QVERIFY(QFile::rename(path("a.jpg"), path("moved/b.jpg")));
        } else {
            QVERIFY(save(second, path("b.jpg"), "JPG", quality));
        }
        // A new engine, as after a restart, finds the same key for the same bytes wherever they lie
        CEngineHarness later;
        QCOMPARE(later.scan({m_pDir->path()}), 0);
        const QMap<QString, uint64_t> keys = contentKeys(later);
        QVERIFY(keys.contains("b.jpg"));
        QCOMPARE(keys.value("b.jpg") == key, second.isNull());
        QCOMPARE(keys.value("twin.jpg"), key);
    }

    void testScanThumbnail_data()
    {
        QTest::addColumn<QSize>("uprightSize");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("grey");
        QTest::addColumn<EnThumbCase>("thumbCase");
        QTest::addColumn<QSize>("thumbSize");  // empty: no thumbnail
        QTest::newRow("turned by its tag") << QSize(1600, 2400) << 6 << false << Thumb_Kept << QSize(171, 256);
        QTest::newRow("grey photo") << QSize(2400, 1600) << 1 << true << Thumb_Kept << QSize(256, 171);
        QTest::newRow("not asked for") << QSize(2400, 1600) << 1 << false << Thumb_NotAsked << QSize();
        QTest::newRow("small photo") << QSize(640, 480) << 1 << false << Thumb_Kept << QSize();
        QTest::newRow("cache folder unwritable") << QSize(2400, 1600) << 1 << false << Thumb_CacheFolderUnwritable << QSize();
    }

    void testScanThumbnail()
    {
        QFETCH(QSize, uprightSize);
        QFETCH(int, orientation);
        QFETCH(bool, grey);
        QFETCH(EnThumbCase, thumbCase);
        QFETCH(QSize, thumbSize);
        // Given a photo stored turned, with the tag that turns it upright, and a smaller copy of it
        QImage upright = scene(61, uprightSize);
        if (grey)
            upright = upright.convertToFormat(QImage::Format_Grayscale8);
        const QImage stored = orientation == 6 ? upright.transformed(QTransform().rotate(-90)) : upright;
        QVERIFY(save(stored, path("photo.jpg")) && setOrientation(path("photo.jpg"), orientation));
        QVERIFY(save(resized(stored, 0.5), path("copy.jpg")) && setOrientation(path("copy.jpg"), orientation));
        if (thumbCase == Thumb_CacheFolderUnwritable) {
            // A file where the folder should be stops even root from writing there.
            const QString cacheFolder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                + QStringLiteral("/mirelle");
            QVERIFY(QDir(cacheFolder).removeRecursively() && writeBytes(cacheFolder, QByteArray()));
        }
        // When scanned, the photos are grouped whatever becomes of the thumbnails
        CEngineHarness harness;
        harness.extras()->SetScanThumbnails(thumbCase == Thumb_NotAsked ? 0 : 1);
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        QCOMPARE(harness.sink().groupsText(), QStringLiteral("{copy.jpg,photo.jpg}"));
        const QString photo = harness.sink().pathOf("photo.jpg");
        QVERIFY(!photo.isEmpty());

        const QByteArray jpeg = scanThumbnail(harness, photo);
        // Then the photo has a thumbnail exactly when it is large and one was asked for
        if (thumbSize.isEmpty()) {
            QCOMPARE(jpeg, QByteArray());
            return;
        }
        QImage thumb;
        QVERIFY(thumb.loadFromData(jpeg, "JPG"));
        QCOMPARE(thumb.size(), thumbSize);
        QCOMPARE(thumb.isGrayscale(), grey);
        // Compared in coarse blocks: a turn or a mirror moves them, recompression does not.
        const QImage expected = upright.scaled(4, 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage actual = thumb.scaled(4, 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                QVERIFY2(near(actual.pixel(x, y), expected.pixel(x, y), 19),
                         qPrintable(QStringLiteral("block %1,%2").arg(x).arg(y)));
        // And a later scan that reads the photo from the feature cache keeps its thumbnail
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        QCOMPARE(scanThumbnail(harness, photo), jpeg);
    }
};

QTEST_MAIN(TestScanEngineExtras)
#include "tst_ScanEngineExtras.moc"
