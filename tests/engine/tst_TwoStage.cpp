#include "CEngineHarness.h"
#include "CEngineTest.h"
#include "CTestPhotos.h"

#include <QtTest>

#include <atomic>
#include <thread>

using namespace testphotos;

namespace {

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

Q_DECLARE_METATYPE(QList<CPhoto>)

class TestTwoStage : public CEngineTest
{
    Q_OBJECT

private slots:
    void testSameOutcomeAsOneStage_data();
    void testSameOutcomeAsOneStage();
    void testStopInStageTwo();
};

void TestTwoStage::testSameOutcomeAsOneStage_data()
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

void TestTwoStage::testSameOutcomeAsOneStage()
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
        QVERIFY(harness.extras());
        QCOMPARE(harness.extras()->ExactFeatures(), 0);
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

void TestTwoStage::testStopInStageTwo()
{
    // Byte copies: stage one links them all, so stage two has every one to decode.
    const QString folder = m_pDir->path();
    QVERIFY(writePhoto(folder + QStringLiteral("/seed.jpg"), {"seed.jpg", 1, "", 1}));
    constexpr int kCopies = 200;
    for (int i = 0; i < kCopies; ++i)
        QVERIFY(QFile::copy(folder + QStringLiteral("/seed.jpg"), folder + QStringLiteral("/copy%1.jpg").arg(i)));
    CEngineHarness harness;
    harness.extras()->SetExactFeatures(0);
    std::atomic_bool bDone{false};
    std::thread stopper([&] {
        // Stage two is the first to report step 2.
        while (!bDone) {
            {
                QMutexLocker lock(&harness.sink().mutex);
                if (harness.sink().listProgressSteps.contains(2))
                    break;
            }
            std::this_thread::yield();
        }
        harness.engine()->Stop();
    });
    const int result = harness.scan({folder}, 70);
    bDone = true;
    stopper.join();
    QCOMPARE(result, 1);
    QCOMPARE(harness.sink().groups().size(), 0);
    QVERIFY(harness.lastStats().value("decoded") < kCopies + 1);
}

QTEST_MAIN(TestTwoStage)
#include "tst_TwoStage.moc"
