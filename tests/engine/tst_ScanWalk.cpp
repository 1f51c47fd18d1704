#include "CEngineHarness.h"
#include "CEngineTest.h"
#include "CPathCodec.h"
#include "CTestPhotos.h"

#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

using namespace testphotos;

// What the engine walks and reads: volumes, the sources the user chose, links, mounts,
// odd names, bad files and the filter's options.
class TestScanWalk : public CEngineTest
{
    Q_OBJECT
private slots:
    void testSkipsBadInput_data()
    {
        QTest::addColumn<QString>("name");  // empty: a folder whose path is longer than the system can name
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<int>("kind");  // as the engine's additions count what was passed over
        const QByteArray jpeg = encoded(scene(121), "JPG", 90);
        QTest::newRow("zero bytes") << "empty.jpg" << QByteArray() << "notImage" << int(ScanSkipped_Damaged);
        QTest::newRow("truncated JPEG") << "truncated.jpg" << jpeg.left(jpeg.size() / 2) << "corrupt" << int(ScanSkipped_Damaged);
        QTest::newRow("text with an image suffix") << "notes.png" << QByteArray("just some text\n").repeated(40) << "notImage" << int(ScanSkipped_Damaged);
        QTest::newRow("JPEG decompression bomb")
            << "bomb.jpg" << jpegClaimingSize(60000, 60000) << "tooLarge" << int(ScanSkipped_TooLarge);
        QTest::newRow("folder beyond the path limit")
            << QString() << QByteArray(2048, 'x') << "unreadableFolders" << int(ScanSkipped_Folders);
    }

    void testSkipsBadInput()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, counter);
        QFETCH(int, kind);
        // Given a good pair with awkward names and one bad file or folder
        const QImage base = scene(122);
        const QString deep = path(QString(30, QLatin1Char('d')) + QStringLiteral("/") + QString(120, QLatin1Char('e'))
                                  + QStringLiteral("/") + QString(120, QLatin1Char('f')));
        QVERIFY(QDir().mkpath(deep));
        QVERIFY(deep.size() > 260);
        QVERIFY(save(base, path(QStringLiteral("ünïcödé photo 写真.jpg"))));
        QVERIFY(save(resized(base, 0.5), deep + QStringLiteral("/with space.jpg")));
        // The folder beyond the limit is made, and later removed, step by step from inside.
        const QByteArray start = QFile::encodeName(QDir::currentPath()), part(200, 'n');
        int iDepth = 0;
        if (name.isEmpty()) {
            QVERIFY(::chdir(QFile::encodeName(m_pDir->path()).constData()) == 0);
            for (int iLength = m_pDir->path().size(); iLength < 4300; iLength += part.size() + 1, ++iDepth)
                QVERIFY(::mkdir(part.constData(), 0755) == 0 && ::chdir(part.constData()) == 0);
        }
        QVERIFY(writeBytes(iDepth ? QStringLiteral("deep.jpg") : path(name), content));
        // When scanned
        CEngineHarness harness;
        const QString groups = harness.groupsAfterScan({m_pDir->path()});
        if (iDepth)
            ::unlink("deep.jpg");
        for (int i = 0; i < iDepth && ::chdir("..") == 0; ++i)
            ::rmdir(part.constData());
        QVERIFY(!iDepth || ::chdir(start.constData()) == 0);
        // Then the bad file or folder is counted and skipped, and the pair is found
        QCOMPARE(groups, QStringLiteral("{with space.jpg,ünïcödé photo 写真.jpg}"));
        QCOMPARE(harness.lastStats().value(counter), 1);
        const uint64_t iFound = iDepth ? 2 : 3;
        QCOMPARE(harness.lastStats().value("found"), qint64(iFound));
        // And the additions tell it under its kind only
        uint64_t counts[ScanSkipped_Kinds + 1];
        std::fill(std::begin(counts), std::end(counts), 99);
        harness.extras()->GetScanSkipped(counts, ScanSkipped_Kinds);
        for (int i = 0; i < int(ScanSkipped_Kinds); ++i)
            QCOMPARE(counts[i], uint64_t(i == kind ? 1 : 0));
        QCOMPARE(counts[ScanSkipped_Kinds], uint64_t(99));
        // And a skipped file counts as found and read, as the progress screen shows them
        uint64_t progress[ScanProgress_Kinds] = {};
        harness.extras()->GetScanProgress(progress, ScanProgress_Kinds);
        QCOMPARE(progress[ScanProgress_Found], iFound);
        QCOMPARE(progress[ScanProgress_Read], iFound);
    }

    void testWalksWhatTheUserChose_data()
    {
        // The layout in the temporary folder, made in order: "a/b.jpg" a copy of one photo,
        // "link@target" a symbolic link, "mount:ram" a fresh tmpfs there, "+follow" links followed.
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
        QTest::newRow("overlapping sources and a link loop, walked once")
            << QByteArrayList{"t/sub/a.jpg", "t/sub/deeper/b.jpg", "t/sub/deeper/loop@t", "t/sub/link.jpg@t/sub/a.jpg"}
            << QStringList{"t", "t/sub", "t/sub/deeper"} << QByteArrayList{"t/sub/a.jpg", "t/sub/deeper/b.jpg"};
        QTest::newRow("links followed when asked, loops still once")
            << QByteArrayList{"t/sub/a.jpg", "t/sub/deeper/b.jpg", "t/sub/deeper/loop@t", "t/sub/link.jpg@t/sub/a.jpg", "+follow"}
            << QStringList{"t", "t/sub", "t/sub/deeper"}
            << QByteArrayList{"t/sub/a.jpg", "t/sub/deeper/b.jpg", "t/sub/link.jpg"};
        QTest::newRow("names that are not UTF-8")
            << QByteArrayList{"n/x\xff.jpg", "n/x\xfe.jpg", "n/\xe9t\xe9/1.jpg"} << QStringList{"n"}
            << QByteArrayList{"n/x\xfe.jpg", "n/x\xff.jpg", "n/\xe9t\xe9/1.jpg"};
    }

    void testWalksWhatTheUserChose()
    {
        QFETCH(QByteArrayList, layout);
        QFETCH(QStringList, sources);
        QFETCH(QByteArrayList, found);
        const QByteArray top = QFile::encodeName(m_pDir->path()) + '/';
        const QByteArray photo = encoded(scene(151), "JPG", 90);
        const bool bFollow = layout.contains("+follow");
        for (const QByteArray &entry : layout) {
            if (entry == "+follow")
                continue;
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
        QCOMPARE(harness.scan(roots, 70, [&](IScanFilter *pFilter) {
            pFilter->SetFollowLinks(bFollow);
            pFilter->AddSuffix(u"jpg");
            pFilter->Finalize(1);
        }), 0);
        QByteArrayList reported;
        for (const CTestSink::CEvent &event : harness.sink().listEvents) {
            if (event.kind != CTestSink::CEvent::Merged)
                reported << dp::platform::pathToBytes(event.strPath).mid(top.size());
        }
        std::sort(reported.begin(), reported.end());
        QCOMPARE(reported, found);
        QCOMPARE(harness.lastStats().value("found"), qint64(found.size()));
    }

    void testHardLinkIsReportedHidden()
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
        QCOMPARE(harness.sink().groupsText(), QStringLiteral("{a-link.jpg,a.jpg,b.png}"));
        const bool bLinkHidden = harness.sink().recordOf("a-link.jpg").flags & PhotoFlag_Hidden;
        const bool bFirstHidden = harness.sink().recordOf("a.jpg").flags & PhotoFlag_Hidden;
        QVERIFY(bLinkHidden != bFirstHidden);
        QVERIFY(!(harness.sink().recordOf("b.png").flags & PhotoFlag_Hidden));
        QCOMPARE(harness.lastStats().value("decoded"), 3);
    }

    void testFilterOptions_data()
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

    void testFilterOptions()
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
        QCOMPARE(harness.sink().groupsText(), expected);
        // The screens tell a user that the option, not the similarity, emptied the results.
        uint64_t counts[ScanSkipped_Kinds] = {};
        harness.extras()->GetScanSkipped(counts, ScanSkipped_Kinds);
        QCOMPARE(counts[ScanSkipped_NotOriginal], uint64_t(originalOnly ? 2 : 0));
        if (expected.contains("cam2.jpg")) {
            QVERIFY(harness.sink().recordOf("cam2.jpg").flags & PhotoFlag_Preferred);
            if (expected.contains("edit.jpg"))
                QVERIFY(!(harness.sink().recordOf("edit.jpg").flags & PhotoFlag_Preferred));
        }
    }
};

QTEST_MAIN(TestScanWalk)
#include "tst_ScanWalk.moc"
