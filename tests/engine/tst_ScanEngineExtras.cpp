#include "CEngineHarness.h"
#include "CEngineTest.h"
#include "CTestPhotos.h"

#include <QtTest>

#include <atomic>
#include <thread>

using namespace testphotos;

namespace {

// A stop must end the scan within 200 ms; sanitizers slow the file being
// decoded at that moment several times over.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr qint64 kStopBudgetMs = 1000;
#else
constexpr qint64 kStopBudgetMs = 200;
#endif

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

// One file of a row: its pixels and the thumbnail its EXIF carries.
struct CPhoto
{
    QString strName;
    int iScene;       // the pixels: a scene, then changed by edit
    QString strEdit;  // "", "half", "wider crop", "same-shape crop", "cut short"
    int iThumbScene;  // the scene the embedded thumbnail shows as first written; 0: none
};

QImage edited(const QImage &image, const QString &strEdit)
{
    if (strEdit == QLatin1String("half"))
        return resized(image, 0.5);
    if (strEdit == QLatin1String("wider crop"))
        return image.copy(0, 0, image.width() * 7 / 10, image.height());
    if (strEdit == QLatin1String("same-shape crop"))
        return image.copy(image.width() / 5, image.height() / 5, image.width() * 3 / 5, image.height() * 3 / 5);
    return image;
}

bool writePhoto(const QString &strPath, const CPhoto &photo)
{
    const QSize size(1600, 1200);
    if (strPath.endsWith(QLatin1String(".heic")))
        return saveHeic(scene(photo.iScene, size), strPath, photo.iThumbScene ? 160 : 0);
    if (!save(edited(scene(photo.iScene, size), photo.strEdit), strPath, nullptr, 90))
        return false;
    // As a camera writes it; an editor that changed the pixels may have kept it.
    // The editor that cropped in the same shape signed the file, as editors do.
    const char *pszSoftware = photo.strEdit == QLatin1String("same-shape crop") ? "GIMP 2.10" : nullptr;
    if (photo.iThumbScene
        && !(setCameraTags(strPath, "Canon", "EOS 80D", "2024:06:01 10:00:00", pszSoftware)
             && writeExifPreview(strPath, scene(photo.iThumbScene, size).scaled(160, 120, Qt::IgnoreAspectRatio,
                                                                               Qt::SmoothTransformation))))
        return false;
    QFile file(strPath);
    return photo.strEdit != QLatin1String("cut short") || file.resize(file.size() * 2 / 3);
}

// What the manager files and marks by: groups, and each reported record's figures.
QString outcome(CTestSink &sink)
{
    QStringList records;
    for (const CTestSink::CEvent &e : sink.listEvents) {
        if (e.kind == CTestSink::CEvent::Merged)
            continue;
        records << QStringLiteral("%1 %2x%3 def %4 sim %5 flags %6")
                       .arg(QFileInfo(e.strPath).fileName())
                       .arg(e.record.width).arg(e.record.height)
                       .arg(e.record.definition, 0, 'g', 6)
                       .arg(e.record.similarity).arg(e.record.flags);
    }
    records.sort();
    return sink.groupsText() + QLatin1Char('\n') + records.join(QLatin1Char('\n'));
}

} // namespace

Q_DECLARE_METATYPE(QList<CShot>)
Q_DECLARE_METATYPE(EnThumbCase)
Q_DECLARE_METATYPE(QList<CPhoto>)

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
        QCOMPARE(harness.groupsAfterScan({m_pDir->path()}), QString());
        // Then with it, on a regroup as on a fresh scan, only the two are grouped
        const QString expected = QStringLiteral("{original.jpg,turned.jpg}");
        harness.extras()->SetRotationMatching(1);
        QCOMPARE(harness.groupsAfterRegroup(70), expected);
        QVERIFY(harness.sink().recordOf("turned.jpg").similarity >= 70);
        QCOMPARE(harness.groupsAfterScan({m_pDir->path()}), expected);
        // And switched off again, the copy drops out
        harness.extras()->SetRotationMatching(0);
        QCOMPARE(harness.groupsAfterRegroup(70), QString());
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
                QVERIFY(writeExif(path(shot.strName), {{QStringLiteral("Exif.Photo.SubSecTimeOriginal"), shot.strSubSeconds}}));
        }
        // When scanned at the default threshold, and regrouped to it
        CEngineHarness harness;
        QCOMPARE(harness.groupsAfterScan({m_pDir->path()}), groups);
        QCOMPARE(harness.groupsAfterRegroup(70), groups);
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
        QCOMPARE(harness.groupsAfterRegroup(70), groups);
        QCOMPARE(harness.groupsAfterScan({m_pDir->path()}), groups);
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
            QVERIFY(QDir().mkpath(QFileInfo(cacheFolder).path()) && writeBytes(cacheFolder, QByteArray()));
        }
        // When scanned, the photos are grouped whatever becomes of the thumbnails
        CEngineHarness harness;
        harness.extras()->SetScanThumbnails(thumbCase == Thumb_NotAsked ? 0 : 1);
        QCOMPARE(harness.groupsAfterScan({m_pDir->path()}), QStringLiteral("{copy.jpg,photo.jpg}"));
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

    // Two stages, thumbnails first, find what decoding every photo finds.
    void testSameOutcomeAsOneStage_data();
    void testSameOutcomeAsOneStage();
    void testStopEndsEitherStage_data();
    void testStopEndsEitherStage();
};

void TestScanEngineExtras::testSameOutcomeAsOneStage_data()
{
    QTest::addColumn<QList<CPhoto>>("photos");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("minEmbedded");  // photos left at stage one after the scan

    QTest::newRow("copies, one without a thumbnail")
        << QList<CPhoto>{{"a.jpg", 1, "", 1}, {"b.jpg", 1, "half", 1}, {"c.png", 1, "", 0}, {"d.jpg", 2, "", 2},
                         {"e.jpg", 3, "", 3}}
        << "{a.jpg,b.jpg,c.png}" << 2;
    QTest::newRow("HEIC with thumbnail items")
        << QList<CPhoto>{{"a.heic", 1, "", 1}, {"b.jpg", 1, "half", 1}, {"c.heic", 2, "", 2}, {"d.jpg", 3, "", 3}}
        << "{a.heic,b.jpg}" << 2;
    // Its thumbnail is intact, but a scan that decodes it finds it damaged.
    QTest::newRow("cut short") << QList<CPhoto>{{"a.jpg", 1, "", 1}, {"b.jpg", 2, "cut short", 2}} << "" << 1;
    // Stale thumbnails of another shape are not trusted: the photo is decoded, so its
    // old thumbnail neither joins it to the photo it shows nor keeps it from its copies.
    QTest::newRow("cropped after the thumbnail was written")
        << QList<CPhoto>{{"a.jpg", 1, "", 1}, {"b.jpg", 4, "wider crop", 1}, {"c.jpg", 5, "wider crop", 9},
                         {"d.jpg", 5, "wider crop", 0}, {"e.jpg", 3, "", 3}}
        << "{c.jpg,d.jpg}" << 1;
    // A crop of the same shape keeps the thumbnail's shape: only the editor's signature
    // tells that the thumbnail may show the picture as it was before.
    QTest::newRow("cropped in the same shape by an editor")
        << QList<CPhoto>{{"a.jpg", 1, "", 1}, {"c.jpg", 5, "same-shape crop", 9}, {"d.jpg", 5, "same-shape crop", 0},
                         {"e.jpg", 3, "", 3}}
        << "{c.jpg,d.jpg}" << 1;
    // A thumbnail of the right shape that shows another picture: stage one links the
    // two, the decode tells them apart.
    QTest::newRow("thumbnail of another picture")
        << QList<CPhoto>{{"a.jpg", 1, "", 1}, {"b.jpg", 2, "", 1}, {"e.jpg", 3, "", 3}}
        << "" << 1;
}

void TestScanEngineExtras::testSameOutcomeAsOneStage()
{
    QFETCH(QList<CPhoto>, photos);
    QFETCH(QString, expected);
    QFETCH(int, minEmbedded);
    const QString folder = m_pDir->path();
    for (const CPhoto &photo : photos) {
        if (!writePhoto(folder + QLatin1Char('/') + photo.strName, photo)) {
            if (photo.strName.endsWith(QLatin1String(".heic")))
                QSKIP("no HEVC encoder");
            QFAIL(qPrintable(photo.strName));
        }
    }

    // Two stages first: the cache keeps decoded features only, so the one-stage scan
    // after it still decodes every photo it needs.
    QString outcomes[2], regrouped[2];
    qint64 damaged[2] = {0, 0};
    for (int exact : {0, 1}) {
        CEngineHarness harness;
        harness.extras()->SetExactFeatures(exact);
        QCOMPARE(harness.scan({folder}, 70), 0);
        outcomes[exact] = outcome(harness.sink());
        const QMap<QString, qint64> stats = harness.lastStats();
        damaged[exact] = stats.value("corrupt");
        if (exact)
            QCOMPARE(stats.value("embedded"), 0);
        else
            QVERIFY2(stats.value("embedded") >= minEmbedded, qPrintable(QString::number(stats.value("embedded"))));
        // A lower threshold reaches photos stage one left undecoded.
        QCOMPARE(harness.regroup(40), 0);
        regrouped[exact] = outcome(harness.sink());
    }
    QCOMPARE(outcomes[0], outcomes[1]);
    QCOMPARE(regrouped[0], regrouped[1]);
    QCOMPARE(damaged[0], damaged[1]);
    QCOMPARE(outcomes[0].section(QLatin1Char('\n'), 0, 0), expected);
}

void TestScanEngineExtras::testStopEndsEitherStage_data()
{
    QTest::addColumn<int>("step");  // under way when stopped
    QTest::newRow("reading, stage one") << 1;
    QTest::newRow("decoding what stage one linked") << 2;
}

void TestScanEngineExtras::testStopEndsEitherStage()
{
    QFETCH(int, step);
    // Byte copies: stage one links them all, so stage two has every one to decode.
    const QString folder = m_pDir->path();
    QVERIFY(writePhoto(folder + QStringLiteral("/seed.jpg"), {"seed.jpg", 1, "", 1}));
    constexpr int kCopies = 200;
    for (int i = 0; i < kCopies; ++i)
        QVERIFY(QFile::copy(folder + QStringLiteral("/seed.jpg"), folder + QStringLiteral("/copy%1.jpg").arg(i)));
    CEngineHarness harness;
    QElapsedTimer sinceStop;
    std::atomic_bool bDone{false};
    std::thread stopper([&] {
        while (!bDone) {
            {
                QMutexLocker lock(&harness.sink().mutex);
                if (harness.sink().listProgressSteps.contains(step))
                    break;
            }
            std::this_thread::yield();
        }
        sinceStop.start();
        harness.engine()->Stop();
    });
    int endScan = 0;
    const int result = harness.scan({folder}, 70, nullptr, &endScan);
    bDone = true;
    const qint64 elapsed = sinceStop.elapsed();
    stopper.join();
    QCOMPARE(result, 1);
    QVERIFY(endScan != 0);
    QVERIFY2(elapsed <= kStopBudgetMs, qPrintable(QString::number(elapsed)));
    QCOMPARE(harness.sink().groups().size(), 0);
    QVERIFY(harness.lastStats().value("decoded") < kCopies + 1);
    // The engine is usable again afterwards.
    QCOMPARE(harness.scan({QDir::tempPath() + QStringLiteral("/does-not-exist-here")}), 0);
}

QTEST_MAIN(TestScanEngineExtras)
#include "tst_ScanEngineExtras.moc"
