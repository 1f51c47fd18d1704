#include "CEngineHarness.h"
#include "CPathCodec.h"
#include "CTestPhotos.h"
#include "IScanEngineExtras.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <ftw.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <unistd.h>

using namespace testphotos;

namespace {

QSet<QString> names(std::initializer_list<const char *> list)
{
    QSet<QString> out;
    for (const char *name : list)
        out.insert(QString::fromUtf8(name));
    return out;
}

// A stop must end the scan within 200 ms; sanitizers slow the file being
// decoded at that moment several times over.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr qint64 kStopBudgetMs = 1000;
#else
constexpr qint64 kStopBudgetMs = 200;
#endif

enum EnCopy { Copy_Exact, Copy_Half, Copy_Recompressed, Copy_Png, Copy_Webp, Copy_Tiff, Copy_Crop3, Copy_Brighter,
              Copy_ExifRotation, Copy_SmallRecompressed, Copy_Heic };

} // namespace

class TestScanEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void testReportsVolumesBeforeCreateFilterReturns();
    void testGroupsTransformedCopy_data();
    void testGroupsTransformedCopy();
    void testKeepsDifferentPhotosApart_data();
    void testKeepsDifferentPhotosApart();
    void testMergesGroupsLinkedLater();
    void testHigherThresholdsOnlySplitGroups();
    void testRegroupReadsNoFile();
    void testSecondScanReadsNoImage();
    void testCorruptCacheIsRebuilt();
    void testLockedCacheIsNotFatal();
    void testRemovedFileIsNotReportedAgain();
    void testStopReturnsWithin200ms();
    void testSkipsBadInput_data();
    void testSkipsBadInput();
    void testFolderBeyondPathLimitIsCounted();
    void testWalksNestedPathsAndLinkLoopsOnce();
    void testWalksWhatTheUserChose_data();
    void testWalksWhatTheUserChose();
    void testHardLinkIsReportedHidden();
    void testFilterOptions_data();
    void testFilterOptions();
    void testRecordFields();

private:
    QString path(const QString &strName) const { return m_pDir->filePath(strName); }
    // Three unrelated scenes, so that a test also shows nothing else is grouped.
    void addDistractors(const QString &strFolder);

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_pDir;
    QStringList m_listMounts;  // undone in cleanup()
};

void TestScanEngine::initTestCase()
{
    // The engine's cache and our statistics stay inside this test's temporary home.
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toUtf8());
    qputenv("XDG_CACHE_HOME", (m_home.path() + QStringLiteral("/cache")).toUtf8());
    qputenv("MIRELLE_ENGINE_STATS", (m_home.path() + QStringLiteral("/stats.txt")).toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    CEngineHarness harness;
    QVERIFY2(harness.isLoaded(), SCAN_ENGINE_MODULE);
}

void TestScanEngine::init()
{
    m_pDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_pDir->isValid());
}

void TestScanEngine::cleanup()
{
    for (const QString &mount : qAsConst(m_listMounts))
        ::umount2(QFile::encodeName(mount).constData(), MNT_DETACH);
    m_listMounts.clear();
    // QTemporaryDir cannot remove names that are not UTF-8; remove everything by bytes.
    if (m_pDir) {
        ::nftw(QFile::encodeName(m_pDir->path()).constData(),
               [](const char *pszPath, const struct stat *, int, FTW *) { return ::remove(pszPath); }, 16,
               FTW_DEPTH | FTW_PHYS | FTW_MOUNT);
    }
    m_pDir.reset();
}

void TestScanEngine::addDistractors(const QString &strFolder)
{
    for (int seed : {501, 502, 503})
        QVERIFY(save(scene(seed), strFolder + QStringLiteral("/other%1.jpg").arg(seed)));
}

void TestScanEngine::testReportsVolumesBeforeCreateFilterReturns()
{
    CEngineHarness harness;
    QVERIFY(!harness.sink().listVolumes.isEmpty());
    bool bHasRoot = false;
    for (IScanVolume *pVolume : harness.sink().listVolumes) {
        QVERIFY(pVolume->IsReady() != 0);
        bHasRoot |= QString::fromUtf16(pVolume->GetRootPath()) == QLatin1String("/");
        pVolume->Prepare();
        QVERIFY(scanVolumeState(pVolume) != 0);
        pVolume->ClearPaths();
        QCOMPARE(scanVolumeState(pVolume), 0u);
    }
    QVERIFY(bHasRoot);
}

void TestScanEngine::testGroupsTransformedCopy_data()
{
    QTest::addColumn<int>("copy");
    QTest::addColumn<QString>("name");
    QTest::newRow("exact copy") << int(Copy_Exact) << "copy.jpg";
    QTest::newRow("half size") << int(Copy_Half) << "copy.jpg";
    QTest::newRow("recompressed at quality 40") << int(Copy_Recompressed) << "copy.jpg";
    QTest::newRow("converted to PNG") << int(Copy_Png) << "copy.png";
    QTest::newRow("converted to WebP") << int(Copy_Webp) << "copy.webp";
    QTest::newRow("converted to TIFF") << int(Copy_Tiff) << "copy.tif";
    QTest::newRow("cropped by 3%") << int(Copy_Crop3) << "copy.jpg";
    QTest::newRow("brighter with more contrast") << int(Copy_Brighter) << "copy.jpg";
    QTest::newRow("rotated by the EXIF tag only") << int(Copy_ExifRotation) << "copy.jpg";
    QTest::newRow("a quarter size, quality 60") << int(Copy_SmallRecompressed) << "copy.jpg";
    QTest::newRow("converted to HEIC") << int(Copy_Heic) << "copy.heic";
}

void TestScanEngine::testGroupsTransformedCopy()
{
    QFETCH(int, copy);
    QFETCH(QString, name);
    // Given a photo, a changed copy of it and unrelated photos
    const QImage original = scene(7);
    QVERIFY(save(original, path("original.jpg")));
    switch (EnCopy(copy)) {
    case Copy_Exact: QVERIFY(QFile::copy(path("original.jpg"), path(name))); break;
    case Copy_Half: QVERIFY(save(resized(original, 0.5), path(name))); break;
    case Copy_Recompressed: QVERIFY(save(original, path(name), "JPG", 40)); break;
    case Copy_Png: QVERIFY(save(original, path(name))); break;
    case Copy_Webp: QVERIFY(save(original, path(name), "WEBP", 80)); break;
    case Copy_Tiff: QVERIFY(save(original, path(name))); break;
    case Copy_Crop3: QVERIFY(save(cropped(original, 0.03), path(name))); break;
    case Copy_Brighter: QVERIFY(save(brighter(original), path(name))); break;
    case Copy_ExifRotation:
        QVERIFY(QFile::copy(path("original.jpg"), path(name)));
        QVERIFY(setOrientation(path(name), 6));
        break;
    case Copy_SmallRecompressed: QVERIFY(save(resized(original, 0.25), path(name), "JPG", 60)); break;
    case Copy_Heic:
        if (!saveHeic(original, path(name)))
            QSKIP("libheif has no HEVC encoder here");
        break;
    }
    addDistractors(m_pDir->path());
    // When scanned at the default threshold
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    // Then the two form the only group
    QCOMPARE(groupsToText(harness.sink().groups()), groupsToText({QSet<QString>{"original.jpg", name}}));
    const QList<CTestSink::CEvent> events = harness.sink().listEvents;
    QCOMPARE(events.size(), 2);
    QCOMPARE(events[0].record.similarity, uint8_t(100));
    QVERIFY(events[1].record.similarity >= 70);
    QCOMPARE(events[1].record.similarity == 100, copy == Copy_Exact);
    if (copy == Copy_Heic) {
        const PhotoRecord heic = harness.sink().recordOf(name);
        QCOMPARE(heic.width, uint16_t(640));
        QCOMPARE(heic.height, uint16_t(480));
    }
}

void TestScanEngine::testKeepsDifferentPhotosApart_data()
{
    QTest::addColumn<QImage>("first");
    QTest::addColumn<QImage>("second");
    QTest::newRow("different scenes") << scene(11) << scene(12);
    QTest::newRow("same colours, other layout") << scene(21) << scene(21, QSize(640, 480), 22);
    const QImage wide = scene(31, QSize(1280, 480));
    QTest::newRow("left and right of one scene") << wide.copy(0, 0, 700, 480) << wide.copy(580, 0, 700, 480);
    QTest::newRow("top and bottom of one scene") << scene(41, QSize(640, 960)).copy(0, 0, 640, 520)
                                                 << scene(41, QSize(640, 960)).copy(0, 440, 640, 520);
}

void TestScanEngine::testKeepsDifferentPhotosApart()
{
    QFETCH(QImage, first);
    QFETCH(QImage, second);
    QVERIFY(save(first, path("a.jpg")));
    QVERIFY(save(second, path("b.jpg")));
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    QCOMPARE(groupsToText(harness.sink().groups()), QString());
}

void TestScanEngine::testMergesGroupsLinkedLater()
{
    // Given two pairs of exact copies, each pair a changed version of the other:
    // the exact pairs link first and form two groups, which a weaker link then merges.
    const QImage original = scene(61);
    QVERIFY(save(original, path("a1.jpg")));
    QVERIFY(QFile::copy(path("a1.jpg"), path("a2.jpg")));
    QVERIFY(save(resized(original, 0.5), path("b1.jpg"), "JPG", 70));
    QVERIFY(QFile::copy(path("b1.jpg"), path("b2.jpg")));
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    int merges = 0;
    for (const CTestSink::CEvent &e : harness.sink().listEvents) {
        if (e.kind != CTestSink::CEvent::Merged)
            continue;
        ++merges;
        // The engine's records are read after the callback returned, as the manager does.
        QVERIFY(e.pAbsorbed->fileId != e.pInto->fileId);
        QVERIFY(fileNameOf(e.pAbsorbed).startsWith(QLatin1Char('b')) != fileNameOf(e.pInto).startsWith(QLatin1Char('b')));
    }
    QCOMPARE(merges, 1);
    QCOMPARE(groupsToText(harness.sink().groups()), groupsToText({names({"a1.jpg", "a2.jpg", "b1.jpg", "b2.jpg"})}));
}

void TestScanEngine::testHigherThresholdsOnlySplitGroups()
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
    const QString regrouped = groupsToText(harness.sink().groups());
    QCOMPARE(harness.scan({m_pDir->path()}, 70), 0);
    QCOMPARE(groupsToText(harness.sink().groups()), regrouped);
}

void TestScanEngine::testRegroupReadsNoFile()
{
    const QImage base = scene(81);
    QVERIFY(save(base, path("a.jpg")));
    QVERIFY(save(resized(base, 0.5), path("b.jpg")));
    QVERIFY(save(scene(82), path("c.jpg")));
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    const QString before = groupsToText(harness.sink().groups());
    QCOMPARE(before, groupsToText({names({"a.jpg", "b.jpg"})}));
    // When the files are gone, a regroup still works from what the scan kept.
    QVERIFY(m_pDir->remove());
    QCOMPARE(harness.regroup(70), 0);
    QCOMPARE(groupsToText(harness.sink().groups()), before);
    QCOMPARE(harness.sink().listFinishedSteps, QList<int>({2, 3}));
}

void TestScanEngine::testSecondScanReadsNoImage()
{
    const QImage base = scene(91);
    QVERIFY(save(base, path("a.jpg")));
    QVERIFY(save(base, path("b.png")));
    QVERIFY(save(scene(92), path("c.jpg")));
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    QCOMPARE(harness.lastStats().value("decoded"), 3);
    const QString first = groupsToText(harness.sink().groups());
    // A second engine, as after a restart, reads the same tree from the cache only.
    CEngineHarness second;
    QCOMPARE(second.scan({m_pDir->path()}), 0);
    QCOMPARE(second.lastStats().value("decoded"), 0);
    QCOMPARE(second.lastStats().value("cached"), 3);
    QCOMPARE(groupsToText(second.sink().groups()), first);
    // A changed file is read again.
    QVERIFY(save(scene(93), path("c.jpg"), "JPG", 80));
    QCOMPARE(second.scan({m_pDir->path()}), 0);
    QCOMPARE(second.lastStats().value("decoded"), 1);
}

void TestScanEngine::testCorruptCacheIsRebuilt()
{
    const QImage base = scene(95);
    QVERIFY(save(base, path("a.jpg")));
    QVERIFY(save(resized(base, 0.5), path("b.jpg")));
    const QString cacheFile = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/mirelle/features.sqlite");
    QVERIFY(QDir().mkpath(QFileInfo(cacheFile).absolutePath()));
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(cacheFile + QLatin1String(suffix));
    QFile garbage(cacheFile);
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, '\x5a'));
    garbage.close();
    {
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path()}), 0);
        QCOMPARE(harness.sink().groups().size(), 1);
    }
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    QCOMPARE(harness.lastStats().value("cached"), 2);
}

void TestScanEngine::testLockedCacheIsNotFatal()
{
    const QImage base = scene(97);
    QVERIFY(save(base, path("a.jpg")));
    QVERIFY(save(resized(base, 0.5), path("b.jpg")));
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    // Another process holds the cache's write lock for the whole second scan.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        db.setDatabaseName(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                           + QStringLiteral("/mirelle/features.sqlite"));
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(save(scene(98), path("c.jpg")));
        CEngineHarness second;
        QCOMPARE(second.scan({m_pDir->path()}), 0);
        QCOMPARE(groupsToText(second.sink().groups()), groupsToText({names({"a.jpg", "b.jpg"})}));
        QCOMPARE(second.lastStats().value("decoded"), 1);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
}

void TestScanEngine::testRemovedFileIsNotReportedAgain()
{
    const QImage base = scene(101);
    QVERIFY(save(base, path("a.jpg")));
    QVERIFY(save(resized(base, 0.5), path("b.jpg")));
    QVERIFY(save(base, path("c.png")));
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    QCOMPARE(groupsToText(harness.sink().groups()), groupsToText({names({"a.jpg", "b.jpg", "c.png"})}));
    harness.engine()->SetFileState(harness.sink().recordOf("b.jpg").fileId, ScanFileState_Removed);
    QCOMPARE(harness.regroup(70), 0);
    QCOMPARE(groupsToText(harness.sink().groups()), groupsToText({names({"a.jpg", "c.png"})}));
    // Restored, it comes back.
    harness.engine()->SetFileState(harness.sink().recordOf("a.jpg").fileId, ScanFileState_Removed);
    QCOMPARE(harness.regroup(70), 0);
    QCOMPARE(groupsToText(harness.sink().groups()), QString());
}

void TestScanEngine::testStopReturnsWithin200ms()
{
    // Enough photos to keep the engine busy for seconds.
    QVERIFY(save(scene(111, QSize(1600, 1200)), path("seed.jpg")));
    for (int i = 0; i < 600; ++i)
        QVERIFY(QFile::copy(path("seed.jpg"), path(QStringLiteral("copy%1.jpg").arg(i))));
    CEngineHarness harness;
    QElapsedTimer sinceStop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sinceStop.start();
        harness.engine()->Stop();
    });
    int endScan = 0;
    const int result = harness.scan({m_pDir->path()}, 70, nullptr, &endScan);
    const qint64 elapsed = sinceStop.elapsed();
    stopper.join();
    QCOMPARE(result, 1);
    QVERIFY(endScan != 0);
    QVERIFY2(elapsed <= kStopBudgetMs, qPrintable(QString::number(elapsed)));
    // The engine is usable again afterwards.
    QVERIFY(m_pDir->remove());
    QCOMPARE(harness.scan({QDir::tempPath() + QStringLiteral("/does-not-exist-here")}), 0);
}

void TestScanEngine::testSkipsBadInput_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("counter");
    QTest::addColumn<int>("kind");  // as the engine's additions count what was passed over
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        scene(121).save(&buffer, "JPG", 90);
    }
    QTest::newRow("zero bytes") << "empty.jpg" << QByteArray() << "notImage" << int(ScanSkipped_Damaged);
    QTest::newRow("truncated JPEG") << "truncated.jpg" << jpeg.left(jpeg.size() / 2) << "corrupt" << int(ScanSkipped_Damaged);
    QTest::newRow("unreadable file") << "unreadable.jpg" << jpeg << "unreadable" << int(ScanSkipped_Unreadable);
    QTest::newRow("text with an image suffix") << "notes.png" << QByteArray("just some text\n").repeated(40) << "notImage" << int(ScanSkipped_Damaged);
    // A JPEG header that claims 60000 x 60000 pixels.
    QByteArray bomb = QByteArray::fromHex("FFD8FFC0001108EA60EA6003012200021101031101"
                                          "FFDA000C03010002110311003F00FFD9");
    QTest::newRow("JPEG decompression bomb") << "bomb.jpg" << bomb << "tooLarge" << int(ScanSkipped_TooLarge);
}

void TestScanEngine::testSkipsBadInput()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, counter);
    QFETCH(int, kind);
    // Given a good pair with awkward names and one bad file
    const QImage base = scene(122);
    const QString deep = path(QString(30, QLatin1Char('d')) + QStringLiteral("/") + QString(120, QLatin1Char('e'))
                              + QStringLiteral("/") + QString(120, QLatin1Char('f')));
    QVERIFY(QDir().mkpath(deep));
    QVERIFY(deep.size() > 260);
    QVERIFY(save(base, path(QStringLiteral("ünïcödé photo 写真.jpg"))));
    QVERIFY(save(resized(base, 0.5), deep + QStringLiteral("/with space.jpg")));
    QFile bad(path(name));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(content);
    bad.close();
    if (name == QLatin1String("unreadable.jpg")) {
        if (::geteuid() == 0)
            QSKIP("permissions do not stop root from reading");
        QVERIFY(bad.setPermissions(QFileDevice::Permissions()));
    }
    // When scanned
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    // Then the bad file is counted and skipped, and the pair is found
    QCOMPARE(groupsToText(harness.sink().groups()),
             groupsToText({QSet<QString>{QStringLiteral("ünïcödé photo 写真.jpg"), QStringLiteral("with space.jpg")}}));
    QCOMPARE(harness.lastStats().value(counter), 1);
    QCOMPARE(harness.lastStats().value("found"), 3);
    // And the additions tell it under its kind only
    uint64_t counts[ScanSkipped_Kinds + 1];
    std::fill(std::begin(counts), std::end(counts), 99);
    harness.extras()->GetScanSkipped(counts, ScanSkipped_Kinds);
    for (int i = 0; i < int(ScanSkipped_Kinds); ++i)
        QCOMPARE(counts[i], uint64_t(i == kind ? 1 : 0));
    QCOMPARE(counts[ScanSkipped_Kinds], uint64_t(99));
    // And the skipped file counts as found and read, as the progress screen shows them
    uint64_t progress[ScanProgress_Kinds] = {};
    harness.extras()->GetScanProgress(progress, ScanProgress_Kinds);
    QCOMPARE(progress[ScanProgress_Found], uint64_t(3));
    QCOMPARE(progress[ScanProgress_Read], uint64_t(3));
}

void TestScanEngine::testFolderBeyondPathLimitIsCounted()
{
    // Given a photo pair beside a folder whose path is longer than the system can name;
    // it is made and later removed step by step, relative to the current folder
    const QImage base = scene(123);
    QVERIFY(save(base, path(QStringLiteral("top.jpg"))));
    QVERIFY(save(base, path(QStringLiteral("copy.jpg"))));
    const QByteArray start = QFile::encodeName(QDir::currentPath());
    const QByteArray part(200, 'n');
    QVERIFY(::chdir(QFile::encodeName(m_pDir->path()).constData()) == 0);
    int iDepth = 0;
    for (int iLength = m_pDir->path().size(); iLength < 4300; iLength += part.size() + 1, ++iDepth) {
        QVERIFY(::mkdir(part.constData(), 0755) == 0);
        QVERIFY(::chdir(part.constData()) == 0);
    }
    QFile deep(QStringLiteral("deep.jpg"));
    QVERIFY(deep.open(QIODevice::WriteOnly));
    deep.write(QByteArray(2048, 'x'));
    deep.close();
    const auto removeDeepTree = [&] {
        ::unlink("deep.jpg");
        for (int i = 0; i < iDepth; ++i) {
            if (::chdir("..") != 0)
                break;
            ::rmdir(part.constData());
        }
        return ::chdir(start.constData()) == 0;
    };
    // When scanned
    CEngineHarness harness;
    const int iResult = harness.scan({m_pDir->path()});
    QVERIFY(removeDeepTree());
    // Then the pair is found and the one folder it could not open is counted
    QCOMPARE(iResult, 0);
    QCOMPARE(groupsToText(harness.sink().groups()),
             groupsToText({QSet<QString>{QStringLiteral("copy.jpg"), QStringLiteral("top.jpg")}}));
    uint64_t counts[ScanSkipped_Kinds] = {};
    harness.extras()->GetScanSkipped(counts, ScanSkipped_Kinds);
    QCOMPARE(counts[ScanSkipped_Folders], uint64_t(1));
}

void TestScanEngine::testWalksNestedPathsAndLinkLoopsOnce()
{
    QVERIFY(QDir().mkpath(path("sub/deeper")));
    const QImage base = scene(131);
    QVERIFY(save(base, path("sub/a.jpg")));
    QVERIFY(save(base, path("sub/deeper/b.png")));
    // A link back to the top and a link to a photo.
    QVERIFY(QFile::link(m_pDir->path(), path("sub/deeper/loop")));
    QVERIFY(QFile::link(path("sub/a.jpg"), path("sub/link.jpg")));
    QVERIFY(QDir().mkpath(path("locked")));
    QFile::setPermissions(path("locked"), QFileDevice::Permissions());

    for (int follow : {0, 1}) {
        CEngineHarness harness;
        QCOMPARE(harness.scan({m_pDir->path(), path("sub"), path("sub/deeper")}, 70, [&](IScanFilter *pFilter) {
            pFilter->SetFollowLinks(follow);
            pFilter->AddSuffix(u"jpg");
            pFilter->AddSuffix(u"png");
            pFilter->Finalize(1);
        }), 0);
        const QSet<QString> expected = follow ? names({"a.jpg", "b.png", "link.jpg"}) : names({"a.jpg", "b.png"});
        QCOMPARE(groupsToText(harness.sink().groups()), groupsToText({expected}));
        QCOMPARE(harness.lastStats().value("found"), qint64(expected.size()));
        if (::geteuid() != 0)
            QCOMPARE(harness.lastStats().value("unreadableFolders"), 1);
    }
    QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestScanEngine::testWalksWhatTheUserChose_data()
{
    // The layout in the temporary folder, made in order: "a/b.jpg" a copy of one photo,
    // "link@target" a symbolic link, "mount:ram" a fresh tmpfs there.
    QTest::addColumn<QByteArrayList>("layout");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QByteArrayList>("found");
    QTest::newRow("nested by components, not by prefix")
        << QByteArrayList{"p/a/1.jpg", "p/ab/c/2.jpg"} << QStringList{"p/a", "p/ab/c"}
        << QByteArrayList{"p/a/1.jpg", "p/ab/c/2.jpg"};
    QTest::newRow("symlinked source, followed once")
        << QByteArrayList{"real/1.jpg", "real/sub/2.jpg", "link@real"} << QStringList{"link", "real"}
        << QByteArrayList{"link/1.jpg", "link/sub/2.jpg"};
    QTest::newRow("tmpfs source with subfolders")
        << QByteArrayList{"mount:ram", "ram/1.jpg", "ram/sub/2.jpg"} << QStringList{"ram"}
        << QByteArrayList{"ram/1.jpg", "ram/sub/2.jpg"};
    QTest::newRow("filesystem mounted inside the source")
        << QByteArrayList{"s/1.jpg", "mount:s/ram", "s/ram/2.jpg"} << QStringList{"s"}
        << QByteArrayList{"s/1.jpg", "s/ram/2.jpg"};
    QTest::newRow("names that are not UTF-8")
        << QByteArrayList{"n/x\xff.jpg", "n/x\xfe.jpg", "n/\xe9t\xe9/1.jpg"} << QStringList{"n"}
        << QByteArrayList{"n/x\xfe.jpg", "n/x\xff.jpg", "n/\xe9t\xe9/1.jpg"};
}

void TestScanEngine::testWalksWhatTheUserChose()
{
    QFETCH(QByteArrayList, layout);
    QFETCH(QStringList, sources);
    QFETCH(QByteArrayList, found);
    const QByteArray top = QFile::encodeName(m_pDir->path()) + '/';
    QByteArray photo;
    {
        const QString file = path(QStringLiteral("photo.jpg"));
        QVERIFY(save(scene(151), file));
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        photo = in.readAll();
        QVERIFY(in.remove());
    }
    for (const QByteArray &entry : layout) {
        const QByteArray target = top + (entry.contains('@') ? entry.left(entry.indexOf('@')) : entry);
        if (entry.startsWith("mount:")) {
            const QByteArray point = top + entry.mid(6);
            QVERIFY(QDir().mkpath(QFile::decodeName(point)));
            if (::mount("mirelle-test", point.constData(), "tmpfs", 0, "size=8m") != 0)
                QSKIP("cannot mount a tmpfs here (needs root)");
            m_listMounts << QFile::decodeName(point);
        } else if (entry.contains('@')) {
            QCOMPARE(::symlink((top + entry.mid(entry.indexOf('@') + 1)).constData(), target.constData()), 0);
        } else {
            // By bytes: Qt's file classes would garble a folder name that is not UTF-8.
            for (int slash = target.indexOf('/', top.size()); slash > 0; slash = target.indexOf('/', slash + 1))
                ::mkdir(target.left(slash).constData(), 0700);
            FILE *pFile = std::fopen(target.constData(), "wb");
            QVERIFY(pFile);
            QCOMPARE(std::fwrite(photo.constData(), 1, size_t(photo.size()), pFile), size_t(photo.size()));
            std::fclose(pFile);
        }
    }
    QStringList roots;
    for (const QString &source : sources)
        roots << path(source);

    CEngineHarness harness;
    QCOMPARE(harness.scan(roots), 0);
    QByteArrayList reported;
    for (const CTestSink::CEvent &event : harness.sink().listEvents) {
        if (event.kind != CTestSink::CEvent::Merged)
            reported << dp::platform::pathToBytes(event.strPath).mid(top.size());
    }
    std::sort(reported.begin(), reported.end());
    QCOMPARE(reported, found);
    QCOMPARE(harness.lastStats().value("found"), qint64(found.size()));
}

void TestScanEngine::testHardLinkIsReportedHidden()
{
    const QImage base = scene(141);
    QVERIFY(save(base, path("a.jpg")));
    QVERIFY(save(base, path("b.png")));
    QCOMPARE(::link(QFile::encodeName(path("a.jpg")).constData(), QFile::encodeName(path("a-link.jpg")).constData()), 0);
    QVERIFY(save(scene(142), path("c.jpg")));
    QCOMPARE(::link(QFile::encodeName(path("c.jpg")).constData(), QFile::encodeName(path("c-link.jpg")).constData()), 0);
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}), 0);
    // A second name of a grouped file joins hidden; a file whose only copy is a
    // second name of itself forms no group, as removing either frees nothing.
    QCOMPARE(groupsToText(harness.sink().groups()), groupsToText({names({"a.jpg", "a-link.jpg", "b.png"})}));
    const bool bLinkHidden = harness.sink().recordOf("a-link.jpg").flags & PhotoFlag_Hidden;
    const bool bFirstHidden = harness.sink().recordOf("a.jpg").flags & PhotoFlag_Hidden;
    QVERIFY(bLinkHidden != bFirstHidden);
    QVERIFY(!(harness.sink().recordOf("b.png").flags & PhotoFlag_Hidden));
    QCOMPARE(harness.lastStats().value("decoded"), 3);
}

void TestScanEngine::testFilterOptions_data()
{
    QTest::addColumn<qulonglong>("minSize");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("originalOnly");
    QTest::addColumn<QString>("expected");
    // Files: cam1.JPG and cam2.jpg (camera originals, the second larger), edit.jpg
    // (same camera, signed by an editor), shot.png (no metadata), and a second scene
    // without camera data in g1.png and g2.png.
    QTest::newRow("everything") << 0ull << "jpg|png" << false
                                << "{cam1.JPG,cam2.jpg,edit.jpg,shot.png} {g1.png,g2.png}";
    QTest::newRow("suffixes ignore case") << 0ull << "JPG" << false << "{cam1.JPG,cam2.jpg,edit.jpg}";
    QTest::newRow("only the suffixes given") << 0ull << "png" << false << "{g1.png,g2.png}";
    QTest::newRow("originals only: copies join their original, groups without one stay out")
        << 0ull << "jpg|png" << true << "{cam1.JPG,cam2.jpg,edit.jpg,shot.png}";
    QTest::newRow("smallest size") << 60000ull << "jpg|png" << false << "{cam2.jpg,shot.png} {g1.png,g2.png}";
}

void TestScanEngine::testFilterOptions()
{
    QFETCH(qulonglong, minSize);
    QFETCH(QString, suffix);
    QFETCH(bool, originalOnly);
    QFETCH(QString, expected);
    const QImage base = scene(151);
    QVERIFY(save(resized(base, 0.5), path("cam1.JPG"), "JPG", 80));
    QVERIFY(save(base, path("cam2.jpg"), "JPG", 95));
    QVERIFY(save(resized(base, 0.5), path("edit.jpg"), "JPG", 85));
    QVERIFY(save(base, path("shot.png")));
    QVERIFY(save(scene(152), path("g1.png")));
    QVERIFY(save(brighter(scene(152)), path("g2.png")));
    QVERIFY(QFileInfo(path("cam1.JPG")).size() < 60000 && QFileInfo(path("cam2.jpg")).size() > 60000);
    QVERIFY(QFileInfo(path("edit.jpg")).size() < 60000 && QFileInfo(path("shot.png")).size() > 60000);
    QVERIFY(setCameraTags(path("cam1.JPG"), "Canon", "EOS 5D", "2021:06:15 10:20:30"));
    QVERIFY(setCameraTags(path("cam2.jpg"), "Canon", "EOS 5D", "2021:06:15 10:20:31"));
    QVERIFY(setCameraTags(path("edit.jpg"), "Canon", "EOS 5D", "2021:06:15 10:20:30", "Adobe Photoshop 24.0"));
    CEngineHarness harness;
    QCOMPARE(harness.scan({m_pDir->path()}, 70, [&](IScanFilter *pFilter) {
        pFilter->SetOriginalOnly(originalOnly);
        pFilter->SetFollowLinks(0);
        pFilter->SetMinSize(minSize);
        for (const QString &s : suffix.split(QLatin1Char('|')))
            pFilter->AddSuffix(reinterpret_cast<const ZKChar *>(s.utf16()));
        pFilter->Finalize(1);
    }), 0);
    QCOMPARE(groupsToText(harness.sink().groups()), expected);
    if (expected.contains("cam2.jpg")) {
        QVERIFY(harness.sink().recordOf("cam2.jpg").flags & PhotoFlag_Preferred);
        if (expected.contains("edit.jpg"))
            QVERIFY(!(harness.sink().recordOf("edit.jpg").flags & PhotoFlag_Preferred));
    }
}

void TestScanEngine::testRecordFields()
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
    QCOMPARE(a.width, uint16_t(800));
    QCOMPARE(a.height, uint16_t(600));
    QCOMPARE(rotated.width, uint16_t(600));
    QCOMPARE(rotated.height, uint16_t(800));
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

QTEST_MAIN(TestScanEngine)
#include "tst_ScanEngine.moc"
