#include <QtTest>

#include "CReportSummary.h"
#include "CScanReport.h"

#include <QTextDocument>

namespace {

// "a/x.jpg:100:1" is a photo of 100 bytes at a/x.jpg, marked; groups are split by "|".
CScanReport reportOf(const QString &strGroups)
{
    CScanReport report;
    for (const QString &groupText : strGroups.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        CReportGroup group;
        for (const QString &photoText : groupText.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QStringList fields = photoText.split(QLatin1Char(':'));
            CReportPhoto photo;
            photo.strPath = fields.at(0);
            photo.i64Size = fields.at(1).toLongLong();
            photo.bProposed = fields.at(2) == QLatin1String("1");
            group.listPhotos << photo;
        }
        report.listGroups << group;
    }
    return report;
}

// Paths below /mnt/<name> lie on drive <name>, paths below /lost on none known; everything else on "/".
QStringList fakeDriveKeys(const QStringList &listPaths)
{
    QStringList keys;
    for (const QString &path : listPaths)
        keys << (path.startsWith(QLatin1String("/mnt/"))    ? path.section(QLatin1Char('/'), 0, 2)
                 : path.startsWith(QLatin1String("/lost/")) ? QString()
                                                            : QStringLiteral("/"));
    return keys;
}

QString placesText(const QList<CReportSummary::CPlace> &listPlaces)
{
    QStringList parts;
    for (const CReportSummary::CPlace &place : listPlaces)
        parts << QStringLiteral("%1=%2/%3").arg(place.strName).arg(place.iMarkedCount).arg(place.i64MarkedBytes);
    return parts.join(QLatin1Char(' '));
}

} // namespace

// The summary of a scan report: sums per folder and drive, and the files it is written to.
class TestReportSummary : public QObject
{
    Q_OBJECT
private slots:
    void testSumsPerFolderAndDrive_data()
    {
        QTest::addColumn<QString>("groups");
        QTest::addColumn<int>("marked");
        QTest::addColumn<qint64>("markedBytes");
        QTest::addColumn<QString>("folders");
        QTest::addColumn<QString>("drives");

        QTest::newRow("nothing found") << "" << 0 << qint64(0) << "" << "";
        QTest::newRow("nothing marked") << "/p/a.jpg:10:0 /p/b.jpg:20:0" << 0 << qint64(0) << "" << "";
        QTest::newRow("one folder, kept copy not counted")
            << "/p/a.jpg:10:0 /p/b.jpg:20:1 /p/c.jpg:30:1" << 2 << qint64(50) << "/p=2/50" << "/=2/50";
        QTest::newRow("folders across groups, most bytes first")
            << "/p/a.jpg:10:0 /q/b.jpg:5:1|/p/c.jpg:30:1 /q/d.jpg:7:0 /q/e.jpg:2:1" << 3 << qint64(37)
            << "/p=1/30 /q=2/7" << "/=3/37";
        QTest::newRow("same folder name on two drives stays apart")
            << "/mnt/usb/DCIM/a.jpg:100:1 /mnt/sd/DCIM/a.jpg:300:1 /home/DCIM/a.jpg:1:0" << 2 << qint64(400)
            << "/mnt/sd/DCIM=1/300 /mnt/usb/DCIM=1/100" << "/mnt/sd=1/300 /mnt/usb=1/100";
        QTest::newRow("equal bytes ordered by name")
            << "/b/x.jpg:5:1 /a/x.jpg:5:1" << 2 << qint64(10) << "/a=1/5 /b=1/5" << "/=2/10";
        QTest::newRow("sizes beyond 32 bits")
            << "/p/a.raw:5000000000:1 /p/b.raw:5000000000:1 /p/c.raw:1:0" << 2 << qint64(10000000000)
            << "/p=2/10000000000" << "/=2/10000000000";
        QTest::newRow("a drive not known")
            << "/lost/a.jpg:10:1 /lost/b.jpg:1:0" << 1 << qint64(10) << "/lost=1/10" << "Unknown drive=1/10";
        QTest::newRow("unicode folders")
            << QStringLiteral("/Bilder/Åland/a.jpg:4:1 /写真/旅行/b.jpg:6:1 /x/c.jpg:1:0") << 2 << qint64(10)
            << QStringLiteral("/写真/旅行=1/6 /Bilder/Åland=1/4") << "/=2/10";
    }

    void testSumsPerFolderAndDrive()
    {
        QFETCH(QString, groups);
        QFETCH(int, marked);
        QFETCH(qint64, markedBytes);
        QFETCH(QString, folders);
        QFETCH(QString, drives);

        const CScanReport report = reportOf(groups);
        const CReportSummary summary = CReportSummary::of(report, fakeDriveKeys);

        QCOMPARE(summary.iGroupCount, report.listGroups.size());
        QCOMPARE(summary.iPhotoCount, report.photoCount());
        QCOMPARE(summary.iMarkedCount, marked);
        QCOMPARE(summary.i64MarkedBytes, markedBytes);
        QCOMPARE(placesText(summary.listFolders), folders);
        QCOMPARE(placesText(summary.listDrives), drives);
    }

    void testFormatsCarryEveryPlace_data()
    {
        QTest::addColumn<QString>("groups");
        QTest::newRow("empty") << "";
        QTest::newRow("unicode and markup in names")
            << QStringLiteral("/Bilder/Åland<&>\"x\"/a.jpg:4:1 /写真/旅行/b.jpg:6:1 /x/c.jpg:1:0");
    }

    void testFormatsCarryEveryPlace()
    {
        QFETCH(QString, groups);
        const CReportSummary summary = CReportSummary::of(reportOf(groups), fakeDriveKeys);
        const QString text = summary.toText();
        const QString html = summary.toHtml();

        QTextDocument document;
        document.setHtml(html);
        const QString rendered = document.toPlainText();
        for (const CReportSummary::CPlace &place : summary.listFolders + summary.listDrives) {
            QVERIFY2(text.contains(place.strName), qPrintable(place.strName));
            // Escaped in the markup, so the rendered page shows the name as it is.
            QVERIFY2(rendered.contains(place.strName), qPrintable(place.strName));
        }
        QVERIFY(text.contains(QString::number(summary.i64MarkedBytes)));
        QVERIFY(!html.contains(QLatin1String("<&>")));
    }

    void testPdfIsWrittenWholeOrNotAtAll()
    {
        QTemporaryDir dir;
        const CReportSummary summary =
            CReportSummary::of(reportOf(QStringLiteral("/Bilder/Åland/a.jpg:4:1 /x/c.jpg:1:0")), fakeDriveKeys);

        const QString path = dir.filePath(QStringLiteral("Übersicht.pdf"));
        QString strError;
        QVERIFY2(summary.writePdf(path, &strError), qPrintable(strError));
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(pdf.size() > 1000);

        const QString missing = dir.filePath(QStringLiteral("gone/summary.pdf"));
        QVERIFY(!summary.writePdf(missing, &strError));
        QVERIFY(!strError.isEmpty());
        QVERIFY(!QFile::exists(missing));
    }
};

QTEST_MAIN(TestReportSummary)
#include "tst_CReportSummary.moc"
